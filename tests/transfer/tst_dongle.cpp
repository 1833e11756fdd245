#include "model/wheelweb.h"
#include "scripteddongle.h"
#include "testsuite.h"
#include "transfer/frameencoder.h"
#include "transfer/windongle.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#ifndef Q_OS_WIN
#include "transfer/d2xx/devicenode.h"
#endif

// The message layout itself is checked by the exchanges with the virtual wheel.
class DongleTest : public QObject {
    Q_OBJECT
private slots:
    // A byte is a start 0, the data bits from the lowest, an odd parity bit and four stop 1s,
    // every symbol a burst of 32 line bytes. (The virtual wheel's decoder checks every byte.)
    void codingAndConfirmation()
    {
        ScriptedWheel wheel;
        const std::unique_ptr<Dongle_> dongle = wheel.factory()();
        QByteArray letter; // 'I' is 0x49
        for (char symbol : QByteArray("01001001001111"))
            letter += QByteArray(32, symbol == '1' ? char(0x55) : char(0xF0));
        QCOMPARE(dongle->package("I"), letter);

        // Only a single byte that is the CRC of the frame alone, received without error,
        // confirms a store: the wheel's own first answer, then none of the scripted ones. 0xA1
        // is the check value of the Maxim CRC-8.
        QCOMPARE(quint8(dongle->crc("123456789")), 0xA1);
        wheel.answers = {{1, {"\xA2"}},
                         {2, {""}},
                         {3, {"\xA1\xA1"}},
                         {4, {QByteArray(1, dongle->crc("SAv123456789\x05"))}},
                         {5, {"\xA1", Dongle_::RECEIVE_FAILED}}};
        for (int exchange = 0; exchange < 6; ++exchange)
            QCOMPARE(dongle->save(char(5), "123456789"), exchange == 0);
    }
};

using Entries = QList<WinDongle::RegistryEntry>;
Q_DECLARE_METATYPE(Entries)

// Where the dongle's device is: under sysfs, in the device folder, or the port Windows names.
class DeviceNodeTest : public QObject {
    Q_OBJECT
private slots:
#ifndef Q_OS_WIN
    void findsTheDongle()
    {
        // USB devices with one serial port tty each, laid out as sysfs lays out a usb-serial
        // port; the attributes are idVendor, idProduct, serial and product.
        QTemporaryDir root;
        const auto addUsbTty = [&](const QString& tty, const QString& usb,
                                   const QStringList& attributes) {
            const QString device = root.filePath("devices/pci0000:00/usb1/" + usb);
            const QString port = device + "/" + usb + ":1.0/" + tty;
            QVERIFY(QDir().mkpath(port));
            const QStringList names{"idVendor", "idProduct", "serial", "product"};
            for (int i = 0; i < names.size(); ++i) {
                QFile file(device + "/" + names[i]);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(attributes[i].toUtf8() + "\n");
            }
            QVERIFY(QDir().mkpath(root.filePath("class/tty/" + tty)));
            QVERIFY(QFile::link(port, root.filePath("class/tty/" + tty + "/device")));
        };
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

        qputenv(DeviceNode::variable, "/dev/pts/77");
        QCOMPARE(DeviceNode::find("anything"), QString("/dev/pts/77"));
        qunsetenv(DeviceNode::variable);
    }
#endif

