#include "fixtures.h"
#include "model/layerwidget.h"
#include "model/wheelpanel.h"
#include "resources/hiddenfile.h"
#include "testsuite.h"

#include <QApplication>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <functional>
#include <linux/fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/resource.h>

namespace {

QPixmap filled(const QColor& color, int side = 512)
{
    QPixmap pixmap(side, side);
    pixmap.fill(color);
    return pixmap;
}

std::unique_ptr<WheelPanel> panel(int count, const QString& path = QString())
{
    return std::make_unique<WheelPanel>(filled(Qt::transparent), filled(Qt::transparent), count,
                                        path);
}

// Makes a picture current without an undo step, as another slot being current at undo time.
void makeCurrent(WheelPanel* design, int row)
{
    const QSignalBlocker blocker(design->getLayerWidget()->getView());
    design->getLayerWidget()->changeIndex(row);
}

// Every picture of a design by slot, as images, to compare states exactly.
QList<QImage> slotImages(WheelPanel* design)
{
    QList<QImage> images;
    for (int i = 0; i < design->getCount(); ++i)
        images << design->getPixmap(i).toImage().convertToFormat(QImage::Format_ARGB32);
    return images;
}

QImage square(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_ARGB32).copy(0, 0, 512, 512);
}

QPixmap noise(quint32 seed)
{
    QImage image(512, 512, QImage::Format_ARGB32);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(image.bits()), 512 * 512);
    return QPixmap::fromImage(image);
}

// Linux's append-only flag, which root may set: such a file cannot be renamed over.
bool setAppendOnly(const QString& path, bool on)
{
    QFile file(path);
    int flags = 0;
    if (!file.open(QIODevice::ReadOnly) || ioctl(file.handle(), FS_IOC_GETFLAGS, &flags) != 0)
        return false;
    flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
    return ioctl(file.handle(), FS_IOC_SETFLAGS, &flags) == 0;
}

QPixmap stroke(int x, int y, const QColor& color)
{
    QPixmap pixmap = filled(Qt::transparent);
    QPainter(&pixmap).fillRect(x, y, 40, 90, color);
    return pixmap;
}

} // namespace

class WheelPanelTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // One design's life. The view stays light around the wheel whatever the desktop's palette,
    // and every local file dropped goes on, to be read by whoever imports them. Every kind of
    // step is undone and redone in full: each state comes back pixel for pixel, with its undo
    // text and the clean mark where the design was saved. The design is then sent and saved
    // with its rows reordered and read back row by row. Last, failed saves are reported, leave
    // the design modified and the saved file as it was: a write that fails in its very last
    // bytes (a full disk, here a file size limit), and a final rename that fails (over an
    // append-only file, which even root may not replace).
    void designWalk()
    {
        QCOMPARE(panel(0)->getCount(), 1);
        const QPalette light = QApplication::palette();
        // Dark window and base, as a dark desktop theme has them.
        QApplication::setPalette(QPalette(QColor(30, 30, 30)));
        auto design = panel(3);
        design->resize(700, 700);
        const QImage shown = design->viewport()->grab().toImage();
        QApplication::setPalette(light);
        QCOMPARE(shown.pixelColor(2, 2), QColor(Qt::white));

        QSignalSpy dropped(design.get(), &WheelPanel::import);
        QMimeData files;
        const QStringList paths{dir.filePath("one.png"), dir.filePath("two.gif")};
        files.setUrls({QUrl::fromLocalFile(paths[0]), QUrl("https://example.invalid/picture.png"),
                       QUrl::fromLocalFile(paths[1])});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &drop);
        QCOMPARE(dropped.value(0).value(0).toStringList(), paths);

        QUndoStack* stack = design->getUndoStack();
        QList<QList<QImage>> states{slotImages(design.get())};
        QStringList texts{QString()};
        auto step = [&](const QString& text, const std::function<void()>& change) {
            change();
            states << slotImages(design.get());
            texts << text;
        };
        const auto over = QPainter::CompositionMode_SourceOver;
        const auto draw = [&](const QPixmap& picture, const char* key) {
            design->setLayer(picture, over, key);
        };
        step("Draw", [&] { draw(stroke(100, 80, Qt::red), "DRAW"); });
        step("Text", [&] { draw(stroke(300, 300, QColor(0, 0, 255, 90)), "TEXT"); });
        step("Draw", [&] {
            design->setLayer(stroke(110, 85, Qt::black), QPainter::CompositionMode_DestinationOut,
                             "DRAW");
        });
        // Even a drawing that changes nothing is a step.
        step("Draw", [&] { draw(filled(Qt::transparent), "DRAW"); });
        step("Paste", [&] {
            makeCurrent(design.get(), 2);
            design->paste(noise(7));
        });
        const QString path = dir.filePath("walk.DEMO");
        QVERIFY(design->save(path));
        const int saved = stack->index();
        step("Import", [&] { draw(filled(QColor(0, 200, 0, 128)), "IMPORT"); });
        step("Paste", [&] {
            makeCurrent(design.get(), 1);
            design->paste(filled(Qt::yellow, 600));
        });
        step("Import", [&] {
            // Slots are rows: with the rows reordered to pictures 1, 0, 2, the slots from row 1
            // on hold pictures 0 and 2, and a third picture finds none. The history counts
            // what each slot's change holds: here the noise that picture 2 held before.
            LayerView* view = design->getLayerWidget()->getView();
            const QSignalBlocker blocker(view);
            view->insertItem(0, view->takeItem(1));
            makeCurrent(design.get(), 1);
            const QList<QImage> before = slotImages(design.get());
            const qint64 bytes = design->historyBytes();
            QCOMPARE(
                design->setLayers({filled(Qt::red), filled(Qt::blue), noise(3)}, over, "IMPORT"),
                2);
            QVERIFY(design->historyBytes() - bytes > 512 * 512 * 3);
            const QList<QImage> after = slotImages(design.get());
            QCOMPARE(after[0].pixelColor(256, 256), QColor(Qt::red));
            QCOMPARE(after[1], before[1]);
            QVERIFY(after[2] != before[2]);
        });
        QCOMPARE(stack->count(), states.size() - 1);
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = stack->count(); i >= 0; --i) {
                QCOMPARE(stack->index(), i);
                QCOMPARE(stack->undoText(), texts[i]);
                QVERIFY2(slotImages(design.get()) == states[i], qPrintable(QString::number(i)));
                QCOMPARE(stack->isClean(), i == saved);
                stack->undo();
            }
            for (int i = 0; i < states.size(); ++i) {
                QVERIFY2(slotImages(design.get()) == states[i], qPrintable(QString::number(i)));
                stack->redo();
            }
        }

        // Rows were moved without a step: each row's picture goes out and is saved in its place.
        QSignalSpy spy(design.get(), &WheelPanel::toUpdate);
        QMetaObject::invokeMethod(design->getLayerWidget(), "toTransmit");
        const auto sent = spy.value(0).value(0).value<QMap<int, QPixmap>>();
        const QList<int> order = design->getLayerWidget()->getList();
        QCOMPARE(order, (QList<int>{1, 0, 2}));
        QVERIFY(design->save(path));
        QVERIFY(stack->isClean());
        const QList<QImage> reopened = slotImages(panel(3, path).get());
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(square(sent[row].toImage()), square(states.last()[order[row]]));
            QCOMPARE(reopened[row], square(states.last()[order[row]]));
        }

        const auto contents = [](const QString& file) {
            QFile saved(file);
            return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray();
        };
        const QByteArray before = contents(path);
        // The same noise twice: the second save, under a limit one byte short of what full.DEMO
        // holds, fails in its very last bytes.
        design->paste(noise(1));
        QVERIFY(design->save(dir.filePath("full.DEMO")));
        design->paste(noise(1));
        rlimit old;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = rlim_t(contents(dir.filePath("full.DEMO")).size() - 1);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const bool written = design->save(path);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        QVERIFY(!written);
        const bool appendOnly = setAppendOnly(path, true);
        if (appendOnly) {
            const bool replaced = design->save(path);
            QVERIFY(setAppendOnly(path, false));
            QVERIFY(!replaced);
        }
        QVERIFY(!stack->isClean());
        QCOMPARE(contents(path), before);
        QCOMPARE(QDir(dir.path()).entryList({"walk.DEMO*"}, QDir::Files), QStringList{"walk.DEMO"});
        if (!appendOnly)
            QSKIP("no append-only files here: the failing rename went untried");
    }

    // A long session forgets its oldest steps instead of growing without end; what is kept
    // still undoes exactly, and Undo stops at the oldest kept step.
    void historyStaysWithinItsBudget()
    {
        auto design = panel(1);
        QUndoStack* stack = design->getUndoStack();
        QList<QList<QImage>> states{slotImages(design.get())};
        // Noise does not compress: every step costs two whole pictures.
        for (quint32 i = 0; i < 36; ++i) {
            design->paste(noise(i));
            states << slotImages(design.get());
            QVERIFY(design->historyBytes() <= WheelPanel::historyBudget);
        }
        QVERIFY(design->historyBytes() > WheelPanel::historyBudget * 3 / 4);
        // Each Undo is a real step back; none silently does nothing.
        int undone = 0;
        while (stack->canUndo()) {
            stack->undo();
            QCoreApplication::processEvents();
            QCOMPARE(slotImages(design.get()), states[36 - ++undone]);
        }
        QVERIFY(undone > 20 && undone < 36);
        // The oldest kept state is not the never-saved start.
        QVERIFY(!stack->isClean());
        stack->redo();
        QCOMPARE(slotImages(design.get()), states[37 - undone]);
    }

    // A design file is read square by square from its height, as far as the file and the
    // design's slots go; a file under unreadable/ is reported and gives an empty design. What
    // was read is saved and read back within the squares of the design.
    void readingDesigns_data()
    {
        addFixtureRows("designs");
        QTest::newRow("missing") << dir.filePath("missing.DEMO");
    }

    void readingDesigns()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        const bool unreadable = path.contains("/unreadable/");
        auto design = panel(3, path);
        QCOMPARE(design->readFailed(), unreadable);
        QVERIFY(design->getUndoStack()->isClean());
        const QImage file = unreadable ? QImage() : QImage(path);
        const int side = file.height();
        const QList<QImage> read = slotImages(design.get());
        QVERIFY(design->save(dir.filePath("copy.DEMO")));
        const QList<QImage> copy = slotImages(panel(3, dir.filePath("copy.DEMO")).get());
        for (int i = 0; i < 3; ++i) {
            const QImage part = i < file.width() / qMax(side, 1)
                                    ? file.copy(i * side, 0, side, side)
                                    : filled(Qt::transparent).toImage();
            QCOMPARE(read[i], part.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                  .convertToFormat(QImage::Format_ARGB32));
            QCOMPARE(copy[i], square(read[i]));
        }
    }
};

RIMGLOW_TEST(WheelPanelTest)
#include "tst_wheelpanel.moc"
