#include "app/mainwindow.h"
#include "app/splashscreen.h"
#include "app/startup.h"
#include "app/updatearchive.h"
#include "modalanswerer.h"
#include "product.h"
#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "testsuite.h"
#include "wheelprocess.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QString pictureOfWidth(const QTemporaryDir& dir, int width)
{
    const QString path = dir.filePath(QString("splash%1.png").arg(width));
    QImage picture(width, 200, QImage::Format_ARGB32);
    picture.fill(Qt::darkBlue);
    picture.save(path);
    return path;
}

// Steps the animation as the 20 ms timer would, up to a bound; the steps it took to end.
int stepsToEnd(SplashScreen* splash, int bound = 200)
{
    QSignalSpy ended(splash, &SplashScreen::end);
    for (int step = 1; step <= bound; ++step) {
        splash->next();
        if (!ended.isEmpty())
            return ended.size() == 1 ? step : -1;
    }
    return 0;
}

void writeScript(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + text);
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

void writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class SplashScreenTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    void zoomsAndFadesToTheEnd()
    {
        SplashScreen splash(pictureOfWidth(dir, 800));
        QCOMPARE(splash.size(), QSize(300, 75));
        splash.show();
        QSignalSpy ended(&splash, &SplashScreen::end);
        splash.next();
        QCOMPARE(splash.getShownWidth(), 310);
        QCOMPARE(splash.getOpacity(), 0.98);
        // The window keeps its size while the picture grows: the grown part is cut off.
        QCOMPARE(splash.pixmap().size(), splash.size());
        QCOMPARE(stepsToEnd(&splash), 49);
        QVERIFY(!splash.isVisible());
    }

    void endsWhenTheWidthStepIsNothing()
    {
        SplashScreen splash(pictureOfWidth(dir, 320));
        const int steps = stepsToEnd(&splash);
        QVERIFY2(steps >= 49 && steps <= 51, qPrintable(QString::number(steps)));
        QCOMPARE(splash.getShownWidth(), 300);
    }

    void missingPictureEndsAtOnce()
    {
        SplashScreen splash("/nonexistent/splash.png");
        QCOMPARE(stepsToEnd(&splash), 1);
    }

    void theProgramsOwnPictureTakesASecond()
    {
        SplashScreen splash(Resource::directory() + "splash.png");
        QCOMPARE(stepsToEnd(&splash), 50);
    }
};

