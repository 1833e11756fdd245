#include "sendcommand.h"

#include "cli/sendprogress.h"
#include "model/designfile.h"
#include "model/wheelweb.h"
#include "tools/cellpainter.h"
#include "tools/picturereader.h"
#include "transfer/frameencoder.h"
#include "transfer/framepicture.h"
#include "transfer/hallangle.h"
#include "transfer/transfersequence.h"

#include <QDir>
#include <QEventLoop>
#include <QSaveFile>
#include <QThread>

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// parse: go on with the transfer.
const int proceed = -1;

const char* const usage =
    "Usage: rimglow-send PRODUCT [OPTIONS] DESIGN | PICTURE...\n"
    "Stores a design's pictures, or picture files, in the slots of a wheel light through the\n"
    "USB dongle, without a window.\n"
    "\n"
    "PRODUCT describes the wheel product with the options of rimglow:\n"
    "  -n NAME -s LINESxLEDS -o OUTER -i INNER -v CODExCOUNT[+...] -c COLOURS[+...] [-h]\n"
    "\n"
    "DESIGN is a design file saved by rimglow (named *.NAME); its pictures go to their slots.\n"
    "PICTUREs (PNG, GIF, ...; every frame of an animated GIF) go one per slot from slot 1 on,\n"
    "converted as the image tool converts them.\n"
    "\n"
    "Options:\n"
    "  --slots LIST      the slots to store, like 1,3-5 (pictures fill them in order)\n"
    "  --hall ANGLE      hall-sensor angle, 0 to 360 (default: the one rimglow stored)\n"
    "  --check           only ask the wheel who it is and how many pictures it holds\n"
    "  --again[=auto]    after each wheel, send to the next one: on Enter, or with auto when\n"
    "                    the wheel has gone and the next one answers (Ctrl-C ends)\n"
    "  --export FOLDER   write slot-N.png of what the wheel will light; send nothing\n"
    "  --help            show this text\n"
    "\n"
    "Exit status: 0 every picture was confirmed, 2 bad command line, 3 a file cannot be read\n"
    "or written, 4 no dongle, 5 no access to the dongle, 6 the wheel is silent or unknown,\n"
    "7 a picture was not confirmed, 8 the wheel has no such slot.\n";

} // namespace

QString SendCommand::pictureCount(qsizetype count)
{
    return QString::number(count) + (count == 1 ? " picture" : " pictures");
}

int SendCommand::run(int argc, char** argv)
{
    const int parsed = parse(argc, argv);
    if (parsed != proceed)
        return parsed;
    if (checkOnly)
        return check();
    const int loaded = load();
    if (loaded != Sent)
        return loaded;
    if (!exportFolder.isEmpty())
        return exportPictures();

    int result = sendToOneWheel();
    for (int wheels = 1; result == Sent && again != Once; ++wheels) {
        if (again == OnEnter) {
            std::printf("Wheel %d done. Bring the next wheel near the dongle and press Enter "
                        "(Ctrl-D ends).\n",
                        wheels);
            std::fflush(stdout);
            std::string line;
            if (!std::getline(std::cin, line))
                break;
        } else {
            std::printf("Wheel %d done. Waiting for the next wheel (Ctrl-C ends).\n", wheels);
            std::fflush(stdout);
            waitForNextWheel();
        }
        result = sendToOneWheel();
    }
    return result;
}

