#ifndef DONGLETHREAD_H
#define DONGLETHREAD_H

#include "dongle_.h"
#ifdef Q_OS_WIN
#include "windongle.h"
#else
#include "ftdidongle.h"
#endif

#include <QThread>

#include <atomic>

// Base of the transfer's worker threads: a stop flag that silences a run's final signal, and
// the mapping from an exchange's status to the error the transfer dialog shows.
class DongleThread : public QThread {
    Q_OBJECT
public:
    // Display codes of showError.
    enum { CHECK_DONGLE = 0, CHECK_WHEEL = 1, TRANSFER_FAILED = 2, DONGLE_ACCESS = 3 };

    explicit DongleThread(QObject* parent = nullptr);

    void stop() { stopped = true; }
    bool errorControl(Dongle_::ERROR const& status);

signals:
    void showError(int error);

protected:
    // The transport each run creates for its exchange.
#ifdef Q_OS_WIN
    using Transport = WinDongle;
#else
    using Transport = FtdiDongle;
#endif

    // Written by the GUI thread while a run reads it.
    std::atomic<bool> stopped{false};
};

#endif