// The update archive is handled with stand-ins for unzip (on the search path) and for the
// updater (in the current directory).
class UpdateArchiveTest : public QObject {
    Q_OBJECT
    QTemporaryDir tools;
    QTemporaryDir work;
    QString oldPath;
    QString oldDirectory;

private slots:
    void initTestCase()
    {
        HiddenFile::write("language", "en");
        // The archive's content tells the stand-in how to behave.
        writeScript(tools.filePath("unzip"),
                    "case \"$1\" in\n"
                    "-t) grep -q intact \"$2\" ;;\n"
                    "-o) grep -q batch \"$2\" && echo rem > setup.bat; exit 0 ;;\n"
                    "esac\n");
        oldPath = qEnvironmentVariable("PATH");
        qputenv("PATH", (tools.path() + ":" + oldPath).toLocal8Bit());
        oldDirectory = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work.path()));
        writeScript(work.filePath(UpdateArchive::updaterName()), "pwd > updater-ran\n");
    }

    void cleanupTestCase()
    {
        qputenv("PATH", oldPath.toLocal8Bit());
        QDir::setCurrent(oldDirectory);
    }

    void init()
    {
        QFile::remove(HiddenFile::getFileName("autoupdate"));
        for (const char* name : {"setup.zip", "setup.bat", "updater-ran"})
            QFile::remove(name);
    }

    void noArchiveAsksNothing()
    {
        ModalAnswerer answerer;
        QVERIFY(!UpdateArchive::install(nullptr));
        QCOMPARE(answerer.texts, QStringList());
    }

    void damagedArchiveIsDeletedWithoutAQuestion()
    {
        writeFile("setup.zip", "cut off");
        ModalAnswerer answerer;
        QVERIFY(!UpdateArchive::install(nullptr));
        QVERIFY(!QFile::exists("setup.zip"));
        QCOMPARE(answerer.texts, QStringList());
    }

    void withoutUnzipTheArchiveCountsAsDamaged()
    {
        writeFile("setup.zip", "intact batch");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "/nonexistent");
        ModalAnswerer answerer;
        const bool quit = UpdateArchive::install(nullptr);
        qputenv("PATH", path);
        QVERIFY(!quit);
        QVERIFY(!QFile::exists("setup.zip"));
        QCOMPARE(answerer.texts, QStringList());
    }

    void declinedUpdateIsNeverOfferedAgain()
    {
        writeFile("setup.zip", "intact batch");
        {
            ModalAnswerer answerer({"&No"});
            QVERIFY(!UpdateArchive::install(nullptr));
            QCOMPARE(answerer.titles, QStringList{"Rimglow!"});
            QCOMPARE(answerer.texts, QStringList{Resource::getText("UPDATE_VERSION") + "<br>" +
                                                 Resource::getText("UPDATE") + "?"});
        }
        QVERIFY(HiddenFile::exists("autoupdate"));
        QVERIFY(QFile::exists("setup.zip"));
        QVERIFY(!QFile::exists("setup.bat"));

        ModalAnswerer again;
        QVERIFY(!UpdateArchive::install(nullptr));
        QCOMPARE(again.texts, QStringList());
    }

    void archiveWithoutBatchStartsNormally()
    {
        writeFile("setup.zip", "intact");
        ModalAnswerer answerer({"&Yes"});
        QVERIFY(!UpdateArchive::install(nullptr));
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(!HiddenFile::exists("autoupdate"));
        QTest::qWait(200);
        QVERIFY(!QFile::exists("updater-ran"));
    }

    void acceptedUpdateHandsOverToTheUpdater()
    {
        writeFile("setup.zip", "intact batch");
        ModalAnswerer answerer({"&Yes"});
        QVERIFY(UpdateArchive::install(nullptr));
        QVERIFY(QFile::exists("setup.bat"));
        // The updater writes where it was started from.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo("updater-ran").size() > 0, 5000);
        QFile ran("updater-ran");
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(ran.readAll()).trimmed(), QDir::currentPath());
    }
};

// A stand-in for the vendor's update server on the loopback interface.
class UpdateServer : public QTcpServer {
public:
    UpdateServer() { listen(QHostAddress::LocalHost); }

    QByteArray version;
    QByteArray archive = "PK archive bytes";
    QStringList paths;

protected:
    void incomingConnection(qintptr handle) override
    {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(handle);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const QByteArray path = socket->readLine().split(' ').value(1);
            paths << QString::fromLatin1(path);
            const bool known = path.endsWith("/version.php") ||
                               (path.endsWith("/setup.zip") && !archive.isEmpty());
            const QByteArray body = path.endsWith("/version.php") ? version : archive;
            socket->write(known ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n");
            socket->write("Connection: close\r\nContent-Length: " +
                          QByteArray::number(known ? body.size() : 0) + "\r\n\r\n");
            if (known)
                socket->write(body);
            socket->disconnectFromHost();
        });
    }
};

