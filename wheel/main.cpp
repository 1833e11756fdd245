// rimglow-wheel: a virtual dongle and wheel light on a pseudo-terminal, for trying Rimglow
// without hardware and for its tests.

#include "virtualwheel.h"
#include "wheelterminal.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>

namespace {

volatile bool stopped = false;

void stop(int)
{
    stopped = true;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "rimglow-wheel: %s\n", qPrintable(message));
    return 2;
}

bool positive(const QString& text, int* value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value > 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures of the stored frames are drawn on images: no display, no platform plugin.
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A virtual Rimglow dongle and wheel light. Prints the device to give as RIMGLOW_DONGLE, "
        "then answers identity and store requests until it is stopped.");
    parser.addHelpOption();
    parser.addOptions({
        {"id", "Identity code the wheel answers (an unknown one tests that case).", "code", "D12"},
        {"size", "Angular positions and LEDs per bar of the wheel.", "LINESxLEDS", "128x32"},
        {"outer", "Outer radius of the lit ring, for the pictures.", "n", "80"},
        {"inner", "Inner radius of the lit ring, for the pictures.", "n", "16"},
        {"store", "Folder that receives slot-N.bin and slot-N.png for every stored frame.",
         "folder"},
        {"silent", "Never answer."},
        {"short-reply", "Answer one byte fewer than asked for."},
        {"wrong-crc", "Confirm stores with a wrong CRC."},
        {"delay", "Wait this long before every answer.", "ms", "0"},
        {"drop", "Ignore the n-th message.", "n", "0"},
        {"paced", "Take line bytes no faster than the real line (384615 baud)."},
    });
    parser.process(application);

    const QStringList size = parser.value("size").split('x');
    int lines = 0, leds = 0, outer = 0, inner = 0;
    if (size.size() != 2 || !positive(size[0], &lines) || !positive(size[1], &leds) ||
        qint64(lines) * leds > 512 * 512)
        return fail("--size takes LINESxLEDS, for example 128x32");
    if (!positive(parser.value("outer"), &outer) || !positive(parser.value("inner"), &inner))
        return fail("--outer and --inner take positive whole numbers");
    const QByteArray identity = parser.value("id").toLatin1();
    if (identity.isEmpty() || identity.size() > 7)
        return fail("--id takes one to seven characters");
    bool delayOk = false, dropOk = false;
    const int delay = parser.value("delay").toInt(&delayOk);
    VirtualWheel::Faults faults;
    faults.silent = parser.isSet("silent");
    faults.shortReply = parser.isSet("short-reply");
    faults.wrongCrc = parser.isSet("wrong-crc");
    faults.dropMessage = parser.value("drop").toInt(&dropOk);
    if (!delayOk || delay < 0 || !dropOk || faults.dropMessage < 0)
        return fail("--delay and --drop take whole numbers of zero or more");

    VirtualWheel wheel(identity, lines, leds, outer, inner);
    wheel.setFaults(faults);
    wheel.setStoreFolder(parser.value("store"));
    WheelTerminal terminal;
    if (!terminal.isOpen())
        return fail(terminal.errorString());
    terminal.setPaced(parser.isSet("paced"));
    terminal.setReplyDelay(delay);

    std::signal(SIGINT, stop);
    std::signal(SIGTERM, stop);
    std::printf("%s\n", qPrintable(terminal.devicePath()));
    std::fflush(stdout);
    terminal.run(&wheel, &stopped);
    return 0;
}
