#include "modalanswerer.h"
#include "model/wheelweb.h"
#include "resources/hiddenfile.h"
#include "testsuite.h"
#include "transfer/d2xx/devicenode.h"
#include "transfer/donglethread.h"
#include "transfer/frameencoder.h"
#include "transfer/transmitter.h"
#include "wheelprocess.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Pictures of random ink at the sampling points of a 16 x 8 wheel, encoded.
QMap<int, QByteArray> frames(const QList<int>& wanted)
{
    const WheelWeb web(16, 8, 80, 16);
    QMap<int, QPixmap> pictures;
    for (int slot : wanted) {
        QImage picture(512, 512, QImage::Format_ARGB32);
        picture.fill(0);
        for (const QPointF& c : web.getCenters())
            if (QRandomGenerator::global()->bounded(2))
                picture.setPixel(int(c.x()), int(c.y()), qRgba(0, 0, 0, 255));
        pictures.insert(slot, QPixmap::fromImage(picture));
    }
    return FrameEncoder::encodeAll(pictures, web, false, 0, 360);
}

const QString silence = "The wheel does not answer. Please check that its light is switched on "
                        "and close to the dongle.";

} // namespace

class TransmitterTest : public QObject {
    Q_OBJECT
    QWidget window;

private slots:
    void initTestCase()
    {
        HiddenFile::write("language", "en");
        window.resize(200, 100);
    }
    void init()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    // Slots 0, 1, 2 and 5 to a wheel model of three pictures.
    void storesTheSlotsTheWheelHas_data()
    {
        QTest::addColumn<bool>("hall");
        QTest::addColumn<int>("clicks");
        QTest::newRow("plain") << false << 1;
        // Message 4 (click, identity, click, store) is lost; Retry stores slot 0 again.
        QTest::newRow("hall sensor, a store lost") << true << 5;
    }
    void storesTheSlotsTheWheelHas()
    {
        QFETCH(bool, hall);
        QFETCH(int, clicks);
        WheelProcess wheel({"--size", "16x8", "--drop", hall ? "4" : "0"});
        Transmitter transmitter({{"D12", 3}, {"D08", 8}}, hall, &window);
        const QMap<int, QByteArray> data = frames({0, 1, 2, 5});
        QStringList labels;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (labels.isEmpty() || labels.last() != transmitter.labelText())
                labels << transmitter.labelText();
        });
        poll.start(2);
        ModalAnswerer answerer({"Retry"});
        transmitter.saveImage(data);
        QVERIFY(transmitter.isVisible() && !window.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!transmitter.isVisible(), 15000);
        QVERIFY(window.isVisible());
        QCOMPARE(answerer.texts, hall ? QStringList{"Transfer failed"} : QStringList());
        QCOMPARE(labels, (QStringList{"Send to Wheel", "Storing picture 1", "Storing picture 2",
                                      "Storing picture 3"}));
        for (int slot : {0, 1, 2})
            QCOMPARE(wheel.storedFrame(slot), data[slot]);
        QCOMPARE(wheel.storedFrame(5), QByteArray());
        const QString log = wheel.errors();
        QCOMPARE(log.count("store request for slot 0"), 1);
        // A wheel with a hall sensor is woken before every store, the retried one too.
        QCOMPARE(log.count("rimglow-wheel: click"), clicks);
        QCOMPARE(log.count("click\nrimglow-wheel: store request"), hall ? 3 : 0);
    }

    void failuresAreShownWithTheirCause_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown wheel") << QStringList{"--id", "ZZZ"} << silence;
        QTest::newRow("silent wheel") << QStringList{"--silent"} << silence;
        QTest::newRow("no dongle") << QStringList() << "Please check the USB dongle.";
        QTest::newRow("store not confirmed") << QStringList{"--wrong-crc"} << "Transfer failed";
        QTest::newRow("dongle refused") << QStringList{"refused"} << "no permission";
        QTest::newRow("nothing the wheel has") << QStringList{"--size", "16x8"} << "";
    }
    void failuresAreShownWithTheirCause()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        std::unique_ptr<WheelProcess> wheel;
        if (options.isEmpty())
            qputenv(DeviceNode::variable, "/nonexistent/rimglow-dongle");
        else if (options != QStringList{"refused"})
            wheel = std::make_unique<WheelProcess>(options + QStringList{"--size", "16x8"});
        Transmitter transmitter({{"D12", 4}}, false, &window);
        ModalAnswerer answerer({"Cancel"});
        if (wheel || options.isEmpty())
            transmitter.saveImage(frames(message.isEmpty() ? QList<int>{4, 7} : QList<int>{0, 1}));
        else
            transmitter.showError(DongleThread::DONGLE_ACCESS);
        QTRY_VERIFY_WITH_TIMEOUT(!transmitter.isVisible(), 5000);
        qunsetenv(DeviceNode::variable);
        QVERIFY(window.isVisible());
        QCOMPARE(answerer.texts.size(), message.isEmpty() ? 0 : 1);
        if (message.isEmpty()) {
            QVERIFY(wheel->errors().contains("identity request"));
            QCOMPARE(wheel->storedFrame(4), QByteArray());
            return;
        }
        QVERIFY2(answerer.texts[0].contains(message), qPrintable(answerer.texts[0]));
        QCOMPARE(answerer.titles, QStringList{"Transfer failed"});
    }

    // Cancelled in the middle of an exchange and sent again at once: the old exchange ends on
    // the line, unannounced, before the new transfer's identity request goes out.
    void sendingAgainWaitsForTheCancelledExchange_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("storesOfSlot0");
        QTest::newRow("identity") << QStringList{"--delay", "700"} << 1;
        QTest::newRow("store") << QStringList{"--paced"} << 2;
    }
    void sendingAgainWaitsForTheCancelledExchange()
    {
        QFETCH(QStringList, options);
        QFETCH(int, storesOfSlot0);
        WheelProcess wheel(options + QStringList{"--size", "16x8"});
        Transmitter transmitter({{"D12", 4}}, false, &window);
        const QMap<int, QByteArray> data = frames({0, 1});
        ModalAnswerer answerer;
        transmitter.saveImage(data);
        if (storesOfSlot0 == 2) {
            const QString connecting = transmitter.labelText();
            QTRY_VERIFY_WITH_TIMEOUT(transmitter.labelText() != connecting, 5000);
        }
        // The store starts 100 ms after its label and takes about 230 ms on the paced line.
        QTest::qWait(200);
        transmitter.close();
        QVERIFY(window.isVisible());
        transmitter.saveImage(data);
        QTRY_VERIFY_WITH_TIMEOUT(!transmitter.isVisible(), 15000);
        QCOMPARE(answerer.texts, QStringList());
        QCOMPARE(wheel.storedFrame(0), data[0]);
        QCOMPARE(wheel.storedFrame(1), data[1]);
        const QString reports = wheel.errors();
        QVERIFY2(!reports.contains("line error"), qPrintable(reports));
        QCOMPARE(reports.count("store request for slot 0"), storesOfSlot0);
    }

    void versionCheckShowsTheWheelVersion()
    {
        WheelProcess wheel({"--id", "D18"});
        Transmitter transmitter({{"D18", 4}}, false, &window);
        ModalAnswerer answerer;
        transmitter.checkVersion();
        QTRY_VERIFY_WITH_TIMEOUT(!answerer.texts.isEmpty(), 5000);
        QCOMPARE(answerer.texts, QStringList{"Wheel version : 8"});
        QCOMPARE(answerer.titles, QStringList{"Rimglow"});
        QVERIFY(!transmitter.isVisible());
    }
};

RIMGLOW_TEST(TransmitterTest)
#include "tst_transmitter.moc"
