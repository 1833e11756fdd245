#include "testsuite.h"

#include <QApplication>
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
    QApplication application(argc, argv);
    // State files of the tests go to a folder of their own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    int failed = 0;
    for (const auto& factory : factories()) {
        std::unique_ptr<QObject> test(factory());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
