#include "sendprogress.h"

#include "sendcommand.h"

#include <QString>

namespace {

QString seconds(double value)
{
    return QString::number(value, 'f', 1) + " s";
}

} // namespace

SendProgress::SendProgress(std::FILE* out, bool terminal)
    : out(out)
    , terminal(terminal)
{
    redraw.setInterval(200);
    connect(&redraw, &QTimer::timeout, this, &SendProgress::draw);
}

void SendProgress::start(int count, int frameBytes, bool hall)
{
    estimate = StoreEstimate(count, frameBytes, hall);
    done = 0;
    if (!terminal)
        std::fprintf(out, "%s to store, about %s\n", qPrintable(SendCommand::pictureCount(count)),
                     qPrintable(seconds(estimate.totalSeconds())));
}

void SendProgress::storing(int newSlot)
{
    slot = newSlot;
    sinceStore.start();
    if (terminal) {
        redraw.start();
        draw();
    } else {
        std::fprintf(out, "storing slot %d (%d of %d)\n", slot + 1, done + 1, estimate.count());
    }
    std::fflush(out);
}

void SendProgress::confirmed(int confirmedSlot)
{
    ++done;
    if (terminal)
        draw();
    else
        std::fprintf(out, "slot %d confirmed\n", confirmedSlot + 1);
    std::fflush(out);
}

void SendProgress::stop()
{
    redraw.stop();
    if (terminal && drawn)
        std::fputc('\n', out);
    drawn = false;
    std::fflush(out);
}

void SendProgress::draw()
{
    const double intoStore = sinceStore.elapsed() / 1000.0;
    const double fraction = estimate.fraction(done, intoStore);
    const int count = estimate.count();
    const int width = 30;
    const int filled = int(fraction * width);
    const double left = estimate.secondsLeft(done, intoStore);
    const QString bar = QString(filled, '#') + QString(width - filled, '-');
    std::fprintf(out, "\r\033[Kslot %d  %d/%d [%s] %3d%%  about %s left", slot + 1,
                 qMin(done + 1, count), count, qPrintable(bar), int(fraction * 100),
                 qPrintable(seconds(left)));
    std::fflush(out);
    drawn = true;
}
