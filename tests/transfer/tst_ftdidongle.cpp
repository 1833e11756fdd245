#include "testsuite.h"
#include "transfer/d2xx/devicenode.h"
#include "transfer/ftdidongle.h"
#include "wheelprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int openDescriptors()
{
    return int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

QByteArray randomFrame(int size)
{
    QByteArray frame(size, '\0');
    for (char& byte : frame)
        byte = char(QRandomGenerator::global()->bounded(256));
    return frame;
}

} // namespace

// Every exchange closes the device again, whatever happened: each test counts the open
// descriptors once its wheel runs, and again at its end.
class FtdiDongleTest : public QObject {
    Q_OBJECT
private slots:
    void identityRoundTrip()
    {
        WheelProcess wheel({"--id", "D12"});
        QVERIFY(wheel.isRunning());
        const int descriptors = openDescriptors();
        FtdiDongle dongle;
        QCOMPARE(dongle.getId(), QByteArray("D12\0\0\0\0", 7));
        QCOMPARE(dongle.getError(), Dongle_::OK);
        QVERIFY(dongle.click());
        QCOMPARE(dongle.getId().left(3), QByteArray("D12"));
        QCOMPARE(openDescriptors(), descriptors);
    }

    void storeIsConfirmedAndKept()
    {
        WheelProcess wheel({"--size", "16x8"});
        QVERIFY(wheel.isRunning());
        const int descriptors = openDescriptors();
        FtdiDongle dongle;
        const QByteArray first = randomFrame(16);
        const QByteArray second = randomFrame(16);
        QVERIFY(dongle.save(char(3), first));
        QCOMPARE(dongle.getError(), Dongle_::OK);
        QVERIFY(dongle.save(char(0), second));
        QCOMPARE(wheel.storedFrame(3), first);
        QCOMPARE(wheel.storedFrame(0), second);
        QVERIFY(wheel.hasPicture(3));
        QCOMPARE(openDescriptors(), descriptors);
    }

    // The writer's drain returns while the terminal still holds line bytes, so the reply comes
    // only after the wheel has taken those at the line's rate.
    void pacedStoreIsAnsweredInTime()
    {
        WheelProcess wheel({"--size", "64x16", "--paced"});
        QVERIFY(wheel.isRunning());
        FtdiDongle dongle;
        const QByteArray frame = randomFrame(128);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(dongle.save(char(9), frame));
        // (128 + 4) x 448 line bytes at 38461.5 bytes a second.
        QVERIFY(clock.elapsed() >= 1500);
        QCOMPARE(wheel.storedFrame(9), frame);
    }

    void wrongCrcIsNotAConfirmation()
    {
        WheelProcess wheel({"--size", "16x8", "--wrong-crc"});
        QVERIFY(wheel.isRunning());
        const int descriptors = openDescriptors();
        FtdiDongle dongle;
        QVERIFY(!dongle.save(char(1), randomFrame(16)));
        QCOMPARE(dongle.getError(), Dongle_::OK);
        QCOMPARE(openDescriptors(), descriptors);
    }

