#include "app/buildinfo.h"
#include "app/splashscreen.h"
#include "app/startup.h"
#include "app/updatearchive.h"
#include "files.h"
#include "windowhelpers.h"

#include <QtNetwork>

namespace {

// A stand-in for the vendor's update server on the loopback interface.
struct UpdateServer : QTcpServer {
    UpdateServer()
    {
        listen(QHostAddress::LocalHost);
        // The client's requests go out from Qt's own network thread: waiting here blocks no one.
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            while (!socket->canReadLine() && socket->waitForReadyRead(5000)) {
            }
            const QByteArray path = socket->readLine().split(' ').value(1);
            paths << QString::fromLatin1(path);
            const QByteArray body = path.endsWith("/version.php") ? version
                                    : path.endsWith("/setup.zip") ? archive
                                                                  : QByteArray();
            socket->write((body.isEmpty() ? "HTTP/1.1 404 Not Found" : "HTTP/1.1 200 OK") +
                          QByteArray("\r\nConnection: close\r\nContent-Length: ") +
                          QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
    }
    QByteArray version, archive;
    QStringList paths;
};

} // namespace

// The update archive is handled with stand-ins for unzip (on the search path) and for the
// updater (in the current directory).
class UpdateArchiveTest : public QObject {
    Q_OBJECT
    QTemporaryDir tools, work;
    const QString oldPath = qEnvironmentVariable("PATH"), oldDirectory = QDir::currentPath();
    const QByteArray path =
        (QDir::toNativeSeparators(tools.path()) + QDir::listSeparator() + oldPath).toLocal8Bit();

private slots:
    void initTestCase()
    {
        // The Windows build reads its texts from the current directory: before leaving it.
        QCOMPARE(Resource::getText("UPDATE"), QString("Install it now"));
        // The archive's content tells the stand-in how to behave.
        const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).suffix();
        const auto named = [&exe](const QString& name) {
            return exe.isEmpty() ? name : name + "." + exe;
        };
        const QString standIn =
            QCoreApplication::applicationDirPath() + "/" + named("test-standin");
        QVERIFY(QFile::copy(standIn, tools.filePath(named("unzip"))));
        QVERIFY(QFile::copy(standIn, work.filePath(UpdateArchive::updaterName())));
        qputenv("PATH", path);
        QVERIFY(QDir::setCurrent(work.path()));
    }

    void cleanupTestCase()
    {
        qputenv("PATH", oldPath.toLocal8Bit());
        QDir::setCurrent(oldDirectory);
    }

    void init()
    {
        for (const QString& name : QStringList{HiddenFile::getFileName("autoupdate"), "setup.zip",
                                               "setup.bat", "updater-ran"})
            QFile::remove(name);
    }

    void install_data()
    {
        // The archive ("": none), the answer to the question ("": not asked), whether the
        // program ends for the updater and whether the archive stays.
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("quits");
        QTest::addColumn<bool>("kept");
        QTest::newRow("none") << QByteArray() << "" << false << false;
        QTest::newRow("damaged") << QByteArray("cut off") << "" << false << false;
        QTest::newRow("declined") << QByteArray("intact batch") << "&No" << false << true;
        QTest::newRow("without batch") << QByteArray("intact") << "&Yes" << false << true;
        QTest::newRow("accepted") << QByteArray("intact batch") << "&Yes" << true << true;
    }

    void install()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, answer);
        QFETCH(bool, quits);
        QFETCH(bool, kept);
        QFile zip("setup.zip");
        QVERIFY(archive.isEmpty() || (zip.open(QIODevice::WriteOnly) && zip.write(archive) > 0));
        zip.close();
        ModalAnswerer answerer({answer});
        QCOMPARE(UpdateArchive::install(nullptr), quits);
        QCOMPARE(answerer.texts.size(), answer.isEmpty() ? 0 : 1);
        QCOMPARE(QFile::exists("setup.zip"), kept);
        QCOMPARE(QFile::exists("setup.bat"), quits);
        // A declined update is never offered again.
        QCOMPARE(HiddenFile::exists("autoupdate"), answer == "&No");
        // The updater runs in the current directory.
        if (quits)
            QTRY_COMPARE_WITH_TIMEOUT(contents("updater-ran").trimmed(),
                                      QDir::currentPath().toLocal8Bit(), 5000);
    }

    void versionCheck_data()
    {
        // The server's answer ("closed": no server listening), the version whose archive is
        // fetched ("": none) and the archive the server holds ("": none).
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("fetched");
        QTest::addColumn<QByteArray>("archive");
        auto row = [](const char* name, const QByteArray& answer, const char* fetched,
                      const char* archive = "PK archive bytes") {
            QTest::newRow(name) << answer << fetched << QByteArray(archive);
        };
        row("newer", "2013-04-01", "2013-04-01");
        row("same", "2013-03-07", "");
        row("nine bytes", "2013-04-1", "");
        row("padded with zeros", QByteArray("2014-1\0\0\0\0", 10), "2014-1");
        row("no archive", "2013-04-01", "2013-04-01", "");
        row("unreachable", "closed", "");
    }

    void versionCheck()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, fetched);
        QFETCH(QByteArray, archive);
        UpdateServer server;
        server.version = answer;
        server.archive = archive;
        const quint16 port = server.serverPort();
        QStringList paths{"/download/Rimglow!4/XYZ/version.php"};
        if (answer == "closed") {
            server.close();
            paths.clear();
        }
        if (!fetched.isEmpty())
            paths << "/download/Rimglow!4/XYZ/" + fetched + "/setup.zip";
        const QByteArray written = fetched.isEmpty() || archive.isEmpty() ? "none" : archive;
        DemoWindow w(Product::demo("XYZ"));
        ModalAnswerer answerer;
        w.checkVersion("127.0.0.1", port);
        // Time for a wrongly sent request, or a wrongly written file, to arrive.
        if (written == "none")
            QTest::qWait(300);
        QTRY_COMPARE(server.paths, paths);
        QTRY_COMPARE(contents("setup.zip"), written);
        QCOMPARE(answerer.texts, QStringList());
    }
};

