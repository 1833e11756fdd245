// Figures of the dongle line: the time to line-code a frame, and against the paced virtual
// wheel the wall time of one store exchange compared with its time on the wire.

#include "median.h"
#include "transfer/ftdidongle.h"
#include "transfer/d2xx/serialport.h"
#include "wheelprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int frameSize = 512;
    QByteArray frame(frameSize, '\0');
    for (char& byte : frame)
        byte = char(QRandomGenerator::global()->bounded(256));

    FtdiDongle coder;
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer clock;
        clock.start();
        const QByteArray line = coder.package("SAv" + frame + '\x01');
        times.push_back(clock.nsecsElapsed() / 1e6);
        if (line.size() != (frameSize + 4) * 448)
            return 1;
    }
    std::printf("line coding of a %d-byte store request: %.3f ms (median of 200)\n", frameSize,
                median(times));

    // 128 x 32 cells are 512 bytes of frame data.
    WheelProcess wheel({"--paced", "--size", "128x32"});
    if (!wheel.isRunning()) {
        std::fprintf(stderr, "bench_dongle: rimglow-wheel did not start\n");
        return 1;
    }
    const double wire = (frameSize + 4) * 448 * 10 / 384615.0 + 12 / 1202.0;
    for (int run = 1; run <= 3; ++run) {
        FtdiDongle dongle;
        QElapsedTimer clock;
        clock.start();
        const bool saved = dongle.save(char(run), frame);
        const double wall = clock.nsecsElapsed() / 1e9;
        std::printf("paced store exchange %d: %s, wall %.3f s, wire %.3f s, ratio %.3f "
                    "(target at most 1.10)\n",
                    run, saved ? "confirmed" : "NOT confirmed", wall, wire, wall / wire);
        if (!saved)
            return 1;
    }

    // The margin within the read time-out: how long after the write returned the reply came.
    SerialPort port;
    if (!port.open(wheel.getDevice()))
        return 1;
    port.setTimeouts(5000, 0);
    port.setBaudRate(384615);
    const QByteArray line = coder.package("SAv" + frame + '\x04');
    QElapsedTimer clock;
    clock.start();
    const qint64 written = port.write(line.constData(), line.size());
    const double writeTime = clock.nsecsElapsed() / 1e6;
    clock.restart();
    port.drain();
    port.discardInput();
    port.setBaudRate(1202);
    char reply = 0;
    const qint64 got = port.read(&reply, 1);
    std::printf("paced store: the write of %lld line bytes returned after %.0f ms; the reply came "
                "%.0f ms later (the read waits at most 1200 ms)\n",
                written, writeTime, clock.nsecsElapsed() / 1e6);
    return got == 1 ? 0 : 1;
}
