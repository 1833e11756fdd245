#ifndef TESTSUITE_H
#define TESTSUITE_H

#include <functional>

class QObject;

// Collects the test classes of one test program, so a program can hold several of them.
namespace TestSuite {
int add(std::function<QObject*()> factory);
}

#define RIMGLOW_TEST(Class)                                                                        \
    static const int registered##Class = TestSuite::add([] { return new Class; });

#endif
