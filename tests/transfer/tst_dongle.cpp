#include "scripteddongle.h"
#include "testsuite.h"
#include "transfer/donglethread.h"

#include <QSignalSpy>
#include <QTest>

class DongleTest : public QObject {
    Q_OBJECT
private slots:
    void crc_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("crc");
        QTest::newRow("empty") << QByteArray() << 0x00;
        QTest::newRow("abc") << QByteArray("abc") << 0x42;
        QTest::newRow("check string") << QByteArray("123456789") << 0xA1;
    }
    void crc()
    {
        QFETCH(QByteArray, bytes);
        QTEST(int(quint8(ScriptedDongle().crc(bytes))), "crc");
    }

    // A byte is a start 0, the data bits from the lowest, an odd parity bit and four stop 1s,
    // every symbol a burst of 32 line bytes. (The virtual wheel's decoder checks every byte.)
    void bytesAreCodedAsSymbols()
    {
        QByteArray letter; // 'I' is 0x49
        for (char symbol : QByteArray("01001001001111"))
            letter += QByteArray(32, symbol == '1' ? char(0x55) : char(0xF0));
        QCOMPARE(ScriptedDongle().package("I"), letter);
        QCOMPARE(ScriptedDongle().package(QByteArray(516, 'a')).size(), 516 * 448);
    }

    void requests()
    {
        ScriptedDongle dongle;
        dongle.status = Dongle_::SEND_FAILED;
        dongle.click();
        dongle.status = Dongle_::OK;
        dongle.reply = QByteArray("D12\0\0\0\0", 7);
        QCOMPARE(dongle.getId(), dongle.reply);
        dongle.save(char(5), "\x01\x02");
        QCOMPARE(dongle.sent,
                 (QList<QByteArray>{dongle.package(QByteArray(1, '\0')), dongle.package("ID"),
                                    dongle.package("SAv\x01\x02\x05")}));
        QCOMPARE(dongle.asked, (QList<int>{7, 1}));
    }

    void storeConfirmation_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("saved");
        QTest::newRow("right crc") << QByteArray(1, char(0xA1)) << 0 << true;
        QTest::newRow("wrong crc") << QByteArray(1, char(0xA2)) << 0 << false;
        QTest::newRow("no byte") << QByteArray() << 0 << false;
        QTest::newRow("two bytes") << QByteArray(2, char(0xA1)) << 0 << false;
        QTest::newRow("crc of the whole message")
            << QByteArray(1, ScriptedDongle().crc("SAv123456789\x05")) << 0 << false;
        QTest::newRow("receive failed") << QByteArray(1, char(0xA1)) << 3 << false;
    }
    void storeConfirmation()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, status);
        ScriptedDongle dongle;
        dongle.reply = reply;
        dongle.status = Dongle_::ERROR(status);
        QTEST(dongle.save(char(5), "123456789"), "saved");
    }

    void errorControl_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("ok") << 0 << QList<int>();
        QTest::newRow("not found") << 1 << QList<int>{0};
        QTest::newRow("send failed") << 2 << QList<int>{0};
        QTest::newRow("receive failed") << 3 << QList<int>{1};
        QTest::newRow("four") << 4 << QList<int>();
        QTest::newRow("no access") << int(Dongle_::NO_ACCESS) << QList<int>{3};
    }
    void errorControl()
    {
        QFETCH(int, status);
        QFETCH(QList<int>, shown);
        DongleThread thread;
        QSignalSpy spy(&thread, &DongleThread::showError);
        QCOMPARE(thread.errorControl(Dongle_::ERROR(status)), !shown.isEmpty());
        QCOMPARE(spy.size(), shown.size());
        if (!shown.isEmpty())
            QCOMPARE(spy.first().first().toInt(), shown.first());
    }
};

RIMGLOW_TEST(DongleTest)
#include "tst_dongle.moc"
