#include "testsuite.h"
#include "transfer/d2xx/devicenode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class DeviceNodeTest : public QObject {
    Q_OBJECT
    QTemporaryDir root;

    // A USB device with one serial port tty, laid out as sysfs lays out a usb-serial port; the
    // attributes are idVendor, idProduct, serial and product.
    void addUsbTty(const QString& tty, const QString& usb, const QStringList& attributes)
    {
        const QString device = root.filePath("devices/pci0000:00/usb1/" + usb);
        const QString port = device + "/" + usb + ":1.0/" + tty;
        QVERIFY(QDir().mkpath(port));
        const QStringList names{"idVendor", "idProduct", "serial", "product"};
        for (int i = 0; i < names.size(); ++i) {
            QFile file(device + "/" + names[i]);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(attributes[i].toUtf8() + "\n");
        }
        const QString entry = root.filePath("class/tty/" + tty);
        QVERIFY(QDir().mkpath(entry));
        QVERIFY(QFile::link(port, entry + "/device"));
    }

private slots:
    void findsTheDongle()
    {
        const QString dongle = "Velmo Wave Relay USB dongle";
        QVERIFY(QDir().mkpath(root.filePath("class/tty/tty0")));
        addUsbTty("ttyUSB0", "1-1", {"0403", "6001", "A9XYZ12", "FT232R USB UART"});
        addUsbTty("ttyUSB1", "1-2", {"0403", "6001", "WR0001", "Something else"});
        addUsbTty("ttyUSB2", "1-3", {"067b", "2303", "WR0002", dongle});
        QCOMPARE(DeviceNode::fromSysfs(root.path(), dongle), QString());
        addUsbTty("ttyUSB3", "1-4", {"0403", "6001", "WRD0003", dongle});
        QCOMPARE(DeviceNode::fromSysfs(root.path(), dongle), QString("/dev/ttyUSB3"));
        QCOMPARE(DeviceNode::fromSysfs(root.path(), dongle.left(20)), QString());
        QCOMPARE(DeviceNode::fromSysfs(root.filePath("missing"), dongle), QString());

        // Where there is no sysfs: the first cu.usbserial-WRD node of the device folder.
        QTemporaryDir dev;
        for (const char* name :
             {"cu.usbserial-A900", "tty.usbserial-WRD1", "cu.usbserial-WRD7", "cu.usbserial-WRD2"})
            QVERIFY(QFile(dev.filePath(name)).open(QIODevice::WriteOnly));
        QCOMPARE(DeviceNode::fromDeviceFolder(dev.path()), dev.filePath("cu.usbserial-WRD2"));
        QCOMPARE(DeviceNode::fromDeviceFolder(root.path()), QString());

        qputenv(DeviceNode::variable, "/dev/pts/77");
        QCOMPARE(DeviceNode::find("anything"), QString("/dev/pts/77"));
        qunsetenv(DeviceNode::variable);
        QCOMPARE(DeviceNode::find("no such dongle on this machine"), QString());
    }
};

RIMGLOW_TEST(DeviceNodeTest)
#include "tst_devicenode.moc"
