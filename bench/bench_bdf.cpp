// Figures of the BDF font reader and the text tool: reading a bundled font file and a complete
// 16-pixel font of the Basic Multilingual Plane, laying out a 40-character text upright and
// upside down, opening the text tool with and without that font in the font folder, and a text
// preview per keystroke.

#include "median.h"
#include "residentmemory.h"
#include "resources/resource.h"
#include "textfigures.h"
#include "tools/bdffont.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

// As GNU Unifont: every character but the surrogates and the private use area.
bool writePlane(const QString& path)
{
    QFile plane(path);
    if (!plane.open(QIODevice::WriteOnly))
        return false;
    plane.write("STARTFONT 2.1\nFONTBOUNDINGBOX 16 16 0 -2\n");
    for (int encoding = 0x20; encoding <= 0xFFFF; ++encoding) {
        if (encoding >= 0xD800 && encoding < 0xF900)
            continue;
        QByteArray glyph = "STARTCHAR x\nENCODING " + QByteArray::number(encoding) +
                           "\nDWIDTH 16 0\nBBX 16 16 0 -2\nBITMAP\n";
        for (int r = 0; r < 16; ++r)
            glyph += QByteArray::number((encoding * 40503u + r * 9973u) & 0xFFFF, 16)
                         .rightJustified(4, '0') +
                     "\n";
        plane.write(glyph + "ENDCHAR\n");
    }
    return true;
}

const double openingTarget = 50;

void printOpening(const char* what, double ms)
{
    std::printf("  %-62s %7.1f ms  %s\n", what, ms, ms <= openingTarget ? "met" : "MISSED");
}

double medianOf(int runs, const std::function<double()>& measure)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(measure());
    return median(times);
}

// Opening the text tool, from its construction until the view has painted it, in a run that
// has not opened it before.
void openingFigures()
{
    TextDesk desk(128, 32);
    desk.view.viewport()->repaint();
    // The program has its texts and icons from the start.
    Resource::getIcon("YES");
    const auto later = [&] { return medianOf(20, [&] { return desk.openingMs(); }); };
    std::printf("opening the text tool at 128 x 32 (target %.0f ms; later: median of 20):\n",
                openingTarget);
    printOpening("first opening", desk.openingMs());
    printOpening("later openings", later());

    const QString path = Resource::directory() + "font/zz-bench-plane.bdf";
    const auto removePlane = qScopeGuard([&] { QFile::remove(path); });
    if (!writePlane(path)) {
        std::printf("  cannot write %s\n", qPrintable(path));
        return;
    }
    printOpening("first opening with the whole-plane font in the folder", desk.openingMs());
    printOpening("later openings with it in the folder", later());
    desk.text->getEntry()->findChild<QComboBox*>()->setCurrentIndex(
        desk.text->getEntry()->findChild<QComboBox*>()->findText("zz-bench-plane"));
    QElapsedTimer clock;
    clock.start();
    desk.text->getEntry()->findChild<QLineEdit*>()->setText("Rimglow");
    std::printf("  %-62s %7.1f ms  (once a run)\n", "first text in the whole-plane font (reads it)",
                clock.nsecsElapsed() / 1e6);
    printOpening("later openings writing in the whole-plane font", later());
    desk.text->getEntry()->findChild<QComboBox*>()->setCurrentIndex(0);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen screen says at every tool it opens that it cannot size windows.
    static const QtMessageHandler standard = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains("propagateSizeHints"))
                standard(type, context, message);
        });
    QApplication application(argc, argv);
    const QString path = QCoreApplication::applicationDirPath() + "/font/spleen-8x16.bdf";
    if (!QFileInfo(path).isFile()) {
        std::fprintf(stderr, "%s is missing: build the resources first\n", qPrintable(path));
        return 1;
    }

    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer clock;
        clock.start();
        const BDFfont font(path);
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("reading spleen-8x16.bdf: %.2f ms (median of 20)\n", median(times));

    QTemporaryDir dir;
    QFile plane(dir.filePath("plane.bdf"));
    if (!writePlane(plane.fileName()))
        return 1;
    times.clear();
    long grown = 0;
    for (int i = 0; i < 5; ++i) {
        const long before = residentKilobytes();
        QElapsedTimer clock;
        clock.start();
        const BDFfont font(plane.fileName());
        times.push_back(clock.nsecsElapsed() / 1e6);
        // Later loads reuse the memory the first one freed.
        if (i == 0)
            grown = residentKilobytes() - before;
    }
    std::printf("reading a 16-pixel font of the whole Basic Multilingual Plane (%.1f MB): %.0f ms "
                "(median of 5), resident memory %.1f MB while loaded\n",
                plane.size() / 1e6, median(times), grown / 1024.0);

    const BDFfont font(path);
    const QString text = QString("Rimglow spins pictures on bicycle wheels!").left(40);
    for (const bool down : {false, true}) {
        times.clear();
        qsizetype points = 0;
        for (int i = 0; i < 1000; ++i) {
            QElapsedTimer clock;
            clock.start();
            points = font.text(text, down).size();
            times.push_back(clock.nsecsElapsed() / 1e3);
        }
        std::printf("laying out 40 characters %s: %.1f us (median of 1000; %lld points)\n",
                    down ? "upside down" : "upright", median(times),
                    static_cast<long long>(points));
    }

    openingFigures();
    std::printf("a text preview per keystroke (median of 41 keys):\n");
    for (const QSize grid : {QSize(128, 32), QSize(1024, 256)})
        std::printf("  %d x %d: %.2f ms\n", grid.width(), grid.height(),
                    textPreviewMs(grid.width(), grid.height()));
    return 0;
}
