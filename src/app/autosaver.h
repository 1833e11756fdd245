#ifndef AUTOSAVER_H
#define AUTOSAVER_H

#include "model/autosavesession.h"

#include <QHash>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>

class Design;
class QTimer;

// Writes every modified design into this program's autosave session from the event loop: at
// most the interval after its first change since it was last written (later changes do not
// put it off, or steady drawing would never be written), but never while a stroke is being
// drawn; then right after it. A design that is saved, undone back to its saved state or closed
// loses its autosave.
class Autosaver : public QObject {
    Q_OBJECT
public:
    // drawing tells whether a stroke is in progress.
    Autosaver(const QString& product, QSize grid, std::function<bool()> drawing);

    void add(Design* design);
    // Writes the design now; false, and failed() with the reason, when that is not possible.
    bool write(Design* design);
    // Where the design's autosave is; empty while it has none.
    QString filePath(Design* design) const { return written.value(design); }

    // RIMGLOW_AUTOSAVE_SECONDS, a minute unless told.
    static int interval();

signals:
    void failed(const QString& reason);

private:
    void changed(Design* design);
    void due(Design* design);
    void remove(Design* design);

    QString product;
    QSize grid;
    std::function<bool()> drawing;
    AutosaveSession session;
    QHash<Design*, QTimer*> timers;
    // The file names of the designs in the session, and the files written.
    QHash<Design*, QString> names;
    QHash<Design*, QString> written;
    int count = 0;
};

#endif
