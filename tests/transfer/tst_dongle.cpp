#include "scripteddongle.h"
#include "testsuite.h"
#include "transfer/donglethread.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// The symbols of a line-coded message, one per burst; fails the test on a broken burst.
QList<int> symbols(const QByteArray& line)
{
    QList<int> result;
    for (int i = 0; i + 32 <= line.size(); i += 32) {
        const QByteArray run = line.mid(i, 32);
        if (run == QByteArray(32, char(0x55)))
            result << 1;
        else if (run == QByteArray(32, char(0xF0)))
            result << 0;
        else
            result << -1;
    }
    return result;
}

} // namespace

class DongleTest : public QObject {
    Q_OBJECT
private slots:
    void crcVectors()
    {
        ScriptedDongle dongle;
        QCOMPARE(quint8(dongle.crc(QByteArray())), quint8(0x00));
        QCOMPARE(quint8(dongle.crc("abc")), quint8(0x42));
        QCOMPARE(quint8(dongle.crc("123456789")), quint8(0xA1));
        QCOMPARE(quint8(dongle.crc(QByteArray(1, '\0'))), quint8(0x00));
    }

    void packageLengths()
    {
        ScriptedDongle dongle;
        QCOMPARE(dongle.package(QByteArray()), QByteArray());
        QCOMPARE(dongle.package("x").size(), 448);
        QCOMPARE(dongle.package("ID").size(), 896);
        QCOMPARE(dongle.package(QByteArray(516, 'a')).size(), 516 * 448);
    }

    void symbolOrder_data()
    {
        QTest::addColumn<char>("byte");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("0x00") << char(0x00) << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1};
        QTest::newRow("0x49") << char(0x49) << QList<int>{0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 1, 1, 1};
        QTest::newRow("0xFF") << char(0xFF) << QList<int>{0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
        QTest::newRow("0x01") << char(0x01) << QList<int>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
        QTest::newRow("0x80") << char(0x80) << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1};
    }

    void symbolOrder()
    {
        QFETCH(char, byte);
        ScriptedDongle dongle;
        QTEST(symbols(dongle.package(QByteArray(1, byte))), "expected");
    }

    void everyByteStartsAndStopsAlike()
    {
        ScriptedDongle dongle;
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        const QList<int> coded = symbols(dongle.package(all));
        QCOMPARE(coded.size(), 256 * 14);
        QVERIFY(!coded.contains(-1));
        for (int i = 0; i < 256; ++i) {
            const QList<int> byte = coded.mid(i * 14, 14);
            QCOMPARE(byte[0], 0);
            QCOMPARE(byte.mid(10), (QList<int>{1, 1, 1, 1}));
            // Data and parity together hold an odd number of ones.
            QCOMPARE(int(byte.mid(1, 9).count(1)) % 2, 1);
        }
    }

    void clickSendsOneZeroByte()
    {
        ScriptedDongle dongle;
        dongle.status = Dongle_::SEND_FAILED;
        dongle.click();
        QCOMPARE(dongle.sent, QList<QByteArray>{dongle.package(QByteArray(1, '\0'))});
        QVERIFY(dongle.asked.isEmpty());
    }

    void identityRequest()
    {
        ScriptedDongle dongle;
        dongle.reply = "D12\0\0\0\0";
        QCOMPARE(dongle.getId(), QByteArray("D12\0\0\0\0"));
        QCOMPARE(dongle.sent.last(), dongle.package("ID"));
        QCOMPARE(dongle.asked.last(), 7);
    }

    void storeRequestLayout()
    {
        ScriptedDongle dongle;
        const QByteArray frame("\x01\x02\x03", 3);
        dongle.save(char(5), frame);
        QCOMPARE(dongle.sent.last(), dongle.package(QByteArray("SAv\x01\x02\x03\x05", 7)));
        QCOMPARE(dongle.asked.last(), 1);
        dongle.save(char(0), frame);
        QCOMPARE(dongle.sent.last(), dongle.package(QByteArray("SAv\x01\x02\x03\x00", 7)));
    }

    void storeConfirmation_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("saved");
        const QByteArray frame = "123456789";
        QTest::newRow("right crc") << frame << QByteArray(1, char(0xA1)) << 0 << true;
        QTest::newRow("wrong crc") << frame << QByteArray(1, char(0xA2)) << 0 << false;
        QTest::newRow("no byte") << frame << QByteArray() << 0 << false;
        QTest::newRow("two bytes") << frame << QByteArray(2, char(0xA1)) << 0 << false;
        QTest::newRow("crc of the whole message")
            << frame << QByteArray(1, ScriptedDongle().crc("SAv" + frame + '\x05')) << 0 << false;
        QTest::newRow("zero crc, right") << QByteArray(4, '\0') << QByteArray(1, '\0') << 0 << true;
        QTest::newRow("zero crc, no byte") << QByteArray(4, '\0') << QByteArray() << 0 << false;
        QTest::newRow("receive failed") << frame << QByteArray(1, char(0xA1)) << 3 << false;
        QTest::newRow("not found") << frame << QByteArray(1, char(0xA1)) << 1 << false;
    }

    void storeConfirmation()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, status);
        ScriptedDongle dongle;
        QFETCH(QByteArray, reply);
        dongle.reply = reply;
        dongle.status = Dongle_::ERROR(status);
        QTEST(dongle.save(char(5), frame), "saved");
    }

    void errorControl_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("ok") << 0 << false << QList<int>();
        QTest::newRow("not found") << 1 << true << QList<int>{0};
        QTest::newRow("send failed") << 2 << true << QList<int>{0};
        QTest::newRow("receive failed") << 3 << true << QList<int>{1};
        QTest::newRow("four") << 4 << false << QList<int>();
        QTest::newRow("unknown") << 5 << false << QList<int>();
        QTest::newRow("no access") << int(Dongle_::NO_ACCESS) << true << QList<int>{3};
    }

    void errorControl()
    {
        QFETCH(int, status);
        DongleThread thread;
        QSignalSpy spy(&thread, &DongleThread::showError);
        QTEST(thread.errorControl(Dongle_::ERROR(status)), "handled");
        QList<int> shown;
        for (const QList<QVariant>& arguments : spy)
            shown << arguments.first().toInt();
        QTEST(shown, "shown");
    }
};

RIMGLOW_TEST(DongleTest)
#include "tst_dongle.moc"
