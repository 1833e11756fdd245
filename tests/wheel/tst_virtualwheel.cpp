#include "linedecoder.h"
#include "scripteddongle.h"
#include "testsuite.h"
#include "virtualwheel.h"

#include <QTest>

namespace {

QByteArray line(const QByteArray& message)
{
    return ScriptedWheel().factory()()->package(message);
}

// Feeds a whole line; the error text of the first failure, or empty.
QString feed(LineDecoder* decoder, const QByteArray& line)
{
    for (char byte : line)
        if (!decoder->feed(byte))
            return decoder->error();
    return QString();
}

} // namespace

class LineDecoderTest : public QObject {
    Q_OBJECT
private slots:
    // Every byte value, then part of one more: that part waits for the rest. Broken lines are
    // told apart.
    void decodes()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        LineDecoder decoder;
        QCOMPARE(feed(&decoder, line(all)), QString());
        QVERIFY(decoder.atByteBoundary());
        QCOMPARE(feed(&decoder, line("ID").left(100)), QString());
        QCOMPARE(decoder.takeBytes(), all);
        QVERIFY(!decoder.atByteBoundary());
        decoder.reset();
        QVERIFY(decoder.atByteBoundary());

        // The line of 'I' (0x49) with a piece replaced.
        const QList<std::tuple<int, QByteArray, QString>> cases{
            {40, "\xF0", "at line byte 41: run broken after 8 of 32 bytes"},
            {9 * 32, QByteArray(32, char(0x55)), "at line byte 320: parity error"},
            {12 * 32, QByteArray(32, char(0xF0)), "at line byte 416: stop symbol is 0"}};
        for (const auto& [at, piece, error] : cases) {
            decoder = LineDecoder();
            QCOMPARE(feed(&decoder, line("I").replace(at, piece.size(), piece)), error);
            QVERIFY(decoder.takeBytes().isEmpty());
        }
    }
};

class VirtualWheelTest : public QObject {
    Q_OBJECT

    static QByteArray storeRequest(int slot, const QByteArray& frame)
    {
        return line("SAv" + frame + QByteArray(1, char(slot)));
    }

private slots:
    // Broken and unknown messages are dropped. (Clicks, identity requests and stores arriving
    // in pieces are answered in every exchange of the dongle tests.)
    void answersAndDrops()
    {
        // 10 x 3 cells make a frame of four bytes.
        VirtualWheel wheel("D08", 10, 3, 80, 16);
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
        QCOMPARE(wheel.reports.filter("incomplete").size(), 1);
    }

    // Silent, short reply, wrong CRC, the second message dropped: the identity answer, the
    // store's confirmation, and whether the frame was kept.
    void faults()
    {
        const QByteArray id = QByteArray("D12\0\0\0\0", 7);
        const QByteArray store = storeRequest(4, QByteArray(8, 'a'));
        const char crc = ScriptedWheel().factory()()->crc(QByteArray(8, 'a'));
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

RIMGLOW_TEST(LineDecoderTest)
RIMGLOW_TEST(VirtualWheelTest)
#include "tst_virtualwheel.moc"
