// Figures of the BDF font reader: reading a bundled font file and a complete 16-pixel font of
// the Basic Multilingual Plane, and laying out a 40-character text upright and upside down.

#include "median.h"
#include "residentmemory.h"
#include "tools/bdffont.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
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

    // As GNU Unifont: every character but the surrogates and the private use area.
    QTemporaryDir dir;
    QFile plane(dir.filePath("plane.bdf"));
    if (!plane.open(QIODevice::WriteOnly))
        return 1;
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
    plane.close();
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
    return 0;
}
