#include "testsuite.h"
#include "transfer/windongle.h"

#include <QTest>

using Entries = QList<WinDongle::RegistryEntry>;
Q_DECLARE_METATYPE(Entries)

class WinDongleTest : public QObject {
    Q_OBJECT
private slots:
    void choosePort_data()
    {
        QTest::addColumn<Entries>("bus");
        QTest::addColumn<Entries>("serial");
        QTest::addColumn<QString>("port");
        const Entries serial{{"/Device/VCP0", "COM7"}, {"/Device/VCP1", "COM9"}};
        QTest::newRow("dongle") << Entries{{"VID_0403+PID_6001+WRD12345A", "COM7"}} << serial
                                << "\\\\.\\COM7";
        QTest::newRow("other ftdi device beside the dongle")
            << Entries{{"VID_0403+PID_6001+A9XYZ12A", "COM7"},
                       {"VID_0403+PID_6001+WR0001A", "COM9"}}
            << serial << "\\\\.\\COM9";
        QTest::newRow("other ftdi device only")
            << Entries{{"VID_0403+PID_6001+A9XYZ12A", "COM7"}} << serial << "";
        QTest::newRow("prefix is case-sensitive")
            << Entries{{"vid_0403+pid_6001+WR0001A", "COM7"}} << serial << "";
        QTest::newRow("no port name") << Entries{{"VID_0403+PID_6001+WR0001A", ""}} << serial << "";
        QTest::newRow("unplugged")
            << Entries{{"VID_0403+PID_6001+WR0001A", "COM4"}} << serial << "";
        QTest::newRow("two dongles: serial order wins")
            << Entries{{"VID_0403+PID_6001+WR0002A", "COM9"}, {"VID_0403+PID_6001+WR0001A", "COM7"}}
            << serial << "\\\\.\\COM7";
        QTest::newRow("not a virtual com port") << Entries{{"VID_0403+PID_6001+WR0001A", "COM1"}}
                                                << Entries{{"/Device/Serial0", "COM1"}} << "";
        QTest::newRow("empty lists") << Entries() << Entries() << "";
    }

    void choosePort()
    {
        QFETCH(Entries, bus);
        QFETCH(Entries, serial);
        QTEST(WinDongle::choosePort(bus, serial), "port");
    }
};

RIMGLOW_TEST(WinDongleTest)
#include "tst_windongle.moc"
