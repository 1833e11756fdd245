#include "linedecoder.h"
#include "scripteddongle.h"
#include "testsuite.h"

#include <QTest>

namespace {

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
    void decodesWhatTheDongleCodes()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        LineDecoder decoder;
        QCOMPARE(feed(&decoder, ScriptedDongle().package(all)), QString());
        QCOMPARE(decoder.takeBytes(), all);
        QVERIFY(decoder.atByteBoundary());
    }

    void reportsBrokenLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("error");
        const QByteArray good = ScriptedDongle().package("I");
        QByteArray broken = good;
        broken[40] = char(0xF0);
        QTest::newRow("broken run") << broken << "at line byte 41: run broken after 8 of 32 bytes";
        QByteArray noSymbol = good;
        noSymbol[64] = 'x';
        QTest::newRow("no symbol") << noSymbol << "at line byte 65: line byte 0x78 is no symbol";
        QByteArray parity = good;
        parity.replace(9 * 32, 32, QByteArray(32, char(0x55)));
        QTest::newRow("parity") << parity << "at line byte 320: parity error";
        QTest::newRow("start") << QByteArray(32, char(0x55))
                               << "at line byte 32: start symbol is 1";
        QByteArray stop = good;
        stop.replace(12 * 32, 32, QByteArray(32, char(0xF0)));
        QTest::newRow("stop") << stop << "at line byte 416: stop symbol is 0";
    }

    void reportsBrokenLines()
    {
        QFETCH(QByteArray, line);
        LineDecoder decoder;
        QTEST(feed(&decoder, line), "error");
        QVERIFY(decoder.takeBytes().isEmpty());
    }

    void partialBytesAreNotBoundaries()
    {
        LineDecoder decoder;
        const QByteArray line = ScriptedDongle().package("ID");
        QCOMPARE(feed(&decoder, line.left(448 + 100)), QString());
        QCOMPARE(decoder.takeBytes(), QByteArray("I"));
        QVERIFY(!decoder.atByteBoundary());
        decoder.reset();
        QVERIFY(decoder.atByteBoundary());
    }
};

RIMGLOW_TEST(LineDecoderTest)
#include "tst_linedecoder.moc"
