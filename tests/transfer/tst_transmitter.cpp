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

const int lines = 16, leds = 8;

// Pictures of random ink, encoded; the wheel's own decoding of what it stored is compared with
// the cells the pictures light at their sampling points.
QMap<int, QByteArray> frames(const QList<int>& wanted, QMap<int, QList<int>>* litCells)
{
    const WheelWeb web(lines, leds, 80, 16);
    QMap<int, QPixmap> pictures;
    for (int slot : wanted) {
        QImage picture(512, 512, QImage::Format_ARGB32);
        picture.fill(0);
        QList<int> lit;
        for (int cell = 0; cell < web.getCenters().size(); ++cell) {
            if (QRandomGenerator::global()->bounded(2)) {
                const QPointF c = web.getCenters()[cell];
                picture.setPixel(int(c.x()), int(c.y()), qRgba(0, 0, 0, 255));
                lit << cell;
            }
        }
        (*litCells)[slot] = lit;
        pictures.insert(slot, QPixmap::fromImage(picture));
    }
    return FrameEncoder::encodeAll(pictures, web, false, 0, 360);
}

QList<int> decode(const QByteArray& frame)
{
    QList<int> lit;
    for (int i = 0; i < frame.size() * 8 && i < lines * leds; ++i)
        if (quint8(frame[i / 8]) & (0x80 >> (i % 8)))
            lit << i;
    return lit;
}

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

    void storesTheSlotsTheWheelHas()
    {
        WheelProcess wheel({"--size", "16x8", "--id", "D12"});
        QVERIFY(wheel.isRunning());
        Transmitter transmitter({{"D12", 3}, {"D08", 8}}, false, &window);
        QMap<int, QList<int>> lit;
        const QMap<int, QByteArray> data = frames({0, 1, 2, 5}, &lit);
        QStringList labels;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            const QString text = transmitter.labelText();
            if (labels.isEmpty() || labels.last() != text)
                labels << text;
        });
        poll.start(2);
        ModalAnswerer answerer;
        transmitter.saveImage(data);
        QVERIFY(transmitter.isVisible());
        QVERIFY(!window.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!transmitter.isVisible(), 15000);
        QVERIFY(window.isVisible());
        QCOMPARE(answerer.texts, QStringList());
        QCOMPARE(labels, (QStringList{"Send to Wheel", "Storing picture 1", "Storing picture 2",
                                      "Storing picture 3"}));
        for (int slot : {0, 1, 2}) {
            QCOMPARE(wheel.storedFrame(slot), data[slot]);
            QCOMPARE(decode(wheel.storedFrame(slot)), lit[slot]);
        }
        QCOMPARE(wheel.storedFrame(5), QByteArray());
        QVERIFY(!wheel.errors().contains("click\nrimglow-wheel: store"));
    }

    void nothingToStoreClosesAfterTheIdentity()
    {
        WheelProcess wheel({"--size", "16x8"});
        Transmitter transmitter({{"D12", 2}}, false, &window);
        QMap<int, QList<int>> lit;
        transmitter.saveImage(frames({4, 7}, &lit));
        QTRY_VERIFY_WITH_TIMEOUT(!transmitter.isVisible(), 5000);
        QVERIFY(window.isVisible());
        QVERIFY(wheel.errors().contains("identity request"));
        QCOMPARE(wheel.storedFrame(4), QByteArray());
    }

    void failuresAreShownWithTheirCause_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown wheel") << QStringList{"--id", "ZZZ"}
                                       << "The wheel does not answer. Please check that its "
                                          "light is switched on and close to the dongle.";
        QTest::newRow("silent wheel") << QStringList{"--silent"}
                                      << "The wheel does not answer. Please check that its "
                                         "light is switched on and close to the dongle.";
        QTest::newRow("no dongle") << QStringList() << "Please check the USB dongle.";
        QTest::newRow("store not confirmed") << QStringList{"--wrong-crc"} << "Transfer failed";
    }

    void failuresAreShownWithTheirCause()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        std::unique_ptr<WheelProcess> wheel;
        if (options.isEmpty())
            qputenv(DeviceNode::variable, "/nonexistent/rimglow-dongle");
        else
            wheel = std::make_unique<WheelProcess>(options + QStringList{"--size", "16x8"});
        Transmitter transmitter({{"D12", 4}}, false, &window);
        QMap<int, QList<int>> lit;
        ModalAnswerer answerer({"Cancel"});
        transmitter.saveImage(frames({0, 1}, &lit));
        QTRY_VERIFY_WITH_TIMEOUT(!answerer.texts.isEmpty(), 5000);
        QCOMPARE(answerer.texts, QStringList{message});
        QCOMPARE(answerer.titles, QStringList{"Transfer failed"});
        QTRY_VERIFY(!transmitter.isVisible());
        QVERIFY(window.isVisible());
        qunsetenv(DeviceNode::variable);
    }

    void refusedDongleNamesTheUdevRule()
    {
        Transmitter transmitter({{"D12", 4}}, false, &window);
        ModalAnswerer answerer({"Cancel"});
        transmitter.showError(DongleThread::DONGLE_ACCESS);
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts[0].contains("no permission"));
        QVERIFY(answerer.texts[0].contains("70-rimglow-dongle.rules"));
        QVERIFY(!transmitter.isVisible());
    }

    void retryStoresTheSameSlotAgain()
    {
        // Message 1 is the click, 2 the identity request, 3 the first store: it gets no answer.
        WheelProcess wheel({"--size", "16x8", "--drop", "3"});
        Transmitter transmitter({{"D12", 4}}, false, &window);
        QMap<int, QList<int>> lit;
        const QMap<int, QByteArray> data = frames({0, 1}, &lit);
        ModalAnswerer answerer({"Retry"});
        transmitter.saveImage(data);
        QTRY_VERIFY_WITH_TIMEOUT(!transmitter.isVisible(), 15000);
        QCOMPARE(answerer.texts, QStringList{"Transfer failed"});
        QCOMPARE(wheel.storedFrame(0), data[0]);
        QCOMPARE(wheel.storedFrame(1), data[1]);
        QCOMPARE(wheel.errors().count("store request for slot 0"), 1);
    }

    void closingDuringAnExchangeSaysNothingAndTheNextTransferRuns()
    {
        WheelProcess wheel({"--size", "16x8", "--delay", "700"});
        Transmitter transmitter({{"D12", 4}}, false, &window);
        QMap<int, QList<int>> lit;
        const QMap<int, QByteArray> data = frames({0}, &lit);
        ModalAnswerer answerer;
        transmitter.saveImage(data);
        QTest::qWait(200);
        transmitter.close();
        QVERIFY(window.isVisible());
        // Started while the stopped identity exchange still waits for its answer.
        transmitter.saveImage(data);
        QTRY_VERIFY_WITH_TIMEOUT(!transmitter.isVisible(), 15000);
        QCOMPARE(answerer.texts, QStringList());
        QCOMPARE(wheel.storedFrame(0), data[0]);
    }

    // Cancelled in the middle of a store and sent again at once: the old store ends on the
    // line before the new transfer's identity request goes out.
    void sendingAgainWaitsForTheCancelledStore()
    {
        WheelProcess wheel({"--paced", "--size", "16x8"});
        Transmitter transmitter({{"D12", 4}}, false, &window);
        QMap<int, QList<int>> lit;
        const QMap<int, QByteArray> data = frames({0, 1}, &lit);
        ModalAnswerer answerer;
        transmitter.saveImage(data);
        const QString connecting = transmitter.labelText();
        QTRY_VERIFY_WITH_TIMEOUT(transmitter.labelText() != connecting, 5000);
        // The store starts 100 ms later and takes about 230 ms on the paced line.
        QTest::qWait(200);
        transmitter.close();
        transmitter.saveImage(data);
        QTRY_VERIFY_WITH_TIMEOUT(!transmitter.isVisible(), 15000);
        QCOMPARE(answerer.texts, QStringList());
        QCOMPARE(wheel.storedFrame(0), data[0]);
        QCOMPARE(wheel.storedFrame(1), data[1]);
        const QString reports = wheel.errors();
        QVERIFY2(!reports.contains("line error"), qPrintable(reports));
        QCOMPARE(reports.count("store request for slot 0"), 2);
    }

    void hallWheelsAreWokenBeforeEveryStore()
    {
        WheelProcess wheel({"--size", "16x8"});
        Transmitter transmitter({{"D12", 4}}, true, &window);
        QMap<int, QList<int>> lit;
        transmitter.saveImage(frames({0, 1, 2}, &lit));
        QTRY_VERIFY_WITH_TIMEOUT(!transmitter.isVisible(), 15000);
        const QString log = wheel.errors();
        // One click before the identity request, one before each store.
        QCOMPARE(log.count("rimglow-wheel: click"), 4);
        QCOMPARE(log.count("click\nrimglow-wheel: store request"), 3);
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
