#include "app/gridwindow.h"
#include "config/argparser.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("rimglow");

    ArgParser configuration(argc, argv);
    if (!configuration.isValid()) {
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
