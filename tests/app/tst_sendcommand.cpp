#include "model/wheelweb.h"
#include "product.h"
#include "testsuite.h"
#include "transfer/d2xx/devicenode.h"
#include "transfer/frameencoder.h"
#include "wheelprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString gif = QStringLiteral(RIMGLOW_FIXTURES "/pictures/three-frames.gif");

struct Result {
    int status = -1;
    QString out;
    QString err;
};

// rimglow-send for the demo product, fed the given standard input.
class Sender {
public:
    explicit Sender(const QStringList& arguments, const QStringList& product = Product::demo())
    {
        process.start(QCoreApplication::applicationDirPath() + "/rimglow-send",
                      product + arguments);
    }
    ~Sender()
    {
        process.kill();
        process.waitForFinished(1000);
    }
    Result finish()
    {
        process.closeWriteChannel();
        Result result;
        if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit)
            result.status = process.exitCode();
        result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }
    // Waits until standard output has shown the text.
    bool waitFor(const QString& text)
    {
        for (int i = 0; i < 100 && !out.contains(text); ++i) {
            process.waitForReadyRead(200);
            out += QString::fromLocal8Bit(process.readAllStandardOutput());
        }
        return out.contains(text);
    }

    QProcess process;
    QString out;
};

Result send(const QStringList& arguments, const QStringList& product = Product::demo())
{
    return Sender(arguments, product).finish();
}

