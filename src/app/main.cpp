#include "app/memorytuning.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    tuneMemoryForPictures();
    QApplication application(argc, argv);
    QApplication::setApplicationName("rimglow");
    return runProgram(argc, argv);
}