    void unansweredExchanges_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("silent") << QStringList{"--silent"};
        QTest::newRow("short reply") << QStringList{"--short-reply"};
        QTest::newRow("too late") << QStringList{"--delay", "1500"};
    }

    void unansweredExchanges()
    {
        QFETCH(QStringList, options);
        WheelProcess wheel(options);
        QVERIFY(wheel.isRunning());
        const int descriptors = openDescriptors();
        FtdiDongle dongle;
        QCOMPARE(dongle.getId(), QByteArray());
        QCOMPARE(dongle.getError(), Dongle_::RECEIVE_FAILED);
        QCOMPARE(openDescriptors(), descriptors);
    }

    void unansweredStores_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("silent") << QStringList{"--silent"};
        QTest::newRow("short reply") << QStringList{"--short-reply"};
    }

    void unansweredStores()
    {
        QFETCH(QStringList, options);
        WheelProcess wheel(options + QStringList{"--size", "16x8"});
        QVERIFY(wheel.isRunning());
        FtdiDongle dongle;
        const QByteArray frame = randomFrame(16);
        QVERIFY(!dongle.save(char(2), frame));
        QCOMPARE(dongle.getError(), Dongle_::RECEIVE_FAILED);
        // A wheel that only fails to answer has still stored the frame.
        QCOMPARE(wheel.storedFrame(2), options.contains("--silent") ? QByteArray() : frame);
    }

    void droppedMessageLosesOnlyThatOne()
    {
        WheelProcess wheel({"--drop", "1"});
        QVERIFY(wheel.isRunning());
        FtdiDongle dongle;
        QCOMPARE(dongle.getId(), QByteArray());
        QCOMPARE(dongle.getError(), Dongle_::RECEIVE_FAILED);
        QCOMPARE(dongle.getId().left(3), QByteArray("D12"));
        QCOMPARE(dongle.getError(), Dongle_::OK);
    }

    void slowWheelWithinTheTimeOut()
    {
        WheelProcess wheel({"--delay", "800"});
        QVERIFY(wheel.isRunning());
        const int descriptors = openDescriptors();
        FtdiDongle dongle;
        QCOMPARE(dongle.getId().left(3), QByteArray("D12"));
        QCOMPARE(dongle.getError(), Dongle_::OK);
        QCOMPARE(openDescriptors(), descriptors);
    }

    void noDongle()
    {
        const int descriptors = openDescriptors();
        qputenv(DeviceNode::variable, "/nonexistent/rimglow-dongle");
        FtdiDongle dongle;
        QCOMPARE(dongle.getId(), QByteArray());
        QCOMPARE(dongle.getError(), Dongle_::NOT_FOUND);
        QVERIFY(!dongle.TX(dongle.package("ID")));
        QCOMPARE(dongle.RX(7), QByteArray());
        QVERIFY(!dongle.save(char(0), "x"));
        QCOMPARE(dongle.getError(), Dongle_::NOT_FOUND);
        qunsetenv(DeviceNode::variable);
        // No such USB device on a test machine either.
        QCOMPARE(dongle.getId(), QByteArray());
        QCOMPARE(dongle.getError(), Dongle_::NOT_FOUND);
        QCOMPARE(openDescriptors(), descriptors);
    }

    void sendOnlyLeavesTheStatus()
    {
        WheelProcess wheel;
        QVERIFY(wheel.isRunning());
        const int descriptors = openDescriptors();
        FtdiDongle dongle;
        qputenv(DeviceNode::variable, "/nonexistent/rimglow-dongle");
        dongle.getId();
        QCOMPARE(dongle.getError(), Dongle_::NOT_FOUND);
        qputenv(DeviceNode::variable, wheel.getDevice().toLocal8Bit());
        QVERIFY(dongle.click());
        QCOMPARE(dongle.getError(), Dongle_::NOT_FOUND);
        QCOMPARE(openDescriptors(), descriptors);
    }

    // Run in a child process that, when started as root, gives up root first: root may open
    // any node, so only an ordinary user meets the refusal.
    void refusedNodeIsToldApartFromAMissingDongle()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ExeGroup | QFile::ExeOther);
        const QString node = dir.filePath("ttyUSB7");
        QFile file(node);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QFile::setPermissions(node, QFileDevice::Permissions()));
        qputenv(DeviceNode::variable, QFile::encodeName(node));

        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
                _exit(100);
            FtdiDongle dongle;
            dongle.getId();
            _exit(dongle.getError());
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        qunsetenv(DeviceNode::variable);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), int(Dongle_::NO_ACCESS));
    }

    void notATerminal()
    {
        qputenv(DeviceNode::variable, "/dev/null");
        FtdiDongle dongle;
        QCOMPARE(dongle.getId(), QByteArray());
        QCOMPARE(dongle.getError(), Dongle_::NOT_FOUND);
        qunsetenv(DeviceNode::variable);
    }
};

RIMGLOW_TEST(FtdiDongleTest)
#include "tst_ftdidongle.moc"
