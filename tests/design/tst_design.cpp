#include "files.h"
#include "fixtures.h"
#include "model/design.h"
#include "model/designfile.h"
#include "testsuite.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#ifdef Q_OS_LINUX
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

namespace {

const QSize side(512, 512);

QImage filled(const QColor& color, int size = 512)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

// Every picture of a design by index, to compare states exactly.
QList<QImage> pictures(const Design& design)
{
    QList<QImage> images;
    for (int i = 0; i < design.getCount(); ++i)
        images << design.getPicture(i).convertToFormat(QImage::Format_ARGB32);
    return images;
}

QImage square(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_ARGB32).copy(0, 0, 512, 512);
}

QImage noise(quint32 seed)
{
    QImage image(512, 512, QImage::Format_ARGB32);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(image.bits()), 512 * 512);
    return image;
}

QImage stroke(int x, int y, const QColor& color)
{
    QImage image = filled(Qt::transparent);
    QPainter(&image).fillRect(x, y, 40, 90, color);
    return image;
}

#ifdef Q_OS_LINUX
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
#endif

// The ticks of the slots as a word, "x" ticked and "-" not.
QString ticks(const Design& design)
{
    QString states;
    for (int row = 0; row < design.getCount(); ++row)
        states += design.isTicked(row) ? 'x' : '-';
    return states;
}

} // namespace

// The design as a document, without any widget: its pictures, slots, file and history.
class DesignTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    // One design's life. Every kind of picture step is undone and redone in full: each state
    // comes back pixel for pixel, with its undo key and the clean mark where the design was
    // saved. The design is then sent and saved with its slots reordered and read back slot by
    // slot. Last, failed saves are reported with the system's reason, leave the design
    // modified and the saved file as it was: a write that fails in its very last bytes (a full
    // disk, here a file size limit), and a final rename that fails (over an append-only file,
    // which even root may not replace).
    void designWalk()
    {
        QCOMPARE(Design(0, side).getCount(), 1);
        Design design(3, side);
        QUndoStack* stack = design.getUndoStack();
        QSignalSpy modified(&design, &Design::modifiedChanged);
        QList<QList<QImage>> states{pictures(design)};
        QStringList keys{QString()};
        auto step = [&](const QString& key, const std::function<void()>& change) {
            change();
            states << pictures(design);
            keys << key;
        };
        const auto over = QPainter::CompositionMode_SourceOver;
        step("DRAW", [&] { design.paint(stroke(100, 80, Qt::red), over, "DRAW"); });
        QCOMPARE(modified.value(0).value(0).toBool(), true);
        step("DRAW", [&] {
            design.paint(stroke(110, 85, Qt::black), QPainter::CompositionMode_DestinationOut,
                         "DRAW");
        });
        // Even a drawing that changes nothing is a step.
        step("DRAW", [&] { design.paint(filled(Qt::transparent), over, "DRAW"); });
        step("PASTE", [&] {
            // Another slot current at undo time: each step keeps its own picture.
            design.setCurrentRow(2);
            design.paste(noise(7));
        });
        const QString path = dir.filePath("walk.DEMO");
        QString reason;
        QVERIFY(design.save(path, &reason));
        QCOMPARE(design.getFilePath(), path);
        QCOMPARE(design.getDisplayName(), QString("walk"));
        const int saved = stack->index();
        step("IMPORT", [&] { design.paint(filled(QColor(0, 200, 0, 128)), over, "IMPORT"); });
        step("PASTE", [&] {
            design.setCurrentRow(1);
            design.paste(filled(Qt::yellow, 600));
        });
        step("IMPORT", [&] {
            // Slots are places: with the pictures reordered to 1, 0, 2, the slots from the
            // second on hold pictures 0 and 2, and a third picture finds none. The history
            // counts what each slot's change holds: here the noise that picture 2 held before.
            design.setRow(1, 0);
            design.setCurrentRow(1);
            const QList<QImage> before = pictures(design);
            const qint64 bytes = design.historyBytes();
            QCOMPARE(
                design.paintSlots({filled(Qt::red), filled(Qt::blue), noise(3)}, over, "IMPORT"),
                2);
            QVERIFY(design.historyBytes() - bytes > 512 * 512 * 3);
            const QList<QImage> after = pictures(design);
            QCOMPARE(after[0].pixelColor(256, 256), QColor(Qt::red));
            QCOMPARE(after[1], before[1]);
            QVERIFY(after[2] != before[2]);
        });
        QCOMPARE(stack->count(), states.size() - 1);
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = stack->count(); i >= 0; --i) {
                QCOMPARE(stack->index(), i);
                QCOMPARE(stack->undoText(), keys[i]);
                QVERIFY2(pictures(design) == states[i], qPrintable(QString::number(i)));
                QCOMPARE(stack->isClean(), i == saved);
                stack->undo();
            }
            for (int i = 0; i < states.size(); ++i) {
                QVERIFY2(pictures(design) == states[i], qPrintable(QString::number(i)));
                stack->redo();
            }
        }

        // Slots were reordered without a step: each slot's picture goes out and is saved in
        // its place.
        const QMap<int, QImage> sent = design.tickedPictures();
        const QList<int> order = design.getList();
        QCOMPARE(order, (QList<int>{1, 0, 2}));
        QVERIFY(design.save(path, &reason));
        QVERIFY(stack->isClean());
        Design reopened(3, side);
        QVERIFY(reopened.load(path, &reason));
        QVERIFY(reopened.getUndoStack()->isClean());
        QCOMPARE(reopened.getDisplayName(), QString("walk"));
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(square(sent[row]), square(states.last()[order[row]]));
            QCOMPARE(pictures(reopened)[row], square(states.last()[order[row]]));
        }

