#include "testsuite.h"
#include "transfer/d2xx/devicenode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeAttribute(const QString& folder, const QString& name, const QString& value)
{
    QFile file(folder + "/" + name);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.write(value.toUtf8() + "\n");
}

} // namespace

class DeviceNodeTest : public QObject {
    Q_OBJECT
    QTemporaryDir root;

    // A USB device with one serial port tty, laid out as sysfs lays out a usb-serial port.
    void addUsbTty(const QString& tty, const QString& usb, const QString& vendor,
                   const QString& product, const QString& serial, const QString& description)
    {
        const QString device = root.filePath("devices/pci0000:00/usb1/" + usb);
        const QString port = device + "/" + usb + ":1.0/" + tty;
        QVERIFY(QDir().mkpath(port));
        writeAttribute(device, "idVendor", vendor);
        writeAttribute(device, "idProduct", product);
        writeAttribute(device, "serial", serial);
        writeAttribute(device, "product", description);
        const QString entry = root.filePath("class/tty/" + tty);
        QVERIFY(QDir().mkpath(entry));
        QVERIFY(QFile::link(port, entry + "/device"));
    }

private slots:
    void findsTheDongleAmongOtherTtys()
    {
        const QString dongle = "Velmo Wave Relay USB dongle";
        QVERIFY(QDir().mkpath(root.filePath("class/tty/tty0")));
        addUsbTty("ttyUSB0", "1-1", "0403", "6001", "A9XYZ12", "FT232R USB UART");
        addUsbTty("ttyUSB1", "1-2", "0403", "6001", "WR0001", "Something else");
        addUsbTty("ttyUSB2", "1-3", "067b", "2303", "WR0002", dongle);
        QCOMPARE(DeviceNode::fromSysfs(root.path(), dongle), QString());
        addUsbTty("ttyUSB3", "1-4", "0403", "6001", "WRD0003", dongle);
        QCOMPARE(DeviceNode::fromSysfs(root.path(), dongle), QString("/dev/ttyUSB3"));
        QCOMPARE(DeviceNode::fromSysfs(root.path(), dongle.left(20)), QString());
        QCOMPARE(DeviceNode::fromSysfs(root.filePath("missing"), dongle), QString());
    }

    void deviceFolderRule()
    {
        QTemporaryDir dev;
        for (const char* name : {"cu.usbserial-A900", "tty.usbserial-WRD1", "cu.usbserial-WRD7",
                                 "cu.usbserial-WRD2"}) {
            QFile file(dev.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(DeviceNode::fromDeviceFolder(dev.path()), dev.filePath("cu.usbserial-WRD2"));
        QTemporaryDir empty;
        QCOMPARE(DeviceNode::fromDeviceFolder(empty.path()), QString());
    }

    void environmentNamesTheNode()
    {
        qputenv(DeviceNode::variable, "/dev/pts/77");
        QCOMPARE(DeviceNode::find("anything"), QString("/dev/pts/77"));
        qunsetenv(DeviceNode::variable);
        QCOMPARE(DeviceNode::find("no such dongle on this machine"), QString());
    }
};

RIMGLOW_TEST(DeviceNodeTest)
#include "tst_devicenode.moc"
