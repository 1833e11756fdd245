// The wall time of a whole paced transfer of 12 pictures to a 128 x 32 wheel, against the time
// its messages take on the dongle's line plus the pauses the transfer makes on purpose.

#include "app/memorytuning.h"
#include "transfer/transmitter.h"
#include "wheelprocess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>

namespace {

// Seconds on the line: a message of n bytes is n x 448 line bytes at 384615 baud, ten bit
// times each; a reply byte is twelve bit times at 1202 baud.
double wire(int messageBytes, int replyBytes)
{
    return messageBytes * 448 * 10 / 384615.0 + replyBytes * 12 / 1202.0;
}

} // namespace

int main(int argc, char** argv)
{
    tuneMemoryForPictures();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const int pictures = 12;
    const int frameSize = 128 * 32 / 8;
    WheelProcess wheel({"--paced", "--size", "128x32", "--id", "D12"});
    if (!wheel.isRunning()) {
        std::fprintf(stderr, "bench_transfer: rimglow-wheel did not start\n");
        return 1;
    }
    QMap<int, QByteArray> frames;
    for (int slot = 0; slot < pictures; ++slot) {
        QByteArray frame(frameSize, '\0');
        for (char& byte : frame)
            byte = char(QRandomGenerator::global()->bounded(256));
        frames.insert(slot, frame);
    }
    QWidget window;
    window.show();
    Transmitter transmitter({{"D12", pictures}}, false, &window);
    QElapsedTimer clock;
    clock.start();
    transmitter.saveImage(frames);
    while (transmitter.isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const double wall = clock.nsecsElapsed() / 1e9;

    int stored = 0;
    for (int slot = 0; slot < pictures; ++slot)
        stored += wheel.storedFrame(slot) == frames[slot];
    // The click and the identity request, then per picture the store and its 100 ms delay.
    const double expected = wire(1, 0) + wire(2, 7) + pictures * (wire(frameSize + 4, 1) + 0.1);
    std::printf("paced transfer of %d pictures (128 x 32): %d stored, wall %.2f s, wire and "
                "pauses %.2f s, ratio %.3f (target at most 1.05)\n",
                pictures, stored, wall, expected, wall / expected);
    return stored == pictures ? 0 : 1;
}