#ifdef Q_OS_LINUX
        const QByteArray before = contents(path);
        // The same noise twice: the second save, under a limit one byte short of what full.DEMO
        // holds, fails in its very last bytes.
        design.paste(noise(1));
        QVERIFY(design.save(dir.filePath("full.DEMO"), &reason));
        design.paste(noise(1));
        reason.clear();
        QVERIFY(!writesWithin(contents(dir.filePath("full.DEMO")).size() - 1,
                              [&] { return design.save(path, &reason); }));
        QCOMPARE(reason, QString("File too large"));
        QCOMPARE(design.getFilePath(), dir.filePath("full.DEMO"));
        const bool appendOnly = setAppendOnly(path, true);
        if (appendOnly) {
            reason.clear();
            const bool replaced = design.save(path, &reason);
            QVERIFY(setAppendOnly(path, false));
            QVERIFY(!replaced);
            QVERIFY(!reason.isEmpty());
        }
        QVERIFY(design.isModified());
        QCOMPARE(contents(path), before);
        QCOMPARE(QDir(dir.path()).entryList({"walk.DEMO*"}, QDir::Files), QStringList{"walk.DEMO"});
        if (!appendOnly)
            QSKIP("no append-only files here: the failing rename went untried");
#endif
    }

    // Choosing, moving and ticking slots are steps, named by their keys; each undoes and
    // redoes exactly, and one that would change nothing is none. The ticked slots go out with
    // the pictures in them; a moved slot takes its picture and tick along and is edited.
    void slotSteps()
    {
        Design design(4, side);
        QUndoStack* stack = design.getUndoStack();
        for (int i = 0; i < 4; ++i)
            design.setPicture(i, filled(QColor(i * 60, 0, 0)));
        // Slots holding pictures 2, 0, 3, 1, set up without any step.
        design.setRow(2, 0);
        design.setRow(3, 2);
        design.setCurrentRow(0);
        QCOMPARE(design.getList(), (QList<int>{2, 0, 3, 1}));
        design.tick(1, false);
        design.tick(1, false);
        const QMap<int, QImage> sent = design.tickedPictures();
        QCOMPARE(sent.keys(), (QList<int>{0, 2, 3}));
        QCOMPARE(sent[0], design.getPicture(2));
        QCOMPARE(sent[2], design.getPicture(3));
        QCOMPARE(sent[3], design.getPicture(1));
        design.tick(2, false);
        design.tick(2, true);
        QCOMPARE(stack->count(), 3);
        QCOMPARE(stack->undoText(), QString("SELECT"));
        stack->undo();
        QCOMPARE(stack->undoText(), QString("UNSELECT"));
        QCOMPARE(ticks(design), QString("x--x"));
        design.tickAll(true);
        QCOMPARE(ticks(design), QString("xxxx"));
        QCOMPARE(stack->undoText(), QString("SELECTALL"));
        stack->undo();
        QCOMPARE(ticks(design), QString("x--x"));
        design.tickAll(false);
        design.tickAll(false);
        QCOMPARE(stack->undoText(), QString("IGNOREALL"));
        QVERIFY(design.tickedPictures().isEmpty());
        stack->undo();
        stack->undo();

        design.chooseRow(2);
        design.chooseRow(2);
        QCOMPARE(stack->undoText(), QString("EDIT"));
        stack->undo();
        QCOMPARE(design.getCurrentRow(), 0);
        stack->redo();
        QCOMPARE(design.getCurrentIndex(), 3);
        design.moveRow(3, 0);
        design.moveRow(1, 1);
        QCOMPARE(stack->undoText(), QString("MOVETO"));
        QCOMPARE(design.getList(), (QList<int>{1, 2, 0, 3}));
        QCOMPARE(ticks(design), QString("xx-x"));
        QCOMPARE(design.getCurrentIndex(), 1);
        stack->undo();
        QCOMPARE(design.getList(), (QList<int>{2, 0, 3, 1}));
        QCOMPARE(design.getCurrentRow(), 3);
        stack->redo();
        QCOMPARE(design.getCurrentRow(), 0);
    }

    // A long session forgets its oldest steps instead of growing without end; what is kept
    // still undoes exactly, and Undo stops at the oldest kept step.
    void scatteredChanges_data()
    {
        QTest::addColumn<QList<QRect>>("spots");
        QTest::addColumn<bool>("small");
        QTest::newRow("none") << QList<QRect>{} << true;
        QTest::newRow("one pixel") << QList<QRect>{{300, 200, 1, 1}} << true;
        QTest::newRow("across tiles") << QList<QRect>{{60, 60, 10, 10}} << true;
        QTest::newRow("four repeats")
            << QList<QRect>{{250, 10, 6, 6}, {10, 250, 6, 6}, {250, 496, 6, 6}, {496, 250, 6, 6}}
            << true;
        QTest::newRow("corners") << QList<QRect>{{0, 0, 1, 1}, {511, 511, 1, 1}} << true;
        QTest::newRow("a band") << QList<QRect>{{0, 100, 512, 40}} << false;
        QTest::newRow("everything") << QList<QRect>{{0, 0, 512, 512}} << false;
    }

    // A step keeps what changed wherever it lies round the wheel, and only that: undo and redo
    // give back each picture exactly, and scattered spots cost far less than the rectangle
    // round them all.
    void scatteredChanges()
    {
        QFETCH(QList<QRect>, spots);
        QFETCH(bool, small);
        Design design(1, side);
        design.paste(noise(7));
        const QList<QImage> before = pictures(design);
        const qsizetype start = design.historyBytes();
        QImage changed = design.getPicture();
        QPainter painter(&changed);
        for (const QRect& spot : spots)
            painter.fillRect(spot, QColor(10, 200, 30));
        painter.end();
        design.paste(changed);
        const QList<QImage> after = pictures(design);
        QVERIFY(spots.isEmpty() || after != before);
        QCOMPARE(design.historyBytes() - start < 40000, small);
        design.getUndoStack()->undo();
        QCOMPARE(pictures(design), before);
        design.getUndoStack()->redo();
        design.getUndoStack()->undo();
        design.getUndoStack()->redo();
        QCOMPARE(pictures(design), after);
    }

    void historyStaysWithinItsBudget()
    {
        Design design(1, side);
        QUndoStack* stack = design.getUndoStack();
        QList<QList<QImage>> states{pictures(design)};
        // Noise does not compress: every step costs two whole pictures.
        for (quint32 i = 0; i < 36; ++i) {
            design.paste(noise(i));
            states << pictures(design);
            QVERIFY(design.historyBytes() <= Design::historyBudget);
        }
        QVERIFY(design.historyBytes() > Design::historyBudget * 3 / 4);
        // Each Undo is a real step back; none silently does nothing.
        int undone = 0;
        while (stack->canUndo()) {
            stack->undo();
            QCoreApplication::processEvents();
            QCOMPARE(pictures(design), states[36 - ++undone]);
        }
        QVERIFY(undone > 20 && undone < 36);
        // The oldest kept state is not the never-saved start.
        QVERIFY(!stack->isClean());
        stack->redo();
        QCOMPARE(pictures(design), states[37 - undone]);
    }

    // A design file is read square by square from its height, as far as the file and the
    // design's slots go; a file under unreadable/ is refused with the reader's reason. What
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
        const bool readable = path.contains("/readable/");
        Design design(3, side);
        QString reason;
        QCOMPARE(design.load(path, &reason), readable);
        QCOMPARE(reason.isEmpty(), readable);
        QVERIFY(!design.isModified());
        QCOMPARE(design.getFilePath(), readable ? path : QString());
        const QImage file = readable ? QImage(path) : QImage();
        const int side = file.height();
        const QList<QImage> read = pictures(design);
        QVERIFY(design.save(dir.filePath("copy.DEMO"), &reason));
        DesignFile copy(dir.filePath("copy.DEMO"));
        QVERIFY(copy.read(3));
        QCOMPARE(copy.getPictures().size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QImage part = i < file.width() / qMax(side, 1)
                                    ? file.copy(i * side, 0, side, side)
                                    : filled(Qt::transparent);
            QCOMPARE(read[i], part.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                  .convertToFormat(QImage::Format_ARGB32));
            QCOMPARE(square(copy.getPictures()[i]), square(read[i]));
        }
    }
};

RIMGLOW_TEST(DesignTest)
#include "tst_design.moc"
