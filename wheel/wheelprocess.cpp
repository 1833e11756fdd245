#include "wheelprocess.h"

#include <QCoreApplication>
#include <QFile>

#ifndef Q_OS_WIN
#include "transfer/d2xx/devicenode.h"
#endif

WheelProcess::WheelProcess(const QStringList& options, bool storing)
{
    const QStringList arguments =
        storing ? options + QStringList{"--store", folder.path()} : options;
#ifdef Q_OS_WIN
    // Under Wine, a script of the tests starts the Linux wheel and plugs it in as the dongle's
    // COM port; it prints the port, and unplugs the wheel when its input closes.
    process.start("Z:/bin/bash", QStringList{qEnvironmentVariable("RIMGLOW_COM_WHEEL"),
                                             qEnvironmentVariable("RIMGLOW_HOST_WHEEL")} +
                                     arguments);
#else
    process.start(QCoreApplication::applicationDirPath() + "/rimglow-wheel", arguments);
#endif
    if (process.waitForStarted(5000) && process.waitForReadyRead(15000))
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
#ifndef Q_OS_WIN
    if (!device.isEmpty())
        qputenv(DeviceNode::variable, device.toLocal8Bit());
#endif
}

WheelProcess::~WheelProcess()
{
#ifdef Q_OS_WIN
    process.closeWriteChannel();
    if (!process.waitForFinished(15000))
        process.kill();
#else
    qunsetenv(DeviceNode::variable);
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
#endif
    process.waitForFinished(1000);
}

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

QString WheelProcess::errors()
{
    return QString::fromLocal8Bit(process.readAllStandardError());
}
