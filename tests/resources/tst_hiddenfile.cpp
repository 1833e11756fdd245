#include "resources/hiddenfile.h"
#include "testsuite.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

class HiddenFileTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip()
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QDir(folder).removeRecursively();
        QCOMPARE(HiddenFile::getFileName("language"), folder + "/.language");
        QCOMPARE(HiddenFile::getFileName("sub/hall"), folder + "/sub/.hall");
        QCOMPARE(HiddenFile::getFileName("/tmp/x/autoupdate"), QString("/tmp/x/.autoupdate"));
        QVERIFY(!HiddenFile::exists("hall"));
        QCOMPARE(HiddenFile::read("hall"), QString());
        QVERIFY(HiddenFile::write("hall", "135"));
        QVERIFY(QFile::exists(folder + "/.hall"));
        QCOMPARE(HiddenFile::read("hall"), QString("135"));
        QVERIFY(HiddenFile::write("autoupdate", ""));
        QVERIFY(HiddenFile::exists("autoupdate"));
        // Written as UTF-8, read as Latin-1 up to the first zero byte.
        QVERIFY(HiddenFile::write("language", QString::fromUtf8("d\u00e4")));
        QCOMPARE(HiddenFile::read("language"), QString::fromLatin1("d\xc3\xa4"));
        QFile file(folder + "/.language");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("de\0garbage", 10));
        file.close();
        QCOMPARE(HiddenFile::read("language"), QString("de"));
        // A damaged state file is not read into memory whole.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64 * 1024 + 1, 'x'));
        file.close();
        QVERIFY(HiddenFile::read("language").size() <= 64 * 1024);
    }

    void unwritablePlacesReportFailure()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("plain"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        // A folder that cannot be made, because a file stands in its place.
        QVERIFY(!HiddenFile::write(dir.filePath("plain/hall"), "1"));
        // A folder where the file should be is neither replaced nor read.
        QVERIFY(QDir(dir.path()).mkdir(".hall"));
        QVERIFY(!HiddenFile::write(dir.filePath("hall"), "1"));
        QVERIFY(!HiddenFile::exists(dir.filePath("hall")));
        QCOMPARE(HiddenFile::read(dir.filePath("hall")), QString());
        // A full disk, here a file size limit, first shows in the only and so last write.
        rlimit old;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
        rlimit small = old;
        small.rlim_cur = 1;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const bool written = HiddenFile::write(dir.filePath("angle"), "135");
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        QVERIFY(!written);
        QVERIFY(!HiddenFile::exists(dir.filePath("angle")));
    }
};

RIMGLOW_TEST(HiddenFileTest)
#include "tst_hiddenfile.moc"
