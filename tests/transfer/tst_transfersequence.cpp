#include "scripteddongle.h"
#include "testsuite.h"
#include "transfer/transfersequence.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using Answers = QMap<int, ScriptedWheel::Answer>;

namespace {

QByteArray frame(int slot)
{
    return QByteArray(16, char('a' + slot));
}

// A confirmation that does not match the slot's frame.
ScriptedWheel::Answer wrongCrc(int slot)
{
    return {QByteArray(1, char(ScriptedWheel().factory()()->crc(frame(slot)) ^ 1))};
}

const QByteArray d12("D12\0\0\0\0", 7);

// What a sequence says, a line for each signal.
void record(TransferSequence* sequence, QStringList* said)
{
    QObject::connect(sequence, &TransferSequence::identified,
                     [said](const QString& code, int capacity, const QList<int>& leftOut) {
                         QStringList out;
                         for (int slot : leftOut)
                             out << QString::number(slot);
                         *said << QString("identified %1 %2").arg(code).arg(capacity) +
                                      (out.isEmpty() ? "" : " left out " + out.join(','));
                     });
    QObject::connect(sequence, &TransferSequence::storing,
                     [said](int slot) { *said << QString("storing %1").arg(slot); });
    QObject::connect(sequence, &TransferSequence::confirmed,
                     [said](int slot) { *said << QString("confirmed %1").arg(slot); });
    QObject::connect(sequence, &TransferSequence::failed, [said](TransferError error) {
        *said << QString("failed %1").arg(int(error));
    });
    QObject::connect(sequence, &TransferSequence::finished,
                     [said](int stored) { *said << QString("finished %1").arg(stored); });
}

} // namespace

// The transfer sequence on its worker threads, against a scripted wheel handed in through the
// dongle factory.
class TransferSequenceTest : public QObject {
    Q_OBJECT
private slots:
    void runs_data()
    {
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<bool>("hall");
        QTest::addColumn<QList<int>>("frameSlots");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<int>("retries");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("said");
        const auto row = [](const char* name, const QByteArray& identity, bool hall,
                            const QList<int>& frameSlots, const Answers& answers, int retries,
                            const char* messages, const char* said) {
            QTest::newRow(name) << identity << hall << frameSlots << answers << retries
                                << QString(messages).split(", ") << QString(said).split(", ");
        };
        const Answers none;
        const ScriptedWheel::Answer silent{QByteArray(), Dongle_::RECEIVE_FAILED};

        row("check", d12, false, {}, none, 0, "click, identity", "identified D12 3, finished 0");
        row("slots beyond the capacity left out", d12, false, {0, 1, 2, 5}, none, 0,
            "click, identity, store 0, store 1, store 2",
            "identified D12 3 left out 5, storing 0, confirmed 0, storing 1, confirmed 1, "
            "storing 2, confirmed 2, finished 3");
        row("nothing the wheel has", QByteArray("D08\0\0\0\0", 7), false, {8, 9}, none, 0,
            "click, identity", "identified D08 8 left out 8,9, finished 0");
        row("hall sensor: a click before each store", d12, true, {1, 2}, none, 0,
            "click, identity, click, store 1, click, store 2",
            "identified D12 3, storing 1, confirmed 1, storing 2, confirmed 2, finished 2");
        row("unknown wheel", QByteArray("X99\0\0\0\0", 7), false, {0}, none, 0, "click, identity",
            "failed 4");
        row("wrong crc on the second store", d12, false, {0, 1, 2}, {{2, wrongCrc(1)}}, 0,
            "click, identity, store 0, store 1",
            "identified D12 3, storing 0, confirmed 0, storing 1, failed 2");
        row("retry repeats the failed store", d12, true, {0, 1, 2}, {{2, wrongCrc(1)}}, 1,
            "click, identity, click, store 0, click, store 1, click, store 1, click, store 2",
            "identified D12 3, storing 0, confirmed 0, storing 1, failed 2, confirmed 1, "
            "storing 2, confirmed 2, finished 3");
        row("retry asks the identity again", d12, false, {0}, {{0, silent}}, 1,
            "click, identity, click, identity, store 0",
            "failed 1, identified D12 3, storing 0, confirmed 0, finished 1");
        // The status of the identity exchange tells the cause; a store that fails for any of
        // them is not confirmed.
        for (const auto& [status, error] :
             QList<QPair<Dongle_::ERROR, int>>{{Dongle_::NOT_FOUND, 0},
                                               {Dongle_::SEND_FAILED, 0},
                                               {Dongle_::RECEIVE_FAILED, 1},
                                               {Dongle_::NO_ACCESS, 3}}) {
            const QByteArray identityFailed = "failed " + QByteArray::number(error);
            row(qPrintable(QString("identity status %1").arg(status)), d12, false, {0},
                {{0, {QByteArray(), status}}}, 0, "click, identity", identityFailed.constData());
            row(qPrintable(QString("store status %1").arg(status)), d12, false, {0},
                {{1, {QByteArray(), status}}}, 0, "click, identity, store 0",
                "identified D12 3, storing 0, failed 2");
        }
    }

