#include "app/dockwidget.h"
#include "app/smalldockwidget.h"
#include "filedialoganswerer.h"
#include "modalanswerer.h"
#include "model/layerview.h"
#include "model/layerwidget.h"
#include "resources/hiddenfile.h"
#include "testsuite.h"
#include "tools/imagelabel.h"
#include "tools/imagetool.h"
#include "wheelprocess.h"
#include "windowhelpers.h"

#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    const QString change = Resource::getText("CHANGE") + "\n";

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // Unsaved work is asked about before it is lost, in the design's own tab; the last tab
    // closed leaves a fresh, fully wired one.
    void closingAsksAboutUnsavedWork()
    {
        DemoWindow w;
        w.QMainWindow::show();
        WheelPanel* first = w.getCurrent();
        ink(&w);
        QCOMPARE(w.windowTitle(), QString("Rimglow! DEMO - Untitled 1 *"));
        WheelPanel* second = w.createNew();
        QCOMPARE(w.windowTitle(), QString("Rimglow! DEMO - Untitled 2"));
        QVERIFY(second->getLayerWidget()->isVisibleTo(w.getLayerDock()));
        ink(&w);
        QCOMPARE(second->getUndoStack()->count(), first->getUndoStack()->count());
        {
            ModalAnswerer answerer({"Cancel", "Cancel"});
            QVERIFY(!w.close());
            QVERIFY(!w.closeTab(0));
            QCOMPARE(answerer.texts, (QStringList{change + "Untitled 2", change + "Untitled 1"}));
        }
        QVERIFY(w.isVisible());
        QCOMPARE(captions(&w), (QStringList{"Untitled 1 *", "Untitled 2 *"}));
        QCOMPARE(w.getCurrent(), first);
        {
            // No drops a design that is not current and leaves the current one alone; Yes
            // saves before closing.
            ModalAnswerer answerer({"No", "Yes"});
            FileDialogAnswerer files({dir.filePath("kept")});
            QVERIFY(w.closeTab(1));
            QCOMPARE(w.getCurrent(), first);
            QVERIFY(w.closeTab(0));
        }
        QVERIFY(QFile::exists(dir.filePath("kept.DEMO")));
        QCOMPARE(captions(&w), QStringList{"Untitled 3"});
        QCOMPARE(w.getCurrent(), w.getTabs()->widget(0));
        ink(&w);
        w.createNew();
        ink(&w);
        ModalAnswerer discard({"No", "No"});
        QVERIFY(w.close());
        QCOMPARE(discard.texts, (QStringList{change + "Untitled 4", change + "Untitled 3"}));
    }

    // Where the file dialogs start, what a cancelled or failed save leaves, the mark of unsaved
    // work, and designs opened again. An installed program's example folder is read-only; a
    // removed folder stands in for it here, where the tests may run as root.
    void savingAndOpening()
    {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        // Made for the test only when the user has none, and then removed again.
        const bool made = !QFileInfo::exists(documents) && QDir().mkpath(documents);
        const QString examples = QDir(Resource::directory() + "File").absolutePath();
        auto folder = std::make_unique<QTemporaryDir>();
        const QString path = folder->path(), round = path + "/round.DEMO";
        QFile letter(path + "/letter.DEMO");
        QVERIFY(letter.open(QIODevice::WriteOnly) && letter.write("Dear wheel") > 0);
        letter.close();
        // A folder stands where the design file would go.
        QVERIFY(QDir(path).mkpath("blocked.DEMO"));
        DemoWindow w;
        ModalAnswerer boxes;
        FileDialogAnswerer files({QString(), path + "/blocked", path + "/round", QString(), round,
                                  letter.fileName(), path + "/pic.png", path + "/pic.demo",
                                  path + "/pic.DEMO"});
        ink(&w);
        QVERIFY(!w.save());
        QCOMPARE(files.filters.first(), QString("*.DEMO"));
        QVERIFY(!w.save());
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts.first().startsWith(Resource::getText("SAVE_FAIL")));
        QCOMPARE(w.getCurrent()->statusTip(), QString());
        QCOMPARE(captions(&w), QStringList{"Untitled 1 *"});
        QVERIFY(w.save());
        QCOMPARE(w.windowTitle(), QString("Rimglow! DEMO - round"));
        QCOMPARE(w.getTabs()->tabToolTip(0), QDir::toNativeSeparators(round));
        ink(&w, QPoint(100, 256));
        QCOMPARE(captions(&w), QStringList{"round *"});
        w.getCurrent()->getUndoStack()->undo();
        QCOMPARE(captions(&w), QStringList{"round"});
        w.getCurrent()->getUndoStack()->redo();
        QCOMPARE(captions(&w), QStringList{"round *"});
        QVERIFY(!w.saveAs());
        // A named design is saved without asking.
        QVERIFY(w.save());
        QCOMPARE(files.folders.size(), 4);
        QCOMPARE(captions(&w), QStringList{"round"});
        const QImage saved = w.getCurrent()->getPixmap().toImage();
        w.open();
        QCOMPARE(captions(&w), (QStringList{"round", "round"}));
        QCOMPARE(w.getTabs()->currentIndex(), 1);
        QCOMPARE(w.getCurrent()->statusTip(), round);
        QCOMPARE(w.getCurrent()->getPixmap().toImage(), saved);
        // A file that is no design opens nothing and is left as it was.
        w.open();
        QCOMPARE(boxes.texts.size(), 2);
        QVERIFY(boxes.texts.last().startsWith(Resource::getText("READ_FAIL")));
        QCOMPARE(captions(&w), (QStringList{"round", "round"}));
        QCOMPARE(letter.size(), 10);
        w.openFiles({examples + "/pinwheel.DEMO"});
        QCOMPARE(captions(&w).last(), QString("pinwheel"));
        QImage blank = w.getCurrent()->getPixmap().toImage();
        blank.fill(Qt::transparent);
        QVERIFY(w.getCurrent()->getPixmap().toImage() != blank);
        // Saved names carry the product's suffix, in its case.
        QVERIFY(w.saveAs() && w.saveAs() && w.saveAs());
        QVERIFY(QFile::exists(path + "/pic.png.DEMO") && QFile::exists(path + "/pic.demo.DEMO"));
        QCOMPARE(w.getCurrent()->statusTip(), path + "/pic.DEMO");
        QCOMPARE(captions(&w).last(), QString("pic"));
        folder.reset();
        QVERIFY(!w.saveAs());
        if (made)
            QDir().rmdir(documents);
        files.folders.removeAt(2); // the folder that stood in the way
        QCOMPARE(files.folders, (QStringList{examples, examples, path, path, path, path, path, path,
                                             QDir(documents).absolutePath()}));
    }

    // Designs named on the command line open in place of the untouched first tab; opened and
    // saved designs are remembered for the next run, newest first, eight at most, and missing
    // ones are dropped.
    void commandLineAndRecentDesigns()
    {
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                      "/recent.ini");
        QStringList paths;
        for (int i = 0; i < 10; ++i) {
            paths << dir.filePath(QString("d%1.DEMO").arg(i));
            QImage picture(512, 512, QImage::Format_ARGB32);
            picture.fill(Qt::transparent);
            QVERIFY(picture.save(paths.last(), "png"));
        }
        DemoWindow w(Product::demo() + QStringList{paths[0], "missing.DEMO", paths[1]});
        {
            ModalAnswerer answerer;
            w.openFiles(w.Product::configuration->designs);
            QCOMPARE(answerer.texts.size(), 1);
            QVERIFY(answerer.texts.first().startsWith(Resource::getText("READ_FAIL")));
        }
        QCOMPARE(captions(&w), (QStringList{"d0", "d1"}));
        QCOMPARE(w.recentFiles(), (QStringList{paths[1], paths[0]}));
        for (int i = 2; i < 10; ++i)
            w.openFiles({paths[i]});
        QCOMPARE(w.getTabs()->count(), 10);
        QCOMPARE(w.recentFiles(), (QStringList{paths[9], paths[8], paths[7], paths[6], paths[5],
                                               paths[4], paths[3], paths[2]}));
        QFile::remove(paths[9]);
        // The next run offers them in File > Recent.
        DemoWindow next;
        QMenu* recent = nullptr;
        for (QMenu* menu : next.findChildren<QMenu*>())
            if (menu->title() == Resource::getText("RECENT"))
                recent = menu;
        QVERIFY(recent);
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 7);
        QCOMPARE(recent->actions().first()->text(), QDir::toNativeSeparators(paths[8]));
        recent->actions().first()->trigger();
        QCOMPARE(captions(&next), (QStringList{"Untitled 1", "d8"}));
    }

    // Picture files for a design: a file that is no picture is named and changes nothing; the
    // frames of an animation fill the slots from the current one on as one step, each as the
    // image tool delivers it at its opening place, and those beyond the last slot are counted.
    // A single picture, and a picture another program copied, open the image tool; our own
    // copy pastes as it is.
    void picturesComeIn()
    {
        DemoWindow w;
        WheelPanel* panel = w.getCurrent();
        QUndoStack* stack = panel->getUndoStack();
        panel->getLayerWidget()->changeIndex(1);
        ink(&w);
        const auto pictures = [panel] {
            QList<QImage> images;
            for (int i = 0; i < panel->getCount(); ++i)
                images << panel->getPixmap(i).toImage();
            return images;
        };
        const QList<QImage> before = pictures();
        const int steps = stack->count();
        const QString animation = RIMGLOW_FIXTURES "/pictures/three-frames.gif";
        const QString broken = dir.filePath("broken.png");
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
        file.close();
        // A PNG header claiming 30000 x 30000 pixels, refused by the reader's allocation limit.
        const QString huge = RIMGLOW_FIXTURES "/icons/claims-30000-squared.png";
        ModalAnswerer boxes;
        emit panel->import({animation, broken});
        emit panel->import({animation, huge});
        const QString refused = Resource::getText("NOT_A_PICTURE") + "\n";
        QCOMPARE(boxes.texts, (QStringList{refused + QDir::toNativeSeparators(broken),
                                           refused + QDir::toNativeSeparators(huge)}));
        QCOMPARE(stack->count(), steps);
        QCOMPARE(pictures(), before);

        {
            FileDialogAnswerer files({animation});
            w.getTools()->import();
        }
        QCOMPARE(boxes.texts.last(),
                 QString("Left out 1 of the 3 frames: the design has no slot after slot 3."));
        QCOMPARE(stack->count(), steps + 1);
        QCOMPARE(stack->undoText(), QString("Import"));
        const QList<QImage> after = pictures();
        QCOMPARE(after[0], before[0]);
        QVERIFY(after[1] != before[1] && after[2] != before[2] && after[1] != after[2]);
        stack->undo();
        QCOMPARE(pictures(), before);
        stack->redo();
        QCOMPARE(pictures(), after);

        // Our copy of slot 2 goes into another design as it is; other programs get it too.
        w.copy();
        WheelPanel* other = w.createNew();
        w.paste();
        QCOMPARE(other->getPixmap(0).toImage(), after[1]);
        QCOMPARE(captions(&w), (QStringList{"Untitled 1 *", "Untitled 2 *"}));
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(after[1].format()),
                 after[1]);
        // The second frame, black on its left half, as a still picture: OK in the image tool
        // paints what the import put into slot 3.
        QImage frame(320, 240, QImage::Format_RGB32);
        frame.fill(Qt::white);
        QPainter(&frame).fillRect(0, 0, 160, 240, Qt::black);
        QVERIFY(frame.save(dir.filePath("still.png")));
        other->getLayerWidget()->changeIndex(1);
        emit other->import({dir.filePath("still.png")});
        auto* image = qobject_cast<ImageTool*>(w.getTools()->currentTool());
        QVERIFY(image);
        image->getPanel()->toAdd();
        QCOMPARE(other->getPixmap(1).toImage(), after[2]);
        QVERIFY(!qobject_cast<ImageTool*>(w.getTools()->currentTool()));
        const int done = other->getUndoStack()->count();
        QGuiApplication::clipboard()->setImage(frame);
        w.paste();
        QVERIFY(qobject_cast<ImageTool*>(w.getTools()->currentTool()));
        QCOMPARE(other->getUndoStack()->count(), done);
    }

    // The menus' keys and marks, the zoom of each design, the docks, and what a hall sensor
    // changes.
    void menusZoomAndDocks()
    {
        DemoWindow w;
        QCOMPARE(entry(&w, "SAVE_AS")->shortcut(), QKeySequence("Ctrl+Shift+S"));
        QCOMPARE(entry(&w, "CLOSE_TAB")->shortcut(), QKeySequence("Ctrl+W"));
        QCOMPARE(entry(&w, "QUIT")->shortcut(), QKeySequence("Ctrl+Q"));
        QCOMPARE(entry(&w, "FIT")->shortcut(), QKeySequence("Ctrl+0"));
        QVERIFY(entry(&w, "SIMULATION") && !entry(&w, "PRESETS"));
        w.zoomIn();
        QCOMPARE(w.getCurrent()->transform().m11(), 1.25);
        w.zoomOut();
        QVERIFY(qFuzzyCompare(w.getCurrent()->transform().m22(), 1.0));
        // Fit shows the whole wheel, as large as the view allows.
        w.QMainWindow::show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.zoomIn();
        entry(&w, "FIT")->trigger();
        QCoreApplication::processEvents();
        WheelPanel* view = w.getCurrent();
        const QRect wheel = view->mapFromScene(QRectF(0, 0, 512, 512)).boundingRect();
        const QRect room = view->viewport()->rect();
        QVERIFY(room.adjusted(-2, -2, 2, 2).contains(wheel));
        QVERIFY(wheel.width() >= room.width() - 6 || wheel.height() >= room.height() - 6);
        w.createNew();
        entry(&w, "CLOSE_TAB")->trigger();
        QCOMPARE(captions(&w), QStringList{"Untitled 1"});

        // A closed dock leaves a bar along its side that brings it back, again and again; the
        // caption runs down a side bar, one letter a line, and the button fills the bar.
        DockWidget* dock = w.getToolDock();
        SmallDockWidget* bar = dock->getSmallDock();
        QCOMPARE(w.toolBarArea(bar), Qt::LeftToolBarArea);
        QCOMPARE(w.toolBarArea(w.getLayerDock()->getSmallDock()), Qt::RightToolBarArea);
        QVERIFY(!(dock->features() & QDockWidget::DockWidgetMovable));
        for (int i = 0; i < 2; ++i) {
            QVERIFY(dock->isVisible() && !bar->isVisible());
            QVERIFY(dock->close());
            QVERIFY(!dock->isVisible() && bar->isVisible());
            QCOMPARE(bar->getButton()->text(), QString("T\no\no\nl\ns\n"));
            const int lineWidth = int(bar->getButton()->fontMetrics().lineSpacing() * 1.75);
            QCOMPARE(bar->getButton()->geometry(), QRect(0, 0, lineWidth, bar->height()));
            QVERIFY(bar->height() > w.height() / 2);
            QTest::mouseClick(bar->getButton(), Qt::LeftButton);
        }
        QVERIFY(dock->isVisible() && !bar->isVisible());
        // Along the top or the bottom the bar lies flat.
        auto* top = new DockWidget(Qt::TopDockWidgetArea, &w);
        top->setText("Layers");
        QCOMPARE(w.toolBarArea(top->getSmallDock()), Qt::TopToolBarArea);
        QCOMPARE(top->getSmallDock()->getButton()->text(), QString("Layers"));
        QCOMPARE(w.toolBarArea((new DockWidget(Qt::BottomDockWidgetArea, &w))->getSmallDock()),
                 Qt::BottomToolBarArea);

        DemoWindow withHall(Product::demo("DEMO", true));
        QAction* presets = entry(&withHall, "PRESETS");
        QVERIFY(presets && !entry(&withHall, "SIMULATION"));
        presets->trigger();
        QVERIFY(withHall.getHallDialog()->isVisible());
        withHall.getHallDialog()->hide();
    }

    void languageChangeRetextsTheWindow()
    {
        DemoWindow w;
        ink(&w);
        {
            FileDialogAnswerer files({dir.filePath("kept")});
            QVERIFY(w.save());
        }
        w.createNew();
        ink(&w);
        const auto choose = [](const QString& code) {
            for (QAction* action : Resource::getLanguageMenu()->actions())
                if (action->statusTip() == code)
                    action->trigger();
        };
        choose("de");
        // The undo words (the step keeps the name it got when it was done), the new File
        // entries, the docks and the transfer dialog follow.
        QCOMPARE(Resource::getText("OPEN"), QString::fromUtf8("\u00d6ffnen"));
        QVERIFY(entry(&w, "OPEN") && entry(&w, "CLOSE_TAB") && entry(&w, "QUIT"));
        QCOMPARE(entry(&w, "UNDO")->text(), QString::fromUtf8("R\u00fcckg\u00e4ngig Draw"));
        QCOMPARE(w.findChild<Transmitter*>()->windowTitle(), Resource::getText("CONNECTION"));
        QCOMPARE(w.getTabs()->tabToolTip(1), Resource::getText("NOT_SAVED"));
        DockWidget* tools = w.getToolDock();
        QCOMPARE(tools->getSmallDock()->getButton()->text().remove('\n'), QString("Werkzeuge"));
        // Narrow contents still leave room for the longer title and the two title buttons.
        QVERIFY(tools->minimumWidth() > tools->fontMetrics().horizontalAdvance("Werkzeuge") + 30);
        // Designs never saved take the new word for untitled; saved ones keep their names.
        QCOMPARE(captions(&w), (QStringList{"kept", Resource::getText("UNTITLED") + "2 *"}));
        choose("en");
        QCOMPARE(entry(&w, "UNDO")->text(), QString("Undo Draw"));
        QCOMPARE(w.getTabs()->tabToolTip(1), QString("Not saved yet"));
        QCOMPARE(tools->windowTitle(), QString("Tools"));
        QCOMPARE(captions(&w), (QStringList{"kept", "Untitled 2 *"}));
    }

    // From a pen stroke on the screen to the frames the wheel holds.
    void penStrokeReachesTheWheel()
    {
        WheelProcess wheel({"--size", "16x8", "--id", "D12"});
        QVERIFY(wheel.isRunning());
        DemoWindow w;
        w.resize(1100, 800);
        w.QMainWindow::show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Nothing ticked: no dialog, no traffic.
        w.transmit({});
        QVERIFY(w.isVisible() && !w.findChild<Transmitter*>()->isVisible());

        const WheelWeb web(16, 8, 80, 16);
        WheelPanel* panel = w.getCurrent();
        const auto at = [&](int cell) { return panel->mapFromScene(web.getCenters()[cell]); };
        const int a = 20, b = 28;
        QTest::mousePress(panel->viewport(), Qt::LeftButton, {}, at(a));
        QTest::mouseMove(panel->viewport(), at(b));
        QTest::mouseRelease(panel->viewport(), Qt::LeftButton, {}, at(b));
        QCOMPARE(captions(&w), QStringList{"Untitled 1 *"});
        LayerWidget* layers = panel->getLayerWidget();
        layers->getView()->item(2)->setCheckState(Qt::Unchecked);
        QPushButton* send = nullptr;
        for (QPushButton* button : layers->findChildren<QPushButton*>())
            if (button->text() == Resource::getText("CONNECTION"))
                send = button;
        QVERIFY(send);
        ModalAnswerer answerer;
        QTest::mouseClick(send, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(w.isVisible(), 15000);
        QCOMPARE(answerer.texts, QStringList());

        // A new design repeats in the product's first arrangement: 16 positions in four.
        QByteArray expected((16 * 8 + 7) / 8, 0);
        for (int turn = 0; turn < 4; ++turn)
            for (int cell : {a + 32 * turn, b + 32 * turn})
                expected[cell / 8] = char(quint8(expected[cell / 8]) | (0x80 >> (cell % 8)));
        QCOMPARE(wheel.storedFrame(0), expected);
        QCOMPARE(wheel.storedFrame(1), QByteArray(expected.size(), 0));
        QCOMPARE(wheel.storedFrame(2), QByteArray());
        QCOMPARE(wheel.errors().count("identity request"), 1);
        QCOMPARE(w.statusBar()->currentMessage(), QString("2 pictures stored in the wheel."));
    }
};

RIMGLOW_TEST(MainWindowTest)
#include "tst_mainwindow.moc"