int SendCommand::parse(int argc, char** argv)
{
    // Our own options are taken out; the rest goes to the product's parser as it stands.
    QList<QByteArray> rest{argv[0]};
    QString slotsText;
    bool operands = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (operands || !arg.startsWith("--")) {
            rest << argv[i];
            // The value of a product option may itself start with two dashes.
            const bool takesValue = arg.size() == 2 && arg[0] == '-' &&
                                    QString("noivcs").contains(arg[1]) && i + 1 < argc;
            if (!operands && takesValue)
                rest << argv[++i];
            continue;
        }
        if (arg == "--") {
            operands = true;
            rest << argv[i];
            continue;
        }
        const int equals = arg.indexOf('=');
        const QString name = arg.mid(2, equals < 0 ? -1 : equals - 2);
        QString value = equals < 0 ? QString() : arg.mid(equals + 1);
        if ((name == "slots" || name == "hall" || name == "export") && equals < 0) {
            if (i + 1 == argc)
                return fail(BadCommandLine, arg + " needs a value; see --help");
            value = QString::fromLocal8Bit(argv[++i]);
        }
        if (name == "help") {
            std::fputs(usage, stdout);
            return Sent;
        } else if (name == "slots") {
            slotsText = value;
        } else if (name == "hall") {
            bool ok = false;
            hallAngle = value.toInt(&ok);
            if (!ok || hallAngle < 0 || hallAngle > 360)
                return fail(BadCommandLine, "--hall takes an angle from 0 to 360, not " + value);
        } else if (name == "export") {
            if (value.isEmpty())
                return fail(BadCommandLine, "--export needs a folder");
            exportFolder = value;
        } else if (name == "check" && equals < 0) {
            checkOnly = true;
        } else if (name == "again" && (equals < 0 || value == "auto")) {
            again = equals < 0 ? OnEnter : Automatic;
        } else {
            return fail(BadCommandLine, "unknown option " + arg + "; see --help");
        }
    }

    std::vector<char*> arguments;
    for (QByteArray& argument : rest)
        arguments.push_back(argument.data());
    product = std::make_unique<ArgParser>(int(arguments.size()), arguments.data());
    // Any problem fails here, even one that leaves the description valid.
    const QStringList problems = product->problems();
    for (const QString& problem : problems)
        std::fprintf(stderr, "%s\n", qPrintable(problem));
    if (!problems.isEmpty())
        return fail(BadCommandLine, "describe the product as for rimglow; see --help");
    if (hallAngle >= 0 && !product->hasHall())
        return fail(BadCommandLine, "--hall is for products with a hall sensor (-h)");
    if (checkOnly + !exportFolder.isEmpty() + (again != Once) > 1)
        return fail(BadCommandLine, "--check, --export and --again exclude each other");
    if (!slotsText.isEmpty() && !parseSlots(slotsText))
        return BadCommandLine;
    web = std::make_unique<WheelWeb>(product->lines, product->leds, int(product->outerSize),
                                     int(product->innerSize));
    return proceed;
}

bool SendCommand::parseSlots(const QString& text)
{
    const int count = product->mostPictures();
    for (const QString& part : text.split(',')) {
        const QStringList ends = part.split('-');
        bool firstOk = false, lastOk = false;
        const int first = ends.first().toInt(&firstOk);
        const int last = ends.last().toInt(&lastOk);
        if (ends.size() > 2 || !firstOk || !lastOk || first < 1 || last < first) {
            fail(BadCommandLine, "--slots takes slot numbers and ranges like 1,3-5, not " + text);
            return false;
        }
        if (last > count) {
            fail(BadCommandLine,
                 QString("slot %1 is beyond the product's %2 pictures").arg(last).arg(count));
            return false;
        }
        for (int slot = first; slot <= last; ++slot)
            if (!chosen.contains(slot - 1))
                chosen << slot - 1;
    }
    std::sort(chosen.begin(), chosen.end());
    return true;
}

