#include "model/design.h"
#include "tools/imagetool.h"
#include "windowhelpers.h"

// The window as the desktop sees it: files dropped on it from a file manager.
class DesktopTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // A design dropped on the window opens in a tab of its own, in place of an untouched
    // first one; a picture, whatever its name, goes to the image tool of the design it was
    // dropped on.
    void droppedFiles_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("touched");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<bool>("imageTool");
        const auto row = [](const char* tag, const QStringList& names, bool touched,
                            const QStringList& tabs, bool imageTool) {
            QTest::newRow(tag) << names << touched << tabs << imageTool;
        };
        row("a design", {"wheel.DEMO"}, false, {"wheel"}, false);
        row("a design beside work", {"wheel.DEMO"}, true, {"Untitled 1 *", "wheel"}, false);
        row("two designs", {"wheel.DEMO", "other.DEMO"}, false, {"wheel", "other"}, false);
        row("a picture", {"photo.png"}, false, {"Untitled 1"}, true);
        row("a design named otherwise", {"wheel.demo"}, false, {"Untitled 1"}, true);
    }
    void droppedFiles()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, touched);
        QImage picture(512, 512, QImage::Format_ARGB32);
        picture.fill(Qt::black);
        QList<QUrl> urls;
        for (const QString& name : names) {
            QVERIFY(picture.save(dir.filePath(name), "png"));
            urls << QUrl::fromLocalFile(dir.filePath(name));
        }
        DemoWindow w;
        if (touched)
            ink(&w);
        QMimeData files;
        files.setUrls(urls);
        QWidget* target = w.getCurrent()->viewport();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &drop);
        QTEST(captions(&w), "tabs");
        QTEST(qobject_cast<ImageTool*>(w.getTools()->currentTool()) != nullptr, "imageTool");
    }
};

RIMGLOW_TEST(DesktopTest)
#include "tst_desktop.moc"
