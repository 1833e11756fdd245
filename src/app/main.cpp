#include "app/gridwindow.h"
#include "app/memorytuning.h"
#include "config/argparser.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    tuneMemoryForPictures();
    QApplication application(argc, argv);
    QApplication::setApplicationName("rimglow");

    // The boxes of the command-line check are the only windows so far; closing one of them
    // must not end the program before the next one is shown.
    QApplication::setQuitOnLastWindowClosed(false);
    ArgParser configuration(argc, argv);
    const bool valid = configuration.isValid();
    QApplication::setQuitOnLastWindowClosed(true);
    if (!valid) {
        auto* box = new QMessageBox(QMessageBox::Critical, "Oh! no~", "Find some argument error.",
                                    QMessageBox::NoButton, nullptr,
                                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        return application.exec();
    }

    GridWindow window(&configuration);
    window.show();
    return application.exec();
}
