#include "startup.h"

#include "app/buildinfo.h"
#include "app/mainwindow.h"
#include "app/splashscreen.h"
#include "app/updatearchive.h"
#include "config/argparser.h"
#include "resources/hiddenfile.h"
#include "resources/resource.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include <memory>

int runProgram(int argc, char** argv)
{
#ifdef Q_OS_MACOS
    // The resources live inside the application bundle, which becomes the current directory.
    QDir bundle(QString::fromLocal8Bit(argv[0]));
    bundle.cdUp();
    bundle.cdUp();
    bundle.cdUp();
    QDir::setCurrent(bundle.absolutePath());
#endif

    auto splash = std::make_unique<SplashScreen>(Resource::directory() + "splash.png");

    // Until the main window shows, the windows come and go one after another (the boxes of
    // the command-line check, the splash, the update question); none of them closing may end
    // the program.
    QApplication::setQuitOnLastWindowClosed(false);
    ArgParser configuration(argc, argv);
    const QStringList problems = configuration.problems();
    for (const QString& problem : problems) {
        QMessageBox box(QMessageBox::Critical, "Init Error", problem, QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
    }
    if (!configuration.isValid()) {
        splash.reset();
        QApplication::setQuitOnLastWindowClosed(true);
        auto* box = new QMessageBox(QMessageBox::Critical, "Oh! no~", "Find some argument error.",
                                    QMessageBox::NoButton, nullptr,
                                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        return QApplication::exec();
    }

    splash->show();
    if (UpdateArchive::install(splash.get())) {
        splash->close();
        return 0;
    }
    // Destroyed before the configuration it reads.
    auto window = std::make_unique<MainWindow>(&configuration);
    window->openFiles(configuration.designs);

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, splash.get(), &SplashScreen::next);
    QObject::connect(splash.get(), &SplashScreen::end, &timer, &QTimer::stop);
    QObject::connect(splash.get(), &SplashScreen::end, window.get(), [&window] {
        window->show();
        QApplication::setQuitOnLastWindowClosed(true);
        // Asked over the window, before the user sets to work.
        QTimer::singleShot(0, window.get(), &MainWindow::recover);
    });
    timer.start(20);

#ifdef Q_OS_WIN
    if (!HiddenFile::exists("autoupdate")) {
        // A shop's own mirror, or a test's server, may stand in for the vendor's.
        const QUrl server("http://" + qEnvironmentVariable(BuildInfo::updateServerVariable,
                                                           BuildInfo::updateHost));
        window->checkVersion(server.host(), server.port(80));
    }
#endif
    return QApplication::exec();
}
