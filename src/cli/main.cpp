#include "cli/sendcommand.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    // The wheel's pictures are drawn on images: no display, no platform plugin.
    QCoreApplication application(argc, argv);
    // The same settings as the program's, for the stored hall angle.
    QCoreApplication::setApplicationName("rimglow");
    return SendCommand().run(argc, argv);
}
