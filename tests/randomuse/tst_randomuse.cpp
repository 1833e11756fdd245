#include "randomuser.h"

#include <csignal>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

// The seed comes from RIMGLOW_SEED, the number of actions from RIMGLOW_ACTIONS; a failure
// prints both with every action done, so that the same run can be made again.
namespace {

// Where the actions are written as they happen, for a crash to print: a handler may call
// nothing but the system.
char logPath[4096];

void printLog()
{
#ifdef Q_OS_UNIX
    const int file = ::open(logPath, O_RDONLY);
    if (file < 0)
        return;
    char buffer[4096];
    for (ssize_t got; (got = ::read(file, buffer, sizeof buffer)) > 0;)
        if (::write(STDERR_FILENO, buffer, size_t(got)) != got)
            break;
    ::close(file);
#endif
}

void crashed(int signal)
{
    printLog();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

quint32 number(const char* variable, quint32 otherwise)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(variable).toUInt(&ok);
    return ok ? value : otherwise;
}

} // namespace

class RandomUseTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        HiddenFile::write("language", "en");
        for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL})
            std::signal(signal, crashed);
#if defined(__SANITIZE_ADDRESS__)
        __sanitizer_set_death_callback(printLog);
#endif
    }

    // Both example products: without a hall sensor, and the small one with one.
    void randomUse_data()
    {
        QTest::addColumn<QStringList>("product");
        QTest::newRow("demo") << QString("-n DEMO -s 128x32 -o 80 -i 16 -v D12x12+D08x8 "
                                         "-c red+blue+redxblue+redxgreenxblue")
                                     .split(' ');
        QTest::newRow("hall") << QString("-n MINI -s 64x16 -o 60 -i 20 -v M01x4 "
                                         "-c white+redxgreenxblue -h")
                                     .split(' ');
    }

    void randomUse()
    {
        QFETCH(QStringList, product);
        const quint32 seed = number("RIMGLOW_SEED", 28);
        const quint32 count = number("RIMGLOW_ACTIONS", 1500);
        const QString folder = dir.filePath(QTest::currentDataTag());
        QVERIFY(QDir().mkpath(folder));
        QFile log(folder + "/actions.log");
        QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        qstrncpy(logPath, QFile::encodeName(log.fileName()).constData(), sizeof logPath);
        const QString replay =
            QString("RIMGLOW_SEED=%1 RIMGLOW_ACTIONS=%2 %3 randomUse:%4\n")
                .arg(seed)
                .arg(count)
                .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                     QTest::currentDataTag());
        log.write(("Random use, to replay: " + replay).toUtf8());
        const auto printed = qScopeGuard([&] {
            if (QTest::currentTestFailed())
                printLog();
            logPath[0] = '\0';
        });

        // A box nobody answers would wait until the test's time is up, with nothing said.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        watchdog.setInterval(120000);
        connect(&watchdog, &QTimer::timeout, this, [&log] {
            log.write("Hung: no action ended within two minutes\n");
            std::abort();
        });
        quint32 done = 0;
        RandomUser user(product, seed, folder, [&](const QString& text) {
            log.write((QString::number(done) + " " + text + "\n").toUtf8());
        });
        for (; done < count; ++done) {
            watchdog.start();
            const QString problem = user.step();
            if (!problem.isEmpty())
                log.write(("Failed: " + problem + "\n").toUtf8());
            QVERIFY2(problem.isEmpty(),
                     qPrintable(QString("action %1: %2").arg(done).arg(problem)));
        }
    }
};

RIMGLOW_TEST(RandomUseTest)
#include "tst_randomuse.moc"
