#include "app/dockwidget.h"
#include "app/smalldockwidget.h"
#include "tools/imagetool.h"
#include "windowhelpers.h"

namespace {

QSettings windowSettings()
{
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                         "/window.ini",
                     QSettings::IniFormat);
}

QRect area()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

// The window as the desktop sees it: where it stands from one run to the next, and files
// dropped on it from a file manager.
class DesktopTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    // Each test, and the tests after these, start without a saved window.
    void init() { windowSettings().clear(); }
    void cleanupTestCase() { windowSettings().clear(); }

    // Place, size, docks and zoom come back as they were left.
    void windowComesBackAsLeft()
    {
        QRect left;
        {
            DemoWindow w;
            w.show();
            w.setGeometry(QRect(area().topLeft() + QPoint(20, 10), QSize(700, 540)));
            left = w.frameGeometry();
            w.zoomIn();
            w.zoomIn();
            w.getLayerDock()->close();
            QVERIFY(w.close());
        }
        DemoWindow w;
        w.show();
        QCOMPARE(w.frameGeometry(), left);
        QCOMPARE(w.getCurrent()->transform().m11(), 1.25 * 1.25);
        QVERIFY(!w.getLayerDock()->isVisible() && w.getLayerDock()->getSmallDock()->isVisible());
        QVERIFY(w.getToolDock()->isVisible());
    }

    // Whatever was saved, the window comes back whole on a screen that is there, its zoom
    // within bounds.
    void windowFitsTheScreen_data()
    {
        // The frame saved, relative to the available area's top left corner; the frame shown
        // then, where "centred" means that size in the middle of the area.
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QString>("zoom");
        QTest::addColumn<QRect>("shown");
        QTest::addColumn<double>("zoomShown");
        const QSize room = area().size();
        const auto centred = [&](QSize size) {
            QRect frame(QPoint(), size);
            frame.moveCenter(QRect(QPoint(), room).center());
            return frame;
        };
        QTest::newRow("nothing saved")
            << QRect() << "" << centred(QSize(1080, 800).boundedTo(room * 19 / 20)) << 1.0;
        QTest::newRow("inside") << QRect(30, 40, 500, 400) << "0.8" << QRect(30, 40, 500, 400)
                                << 0.8;
        QTest::newRow("over the left and top edges")
            << QRect(-200, -50, 500, 400) << "2" << QRect(0, 0, 500, 400) << 2.0;
        QTest::newRow("over the right and bottom edges")
            << QRect(room.width() - 100, room.height() - 100, 500, 400) << "16"
            << QRect(room.width() - 500, room.height() - 400, 500, 400) << 16.0;
        QTest::newRow("larger than the screen")
            << QRect(-10, -10, room.width() + 300, room.height() + 200) << "1e9"
            << QRect(QPoint(), room) << 1.0;
        QTest::newRow("on a screen that is gone")
            << QRect(room.width() + 5000, 0, 500, 400) << "0" << centred(QSize(500, 400)) << 1.0;
        QTest::newRow("no number")
            << QRect(30, 40, 500, 400) << "near" << QRect(30, 40, 500, 400) << 1.0;
    }
    void windowFitsTheScreen()
    {
        QFETCH(QRect, saved);
        QFETCH(QString, zoom);
        QFETCH(QRect, shown);
        if (!saved.isNull()) {
            QSettings settings = windowSettings();
            settings.setValue("frame", saved.translated(area().topLeft()));
            settings.setValue("zoom", zoom);
        }
        DemoWindow w;
        w.show();
        QCOMPARE(w.frameGeometry(), shown.translated(area().topLeft()));
        QTEST(w.getCurrent()->transform().m11(), "zoomShown");
    }

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
