#include "wheelprocess.h"

#include <QCoreApplication>
#include <QFile>

#ifdef Q_OS_WIN
#include <QElapsedTimer>
#include <QThread>

#include <functional>
#else
#include "transfer/d2xx/devicenode.h"
#endif

#ifdef Q_OS_WIN

namespace {

// The folder's path as Linux programs see it: Wine's drive Z: is Linux's root.
QString linuxPath(const QString& path)
{
    return path.startsWith("Z:", Qt::CaseInsensitive) ? path.mid(2) : path;
}

bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(15000))
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

// Under Wine, a script of the tests starts the Linux wheel and plugs it in as the dongle's COM
// port; Wine cannot wait for a Linux program, so the script and this side talk through files
// in the store folder, which lies on Wine's drive Z: for the script to reach.
WheelProcess::WheelProcess(const QStringList& options, bool storing)
    : folder("Z:/tmp/rimglow-wheel-XXXXXX")
{
    Q_UNUSED(storing); // the script's wheel always stores: the folder is its mailbox too
    QProcess::startDetached("Z:/bin/bash", QStringList{qEnvironmentVariable("RIMGLOW_COM_WHEEL"),
                                                       qEnvironmentVariable("RIMGLOW_HOST_WHEEL"),
                                                       linuxPath(folder.path())} +
                                               options);
    QFile port(folder.filePath("port"));
    if (waitFor([&port] { return port.exists(); }) && port.open(QIODevice::ReadOnly))
        device = QString::fromLatin1(port.readAll()).trimmed();
}

WheelProcess::~WheelProcess()
{
    QFile(folder.filePath("unplug")).open(QIODevice::WriteOnly);
    waitFor([this] { return !QFile::exists(folder.filePath("port")); });
}

QString WheelProcess::errors()
{
    QFile file(folder.filePath("errors"));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(errorsRead))
        return QString();
    const QByteArray added = file.readAll();
    errorsRead += added.size();
    return QString::fromLocal8Bit(added);
}

#else

WheelProcess::WheelProcess(const QStringList& options, bool storing)
{
    process.start(QCoreApplication::applicationDirPath() + "/rimglow-wheel",
                  storing ? options + QStringList{"--store", folder.path()} : options);
    if (process.waitForStarted(5000) && process.waitForReadyRead(5000))
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
    if (!device.isEmpty())
        qputenv(DeviceNode::variable, device.toLocal8Bit());
}

WheelProcess::~WheelProcess()
{
    qunsetenv(DeviceNode::variable);
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(1000);
}

QString WheelProcess::errors()
{
    return QString::fromLocal8Bit(process.readAllStandardError());
}

#endif

QByteArray WheelProcess::storedFrame(int slot) const
{
    QFile file(folder.filePath(QString("slot-%1.bin").arg(slot)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WheelProcess::storedPicture(int slot) const
{
    return folder.filePath(QString("slot-%1.png").arg(slot));
}

bool WheelProcess::hasPicture(int slot) const
{
    return QFile::exists(storedPicture(slot));
}
