#include "app/sendcommand.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    // The wheel's pictures are drawn without any display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // The same settings as the program's, for the stored hall angle.
    QGuiApplication::setApplicationName("rimglow");
    return SendCommand().run(argc, argv);
}
