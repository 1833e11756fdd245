#include "wheelprocess.h"

#include "transfer/d2xx/devicenode.h"

#include <QCoreApplication>
#include <QFile>

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