    // The serial port of the dongle among the FTDI bus devices and the serial ports.
    void choosePort_data()
    {
        QTest::addColumn<Entries>("bus");
        QTest::addColumn<Entries>("serial");
        QTest::addColumn<QString>("port");
        const Entries serial{{"/Device/VCP0", "COM7"}, {"/Device/VCP1", "COM9"}};
        const QString ftdi = "VID_0403+PID_6001+", com7 = "\\\\.\\COM7";
        QTest::newRow("dongle") << Entries{{ftdi + "WRD12345A", "COM7"}} << serial << com7;
        QTest::newRow("other ftdi device beside the dongle")
            << Entries{{ftdi + "A9XYZ12A", "COM7"}, {ftdi + "WR0001A", "COM9"}} << serial
            << "\\\\.\\COM9";
        QTest::newRow("no port name")
            << Entries{{ftdi + "WR0001A", ""}} << serial + Entries{{"/Device/VCP2", ""}} << "";
        QTest::newRow("two dongles: serial order wins")
            << Entries{{ftdi + "WR0002A", "COM9"}, {ftdi + "WR0001A", "COM7"}} << serial << com7;
        QTest::newRow("not a virtual com port")
            << Entries{{ftdi + "WR0001A", "COM1"}} << Entries{{"/Device/Serial0", "COM1"}} << "";
    }

    void choosePort()
    {
        QFETCH(Entries, bus);
        QFETCH(Entries, serial);
        QTEST(WinDongle::choosePort(bus, serial), "port");
    }
};

class FrameEncoderTest : public QObject {
    Q_OBJECT

    static QImage filled(QRgb rgba)
    {
        QImage image(512, 512, QImage::Format_ARGB32);
        image.fill(rgba);
        return image;
    }

private slots:
    void encodeAndRotate()
    {
        // 25 x 4 = 100 cells: 13 bytes, the low 4 bits of the last one unused.
        const WheelWeb web(25, 4, 80, 16);
        const QByteArray lit = QByteArray(12, char(0xFF)) + char(0xF0);
        for (int alpha : {0, 1, 128, 129, 255})
            QCOMPARE(FrameEncoder::encode(filled(qRgba(0, 0, 0, alpha)), web.getCenters()),
                     alpha > 128 ? lit : QByteArray(13, '\0'));
        QCOMPARE(FrameEncoder::encode(filled(0), {}), QByteArray(1, '\0'));

        // The first bit is the rim of the last angle: ink only around the middle of the rim
        // cell between 15/16 of a turn and a full turn of a 16 x 8 wheel.
        QImage picture = filled(0);
        const double middle = 15.5 * 2 * M_PI / 16;
        for (int r = 232; r < 256; ++r)
            for (int s = -20; s <= 20; ++s) {
                const double a = middle + s * 0.004;
                picture.setPixel(int(256 + r * std::cos(a)), int(256 + r * std::sin(a)),
                                 qRgba(0, 0, 0, 255));
            }
        const QByteArray frame =
            FrameEncoder::encode(picture, WheelWeb(16, 8, 80, 16).getCenters());
        QCOMPARE(frame, char(0x80) + QByteArray(frame.size() - 1, '\0'));

        // For a hall sensor, the dial's 270 leaves a frame as it is, 0 turns it by 48 of 64
        // columns, and 300 means a turn of 330 degrees; each picture keeps its slot.
        const WheelWeb wide(64, 16, 80, 16);
        QImage half = filled(0);
        QPainter(&half).fillRect(0, 0, 256, 512, Qt::black);
        const QByteArray plain = FrameEncoder::encode(half, wide.getCenters());
        for (const auto& [value, offset] :
             QList<QPair<int, int>>{{270, 0}, {0, 96}, {300, (330 * 64 / 360) * 2}}) {
            const QMap<int, QByteArray> frames =
                FrameEncoder::encodeAll({{1, half}, {4, filled(0)}}, wide, true, value, 360);
            QCOMPARE(frames.keys(), (QList<int>{1, 4}));
            QCOMPARE(frames[1], plain.mid(offset) + plain.left(offset));
        }
        QCOMPARE(FrameEncoder::encodeAll({{1, half}}, wide, false, 0, 360),
                 (QMap<int, QByteArray>{{1, plain}}));
    }
};

RIMGLOW_TEST(DongleTest)
RIMGLOW_TEST(DeviceNodeTest)
RIMGLOW_TEST(FrameEncoderTest)
#include "tst_dongle.moc"
