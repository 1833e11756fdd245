#ifndef WHEELPROCESS_H
#define WHEELPROCESS_H

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// rimglow-wheel run by a test or a benchmark from the program's folder: started with the given
// options and, when storing, a store folder of its own; its device named in the environment
// while it runs. In the Windows build it is the Linux wheel, plugged in as the dongle's COM
// port (tests/windows/com-wheel), and the device is that port.
class WheelProcess {
public:
    explicit WheelProcess(const QStringList& options = {}, bool storing = true);
    ~WheelProcess();

    bool isRunning() const { return !device.isEmpty(); }
    QString getDevice() const { return device; }
    // The frame the wheel stored for a slot, read from its store folder; empty when none.
    QByteArray storedFrame(int slot) const;
    bool hasPicture(int slot) const;
    // Where the wheel draws what it lights for a slot.
    QString storedPicture(int slot) const;
    QString errors();

private:
    QTemporaryDir folder;
    QString device;
#ifdef Q_OS_WIN
    qint64 errorsRead = 0;
#else
    QProcess process;
#endif
};

#endif