    // Every exchange but the first identity request follows a rest of 100 ms.
    void runs()
    {
        QFETCH(QByteArray, identity);
        QFETCH(bool, hall);
        QFETCH(QList<int>, frameSlots);
        QFETCH(Answers, answers);
        QFETCH(int, retries);
        ScriptedWheel wheel(identity);
        wheel.answers = answers;
        QStringList said;
        TransferSequence sequence({{"D12", 3}, {"D08", 8}}, hall, wheel.factory());
        record(&sequence, &said);
        bool ended = false;
        connect(&sequence, &TransferSequence::finished, this, [&] { ended = true; });
        connect(&sequence, &TransferSequence::failed, this, [&] {
            if (retries-- > 0)
                sequence.retry();
            else
                ended = true;
        });
        QMap<int, QByteArray> frames;
        for (int slot : frameSlots)
            frames.insert(slot, frame(slot));
        QElapsedTimer clock;
        clock.start();
        if (frames.isEmpty())
            sequence.check();
        else
            sequence.send(frames);
        QTRY_VERIFY_WITH_TIMEOUT(ended, 5000);
        const QStringList messages = wheel.messages();
        QTEST(messages, "messages");
        QTEST(said, "said");
        // A wheel with a hall sensor is also given a quiet moment of 100 ms between the click
        // and the store. A coarse timer may fire up to 5 % early.
        const qsizetype pauses = messages.size() - messages.count("click") - 1 +
                                 (hall ? messages.filter("store").size() : 0);
        QVERIFY(clock.elapsed() >= 90 * pauses);
    }

    // A worker stopped during its run says nothing of it: here the stop comes as the run makes
    // its dongle.
    void stoppedWorkerSaysNothing()
    {
        ScriptedWheel wheel(d12);
        for (const bool stop : {false, true}) {
            VersionThread worker([&] {
                if (stop)
                    worker.stop();
                return wheel.factory()();
            });
            QSignalSpy answered(&worker, &VersionThread::showVersion);
            worker.start();
            QVERIFY(worker.wait(5000));
            QCOMPARE(answered.count(), stop ? 0 : 1);
        }
    }

    // A cancelled transfer says no more, even when its last result was already on its way;
    // sent again at once, the new transfer runs whole. Cancelled in the rest before a store,
    // that store never goes out.
    void cancelledTransferSaysNoMore()
    {
        ScriptedWheel wheel(d12);
        QStringList said;
        TransferSequence sequence({{"D12", 3}}, false, wheel.factory());
        record(&sequence, &said);
        sequence.send({{0, frame(0)}});
        // Without the event loop, so the identity's answer waits in the queue.
        while (wheel.messages().size() < 2)
            QThread::msleep(1);
        QThread::msleep(200);
        sequence.cancel();
        sequence.send({{0, frame(0)}, {1, frame(1)}});
        connect(&sequence, &TransferSequence::storing, &sequence, [&](int slot) {
            if (slot == 1)
                sequence.cancel();
        });
        QTRY_COMPARE_WITH_TIMEOUT(said.size(), 4, 5000);
        QTest::qWait(300);
        QCOMPARE(said, (QStringList{"identified D12 3", "storing 0", "confirmed 0", "storing 1"}));
        QCOMPARE(wheel.messages(),
                 (QStringList{"click", "identity", "click", "identity", "store 0"}));
    }
};

RIMGLOW_TEST(TransferSequenceTest)
#include "tst_transfersequence.moc"
