#include "sendprogress.h"

#include "sendcommand.h"

#include <QString>

namespace {

// A message byte is 448 line bytes at 384615 baud, ten bit times each; the confirmation is
// one byte of twelve bit times at 1202 baud. A store message carries "SAv", the frame and the
// slot.
double storeLineSeconds(int frameBytes)
{
    return (frameBytes + 4) * 448 * 10 / 384615.0 + 12 / 1202.0;
}

const double pause = 0.1;
const double clickSeconds = 448 * 10 / 384615.0;

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

double SendProgress::storeSeconds(int frameBytes, bool hall)
{
    return pause + storeLineSeconds(frameBytes) + (hall ? clickSeconds + pause : 0);
}

void SendProgress::start(int newCount, int frameBytes, bool hall)
{
    count = newCount;
    done = 0;
    perStore = storeSeconds(frameBytes, hall);
    if (!terminal)
        std::fprintf(out, "%s to store, about %s\n", qPrintable(SendCommand::pictureCount(count)),
                     qPrintable(seconds(count * perStore)));
}

void SendProgress::storing(int newSlot)
{
    slot = newSlot;
    sinceStore.start();
    if (terminal) {
        redraw.start();
        draw();
    } else {
        std::fprintf(out, "storing slot %d (%d of %d)\n", slot + 1, done + 1, count);
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
    // The store under way counts by its expected time, but never as finished before the wheel
    // has confirmed it.
    const double share = done < count ? qMin(sinceStore.elapsed() / 1000.0 / perStore, 0.95) : 0;
    const double fraction = count > 0 ? (done + share) / count : 1;
    const int width = 30;
    const int filled = int(fraction * width);
    const double left = qMax(0.0, (count - done - share) * perStore);
    const QString bar = QString(filled, '#') + QString(width - filled, '-');
    std::fprintf(out, "\r\033[Kslot %d  %d/%d [%s] %3d%%  about %s left", slot + 1,
                 qMin(done + 1, count), count, qPrintable(bar), int(fraction * 100),
                 qPrintable(seconds(left)));
    std::fflush(out);
    drawn = true;
}
