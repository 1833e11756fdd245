#include "app/buildinfo.h"
#include "app/mainwindow.h"
#include "app/memorytuning.h"
#include "app/splashscreen.h"
#include "app/updatearchive.h"
#include "config/argparser.h"
#include "resources/hiddenfile.h"
#include "resources/resource.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>

int main(int argc, char** argv)
{
    tuneMemoryForPictures();
    QApplication application(argc, argv);
    QApplication::setApplicationName("rimglow");
#ifdef Q_OS_MACOS
    // The resources live inside the application bundle, which becomes the current directory.
    QDir bundle(QString::fromLocal8Bit(argv[0]));
    bundle.cdUp();
    bundle.cdUp();
    bundle.cdUp();
    QDir::setCurrent(bundle.absolutePath());
#endif

    auto* splash = new SplashScreen(Resource::directory() + "splash.png");

    // Until the main window shows, the windows come and go one after another (the boxes of
    // the command-line check, the splash, the update question); none of them closing may end
    // the program.
    QApplication::setQuitOnLastWindowClosed(false);
    ArgParser configuration(argc, argv);
    if (!configuration.isValid()) {
        delete splash;
        QApplication::setQuitOnLastWindowClosed(true);
        auto* box = new QMessageBox(QMessageBox::Critical, "Oh! no~", "Find some argument error.",
                                    QMessageBox::NoButton, nullptr,
                                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        return application.exec();
    }

    splash->show();
    if (UpdateArchive::install(splash)) {
        splash->close();
        return 0;
    }
    auto* window = new MainWindow(&configuration);

    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, splash, &SplashScreen::next);
    QObject::connect(splash, &SplashScreen::end, timer, &QTimer::stop);
    QObject::connect(splash, &SplashScreen::end, window, [window] {
        window->show();
        QApplication::setQuitOnLastWindowClosed(true);
    });
    timer->start(20);

#ifdef Q_OS_WIN
    if (!HiddenFile::exists("autoupdate"))
        window->checkVersion(BuildInfo::updateHost);
#endif
    return application.exec();
}
