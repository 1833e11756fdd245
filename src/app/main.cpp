#include "app/memorytuning.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    tuneMemoryForPictures();
    QApplication application(argc, argv);
    QApplication::setApplicationName("rimglow");
    // Wayland shells find the window's entry and icon by this name.
    QGuiApplication::setDesktopFileName("example.rimglow.Rimglow");
    return runProgram(argc, argv);
}
