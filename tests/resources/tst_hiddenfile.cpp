#include "resources/hiddenfile.h"
#include "testsuite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class HiddenFileTest : public QObject {
    Q_OBJECT
    QString folder;

private slots:
    void init()
    {
        folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QDir(folder).removeRecursively();
    }

    void relativeNamesLiveInTheConfigurationFolder()
    {
        QCOMPARE(HiddenFile::getFileName("language"), folder + "/.language");
        QCOMPARE(HiddenFile::getFileName("sub/hall"), folder + "/sub/.hall");
        QCOMPARE(HiddenFile::getFileName("/tmp/x/autoupdate"), QString("/tmp/x/.autoupdate"));
    }

    void roundTripCreatesTheFolder()
    {
        QVERIFY(!HiddenFile::exists("hall"));
        QCOMPARE(HiddenFile::read("hall"), QString());
        QVERIFY(HiddenFile::write("hall", "135"));
        QVERIFY(QFile::exists(folder + "/.hall"));
        QVERIFY(HiddenFile::exists("hall"));
        QCOMPARE(HiddenFile::read("hall"), QString("135"));
        QVERIFY(HiddenFile::write("hall", "0"));
        QCOMPARE(HiddenFile::read("hall"), QString("0"));
        QVERIFY(HiddenFile::write("autoupdate", ""));
        QVERIFY(HiddenFile::exists("autoupdate"));
        QCOMPARE(HiddenFile::read("autoupdate"), QString());
    }

    void writesUtf8AndReadsLatin1UpToTheFirstZero()
    {
        QVERIFY(HiddenFile::write("language", QString::fromUtf8("d\u00e4")));
        QCOMPARE(HiddenFile::read("language"), QString::fromLatin1("d\xc3\xa4"));
        QFile file(folder + "/.language");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("de\0garbage", 10));
        file.close();
        QCOMPARE(HiddenFile::read("language"), QString("de"));
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
        QVERIFY(QFileInfo(dir.filePath(".hall")).isDir());
    }
};

RIMGLOW_TEST(HiddenFileTest)
#include "tst_hiddenfile.moc"
