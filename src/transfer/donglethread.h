#ifndef DONGLETHREAD_H
#define DONGLETHREAD_H

#include "dongle_.h"
#include "transfererror.h"

#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

// Makes the transport of one worker run; called on the worker's thread.
using DongleFactory = std::function<std::unique_ptr<Dongle_>()>;

// Base of the transfer's worker threads: the transport each run makes for its exchange, a stop
// flag that silences a run's final signal, and the mapping from an exchange's status to the
// transfer's error.
class DongleThread : public QThread {
    Q_OBJECT
public:
    // The transport of this platform's build.
    static std::unique_ptr<Dongle_> platformDongle();

    explicit DongleThread(DongleFactory factory = platformDongle, QObject* parent = nullptr);

    void stop() { stopped = true; }
    bool errorControl(Dongle_::ERROR const& status);

signals:
    void showError(TransferError error);

protected:
    // A transport of its own for every run: none is shared between threads.
    DongleFactory makeDongle;
    // Written by the GUI thread while a run reads it.
    std::atomic<bool> stopped{false};
};

#endif
