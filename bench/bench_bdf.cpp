// Figures of the BDF font reader: reading a bundled font file, and laying out a 40-character
// text with it upright and upside down.

#include "median.h"
#include "tools/bdffont.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

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
        const BitFont::BDFfont font(path);
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("reading spleen-8x16.bdf: %.2f ms (median of 20)\n", median(times));

    const BitFont::BDFfont font(path);
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
