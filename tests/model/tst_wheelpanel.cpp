#include "fixtures.h"
#include "model/layerwidget.h"
#include "model/wheelpanel.h"
#include "resources/hiddenfile.h"
#include "testsuite.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>

namespace {

QPixmap filled(const QColor& color, int side = 512)
{
    QPixmap pixmap(side, side);
    pixmap.fill(color);
    return pixmap;
}

QPixmap transparent()
{
    return filled(Qt::transparent);
}

QColor centreOf(const QPixmap& pixmap)
{
    return pixmap.toImage().pixelColor(pixmap.width() / 2, pixmap.height() / 2);
}

std::unique_ptr<WheelPanel> panel(int count, const QString& path = QString())
{
    return std::make_unique<WheelPanel>(transparent(), transparent(), count, path);
}

// Every picture of a design, row by row, as the transmit button hands them out.
QMap<int, QPixmap> allPictures(WheelPanel* design)
{
    QSignalSpy spy(design, &WheelPanel::toUpdate);
    for (QPushButton* button : design->getLayerWidget()->findChildren<QPushButton*>())
        if (button->text() == "Select All")
            button->click();
    for (QPushButton* button : design->getLayerWidget()->findChildren<QPushButton*>())
        if (button->text() == "Send to Wheel")
            button->click();
    return spy.isEmpty() ? QMap<int, QPixmap>() : spy.first().first().value<QMap<int, QPixmap>>();
}

// Makes a picture current without an undo step, as another slot being current at undo time.
void makeCurrent(WheelPanel* design, int row)
{
    LayerView* view = design->getLayerWidget()->getView();
    const bool blocked = view->blockSignals(true);
    design->getLayerWidget()->changeIndex(row);
    view->blockSignals(blocked);
}

void writeImage(const QString& path, const QList<QColor>& colors, int side)
{
    QImage image(int(colors.size()) * side, side, QImage::Format_ARGB32);
    for (int i = 0; i < colors.size(); ++i)
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                image.setPixelColor(i * side + x, y, colors[i]);
    if (!image.save(path, "png"))
        qFatal("cannot write %s", qPrintable(path));
}

// Every picture of a design by slot, as images, to compare states exactly.
QList<QImage> slotImages(WheelPanel* design)
{
    QList<QImage> images;
    for (int i = 0; i < design->getCount(); ++i)
        images << design->getPixmap(i).toImage().convertToFormat(QImage::Format_ARGB32);
    return images;
}

QPixmap noise(quint32 seed, int side = 512)
{
    QImage image(side, side, QImage::Format_ARGB32);
    QRandomGenerator random(seed);
    random.fillRange(reinterpret_cast<quint32*>(image.bits()), side * side);
    return QPixmap::fromImage(image);
}

QPixmap stroke(int x, int y, const QColor& color)
{
    QPixmap pixmap = transparent();
    QPainter painter(&pixmap);
    painter.setPen(QPen(color, 7));
    painter.drawLine(x, y, x + 40, y + 90);
    painter.drawEllipse(x + 60, y, 20, 12);
    return pixmap;
}

} // namespace

class WheelPanelTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    void sceneStacking()
    {
        auto design = panel(3);
        QList<double> pictureZ;
        int visible = 0;
        for (QGraphicsItem* item : design->scene()->items()) {
            QVERIFY(!item->isEnabled());
            if (item->zValue() < 0) {
                pictureZ << item->zValue();
                visible += item->isVisible();
            }
        }
        std::sort(pictureZ.begin(), pictureZ.end());
        QCOMPARE(pictureZ, (QList<double>{-3, -2, -1}));
        QCOMPARE(visible, 1);
        QCOMPARE(design->scene()->items().size(), 5);
        QVERIFY(design->scene()->items().first()->zValue() > 0);
        QVERIFY(design->scene()->items().first()->graphicsEffect());
    }

    // Around the wheel the view is light whatever the desktop's palette, so the grid and the
    // ink look as they do on the wheel's picture.
    void viewStaysLightInADarkTheme()
    {
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        for (const auto role : {QPalette::Base, QPalette::Window})
            dark.setColor(role, QColor(30, 30, 30));
        QApplication::setPalette(dark);
        auto design = panel(1);
        design->resize(700, 700);
        const QImage shown = design->viewport()->grab().toImage();
        QApplication::setPalette(before);
        QCOMPARE(shown.pixelColor(2, 2), QColor(Qt::white));
    }

    void noSlotsStillGiveOnePicture()
    {
        auto design = panel(0);
        QCOMPARE(design->getCount(), 1);
        QCOMPARE(design->getPixmap().size(), QSize(512, 512));
        QCOMPARE(design->getLayerWidget()->getList(), QList<int>{0});
    }

    void drawingIsOneUndoStep()
    {
        auto design = panel(2);
        QUndoStack* stack = design->getUndoStack();
        QVERIFY(stack->isClean());
        design->setLayer(filled(Qt::red), QPainter::CompositionMode_SourceOver, "DRAW");
        QCOMPARE(centreOf(design->getPixmap()), QColor(Qt::red));
        QCOMPARE(stack->undoText(), QString("Draw"));
        QVERIFY(!stack->isClean());

        QPixmap hole = transparent();
        QPainter painter(&hole);
        painter.fillRect(200, 200, 112, 112, Qt::black);
        painter.end();
        design->setLayer(hole, QPainter::CompositionMode_DestinationOut, "DRAW");
        QCOMPARE(centreOf(design->getPixmap()).alpha(), 0);
        QCOMPARE(design->getPixmap().toImage().pixelColor(10, 10), QColor(Qt::red));
        stack->undo();
        QCOMPARE(centreOf(design->getPixmap()), QColor(Qt::red));
        stack->undo();
        QCOMPARE(centreOf(design->getPixmap()).alpha(), 0);
        QVERIFY(stack->isClean());

        // Even a drawing that changes nothing is a step.
        design->setLayer(transparent(), QPainter::CompositionMode_SourceOver, "TEXT");
        QCOMPARE(stack->count(), 1);
        QVERIFY(!stack->isClean());
    }

    // Every kind of step, undone and redone in full: each state comes back pixel for pixel,
    // with its undo text and the clean mark where the design was saved.
    void undoWalkRestoresEveryState()
    {
        auto design = panel(3);
        QUndoStack* stack = design->getUndoStack();
        QList<QList<QImage>> states{slotImages(design.get())};
        QStringList texts{QString()};
        auto step = [&](const std::function<void()>& change) {
            change();
            states << slotImages(design.get());
            texts << stack->undoText();
        };
        step([&] {
            design->setLayer(stroke(100, 80, Qt::red), QPainter::CompositionMode_SourceOver,
                             "DRAW");
        });
        step([&] {
            design->setLayer(stroke(300, 300, QColor(0, 0, 255, 90)),
                             QPainter::CompositionMode_SourceOver, "TEXT");
        });
        step([&] {
            design->setLayer(stroke(110, 85, Qt::black), QPainter::CompositionMode_DestinationOut,
                             "DRAW");
        });
        step(
            [&] { design->setLayer(transparent(), QPainter::CompositionMode_SourceOver, "DRAW"); });
        step([&] {
            makeCurrent(design.get(), 2);
            design->paste(noise(7));
        });
        step([&] {
            design->setLayer(filled(QColor(0, 200, 0, 128)), QPainter::CompositionMode_SourceOver,
                             "IMAGE");
        });
        step([&] {
            makeCurrent(design.get(), 1);
            design->paste(filled(Qt::yellow, 600));
        });
        step([&] {
            design->setLayer(stroke(500, 500, Qt::blue), QPainter::CompositionMode_SourceOver,
                             "DRAW");
        });
        step([&] { design->paste(filled(Qt::cyan, 100)); });
        step([&] {
            // Slots are rows: with the rows reordered to pictures 1, 0, 2, the slots from row 1
            // on hold pictures 0 and 2, and a third picture finds none. The history counts
            // what each slot's change holds: here the noise that picture 2 held before.
            LayerView* view = design->getLayerWidget()->getView();
            view->blockSignals(true);
            view->insertItem(0, view->takeItem(1));
            view->blockSignals(false);
            makeCurrent(design.get(), 1);
            const QList<QImage> before = slotImages(design.get());
            const qint64 bytes = design->historyBytes();
            QCOMPARE(design->setLayers({filled(Qt::red), filled(Qt::blue), noise(3)},
                                       QPainter::CompositionMode_SourceOver, "IMPORT"),
                     2);
            QVERIFY(design->historyBytes() - bytes > 512 * 512 * 3);
            const QList<QImage> after = slotImages(design.get());
            QCOMPARE(after[0].pixelColor(256, 256), QColor(Qt::red));
            QCOMPARE(after[1], before[1]);
            QVERIFY(after[2] != before[2]);
        });
        const int saved = 5;
        stack->setIndex(saved);
        stack->setClean();
        stack->setIndex(stack->count());
        QCOMPARE(stack->count(), states.size() - 1);
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = stack->count(); i >= 0; --i) {
                QCOMPARE(stack->index(), i);
                QCOMPARE(stack->undoText(), texts[i]);
                QVERIFY2(slotImages(design.get()) == states[i],
                         qPrintable(QString("state %1").arg(i)));
                QCOMPARE(stack->isClean(), i == saved);
                stack->undo();
            }
            for (int i = 0; i < states.size(); ++i) {
                QVERIFY2(slotImages(design.get()) == states[i],
                         qPrintable(QString("state %1").arg(i)));
                stack->redo();
            }
        }
        // The steps over noise hold pictures that do not compress; the strokes are small.
        QVERIFY(design->historyBytes() < 5 * 1024 * 1024);
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
            ++undone;
            QVERIFY2(slotImages(design.get()) == states[36 - undone],
                     qPrintable(QString("after %1 undos").arg(undone)));
        }
        QVERIFY(undone > 20 && undone < 36);
        QCOMPARE(stack->index(), 0);
        // The oldest kept state is not the never-saved start.
        QVERIFY(!stack->isClean());
        stack->redo();
        QCOMPARE(slotImages(design.get()), states[37 - undone]);
    }

    void pasteUndoKeepsItsOwnSlot()
    {
        auto design = panel(3);
        design->paste(filled(Qt::green));
        QCOMPARE(design->getUndoStack()->undoText(), QString("Paste"));
        makeCurrent(design.get(), 1);
        QCOMPARE(design->getCurrentIndex(), 1);
        design->paste(filled(Qt::blue));
        makeCurrent(design.get(), 2);
        design->getUndoStack()->undo();
        design->getUndoStack()->undo();
        QMap<int, QPixmap> pictures = allPictures(design.get());
        QCOMPARE(centreOf(pictures[0]).alpha(), 0);
        QCOMPARE(centreOf(pictures[1]).alpha(), 0);
        design->getUndoStack()->redo();
        pictures = allPictures(design.get());
        QCOMPARE(centreOf(pictures[0]), QColor(Qt::green));
        QCOMPARE(design->getCurrentIndex(), 2);
    }

    void transmitsTickedRowsByRow()
    {
        auto design = panel(3);
        design->paste(filled(Qt::red));
        makeCurrent(design.get(), 2);
        design->paste(filled(Qt::blue));
        QSignalSpy spy(design.get(), &WheelPanel::toUpdate);
        LayerView* view = design->getLayerWidget()->getView();
        view->item(1)->setCheckState(Qt::Unchecked);
        for (QPushButton* button : design->getLayerWidget()->findChildren<QPushButton*>())
            if (button->text() == "Send to Wheel")
                button->click();
        QCOMPARE(spy.size(), 1);
        const QMap<int, QPixmap> sent = spy.first().first().value<QMap<int, QPixmap>>();
        QCOMPARE(sent.keys(), (QList<int>{0, 2}));
        QCOMPARE(centreOf(sent[0]), QColor(Qt::red));
        QCOMPARE(centreOf(sent[2]), QColor(Qt::blue));
    }

    void roundTripKeepsTheRowOrder()
    {
        const QString path = dir.filePath("order.DEMO");
        auto design = panel(3);
        const QList<QColor> colors{Qt::red, Qt::green, Qt::blue};
        for (int i = 0; i < 3; ++i) {
            makeCurrent(design.get(), i);
            design->paste(filled(colors[i]));
        }
        // Rows reordered to pictures 2, 0, 1.
        LayerView* view = design->getLayerWidget()->getView();
        view->blockSignals(true);
        view->insertItem(0, view->takeItem(2));
        view->blockSignals(false);
        QCOMPARE(design->getLayerWidget()->getList(), (QList<int>{2, 0, 1}));

        QVERIFY(design->save(path));
        QVERIFY(design->getUndoStack()->isClean());
        const QImage file(path);
        QCOMPARE(file.size(), QSize(1536, 512));
        QCOMPARE(file.pixelColor(256, 256), QColor(Qt::blue));
        QCOMPARE(file.pixelColor(768, 256), QColor(Qt::red));
        QCOMPARE(file.pixelColor(1280, 256), QColor(Qt::green));

        auto reopened = panel(3, path);
        QVERIFY(!reopened->readFailed());
        QVERIFY(reopened->getUndoStack()->isClean());
        const QMap<int, QPixmap> pictures = allPictures(reopened.get());
        QCOMPARE(centreOf(pictures[0]), QColor(Qt::blue));
        QCOMPARE(centreOf(pictures[1]), QColor(Qt::red));
        QCOMPARE(centreOf(pictures[2]), QColor(Qt::green));
    }

    void shortAndLongFiles_data()
    {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("side");
        QTest::newRow("longer") << 4 << 512;
        QTest::newRow("shorter") << 2 << 512;
        QTest::newRow("smaller squares") << 3 << 100;
    }

    void shortAndLongFiles()
    {
        QFETCH(int, pictures);
        QFETCH(int, side);
        const QString path = dir.filePath("file.DEMO");
        const QList<QColor> colors{Qt::red, Qt::green, Qt::blue, Qt::yellow};
        writeImage(path, colors.mid(0, pictures), side);
        auto design = panel(3, path);
        QVERIFY(!design->readFailed());
        const QMap<int, QPixmap> loaded = allPictures(design.get());
        QCOMPARE(loaded.size(), 3);
        for (int slot = 0; slot < 3; ++slot) {
            if (slot < pictures) {
                QCOMPARE(loaded[slot].size(), QSize(side, side));
                QCOMPARE(centreOf(loaded[slot]), colors[slot]);
            } else {
                QCOMPARE(loaded[slot].size(), QSize(512, 512));
                QCOMPARE(centreOf(loaded[slot]).alpha(), 0);
            }
        }
    }

    void missingFileGivesAnEmptyDesign()
    {
        auto design = panel(2, dir.filePath("missing.DEMO"));
        QVERIFY(!design->readFailed());
        QVERIFY(design->getUndoStack()->isClean());
    }

    void designFixtures_data() { addFixtureRows("designs"); }

    // A file under unreadable/ is reported and gives an empty design. Any other is read, and
    // saved and reopened, every picture stays within its own square.
    void designFixtures()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        const bool readable = !path.contains("/unreadable/");
        auto design = panel(3, path);
        QCOMPARE(design->readFailed(), !readable);
        QCOMPARE(design->getCount(), 3);
        QList<QImage> expected;
        for (const QImage& picture : slotImages(design.get())) {
            QImage square(512, 512, QImage::Format_ARGB32);
            square.fill(Qt::transparent);
            if (readable) {
                QPainter painter(&square);
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.drawImage(0, 0, picture);
            } else {
                QCOMPARE(picture, square);
            }
            expected << square;
        }
        if (!readable)
            return;
        const QString copy = dir.filePath("copy.DEMO");
        QVERIFY(design->save(copy));
        QCOMPARE(slotImages(panel(3, copy).get()), expected);
    }

    void cleanStateFollowsSaving()
    {
        const QString path = dir.filePath("clean.DEMO");
        auto design = panel(2);
        QUndoStack* stack = design->getUndoStack();
        design->paste(filled(Qt::red));
        QVERIFY(design->save(path));
        QVERIFY(stack->isClean());
        design->paste(filled(Qt::blue));
        QVERIFY(!stack->isClean());
        stack->undo();
        QVERIFY(stack->isClean());
        stack->undo();
        QVERIFY(!stack->isClean());
    }

    void failedSaveKeepsTheDesignModified()
    {
        auto design = panel(2);
        design->paste(filled(Qt::red));
        QVERIFY(!design->save(dir.filePath("no-such-folder/design.DEMO")));
        QVERIFY(!design->getUndoStack()->isClean());
        // A folder in the file's place is neither replaced nor reported as saved.
        QVERIFY(QDir(dir.path()).mkdir("taken.DEMO"));
        QVERIFY(!design->save(dir.filePath("taken.DEMO")));
        QVERIFY(QFileInfo(dir.filePath("taken.DEMO")).isDir());
        QVERIFY(!design->getUndoStack()->isClean());
    }

    // A write that fails half-way (a full disk, here a file size limit) leaves the design
    // that was saved before exactly as it was.
    void interruptedSaveKeepsTheOldFile()
    {
        const QString path = dir.filePath("kept.DEMO");
        auto design = panel(2);
        design->paste(filled(Qt::red));
        QVERIFY(design->save(path));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray before = saved.readAll();
        saved.close();

        QImage noise(512, 512, QImage::Format_ARGB32);
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x)
                noise.setPixel(x, y, qRgba(x * 7 % 256, y * 13 % 256, (x * y) % 256, 255));
        design->paste(QPixmap::fromImage(noise));

        rlimit old;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = rlim_t(before.size());
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const bool written = design->save(path);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);

        QVERIFY(!written);
        QVERIFY(!design->getUndoStack()->isClean());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), before);
        QCOMPARE(QDir(dir.path()).entryList({"kept.DEMO*"}, QDir::Files), QStringList{"kept.DEMO"});
    }

    // Every local file goes on, to be read by whoever imports them.
    void droppedFiles()
    {
        auto design = panel(1);
        QSignalSpy spy(design.get(), &WheelPanel::import);

        QMimeData text;
        text.setText("hello");
        QDragEnterEvent plain(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &plain);
        QVERIFY(!plain.isAccepted());

        const QStringList paths{dir.filePath("one.png"), dir.filePath("two.gif")};
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(paths[0]), QUrl("https://example.invalid/picture.png"),
                       QUrl::fromLocalFile(paths[1])});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &drop);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().first().toStringList(), paths);
        // Nothing is drawn by the drop itself.
        QCOMPARE(design->getUndoStack()->count(), 0);

        QMimeData remote;
        remote.setUrls({QUrl("https://example.invalid/picture.png")});
        QDropEvent far(QPointF(10, 10), Qt::CopyAction, &remote, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &far);
        QCOMPARE(spy.size(), 1);
    }
};

RIMGLOW_TEST(WheelPanelTest)
#include "tst_wheelpanel.moc"