class VersionCheckTest : public QObject {
    Q_OBJECT
    QTemporaryDir work;
    QString oldDirectory;

private slots:
    void initTestCase()
    {
        HiddenFile::write("language", "en");
        oldDirectory = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work.path()));
    }

    void cleanupTestCase() { QDir::setCurrent(oldDirectory); }

    void onlyANewerTenByteAnswerFetchesTheArchive_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("fetched");
        QTest::newRow("newer") << QByteArray("2013-04-01") << true;
        QTest::newRow("same") << QByteArray("2013-03-07") << false;
        QTest::newRow("older") << QByteArray("2012-12-31") << false;
        QTest::newRow("nine bytes") << QByteArray("2013-04-1") << false;
        QTest::newRow("eleven bytes") << QByteArray("2013-04-01\n") << false;
        QTest::newRow("padded with zeros") << QByteArray("2014-1\0\0\0\0", 10) << true;
    }

    void onlyANewerTenByteAnswerFetchesTheArchive()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, fetched);
        QFile::remove("setup.zip");
        UpdateServer server;
        QVERIFY(server.isListening());
        server.version = answer;
        Product product(Product::demo("XYZ"));
        MainWindow window(product.configuration.get());
        window.checkVersion("127.0.0.1", server.serverPort());
        QTRY_VERIFY(!server.paths.isEmpty());
        QCOMPARE(server.paths.first(), QString("/download/Rimglow!4/XYZ/version.php"));
        if (fetched) {
            QTRY_VERIFY(QFile::exists("setup.zip"));
            const QString version = QString::fromLatin1(answer).remove(QChar(0));
            QCOMPARE(server.paths.value(1), "/download/Rimglow!4/XYZ/" + version + "/setup.zip");
            QFile archive("setup.zip");
            QVERIFY(archive.open(QIODevice::ReadOnly));
            QCOMPARE(archive.readAll(), server.archive);
        } else {
            // Give a wrongly sent second request the time to arrive.
            QTest::qWait(300);
            QCOMPARE(server.paths.size(), 1);
            QVERIFY(!QFile::exists("setup.zip"));
        }
    }

    void missingArchiveLeavesNoFile()
    {
        QFile::remove("setup.zip");
        UpdateServer server;
        server.version = "2013-04-01";
        server.archive.clear();
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        window.checkVersion("127.0.0.1", server.serverPort());
        QTRY_COMPARE(server.paths.size(), 2);
        QTest::qWait(200);
        QVERIFY(!QFile::exists("setup.zip"));
    }

    void unreachableServerIsIgnored()
    {
        QFile::remove("setup.zip");
        quint16 port;
        {
            UpdateServer closed;
            port = closed.serverPort();
        }
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        ModalAnswerer answerer;
        window.checkVersion("127.0.0.1", port);
        QTest::qWait(300);
        QCOMPARE(answerer.texts, QStringList());
        QVERIFY(!QFile::exists("setup.zip"));
    }
};

// The whole program from its command line to the closed window.
class ProgramRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // Quitting while a store is on the line: the program ends only after the store has
    // arrived whole, and the next picture's store never starts.
    void quittingDuringAStoreLetsItEnd()
    {
        WheelProcess wheel({"--paced", "--size", "16x8", "--id", "D12"});
        QVERIFY(wheel.isRunning());
        QPixmap ink(512, 512);
        ink.fill(Qt::black);
        int stage = 0;
        QElapsedTimer storing;
        QTimer script;
        connect(&script, &QTimer::timeout, this, [&] {
            MainWindow* window = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* main = qobject_cast<MainWindow*>(widget))
                    window = main;
            if (!window || (stage == 0 && !window->isVisible()))
                return;
            auto* transmitter = window->findChild<Transmitter*>();
            if (stage == 0) {
                window->transmit({{0, ink}, {1, ink}});
                ++stage;
            } else if (stage == 1 && transmitter->labelText() != Resource::getText("CONNECTION")) {
                storing.start();
                ++stage;
            } else if (stage == 2 && storing.elapsed() > 200) {
                // The store started 100 ms after the label changed and takes about 230 ms.
                transmitter->close();
                window->close();
                ++stage;
            }
        });
        script.start(10);
        ModalAnswerer answerer;
        Product product(
            {"-n", "DEMO", "-s", "16x8", "-o", "80", "-i", "16", "-v", "D12x12", "-c", "red"});
        QCOMPARE(runProgram(int(product.pointers.size()), product.pointers.data()), 0);
        QCOMPARE(stage, 3);
        QCOMPARE(answerer.texts, QStringList());
        QCOMPARE(wheel.storedFrame(0), QByteArray(16, char(0xFF)));
        QTest::qWait(500);
        QCOMPARE(wheel.storedFrame(1), QByteArray());
        QVERIFY(!wheel.errors().contains("line error"));
    }
};

RIMGLOW_TEST(SplashScreenTest)
RIMGLOW_TEST(UpdateArchiveTest)
RIMGLOW_TEST(VersionCheckTest)
RIMGLOW_TEST(ProgramRunTest)
#include "tst_startup.moc"
