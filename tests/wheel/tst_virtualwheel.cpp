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
        for (const QByteArray& unknown :
             {QByteArray("IX"), QByteArray("Q"), QByteArray("SAv123")}) {
            QVERIFY(wheel.receive(line(unknown)).isEmpty());
            wheel.idle();
        }
        QVERIFY(wheel.getFrames().isEmpty());
        QCOMPARE(wheel.receive(line("ID")).size(), 1);
        QVERIFY(wheel.reports.filter("incomplete").size() == 1);
    }

    // Silent, short reply, wrong CRC, the second message dropped: the identity answer, the
    // store's confirmation, and whether the frame was kept.
    void faults()
    {
        const QByteArray id = QByteArray("D12\0\0\0\0", 7);
        const QByteArray store = line(storeRequest(4, QByteArray(8, 'a')));
        const char crc = ScriptedDongle().crc(QByteArray(8, 'a'));
        const QList<QList<QByteArray>> expected{{{}, {}, "-"},
                                                {id.left(6), {}, "kept"},
                                                {id, QByteArray(1, char(crc ^ 0xFF)), "kept"},
                                                {id, {}, "-"}};
        for (int fault = 0; fault < 4; ++fault) {
            VirtualWheel wheel("D12", 8, 8, 80, 16);
            wheel.setFaults({fault == 0, fault == 1, fault == 2, fault == 3 ? 2 : 0});
            QCOMPARE(wheel.receive(line("ID")).value(0), expected[fault][0]);
            QCOMPARE(wheel.receive(store).value(0), expected[fault][1]);
            QCOMPARE(wheel.getFrames().contains(4), expected[fault][2] == "kept");
        }
    }
};

RIMGLOW_TEST(VirtualWheelTest)
#include "tst_virtualwheel.moc"