// The start of the program: the splash, and a command line with problems.
class StartupTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    // A command line with problems: a box for each, in the order found, then the program ends
    // without a window when the description is incomplete.
    void problemsShownInOrder()
    {
        ModalAnswerer answerer;
        Product product({"-d", "-n", "X", "-s", "8", "-n", "Y"});
        QCOMPARE(runProgram(int(product.pointers.size()), product.pointers.data()), 0);
        QCOMPARE(answerer.titles,
                 (QStringList{"Init Error", "Init Error", "Init Error", "Oh! no~"}));
        QCOMPARE(answerer.texts, (QStringList{"unknow argumentd", "unknow size format8",
                                              "undefine size", "Find some argument error."}));
    }

    // The splash picture grows and fades until it ends. For a picture of the given width (0: none),
    // the height it is shown at, the width it grows to in the first step and the steps to the end.
    // Hardly wider than the window, it grows by nothing a step and the fade ends it; as wide as the
    // window, nothing is left to grow.
#ifdef Q_OS_WIN
    // The Windows build asks the update server at every start and downloads a newer version's
    // archive for the next start, which looks for it in the current directory.
    void checksForUpdatesAtStart()
    {
        UpdateServer server;
        server.version = "2013-04-01";
        server.archive = "PK archive bytes";
        qputenv(BuildInfo::updateServerVariable,
                "127.0.0.1:" + QByteArray::number(server.serverPort()));
        // The texts are read from the current directory, before leaving it.
        Resource::getText("UPDATE");
        const QString programFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        QTimer done;
        connect(&done, &QTimer::timeout, this, [] {
            if (QFile::exists("setup.zip") && QApplication::activeWindow())
                QApplication::closeAllWindows();
        });
        done.start(100);
        Product product(Product::demo("XYZ"));
        const int status = runProgram(int(product.pointers.size()), product.pointers.data());
        QDir::setCurrent(programFolder);
        qunsetenv(BuildInfo::updateServerVariable);
        QCOMPARE(status, 0);
        QCOMPARE(server.paths, (QStringList{"/download/Rimglow!4/XYZ/version.php",
                                            "/download/Rimglow!4/XYZ/2013-04-01/setup.zip"}));
        QCOMPARE(contents(dir.filePath("setup.zip")), server.archive);
    }
#endif

    void zoomsAndFadesToTheEnd()
    {
        const struct {
            int width, height, grown, steps;
        } cases[] = {{800, 75, 310, 50}, {320, 75, 300, 50}, {0, 0, 294, 1}, {300, 75, 300, 1}};
        for (const auto& c : cases) {
            const QString path = dir.filePath(QString("splash%1.png").arg(c.width));
            QImage picture(c.width, c.width / 4, QImage::Format_ARGB32);
            picture.fill(Qt::darkBlue);
            QVERIFY(!c.width || picture.save(path));
            SplashScreen splash(path);
            QCOMPARE(splash.size(), QSize(300, c.height));
            splash.show();
            QSignalSpy ended(&splash, &SplashScreen::end);
            splash.next();
            QCOMPARE(splash.getShownWidth(), c.grown);
            int step = 1;
            for (; ended.isEmpty() && step < 200; ++step)
                splash.next();
            QCOMPARE(step, c.steps);
            QVERIFY(ended.size() == 1 && !splash.isVisible());
        }
    }
};

RIMGLOW_TEST(StartupTest)
RIMGLOW_TEST(UpdateArchiveTest)
#include "tst_startup.moc"
