#include "app/aboutdialog.h"
#include "app/dockwidget.h"
#include "app/smalldockwidget.h"
#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "testsuite.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class DockWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    void closedPanelLeavesABarThatBringsItBack()
    {
        QMainWindow window;
        window.setCentralWidget(new QLabel("design"));
        auto* dock = new DockWidget(Qt::LeftDockWidgetArea, &window);
        dock->setWidget(new QLabel("palette"));
        dock->setText("Tools");
        window.resize(600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        SmallDockWidget* bar = dock->getSmallDock();
        QVERIFY(dock->isVisible());
        QVERIFY(!bar->isVisible());
        QCOMPARE(window.dockWidgetArea(dock), Qt::LeftDockWidgetArea);
        QCOMPARE(window.toolBarArea(bar), Qt::LeftToolBarArea);
        QVERIFY(!(dock->features() & QDockWidget::DockWidgetMovable));

        QVERIFY(dock->close());
        QVERIFY(!dock->isVisible());
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->orientation(), Qt::Vertical);
        QCOMPARE(bar->getButton()->text(), QString("T\no\no\nl\ns\n"));
        const int lineWidth = int(bar->getButton()->fontMetrics().lineSpacing() * 1.75);
        QCOMPARE(bar->getButton()->width(), lineWidth);
        // The button runs the bar's whole height, so the bar is one click target.
        QCOMPARE(bar->getButton()->geometry(), QRect(0, 0, lineWidth, bar->height()));
        QVERIFY(bar->geometry().height() > window.height() / 2);

        QTest::mouseClick(bar->getButton(), Qt::LeftButton);
        QVERIFY(dock->isVisible());
        QVERIFY(!bar->isVisible());
        // It works again and again.
        QVERIFY(dock->close());
        QVERIFY(bar->isVisible());
        QTest::mouseClick(bar->getButton(), Qt::LeftButton);
        QVERIFY(dock->isVisible());
    }

    void barsOfTopAndBottomPanelsLieFlat()
    {
        QMainWindow window;
        auto* top = new DockWidget(Qt::TopDockWidgetArea, &window);
        auto* bottom = new DockWidget(Qt::BottomDockWidgetArea, &window);
        top->setText("Layers");
        bottom->setText("Layers");
        QCOMPARE(window.toolBarArea(top->getSmallDock()), Qt::TopToolBarArea);
        QCOMPARE(window.toolBarArea(bottom->getSmallDock()), Qt::BottomToolBarArea);
        QCOMPARE(top->getSmallDock()->orientation(), Qt::Horizontal);
        QCOMPARE(top->getSmallDock()->getButton()->text(), QString("Layers"));
        QCOMPARE(bottom->getSmallDock()->getButton()->text(), QString("Layers"));
    }

    void captionFollowsTheLanguage()
    {
        QMainWindow window;
        auto* dock = new DockWidget(Qt::RightDockWidgetArea, &window);
        Resource::addText(dock, "text", "TOOL");
        QCOMPARE(dock->windowTitle(), QString("Tools"));
        choose("de");
        QCOMPARE(dock->windowTitle(), QString("Werkzeuge"));
        QCOMPARE(dock->getSmallDock()->getButton()->text().remove('\n'), QString("Werkzeuge"));
        // Narrow contents still leave room for the longer title and the two title buttons.
        auto* narrow = new QWidget;
        narrow->setFixedWidth(40);
        dock->setWidget(narrow);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(dock->width() > dock->fontMetrics().horizontalAdvance("Werkzeuge") + 30);
        choose("en");
        QCOMPARE(dock->getSmallDock()->getButton()->text().remove('\n'), QString("Tools"));
        Resource::remove(dock);
    }

private:
    static void choose(const QString& code)
    {
        for (QAction* action : Resource::getLanguageMenu()->actions())
            if (action->statusTip() == code)
                action->trigger();
    }
};

class AboutDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    void showsTheBuildOverTheSplashPicture()
    {
        QWidget parent;
        AboutDialog about(Resource::directory() + "splash.png", &parent);
        // The splash picture is 800 x 450, shown 300 wide.
        QCOMPARE(about.size(), QSize(300, 169));
        QVERIFY(about.windowFlags().testFlag(Qt::Popup));
        const QString notice = about.getNotice()->text();
        QVERIFY(notice.contains("Build(2013-03-07)"));
        QVERIFY(notice.contains("2007-2013"));
        QVERIFY(notice.contains("href="));
        const QRect label = about.getNotice()->geometry();
        QCOMPARE(label.left(), 5);
        QCOMPARE(label.bottom() + 1, about.height() - 5);
    }

    void opensOverItsWindowAndClosesOnAClick()
    {
        QWidget parent;
        parent.setGeometry(100, 100, 800, 600);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        AboutDialog about(Resource::directory() + "splash.png", &parent);
        about.show();
        QVERIFY(about.isVisible());
        const QPoint centre = parent.frameGeometry().center();
        // The offscreen platform shifts every window by its pretended frame of a few pixels.
        QVERIFY((about.frameGeometry().center() - centre).manhattanLength() <= 8);
        QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(250, 20));
        QVERIFY(!about.isVisible());
    }

    void missingPictureStillGivesABox()
    {
        AboutDialog about("/nonexistent/splash.png", nullptr);
        about.show();
        QVERIFY(about.isVisible());
        QVERIFY(about.width() > 0 && about.height() > 0);
        QTest::mouseClick(&about, Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }
};

RIMGLOW_TEST(DockWidgetTest)
RIMGLOW_TEST(AboutDialogTest)
#include "tst_dockwidget.moc"
