#ifndef SENDPROGRESS_H
#define SENDPROGRESS_H

#include "transfer/storeestimate.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdio>

// The progress of a command-line transfer: on a terminal one line that is redrawn, with the
// slot being stored and a bar against the time the line rate makes one expect; elsewhere
// (a log, a pipe) one plain line per step.
class SendProgress : public QObject {
    Q_OBJECT
public:
    SendProgress(std::FILE* out, bool terminal);

    void start(int count, int frameBytes, bool hall);
    void storing(int slot);
    void confirmed(int slot);
    // Ends the redrawn line, so that what follows starts on a line of its own.
    void stop();

private:
    void draw();

    std::FILE* out;
    bool terminal;
    QTimer redraw;
    QElapsedTimer sinceStore;
    StoreEstimate estimate;
    int done = 0;
    int slot = -1;
    bool drawn = false;
};

#endif