int SendCommand::load()
{
    const QStringList& files = product->designs;
    if (files.isEmpty())
        return fail(BadCommandLine,
                    "nothing to send: name a design file (*." + product->name + ") or pictures");
    const int count = product->mostPictures();
    QList<QImage> pictures;
    QList<int> targets = chosen;
    const bool design = files.first().endsWith("." + product->name);
    if (design) {
        if (files.size() > 1)
            return fail(BadCommandLine, "give one design file, or pictures, not both");
        if (!QFileInfo(files.first()).isFile())
            return fail(BadFile, files.first() + ": no such file");
        DesignFile file(files.first());
        if (!file.read(count) || file.getPictures().isEmpty())
            return fail(BadFile, "cannot read " + files.first() +
                                     " as a design: save it again from rimglow");
        pictures = file.getPictures();
        if (targets.isEmpty())
            for (int slot = 0; slot < pictures.size(); ++slot)
                targets << slot;
        if (targets.last() >= pictures.size())
            return fail(BadCommandLine, QString("the design holds %1 pictures; there is no slot %2")
                                            .arg(pictures.size())
                                            .arg(targets.last() + 1));
    } else {
        int found = 0;
        const int read = readPictures(count, &pictures, &found);
        if (read != Sent)
            return read;
        if (targets.isEmpty())
            for (int slot = 0; slot < found && slot < count; ++slot)
                targets << slot;
        if (found > count && chosen.isEmpty())
            return fail(BadCommandLine,
                        QString("%1 pictures, but the product has %2 slots").arg(found).arg(count));
        if (targets.size() != found)
            return fail(BadCommandLine, QString("%1 pictures for %2 slots: give --slots as many "
                                                "slots as there are pictures and frames")
                                            .arg(found)
                                            .arg(targets.size()));
    }

    QMap<int, QImage> wheelPictures;
    for (int i = 0; i < targets.size(); ++i)
        wheelPictures.insert(targets[i], pictures[design ? targets[i] : i]);
    const int angle = hallAngle >= 0 ? hallAngle : HallAngle::stored();
    frames = FrameEncoder::encodeAll(wheelPictures, *web, product->hasHall(), angle, 360);
    return Sent;
}

int SendCommand::readPictures(int limit, QList<QImage>* pictures, int* found)
{
    for (const QString& file : product->designs)
        if (!QFileInfo(file).isFile())
            return fail(BadFile, file + ": no such file");
    PictureReader reader(web->getOverlay().width(), limit);
    if (!reader.read(product->designs))
        return fail(BadFile, "cannot read " + reader.getFailedPath() +
                                 " as a picture: give a PNG, GIF or another picture file");
    // Converted as the image tool converts a picture at its opening place.
    const CellPainter cells(*web, Qt::black, 1);
    for (const QImage& frame : reader.getFrames())
        pictures->append(cells.paintPicture(frame));
    *found = reader.getCount();
    return Sent;
}

int SendCommand::exportPictures()
{
    if (!QDir().mkpath(exportFolder))
        return fail(BadFile, "cannot make the folder " + exportFolder +
                                 ": choose a folder you may write to");
    for (auto it = frames.cbegin(); it != frames.cend(); ++it) {
        const QString path = QDir(exportFolder).filePath(QString("slot-%1.png").arg(it.key() + 1));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            !FramePicture::draw(it.value(), *web).save(&file, "png") || !file.flush() ||
            !file.commit())
            return fail(BadFile, "cannot write " + path + " (" + file.errorString() +
                                     "): choose a folder you may write to");
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    }
    return Sent;
}

int SendCommand::check()
{
    TransferSequence sequence(product->ids, product->hasHall());
    QEventLoop loop;
    QObject::connect(
        &sequence, &TransferSequence::identified, [](const QString& code, int capacity) {
            std::printf("wheel %s, %s\n", qPrintable(code), qPrintable(pictureCount(capacity)));
        });
    QObject::connect(&sequence, &TransferSequence::finished, &loop, [&] { loop.exit(Sent); });
    QObject::connect(&sequence, &TransferSequence::failed, &loop,
                     [&](TransferError error) { loop.exit(status(error, sequence)); });
    sequence.check();
    return loop.exec();
}

