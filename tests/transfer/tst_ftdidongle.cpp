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

// Every exchange closes the device again, whatever happened.
class FtdiDongleTest : public QObject {
    Q_OBJECT
private slots:
    void exchanges_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("store");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("kept");
        QTest::newRow("identity") << QStringList() << false << true << 0 << false;
        QTest::newRow("slow, within the time-out")
            << QStringList{"--delay", "800"} << false << true << 0 << false;
        QTest::newRow("too late") << QStringList{"--delay", "1500"} << false << false << 3 << false;
        QTest::newRow("silent") << QStringList{"--silent"} << false << false << 3 << false;
        QTest::newRow("short reply")
            << QStringList{"--short-reply"} << false << false << 3 << false;
        QTest::newRow("store") << QStringList() << true << true << 0 << true;
        QTest::newRow("store, wrong crc")
            << QStringList{"--wrong-crc"} << true << false << 0 << true;
        QTest::newRow("store, silent") << QStringList{"--silent"} << true << false << 3 << false;
        // A wheel that only fails to answer has still stored the frame.
        QTest::newRow("store, short reply")
            << QStringList{"--short-reply"} << true << false << 3 << true;
    }
    void exchanges()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, store);
        QFETCH(bool, confirmed);
        QFETCH(int, error);
        QFETCH(bool, kept);
        WheelProcess wheel(options + QStringList{"--size", "16x8", "--id", "D12"});
        QVERIFY(wheel.isRunning());
        const int descriptors = openDescriptors();
        FtdiDongle dongle;
        const QByteArray frame = randomFrame(16);
        if (store)
            QCOMPARE(dongle.save(char(3), frame), confirmed);
        else
            QCOMPARE(dongle.getId(), confirmed ? QByteArray("D12\0\0\0\0", 7) : QByteArray());
        QCOMPARE(int(dongle.getError()), error);
        QCOMPARE(wheel.storedFrame(3), kept ? frame : QByteArray());
        QCOMPARE(wheel.hasPicture(3), kept);
        QCOMPARE(openDescriptors(), descriptors);
    }

    void droppedMessageLosesOnlyThatOne()
    {
        WheelProcess wheel({"--drop", "2"});
        FtdiDongle dongle;
        QVERIFY(dongle.click());
        QCOMPARE(dongle.getId(), QByteArray());
        QCOMPARE(dongle.getError(), Dongle_::RECEIVE_FAILED);
        QCOMPARE(dongle.getId().left(3), QByteArray("D12"));
        QCOMPARE(dongle.getError(), Dongle_::OK);
    }

    // The writer's drain returns while the terminal still holds line bytes, so the reply comes
    // only after the wheel has taken those at the line's rate.
    void pacedStoreIsAnsweredAfterTheLine()
    {
        WheelProcess wheel({"--size", "64x16", "--paced"});
        FtdiDongle dongle;
        const QByteArray frame = randomFrame(128);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(dongle.save(char(9), frame));
        // (128 + 4) x 448 line bytes at 38461.5 bytes a second.
        QVERIFY(clock.elapsed() >= 1500);
        QCOMPARE(wheel.storedFrame(9), frame);
    }

    // Not there, not a terminal, or no such USB device: the status says so, and a later send
    // alone does not clear it.
    void missingDongle()
    {
        WheelProcess wheel;
        const int descriptors = openDescriptors();
        FtdiDongle dongle;
        for (const QByteArray& node :
             {QByteArray("/nonexistent/rimglow-dongle"), QByteArray("/dev/null"), QByteArray()}) {
            qputenv(DeviceNode::variable, node);
            QCOMPARE(dongle.getId(), QByteArray());
            QCOMPARE(dongle.getError(), Dongle_::NOT_FOUND);
        }
        QVERIFY(!dongle.save(char(0), "x"));
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
};

RIMGLOW_TEST(FtdiDongleTest)
#include "tst_ftdidongle.moc"
