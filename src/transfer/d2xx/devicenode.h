#ifndef DEVICENODE_H
#define DEVICENODE_H

#include <QString>

// Finds the serial device node of the dongle.
class DeviceNode {
public:
    // The environment variable that names the node to use instead of looking for one.
    static const char* const variable;

    // The node to use: the one the environment names, otherwise the dongle found on this
    // system; empty when there is none.
    static QString find(const QString& description);

    // Whether the dongle's node exists but this user lacks the right to open it for reading
    // and writing.
    static bool accessDenied(const QString& description);

    // Linux: the tty of the USB device with the FTDI vendor and product ids, a serial number
    // beginning "WR" and the given product description, looked up under a sysfs root.
    static QString fromSysfs(const QString& root, const QString& description);

    // The first entry of a device folder named like the dongle's macOS call-out device.
    static QString fromDeviceFolder(const QString& folder);
};

#endif
