#include "devicenode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>

const char* const DeviceNode::variable = "RIMGLOW_DONGLE";

namespace {

QString attribute(const QDir& device, const QString& name)
{
    QFile file(device.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.read(256)).trimmed();
}

} // namespace

QString DeviceNode::find(const QString& description)
{
    const QString named = qEnvironmentVariable(variable);
    if (!named.isEmpty())
        return named;
#if defined(Q_OS_MACOS)
    Q_UNUSED(description);
    return fromDeviceFolder("/dev");
#else
    return fromSysfs("/sys", description);
#endif
}

bool DeviceNode::accessDenied(const QString& description)
{
    const QString node = find(description);
    return !node.isEmpty() && ::access(QFile::encodeName(node).constData(), R_OK | W_OK) != 0 &&
           errno == EACCES;
}

QString DeviceNode::fromSysfs(const QString& root, const QString& description)
{
    const QDir ttys(root + "/class/tty");
    for (const QString& name :
         ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        const QString link = ttys.filePath(name + "/device");
        if (!QFileInfo::exists(link))
            continue;
        // The USB device is a few levels above the serial port: port, interface, device.
        QDir device(QFileInfo(link).canonicalFilePath());
        for (int level = 0; level < 4 && !device.exists("idVendor"); ++level)
            if (!device.cdUp())
                break;
        if (!device.exists("idVendor"))
            continue;
        if (attribute(device, "idVendor") == "0403" && attribute(device, "idProduct") == "6001" &&
            attribute(device, "serial").startsWith("WR") &&
            attribute(device, "product") == description)
            return "/dev/" + name;
    }
    return QString();
}

QString DeviceNode::fromDeviceFolder(const QString& folder)
{
    const QDir devices(folder);
    const QStringList names =
        devices.entryList({"cu.usbserial-WRD*"}, QDir::AllEntries | QDir::System, QDir::Name);
    return names.isEmpty() ? QString() : devices.filePath(names.first());
}
