#include "scripteddongle.h"
#include "testsuite.h"
#include "virtualwheel.h"

#include <QTest>

namespace {

QByteArray line(const QByteArray& message)
{
    return ScriptedDongle().package(message);
}

QByteArray storeRequest(int slot, const QByteArray& frame)
{
    return "SAv" + frame + QByteArray(1, char(slot));
}

} // namespace

class VirtualWheelTest : public QObject {
    Q_OBJECT
private slots:
    void answersIdentityAndStores()
    {
        // 10 x 3 cells make a frame of four bytes.
        VirtualWheel wheel("D08", 10, 3, 80, 16);
        QCOMPARE(wheel.getFrameSize(), 4);
        QCOMPARE(wheel.receive(line(QByteArray(1, '\0'))), QList<QByteArray>());
        QCOMPARE(wheel.receive(line("ID")), QList<QByteArray>{QByteArray("D08\0\0\0\0", 7)});
        const QByteArray frame("\x80\x00\xff\x11", 4);
        const QList<QByteArray> replies = wheel.receive(line(storeRequest(7, frame)));
        QCOMPARE(replies, QList<QByteArray>{QByteArray(1, ScriptedDongle().crc(frame))});
        QCOMPARE(wheel.getFrames(), (QMap<int, QByteArray>{{7, frame}}));
    }

    void messagesMayArriveInPieces()
    {
        VirtualWheel wheel("D12", 8, 8, 80, 16);
        const QByteArray whole = line("ID") + line(storeRequest(1, QByteArray(8, 'z')));
        QList<QByteArray> replies;
        for (int i = 0; i < whole.size(); i += 100)
            replies += wheel.receive(whole.mid(i, 100));
        QCOMPARE(replies.size(), 2);
        QCOMPARE(wheel.getFrames().value(1), QByteArray(8, 'z'));
    }

    void brokenAndUnknownMessagesAreDropped()
    {
        VirtualWheel wheel("D12", 8, 8, 80, 16);
        QByteArray broken = line("ID");
        broken[500] = char(0x55);
        QVERIFY(wheel.receive(broken).isEmpty());
        // Nothing more is taken until the line goes quiet.
        QVERIFY(wheel.receive(line("ID")).isEmpty());
        wheel.idle();
        QCOMPARE(wheel.receive(line("ID")).size(), 1);
        QVERIFY(wheel.receive(line("IX")).isEmpty());
        wheel.idle();
        QVERIFY(wheel.receive(line("Q")).isEmpty());
        wheel.idle();
        QVERIFY(wheel.receive(line("SAx")).isEmpty());
        wheel.idle();
        QVERIFY(wheel.receive(line("SAv123")).isEmpty());
        wheel.idle();
        QVERIFY(wheel.getFrames().isEmpty());
        QCOMPARE(wheel.receive(line("ID")).size(), 1);
        QVERIFY(wheel.reports.filter("incomplete").size() == 1);
    }

    void faults()
    {
        const QByteArray frame(8, 'a');
        VirtualWheel wrong("D12", 8, 8, 80, 16);
        wrong.setFaults({false, false, true, 0});
        QCOMPARE(wrong.receive(line(storeRequest(0, frame))),
                 QList<QByteArray>{QByteArray(1, char(ScriptedDongle().crc(frame) ^ 0xFF))});

        VirtualWheel shortReply("D12", 8, 8, 80, 16);
        shortReply.setFaults({false, true, false, 0});
        QCOMPARE(shortReply.receive(line("ID")), QList<QByteArray>{QByteArray("D12\0\0\0", 6)});
        QVERIFY(shortReply.receive(line(storeRequest(0, frame))).isEmpty());

        VirtualWheel silent("D12", 8, 8, 80, 16);
        silent.setFaults({true, false, false, 0});
        QVERIFY(silent.receive(line("ID")).isEmpty());
        QVERIFY(silent.receive(line(storeRequest(0, frame))).isEmpty());
        QVERIFY(silent.getFrames().isEmpty());

        VirtualWheel dropping("D12", 8, 8, 80, 16);
        dropping.setFaults({false, false, false, 2});
        QCOMPARE(dropping.receive(line("ID")).size(), 1);
        QVERIFY(dropping.receive(line(storeRequest(4, frame))).isEmpty());
        QVERIFY(dropping.getFrames().isEmpty());
        QCOMPARE(dropping.receive(line(storeRequest(4, frame))).size(), 1);
    }
};

RIMGLOW_TEST(VirtualWheelTest)
#include "tst_virtualwheel.moc"