// A design of the demo product, saved as the program saves it: three pictures side by side,
// each with a different part of the wheel inked.
QString writeDesign(const QTemporaryDir& dir)
{
    QImage strip(3 * 512, 512, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.fillRect(0, 0, 256, 512, Qt::black);
    painter.fillRect(512, 0, 512, 256, Qt::black);
    painter.fillRect(1024 + 300, 0, 212, 512, Qt::black);
    painter.end();
    const QString path = dir.filePath("three.DEMO");
    strip.save(path, "png");
    return path;
}

QImage readImage(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class SendCommandTest : public QObject {
    Q_OBJECT
private slots:
    void outcomes_data();
    void outcomes();
    void sendsWhatTheProgramSends();
    void programsWheelAfterWheel_data();
    void programsWheelAfterWheel();
};

void SendCommandTest::outcomes_data()
{
    QTest::addColumn<QStringList>("wheel"); // empty: no dongle at all
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<int>>("stored");

    const QStringList wheel{"--size", "16x8"};
    QTest::newRow("three frames") << wheel << QStringList{gif} << 0 << "slot 3 confirmed"
                                  << QList<int>{0, 1, 2};
    QTest::newRow("chosen slots") << wheel << QStringList{"--slots=3,1", gif, gif} << 2
                                  << "6 pictures for 2 slots" << QList<int>{};
    QTest::newRow("missing file") << wheel << QStringList{"--slots", "3", gif + "x"} << 3
                                  << "no such file" << QList<int>{};
    QTest::newRow("check") << wheel << QStringList{"--check"} << 0 << "wheel D12, 3 pictures"
                           << QList<int>{};
    QTest::newRow("no dongle") << QStringList{} << QStringList{gif} << 4 << "plug the USB dongle"
                               << QList<int>{};
    QTest::newRow("silent") << wheel + QStringList{"--silent"} << QStringList{gif} << 6
                            << "did not answer" << QList<int>{};
    QTest::newRow("short reply") << wheel + QStringList{"--short-reply"} << QStringList{gif} << 6
                                 << "did not answer" << QList<int>{};
    QTest::newRow("unknown wheel") << wheel + QStringList{"--id", "X99"} << QStringList{"--check"}
                                   << 6 << "answered as X99" << QList<int>{};
    QTest::newRow("wrong checksum") << wheel + QStringList{"--wrong-crc"} << QStringList{gif} << 7
                                    << "did not confirm slot 1" << QList<int>{0};
    // Click, identity, first store: the second store is lost.
    QTest::newRow("lost store") << wheel + QStringList{"--drop", "4"} << QStringList{gif} << 7
                                << "confirmed before: slot 1\n"
                                << QList<int>{0};
    QTest::newRow("not a design") << wheel
                                  << QStringList{RIMGLOW_FIXTURES
                                                 "/designs/unreadable/not-a-picture.DEMO"}
                                  << 3 << "as a design" << QList<int>{};
    QTest::newRow("not a picture") << wheel << QStringList{RIMGLOW_FIXTURES "/fonts/truncated.bdf"}
                                   << 3 << "as a picture" << QList<int>{};
    // The program's parser goes on after an unknown letter; the sender does not.
    QTest::newRow("bad product") << wheel << QStringList{"-d", gif} << 2 << "unknow argumentd\n"
                                 << QList<int>{};
    QTest::newRow("bad option") << wheel << QStringList{"--slot", "1", gif} << 2
                                << "unknown option --slot" << QList<int>{};
    QTest::newRow("slot beyond the product") << wheel << QStringList{"--slots", "4", gif} << 2
                                             << "beyond the product's 3" << QList<int>{};
    QTest::newRow("hall without sensor")
        << wheel << QStringList{"--hall", "90", gif} << 2 << "hall sensor (-h)" << QList<int>{};
}

void SendCommandTest::outcomes()
{
    QFETCH(QStringList, wheel);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QList<int>, stored);

    std::unique_ptr<WheelProcess> light;
    if (wheel.isEmpty())
        qputenv(DeviceNode::variable, "/nonexistent/rimglow-dongle");
    else
        light = std::make_unique<WheelProcess>(wheel);
    const Result result = send(arguments);
    qunsetenv(DeviceNode::variable);
    QCOMPARE(result.status, status);
    QVERIFY2((result.out + result.err).contains(message), qPrintable(result.out + result.err));
    // The final report names exactly the confirmed slots, and only on success.
    QCOMPARE(result.out.contains("stored in wheel"), status == 0 && !stored.isEmpty());
    if (light)
        for (int slot = 0; slot < 4; ++slot)
            QCOMPARE(!light->storedFrame(slot).isEmpty(), stored.contains(slot));
}

void SendCommandTest::sendsWhatTheProgramSends()
{
    QTemporaryDir dir;
    const QString design = writeDesign(dir);
    const WheelWeb web(16, 8, 80, 16);
    QList<QImage> pictures;
    QImage strip(design);
    for (int i = 0; i < 3; ++i)
        pictures << strip.copy(i * 512, 0, 512, 512);

    // A design's pictures go to their slots, encoded as the program encodes them, and turned
    // by the hall angle on a wheel with a sensor.
    for (const bool hall : {false, true}) {
        WheelProcess light({"--size", "16x8"});
        const QStringList product = Product::demo("DEMO", hall);
        const QStringList angle = hall ? QStringList{"--hall", "90"} : QStringList{};
        QCOMPARE(send(angle + QStringList{"--slots", "1,3", design}, product).status, 0);
        for (int slot : {0, 2}) {
            const QByteArray frame = FrameEncoder::encode(pictures[slot], web.getCenters());
            QCOMPARE(light.storedFrame(slot),
                     hall ? FrameEncoder::rotate(frame, 90, 360, 16, 8) : frame);
        }
        QVERIFY(light.storedFrame(1).isEmpty());

        // The export shows exactly what the wheel lights, and sends nothing.
        const QString folder = dir.filePath(hall ? "hall" : "plain");
        const Result exported = send(angle + QStringList{"--export", folder, design}, product);
        QCOMPARE(exported.status, 0);
        for (int slot : {0, 2})
            QCOMPARE(readImage(folder + QString("/slot-%1.png").arg(slot + 1)),
                     readImage(light.storedPicture(slot)));
        QVERIFY(exported.out.contains(QDir(folder).filePath("slot-2.png")));
    }

    // Pictures go through the image tool's conversion: the frames of the GIF are told apart,
    // and what is exported for them is what the wheel shows.
    WheelProcess light({"--size", "16x8"});
    QCOMPARE(send({gif}).status, 0);
    QCOMPARE(send({"--export", dir.filePath("gif"), gif}).status, 0);
    QSet<QByteArray> frames;
    for (int slot = 0; slot < 3; ++slot) {
        frames << light.storedFrame(slot);
        QVERIFY(light.storedFrame(slot).count('\0') < 16);
        QCOMPARE(readImage(dir.filePath(QString("gif/slot-%1.png").arg(slot + 1))),
                 readImage(light.storedPicture(slot)));
    }
    QCOMPARE(frames.size(), 3);

    // A smaller model of the product takes what fits: chosen slots that do not fit are refused
    // before anything is stored; without a choice the rest is left out with a note.
    WheelProcess small({"--size", "16x8", "--id", "D08"});
    const QStringList twoModels = Product::demo() + QStringList{"-v", "D08x1"};
    const Result refused = send({"--slots", "1-2", design}, twoModels);
    QCOMPARE(refused.status, 8);
    QVERIFY(refused.err.contains("has no slot 2"));
    QVERIFY(small.storedFrame(0).isEmpty());
    const Result trimmed = send({design}, twoModels);
    QCOMPARE(trimmed.status, 0);
    QVERIFY(trimmed.err.contains("slot 2, 3 left out"));
    QVERIFY(!small.storedFrame(0).isEmpty());
}

void SendCommandTest::programsWheelAfterWheel_data()
{
    QTest::addColumn<QString>("again");
    QTest::newRow("on Enter") << "--again";
    QTest::newRow("when the next wheel answers") << "--again=auto";
}

void SendCommandTest::programsWheelAfterWheel()
{
    QFETCH(QString, again);
    // One dongle, two wheels in turn: the dongle's device name stays, the wheel behind it
    // changes.
    QTemporaryDir dir;
    const QString dongle = dir.filePath("dongle");
    auto first = std::make_unique<WheelProcess>(QStringList{"--size", "16x8"});
    QVERIFY(QFile::link(first->getDevice(), dongle));
    qputenv(DeviceNode::variable, dongle.toLocal8Bit());
    Sender sender({again, gif});
    QVERIFY(sender.waitFor("Wheel 1 done"));
    QCOMPARE(first->storedFrame(2).size(), 16);
    // The wheel just done is not programmed again while it stays in reach.
    QTest::qWait(1500);
    QCOMPARE(first->errors().count("store request"), 3);

    first.reset();
    QFile::remove(dongle);
    if (again == "--again=auto")
        QVERIFY(sender.waitFor("out of reach"));
    WheelProcess second({"--size", "16x8"});
    QVERIFY(QFile::link(second.getDevice(), dongle));
    qputenv(DeviceNode::variable, dongle.toLocal8Bit());
    if (again == "--again")
        sender.process.write("\n");
    QVERIFY(sender.waitFor("Wheel 2 done"));
    QCOMPARE(second.storedFrame(2).size(), 16);
    if (again == "--again")
        QCOMPARE(sender.finish().status, 0);
}

RIMGLOW_TEST(SendCommandTest)
#include "tst_sendcommand.moc"
