#include "testsuite.h"
#include "transfer/storeestimate.h"

#include <QTest>

// A 512-byte frame takes 6.120 s on the line with its 100 ms rest, and 112 ms more with the
// click and its pause that wake a wheel with a hall sensor.
class StoreEstimateTest : public QObject {
    Q_OBJECT

private slots:
    void progress_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("frameBytes");
        QTest::addColumn<bool>("hall");
        QTest::addColumn<int>("done");
        QTest::addColumn<double>("intoStore");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<double>("left");
        QTest::newRow("one store") << 1 << 512 << false << 0 << 0.0 << 0.0 << 6.1204;
        QTest::newRow("with hall") << 1 << 512 << true << 0 << 0.0 << 0.0 << 6.2320;
        QTest::newRow("small frame") << 1 << 16 << false << 0 << 0.0 << 0.0 << 0.3429;
        QTest::newRow("halfway into the first of four")
            << 4 << 512 << false << 0 << 3.0602 << 0.125 << 21.4213;
        // Late, but not done before the wheel confirms it.
        QTest::newRow("overdue") << 2 << 512 << false << 0 << 20.0 << 0.475 << 6.4264;
        QTest::newRow("one of two confirmed") << 2 << 512 << false << 1 << 0.0 << 0.5 << 6.1204;
        QTest::newRow("all confirmed") << 2 << 512 << false << 2 << 9.0 << 1.0 << 0.0;
        QTest::newRow("nothing to store") << 0 << 512 << false << 0 << 0.0 << 1.0 << 0.0;
    }

    void progress()
    {
        QFETCH(int, count);
        QFETCH(int, frameBytes);
        QFETCH(bool, hall);
        QFETCH(int, done);
        QFETCH(double, intoStore);
        QFETCH(double, fraction);
        QFETCH(double, left);
        const StoreEstimate estimate(count, frameBytes, hall);
        QVERIFY2(qAbs(estimate.fraction(done, intoStore) - fraction) < 1e-4,
                 qPrintable(QString::number(estimate.fraction(done, intoStore))));
        QVERIFY2(qAbs(estimate.secondsLeft(done, intoStore) - left) < 1e-3,
                 qPrintable(QString::number(estimate.secondsLeft(done, intoStore))));
    }
};

RIMGLOW_TEST(StoreEstimateTest)
#include "tst_storeestimate.moc"
