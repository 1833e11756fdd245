#include "simulation/simulator.h"
#include "testsuite.h"

#include <QTest>

// The turning itself, which needs no drawing.
class SimulatorTest : public QObject {
    Q_OBJECT
    QList<QImage> lights{QImage(1, 16, QImage::Format_ARGB32)};

private slots:
    void turning()
    {
        Simulator simulator(256, 240, 13, 180, 16, &lights);
        QCOMPARE(simulator.size(), QSize(512, 512));
        // Stopping a view that never drew must not touch OpenGL.
        simulator.stop();
        QCOMPARE(simulator.textureCount(), 0);
        // The columns cycle through one more than their count.
        simulator.updateAngle();
        QCOMPARE(simulator.getColumn(), 180.0);
        for (int i = 1; i < 181; ++i)
            simulator.updateAngle();
        QCOMPARE(simulator.getColumn(), 0.0);
        // At about 17 mph the picture stands still; the angle grows past a full turn.
        simulator.setSpeed(17.06);
        QVERIFY(qAbs(181 * simulator.getSweepStep() - 360) < 0.1);
        const double start = simulator.getSweepAngle();
        for (int i = 0; i < 181; ++i)
            simulator.updateAngle();
        QVERIFY(qAbs(simulator.getSweepAngle() - start - 181 * simulator.getSweepStep()) < 1e-9);
        simulator.setSpeed(0);
        const double still = simulator.getSweepAngle();
        simulator.updateAngle();
        QCOMPARE(simulator.getSweepAngle(), still);
        Simulator backwards(256, 240, 13, 180, 16, &lights);
        backwards.setSpeed(-1);
        backwards.updateAngle();
        QVERIFY(backwards.getSweepAngle() > 359);
    }

    void packagesWithoutThreeLightsLeaveBarsUnlit()
    {
        Simulator simulator(256, 240, 13, 180, 16, &lights);
        QCOMPARE(simulator.getColorIndex(), (QList<int>{0, 0, 0}));
        simulator.setColor({2, 1, 0, 5});
        QCOMPARE(simulator.getColorIndex(), (QList<int>{2, 1, 0}));
        simulator.setColor({});
        QCOMPARE(simulator.getColorIndex(), (QList<int>{-1, -1, -1}));
    }
};

RIMGLOW_TEST(SimulatorTest)
#include "tst_simulator.moc"
