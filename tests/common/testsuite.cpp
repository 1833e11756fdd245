#include "testsuite.h"

#include "resources/hiddenfile.h"

#ifdef RIMGLOW_TEST_WIDGETS
#include <QApplication>
#else
#include <QGuiApplication>
#endif
#include <QList>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {

QList<std::function<QObject*()>>& factories()
{
    static QList<std::function<QObject*()>> list;
    return list;
}

} // namespace

int TestSuite::add(std::function<QObject*()> factory)
{
    factories().append(factory);
    return factories().size();
}

int main(int argc, char** argv)
{
#ifdef RIMGLOW_TEST_WIDGETS
    QApplication application(argc, argv);
#else
    // Tests of the core library make no widget.
    QGuiApplication application(argc, argv);
#endif
    // State files of the tests go to a folder of their own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    // Every test starts in English unless it chooses another language.
    HiddenFile::write("language", "en");
    // "--class NAME" runs only that test class; the other arguments go to Qt Test.
    QString only;
    QList<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--class" && i + 1 < argc)
            only = QString::fromLocal8Bit(argv[++i]);
        else
            args << argv[i];
    }
    int failed = 0;
    for (const auto& factory : factories()) {
        std::unique_ptr<QObject> test(factory());
        if (only.isEmpty() || only == test->metaObject()->className())
            failed += QTest::qExec(test.get(), int(args.size()), args.data());
    }
    return failed == 0 ? 0 : 1;
}
