#include "model/wheelweb.h"
#include "product.h"
#include "testsuite.h"
#include "transfer/frameencoder.h"
#include "wheelprocess.h"

#include <QtGui>
#include <QtTest>

#ifndef Q_OS_WIN
#include "transfer/d2xx/devicenode.h"
#endif

namespace {

const QString gif = QStringLiteral(RIMGLOW_FIXTURES "/pictures/three-frames.gif");

// rimglow-send for a product (the demo one unless told), with the sender's arguments; what it
// says on either channel gathers in said.
struct Sender : QProcess {
    explicit Sender(const QStringList& arguments, const QStringList& product = Product::demo())
    {
        setProcessChannelMode(MergedChannels);
        start(QCoreApplication::applicationDirPath() + "/rimglow-send", product + arguments);
    }
    // The exit status, -1 when it crashed or hung.
    int finish()
    {
        closeWriteChannel();
        const bool ended = waitForFinished(30000) && exitStatus() == NormalExit;
        heard(QString());
        return ended ? exitCode() : -1;
    }
    // Lines end in "\n" here, as they do in the sender's own words; Windows writes "\r\n".
    bool heard(const QString& text)
    {
        said += QString::fromLocal8Bit(readAll()).remove('\r');
        return said.contains(text);
    }
    QString said;
};

QImage picture(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class SendCommandTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    // A design of the demo product as the program saves it: three pictures side by side, each
    // with a different part of the wheel inked.
    QString design = dir.filePath("three.DEMO");

private slots:
    void initTestCase()
    {
        QImage strip(3 * 512, 512, QImage::Format_ARGB32);
        strip.fill(Qt::transparent);
        QPainter painter(&strip);
        painter.fillRect(0, 0, 256, 512, Qt::black);
        painter.fillRect(512, 0, 512, 256, Qt::black);
        painter.fillRect(1024 + 300, 0, 212, 512, Qt::black);
        painter.end();
        QVERIFY(strip.save(design, "png"));
    }

    void outcomes_data()
    {
        // The virtual wheel's options after "--size 16x8" ("none": no dongle at all), the
        // arguments after the demo product, the exit status, a part of what the sender says and
        // the slots the wheel holds afterwards.
        QTest::addColumn<QString>("wheel");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        auto row = [](const char* name, const char* wheel, const char* arguments, int status,
                      const char* message, const char* stored = "") {
            QTest::newRow(name) << wheel << arguments << status << message << stored;
        };
        row("three frames", "", "GIF", 0, "slot 3 confirmed", "012");
        row("chosen slots", "", "--slots=3,1 GIF GIF", 2, "6 pictures for 2 slots");
        row("missing file", "", "--slots 3 GIFx", 3, "no such file");
        row("check", "", "--check", 0, "wheel D12, 3 pictures");
        row("no dongle", "none", "GIF", 4, "plug the USB dongle");
        // A short reply fails the same way in the transfer itself, which its own tests cover.
        row("silent", "--silent", "GIF", 6, "did not answer");
        row("unknown wheel", "--id X99", "--check", 6,
            "answered as X99, which this product "
            "does not know (it knows D12)");
        // Click, identity, first store: the second store is lost.
        row("lost store", "--drop 4", "GIF", 7,
            "confirmed before: slot 1\nrimglow-send: the wheel did not confirm slot 2 (no answer)",
            "0");
        row("wrong checksum", "--wrong-crc", "GIF", 7, "did not confirm slot 1 (wrong checksum)",
            "0");
        row("not a design", "", "FIXTURES/designs/unreadable/not-a-picture.DEMO", 3, "as a design");
        row("not a picture", "", "FIXTURES/fonts/truncated.bdf", 3, "as a picture");
        // The program's parser goes on after an unknown letter; the sender does not.
        row("bad product", "", "-d GIF", 2, "unknow argumentd\n");
        row("slot beyond the product", "", "--slots 4 GIF", 2, "beyond the product's 3");
        // A smaller model of the product takes what fits: chosen slots that do not fit are
        // refused before anything is stored; without a choice the rest is left out with a note.
        row("no room", "--id D08", "-v D08x1 --slots 1-2 DESIGN", 8, "has no slot 2");
        row("left out", "--id D08", "-v D08x1 DESIGN", 0, "slot 2, 3 left out", "0");
    }

    void outcomes()
    {
        QFETCH(QString, wheel);
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        std::unique_ptr<WheelProcess> light;
        if (wheel == "none") {
#ifndef Q_OS_WIN
            qputenv(DeviceNode::variable, "/nonexistent/rimglow-dongle");
#endif
        } else {
            light = std::make_unique<WheelProcess>(
                ("--size 16x8 " + wheel).split(' ', Qt::SkipEmptyParts));
        }
        QStringList words = arguments.split(' ');
        words.replaceInStrings("GIF", gif).replaceInStrings("DESIGN", design);
        Sender sender(words.replaceInStrings("FIXTURES", RIMGLOW_FIXTURES));
        const int result = sender.finish();
#ifndef Q_OS_WIN
        qunsetenv(DeviceNode::variable);
#endif
        QCOMPARE(result, status);
        QVERIFY2(sender.said.contains(message), qPrintable(sender.said));
        // The final report names exactly the confirmed slots, and only on success; different
        // pictures, such as the frames of the GIF, make different frames.
        QCOMPARE(sender.said.contains("stored in wheel"), status == 0 && !stored.isEmpty());
        QSet<QByteArray> frames{QByteArray()};
        for (int slot = 0; light && slot < 4; ++slot) {
            QCOMPARE(!light->storedFrame(slot).isEmpty(), stored.contains(QString::number(slot)));
            frames << light->storedFrame(slot);
        }
        QCOMPARE(frames.size() - 1, stored.size());
    }

    // A design's pictures go to their slots encoded as the program encodes them, turned by the
    // hall angle on a wheel with a sensor; the export shows exactly what the wheel lights.
    void sendsWhatTheProgramSends()
    {
        const QImage strip(design);
        const WheelWeb web(16, 8, 80, 16);
        for (const bool hall : {false, true}) {
            WheelProcess light({"--size", "16x8"});
            const QStringList product = Product::demo("DEMO", hall);
            const QStringList angle = hall ? QStringList{"--hall", "90"} : QStringList{};
            QCOMPARE(Sender(angle + QStringList{"--slots", "1,3", design}, product).finish(), 0);
            const QString folder = dir.filePath(hall ? "hall" : "plain");
            Sender exported(angle + QStringList{"--export", folder, design}, product);
            QCOMPARE(exported.finish(), 0);
            QVERIFY(light.storedFrame(1).isEmpty()); // the export sent nothing
            for (int slot : {0, 2}) {
                const QByteArray frame =
                    FrameEncoder::encode(strip.copy(slot * 512, 0, 512, 512), web.getCenters());
                QCOMPARE(light.storedFrame(slot),
                         hall ? FrameEncoder::rotate(frame, 90, 360, 16, 8) : frame);
                QCOMPARE(picture(folder + QString("/slot-%1.png").arg(slot + 1)),
                         picture(light.storedPicture(slot)));
            }
        }
    }

    // One dongle, two wheels in turn: the dongle's device name stays, the wheel behind it
    // changes. (Windows finds the dongle's port anew for every exchange.)
    void programsWheelAfterWheel()
    {
        const QString dongle = dir.filePath("dongle");
        std::unique_ptr<WheelProcess> wheel;
        const auto plug = [&] {
            wheel = std::make_unique<WheelProcess>(QStringList{"--size", "16x8"});
#ifndef Q_OS_WIN
            QVERIFY(QFile::link(wheel->getDevice(), dongle));
            // In place of the wheel's own device, which the wheel names as it starts.
            qputenv(DeviceNode::variable, dongle.toLocal8Bit());
#endif
        };
        plug();
        Sender sender({"--again=auto", gif});
        QTRY_VERIFY_WITH_TIMEOUT(sender.heard("Wheel 1 done"), 20000);
        QCOMPARE(wheel->storedFrame(2).size(), 16);
        // The wheel just done is not programmed again while it stays in reach.
        QTest::qWait(1500);
        QCOMPARE(wheel->errors().count("store request"), 3);

        wheel.reset();
        QFile::remove(dongle);
        QTRY_VERIFY_WITH_TIMEOUT(sender.heard("out of reach"), 20000);
        plug();
        QTRY_VERIFY_WITH_TIMEOUT(sender.heard("Wheel 2 done"), 20000);
        QCOMPARE(wheel->storedFrame(2).size(), 16);
        QFile::remove(dongle);
    }
};

RIMGLOW_TEST(SendCommandTest)
#include "tst_sendcommand.moc"
