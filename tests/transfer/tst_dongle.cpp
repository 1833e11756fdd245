#include "scripteddongle.h"
#include "testsuite.h"
#include "transfer/donglethread.h"

#include <QSignalSpy>
#include <QTest>

// The message layout itself is checked by the exchanges with the virtual wheel.
class DongleTest : public QObject {
    Q_OBJECT
private slots:
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

    // Only a single byte that is the CRC of the frame alone, received without error, confirms.
    void storeConfirmation()
    {
        ScriptedDongle dongle;
        QCOMPARE(dongle.crc(""), '\0');
        QCOMPARE(quint8(dongle.crc("abc")), 0x42);
        const auto saved = [&](const QByteArray& reply, Dongle_::ERROR status = Dongle_::OK) {
            dongle.reply = reply;
            dongle.status = status;
            return dongle.save(char(5), "123456789");
        };
        QVERIFY(saved("\xA1")); // the check value of the Maxim CRC-8
        QVERIFY(!saved("\xA2"));
        QVERIFY(!saved(""));
        QVERIFY(!saved("\xA1\xA1"));
        QVERIFY(!saved(QByteArray(1, dongle.crc("SAv123456789\x05"))));
        QVERIFY(!saved("\xA1", Dongle_::RECEIVE_FAILED));
    }

    // Each failure is shown once, with its message; success and unknown codes show nothing.
    void errorControl()
    {
        const QList<QPair<int, int>> shown{{Dongle_::OK, -1},
                                           {Dongle_::NOT_FOUND, DongleThread::CHECK_DONGLE},
                                           {Dongle_::SEND_FAILED, DongleThread::CHECK_DONGLE},
                                           {Dongle_::RECEIVE_FAILED, DongleThread::CHECK_WHEEL},
                                           {4, -1},
                                           {Dongle_::NO_ACCESS, DongleThread::DONGLE_ACCESS}};
        for (const auto& [status, message] : shown) {
            DongleThread thread;
            QSignalSpy spy(&thread, &DongleThread::showError);
            QCOMPARE(thread.errorControl(Dongle_::ERROR(status)), message >= 0);
            QCOMPARE(QList<QVariantList>(spy),
                     message < 0 ? QList<QVariantList>() : QList<QVariantList>{{message}});
        }
    }
};

RIMGLOW_TEST(DongleTest)
#include "tst_dongle.moc"
