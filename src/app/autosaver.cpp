#include "autosaver.h"

#include "model/autosavefile.h"
#include "model/design.h"

#include <QFile>
#include <QTimer>

namespace {

// How soon a write held back by a stroke is tried again.
const int strokeWait = 200;

} // namespace

Autosaver::Autosaver(const QString& product, QSize grid, std::function<bool()> drawing)
    : product(product)
    , grid(grid)
    , drawing(std::move(drawing))
{
}

int Autosaver::interval()
{
    bool number = false;
    const double seconds = qEnvironmentVariable("RIMGLOW_AUTOSAVE_SECONDS").toDouble(&number);
    // A day at most: a timer counts milliseconds in an int.
    return number && seconds >= 0 ? int(qMin(seconds, 24 * 3600.0) * 1000) : 60 * 1000;
}

void Autosaver::add(Design* design)
{
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, design] { due(design); });
    timers.insert(design, timer);
    names.insert(design, QString("design-%1.png").arg(++count));
    // Every step, done or undone, shows in one of these; the stack's own signals come from a
    // design already half gone when it closes.
    const auto follow = [this, design] { changed(design); };
    connect(design, &Design::pictureChanged, this, follow);
    connect(design, &Design::currentChanged, this, follow);
    connect(design, &Design::orderChanged, this, follow);
    connect(design, &Design::tickChanged, this, follow);
    connect(design, &Design::modifiedChanged, this, follow);
    connect(design, &QObject::destroyed, this, [this, design] {
        delete timers.take(design);
        names.remove(design);
        remove(design);
    });
}

void Autosaver::changed(Design* design)
{
    QTimer* timer = timers.value(design);
    if (!design->isModified()) {
        timer->stop();
        remove(design);
    } else if (!timer->isActive()) {
        timer->start(interval());
    }
}

void Autosaver::due(Design* design)
{
    if (!design->isModified())
        return;
    if (drawing())
        timers.value(design)->start(strokeWait);
    else
        write(design);
}

bool Autosaver::write(Design* design)
{
    timers.value(design)->stop();
    const QString path = session.filePath(names.value(design));
    AutosaveFile file(path);
    if (path.isEmpty() || !file.write(*design, product, grid)) {
        emit failed(path.isEmpty() ? session.errorString() : file.errorString());
        return false;
    }
    written.insert(design, path);
    return true;
}

void Autosaver::remove(Design* design)
{
    const QString path = written.take(design);
    if (!path.isEmpty())
        QFile::remove(path);
}
