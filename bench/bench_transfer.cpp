// The wall time of a whole paced transfer of 12 pictures to a 128 x 32 wheel, against the time
// its messages take on the dongle's line plus the pauses the transfer makes on purpose: once
// with a wheel that stores nothing (the program's own overhead) and once with one that writes
// every frame and renders its picture before answering. Then the same pictures through
// rimglow-send, against the first of those. Last, Send This Picture: one frame through the
// dialog, without and with the click that wakes a wheel with a hall sensor.

#include "app/memorytuning.h"
#include "median.h"
#include "transfer/transmitter.h"
#include "wheelprocess.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Seconds on the line: a message of n bytes is n x 448 line bytes at 384615 baud, ten bit
// times each; a reply byte is twelve bit times at 1202 baud.
double wire(int messageBytes, int replyBytes)
{
    return messageBytes * 448 * 10 / 384615.0 + replyBytes * 12 / 1202.0;
}

// Runs one transfer of frames to a paced wheel that holds 12 pictures; the seconds it took, or
// a negative number when not every picture was confirmed.
double transfer(const QMap<int, QByteArray>& frames, bool storing, bool hall = false)
{
    WheelProcess wheel({"--paced", "--size", "128x32", "--id", "D12"}, storing);
    if (!wheel.isRunning()) {
        std::fprintf(stderr, "bench_transfer: rimglow-wheel did not start\n");
        return -1;
    }
    QWidget window;
    window.show();
    Transmitter transmitter({{"D12", 12}}, hall, &window);
    // The dialog closes by hiding; the loop sleeps between its looks.
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (!transmitter.isVisible())
            loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    transmitter.saveImage(frames);
    look.start(5);
    loop.exec();
    const double wall = clock.nsecsElapsed() / 1e9;

    const QString reports = wheel.errors();
    int confirmed = 0;
    for (auto frame = frames.cbegin(); frame != frames.cend(); ++frame)
        confirmed += reports.contains(QString("store request for slot %1,").arg(frame.key())) &&
                     (!storing || wheel.storedFrame(frame.key()) == frame.value());
    return confirmed == frames.size() ? wall : -1;
}

// Runs rimglow-send on a design of the given pictures against a paced wheel that stores
// nothing; the seconds it took, or a negative number when not every picture was confirmed.
double sendCommand(int pictures)
{
    QTemporaryDir dir;
    QImage strip(pictures * 512, 512, QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            strip.setPixel(x, y, QRandomGenerator::global()->bounded(2) ? 0xFF000000 : 0);
    const QString design = dir.filePath("noise.DEMO");
    strip.save(design, "png");

    WheelProcess wheel({"--paced", "--size", "128x32", "--id", "D12"}, false);
    QProcess sender;
    QElapsedTimer clock;
    clock.start();
    sender.start(QCoreApplication::applicationDirPath() + "/rimglow-send",
                 {"-n", "DEMO", "-s", "128x32", "-o", "80", "-i", "16", "-v",
                  QString("D12x%1").arg(pictures), "-c", "red", design});
    sender.waitForFinished(-1);
    const double wall = clock.nsecsElapsed() / 1e9;
    // It exits with 0 only when the wheel confirmed every picture.
    const bool confirmed = sender.exitStatus() == QProcess::NormalExit && sender.exitCode() == 0 &&
                           sender.readAllStandardOutput().contains(
                               QString("%1 pictures stored").arg(pictures).toUtf8());
    if (!confirmed)
        std::fprintf(stderr, "bench_transfer: rimglow-send: %s\n",
                     sender.readAllStandardError().constData());
    return confirmed ? wall : -1;
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
    QMap<int, QByteArray> frames;
    for (int slot = 0; slot < pictures; ++slot) {
        QByteArray frame(frameSize, '\0');
        for (char& byte : frame)
            byte = char(QRandomGenerator::global()->bounded(256));
        frames.insert(slot, frame);
    }
    // The click and the identity request, then per picture the store and its 100 ms delay.
    const double expected = wire(1, 0) + wire(2, 7) + pictures * (wire(frameSize + 4, 1) + 0.1);
    bool complete = true;
    double interactive = 0;
    for (const bool storing : {false, true}) {
        const double wall = transfer(frames, storing);
        if (!storing)
            interactive = wall;
        complete = complete && wall > 0;
        std::printf("paced transfer of %d pictures (128 x 32), wheel %s: %s, wall %.2f s, wire "
                    "and pauses %.2f s, ratio %.3f%s\n",
                    pictures,
                    storing ? "writing every frame and its picture (--store)" : "storing nothing",
                    wall > 0 ? "all confirmed" : "NOT ALL CONFIRMED", wall, expected,
                    wall / expected, storing ? "" : " (target at most 1.02)");
    }
    // The command-line sender, start-up and design reading included, against the program's
    // own transfer above.
    const double command = sendCommand(pictures);
    complete = complete && interactive > 0 && command > 0;
    std::printf("rimglow-send, the same 12 pictures from a design file: %s, wall %.2f s against "
                "%.2f s from the transfer dialog, ratio %.3f (target at most 1.02)\n",
                command > 0 ? "all confirmed" : "NOT ALL CONFIRMED", command, interactive,
                command / interactive);

    // Send This Picture: the current slot alone, here the fifth, through the same dialog. With
    // a hall sensor the store waits for a click and 100 ms more.
    for (const bool hall : {false, true}) {
        const QMap<int, QByteArray> one{{4, frames[4]}};
        std::vector<double> walls;
        for (int run = 0; run < 3; ++run)
            walls.push_back(transfer(one, false, hall));
        const double wall = median(walls);
        const double oneExpected =
            wire(1, 0) + wire(2, 7) + 0.1 + wire(frameSize + 4, 1) + (hall ? wire(1, 0) + 0.1 : 0);
        const bool sent = *std::min_element(walls.begin(), walls.end()) > 0;
        complete = complete && sent;
        std::printf("Send This Picture (128 x 32)%s: %s, wall %.3f s (median of 3), wire and "
                    "pauses %.3f s, ratio %.4f (target at most 1.02)\n",
                    hall ? ", hall sensor" : "", sent ? "confirmed" : "NOT CONFIRMED", wall,
                    oneExpected, wall / oneExpected);
    }
    return complete ? 0 : 1;
}