int SendCommand::sendToOneWheel()
{
    TransferSequence sequence(product->ids, product->hasHall());
    SendProgress progress(stdout, isatty(fileno(stdout)));
    QEventLoop loop;
    QList<int> stored;
    QObject::connect(&sequence, &TransferSequence::identified,
                     [&](const QString& code, int capacity, const QList<int>& outside) {
                         if (!outside.isEmpty() && !chosen.isEmpty()) {
                             sequence.cancel();
                             loop.exit(fail(NoRoom, QString("wheel %1 holds %2 and has no slot %3: "
                                                            "choose --slots from 1 to %4")
                                                        .arg(code, pictureCount(capacity),
                                                             TransferSequence::slotNumbers(outside))
                                                        .arg(capacity)));
                             return;
                         }
                         if (!outside.isEmpty())
                             std::fprintf(stderr,
                                          "rimglow-send: wheel %s holds %s: slot %s left out\n",
                                          qPrintable(code), qPrintable(pictureCount(capacity)),
                                          qPrintable(TransferSequence::slotNumbers(outside)));
                         progress.start(int(frames.size() - outside.size()),
                                        int(frames.first().size()), product->hasHall());
                     });
    QObject::connect(&sequence, &TransferSequence::storing,
                     [&](int slot) { progress.storing(slot); });
    QObject::connect(&sequence, &TransferSequence::confirmed, [&](int slot) {
        stored << slot;
        progress.confirmed(slot);
    });
    QObject::connect(&sequence, &TransferSequence::finished, &loop, [&] {
        progress.stop();
        loop.exit(Sent);
    });
    QObject::connect(&sequence, &TransferSequence::failed, &loop, [&](TransferError error) {
        progress.stop();
        if (error == TransferError::NotConfirmed && !stored.isEmpty())
            std::fprintf(stderr, "rimglow-send: stored and confirmed before: slot %s\n",
                         qPrintable(TransferSequence::slotNumbers(stored)));
        loop.exit(status(error, sequence));
    });
    sequence.send(frames);
    const int result = loop.exec();
    if (result == Sent)
        std::printf("%s stored in wheel %s: slot %s\n", qPrintable(pictureCount(stored.size())),
                    qPrintable(sequence.wheelCode()),
                    qPrintable(TransferSequence::slotNumbers(stored)));
    std::fflush(stdout);
    return result;
}

int SendCommand::status(TransferError error, const TransferSequence& sequence)
{
    const QString code = sequence.wheelCode();
    switch (error) {
    case TransferError::NoDongle:
        return fail(NoDongle, "no dongle found: plug the USB dongle in (or name its device in "
                              "RIMGLOW_DONGLE)");
    case TransferError::NoAccess:
        return fail(NoAccess, "no permission to use the dongle: install rimglow's udev rule "
                              "(copy 70-rimglow-dongle.rules to /etc/udev/rules.d), then plug "
                              "the dongle in again");
    case TransferError::WheelSilent:
        return fail(WheelProblem, "the wheel did not answer: switch the wheel light on and "
                                  "bring it near the dongle");
    case TransferError::WheelUnknown:
        return fail(WheelProblem, "the wheel answered as " + code +
                                      ", which this product does not know (it knows " +
                                      sequence.knownCodes().join(", ") +
                                      "): give the options of the wheel's product, with " + code +
                                      " in -v");
    case TransferError::NotConfirmed: {
        const Dongle_::ERROR cause = sequence.storeStatus();
        return fail(NotConfirmed,
                    QString("the wheel did not confirm slot %1 (%2): bring it nearer the dongle "
                            "and send again")
                        .arg(sequence.storeSlot() + 1)
                        .arg(cause == Dongle_::OK               ? "wrong checksum"
                             : cause == Dongle_::RECEIVE_FAILED ? "no answer"
                             : cause == Dongle_::NO_ACCESS      ? "no permission to use the dongle"
                                                           : "the dongle could not be reached"));
    }
    }
    return WheelProblem;
}

void SendCommand::waitForNextWheel()
{
    // First the wheel just done leaves the dongle's reach, then the next one answers.
    for (bool gone = false;;) {
        TransferSequence sequence(product->ids, product->hasHall());
        QEventLoop loop;
        // A wheel that answers, known or not, is in reach.
        QObject::connect(&sequence, &TransferSequence::finished, &loop, [&] { loop.exit(1); });
        QObject::connect(&sequence, &TransferSequence::failed, &loop, [&](TransferError error) {
            loop.exit(error == TransferError::WheelUnknown);
        });
        sequence.check();
        const bool answered = loop.exec();
        if (gone && answered)
            return;
        if (!gone && !answered) {
            std::printf("The wheel is out of reach; bring the next one.\n");
            std::fflush(stdout);
            gone = true;
        }
        QThread::msleep(500);
    }
}

int SendCommand::fail(int status, const QString& message)
{
    std::fprintf(stderr, "rimglow-send: %s\n", qPrintable(message));
    return status;
}
