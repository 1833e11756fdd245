#include "app/aboutdialog.h"
#include "app/startup.h"
#include "model/design.h"
#include "model/layerview.h"
#include "model/layerwidget.h"
#include "model/polarcells.h"
#include "tools/imagelabel.h"
#include "tools/imagetool.h"
#include "tools/selecttool.h"
#include "transfer/frameencoder.h"
#include "wheelprocess.h"
#include "windowhelpers.h"

namespace {

// What the window said when a file could not be used, and why, when that is known.
QString problem(const QString& key, const QString& path, const QString& reason = QString())
{
    return Resource::getText(key) + "\n" + QDir::toNativeSeparators(path) +
           (reason.isEmpty() ? QString() : "\n" + reason);
}

// Cells written as position/ring, separated by blanks, in the grid's order.
QList<int> cellsOf(const PolarGrid& grid, const QString& written)
{
    QList<int> found;
    for (const QString& cell : written.split(' '))
        found << grid.cell(cell.section('/', 0, 0).toInt(), cell.section('/', 1).toInt());
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // What a cancelled or failed save leaves, the mark of unsaved work, the product's suffix on
    // saved names, and designs opened again.
    void savingAndOpening()
    {
        const QString path = dir.filePath("saved"), round = path + "/round.DEMO",
                      letter = path + "/letter.DEMO";
        // A folder stands where the design file would go.
        QVERIFY(QDir(path).mkpath("blocked.DEMO"));
        QVERIFY(QFile::copy(RIMGLOW_FIXTURES "/designs/unreadable/not-a-picture.DEMO", letter));
        DemoWindow w;
        ModalAnswerer boxes({},
                            {QString(), path + "/blocked", path + "/round", QString(), round,
                             letter, path + "/pic.png", path + "/pic.demo", path + "/pic.DEMO"});
        ink(&w);
        QVERIFY(!w.save());
        // The design keeps no name: the next save asks again.
        QVERIFY(!w.save());
        QCOMPARE(captions(&w), QStringList{"Untitled 1 *"});
        QVERIFY(w.save());
        ink(&w, QPoint(100, 256));
        QCOMPARE(captions(&w), QStringList{"round *"});
        QCOMPARE(w.windowTitle(), QString("Rimglow! DEMO - round *"));
        // Undone to the saved state, the mark goes again.
        w.getCurrentDesign()->getUndoStack()->undo();
        QCOMPARE(captions(&w), QStringList{"round"});
        w.getCurrentDesign()->getUndoStack()->redo();
        QVERIFY(!w.saveAs());
        // A named design is saved without asking.
        QVERIFY(w.save());
        w.open();
        QCOMPARE(captions(&w), (QStringList{"round", "round"}));
        QCOMPARE(w.getTabs()->currentIndex(), 1);
        QCOMPARE(w.getCurrentDesign()->getFilePath(), round);
        auto* saved = static_cast<WheelPanel*>(w.getTabs()->widget(0));
        QCOMPARE(w.getCurrentDesign()->getPicture(), saved->getDesign()->getPicture());
        // A file that is no design opens nothing.
        w.open();
        QCOMPARE(w.getTabs()->count(), 2);
        QCOMPARE(boxes.texts,
                 (QStringList{
                     problem("SAVE_FAIL", path + "/blocked.DEMO", "Filename refers to a directory"),
                     problem("READ_FAIL", letter, "Unable to read image data")}));
        QVERIFY(w.saveAs() && w.saveAs() && w.saveAs());
        QVERIFY(QFile::exists(path + "/pic.png.DEMO") && QFile::exists(path + "/pic.demo.DEMO"));
        QCOMPARE(captions(&w).last(), QString("pic"));
        QCOMPARE(w.recentFiles().first(), path + "/pic.DEMO");
    }

    // Save As offers the design's own name in a folder that can take it: where the last design
    // was saved, else in the documents, else at home when there are no documents.
    void saveAsOffersAWritableFolder()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows takes the documents and home folders from the profile, not from HOME");
#endif
        QTemporaryDir home;
        const QByteArray realHome = qgetenv("HOME");
        const auto restore = qScopeGuard([&] { qputenv("HOME", realHome); });
        qputenv("HOME", QFile::encodeName(home.path()));
        const QString folder = dir.filePath("offered");
        QVERIFY(QDir().mkpath(folder));
        DemoWindow w;
        ModalAnswerer dialogs({}, {folder + "/round"});
        ink(&w);
        QVERIFY(w.saveAs());
        QVERIFY(!w.saveAs());
        // A removed disk.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(!w.saveAs());
        QVERIFY(QDir(home.path()).mkdir("Documents"));
        QVERIFY(!w.saveAs());
        QCOMPARE(dialogs.offered.mid(1), (QStringList{folder + "/round", home.path() + "/round",
                                                      home.path() + "/Documents/round"}));
    }

    // The About box goes with a click or with Escape, the keyboard's way out.
    void aboutBoxCloses_data()
    {
        QTest::addColumn<bool>("click");
        QTest::newRow("click") << true;
        QTest::newRow("escape") << false;
    }

    void aboutBoxCloses()
    {
        QFETCH(bool, click);
        DemoWindow w;
        w.show();
        auto* about = w.findChild<AboutDialog*>();
        about->show();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        if (click)
            QTest::mouseClick(about, Qt::LeftButton);
        else
            QTest::keyClick(about, Qt::Key_Escape);
        QTRY_VERIFY(!about->isVisible());
    }

    // Designs named on the command line open in place of the untouched first tab; opened and
    // saved designs are remembered for the next run, newest first, eight at most.
    void commandLineAndRecentDesigns()
    {
        // Through QSettings, whose cache outlives a removed file.
        QSettings(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                      "/recent.ini",
                  QSettings::IniFormat)
            .clear();
        QImage picture(512, 512, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        QStringList paths;
        for (int i = 0; i < 10; ++i)
            QVERIFY(
                picture.save((paths << dir.filePath(QString("d%1.DEMO").arg(i))).last(), "png"));
        ModalAnswerer answerer;
        DemoWindow w(Product::demo() + QStringList{paths[0], dir.filePath("gone.DEMO"), paths[1]});
        w.openFiles(w.Product::configuration->designs);
        QCOMPARE(answerer.texts, QStringList{problem("READ_FAIL", dir.filePath("gone.DEMO"))});
        QCOMPARE(captions(&w), (QStringList{"d0", "d1"}));
        QCOMPARE(w.recentFiles(), (QStringList{paths[1], paths[0]}));
        w.openFiles(paths.mid(2));
        QCOMPARE(w.getTabs()->count(), 10);
        QCOMPARE(w.recentFiles(), QStringList(paths.crbegin(), paths.crbegin() + 8));
        // File > Recent offers them and opens the one chosen.
        QMenu* recent = entry(&w, "RECENT")->menu();
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 8);
        w.closeTab(9);
        recent->actions().first()->trigger();
        QCOMPARE(captions(&w).last(), QString("d9"));
        const QStringList keys[] = {{"SAVE_AS", "Ctrl+Shift+S"},
                                    {"CLOSE_TAB", "Ctrl+W"},
                                    {"QUIT", "Ctrl+Q"},
                                    {"FIT", "Ctrl+0"}};
        for (const QStringList& key : keys)
            QCOMPARE(entry(&w, key[0])->shortcut(), QKeySequence(key[1]));
    }

    // Picture files for a design: a file that is no picture is named and changes nothing; the
    // frames of an animation fill the slots from the current one on as one step, each as the
    // image tool delivers it at its opening place, and those beyond the last slot are counted.
    // A picture another program copied opens the image tool; our own copy pastes as it is.
    void picturesComeIn()
    {
        DemoWindow w;
        WheelPanel* panel = w.getCurrent();
        Design* design = panel->getDesign();
        QUndoStack* stack = design->getUndoStack();
        design->chooseRow(1);
        ink(&w);
        const auto pictures = [design] {
            QList<QImage> images;
            for (int i = 0; i < design->getCount(); ++i)
                images << design->getPicture(i);
            return images;
        };
        const QList<QImage> before = pictures();
        const int steps = stack->count();
        const QString animation = RIMGLOW_FIXTURES "/pictures/three-frames.gif";
        const QString broken = RIMGLOW_FIXTURES "/fonts/truncated.bdf";
        // A PNG header claiming 30000 x 30000 pixels, refused by the reader's allocation limit.
        const QString huge = RIMGLOW_FIXTURES "/icons/claims-30000-squared.png";
        ModalAnswerer boxes({}, {animation});
        emit panel->import({animation, broken});
        emit panel->import({animation, huge});
        QCOMPARE(boxes.texts,
                 (QStringList{problem("NOT_A_PICTURE", broken), problem("NOT_A_PICTURE", huge)}));
        QCOMPARE(stack->count(), steps);
        QCOMPARE(pictures(), before);
        w.getTools()->import();
        QCOMPARE(boxes.texts.last(),
                 QString("Left out 1 of the 3 frames: the design has no slot after slot 3."));
        QCOMPARE(stack->count(), steps + 1);
        QCOMPARE(entry(&w, "UNDO")->text(), QString("&Undo Import"));
        const QList<QImage> after = pictures();
        QCOMPARE(after[0], before[0]);
        QVERIFY(after[1] != before[1] && after[2] != before[2] && after[1] != after[2]);

        // Our copy of slot 2 goes into another design as it is; other programs get it too.
        w.copy();
        Design* other = w.createNew()->getDesign();
        w.paste();
        QCOMPARE(other->getPicture(0), after[1]);
        QCOMPARE(captions(&w), (QStringList{"Untitled 1 *", "Untitled 2 *"}));
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(after[1].format()),
                 after[1]);
        // The second frame, black on its left half, copied elsewhere: OK in the image tool
        // paints what the import put into slot 3.
        QImage frame(320, 240, QImage::Format_RGB32);
        frame.fill(Qt::white);
        QPainter(&frame).fillRect(0, 0, 160, 240, Qt::black);
        QGuiApplication::clipboard()->setImage(frame);
        other->chooseRow(1);
        const int done = other->getUndoStack()->count();
        w.paste();
        auto* image = qobject_cast<ImageTool*>(w.getTools()->currentTool());
        QVERIFY(image && other->getUndoStack()->count() == done);
        image->getPanel()->toAdd();
        QCOMPARE(other->getPicture(1), after[2]);
        QVERIFY(!qobject_cast<ImageTool*>(w.getTools()->currentTool()));
    }

    // Unsaved work is asked about before it is lost, in the design's own tab; the last tab
    // closed leaves a fresh, fully wired one. A hall sensor trades the simulation for presets.
    void unsavedWorkAndHall()
    {
        DemoWindow w;
        w.QMainWindow::show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalAnswerer answerer({"Cancel", "Cancel", "No", "Yes", "No", "No"},
                               {dir.filePath("kept"), dir.filePath("kept.DEMO")});
        WheelPanel* first = w.getCurrent();
        ink(&w);
        QVERIFY(w.getLayerWidget(w.createNew())->isVisibleTo(&w));
        ink(&w);
        QVERIFY(!w.close() && w.isVisible());
        QVERIFY(!w.closeTab(0));
        QCOMPARE(captions(&w), (QStringList{"Untitled 1 *", "Untitled 2 *"}));
        QCOMPARE(w.getCurrent(), first);
        // No drops a design that is not current and leaves the current one alone; Yes saves.
        QVERIFY(w.closeTab(1));
        QCOMPARE(w.getCurrent(), first);
        entry(&w, "CLOSE_TAB")->trigger();
        QVERIFY(QFile::exists(dir.filePath("kept.DEMO")));
        QCOMPARE(captions(&w), QStringList{"Untitled 3"});
        ink(&w);
        w.open();
        ink(&w);
        QVERIFY(w.close());
        for (QString& text : answerer.texts)
            text.remove(Resource::getText("CHANGE") + "\n");
        QCOMPARE(answerer.texts, (QStringList{"Untitled 2", "Untitled 1", "Untitled 2",
                                              "Untitled 1", "kept", "Untitled 3"}));

        DemoWindow withHall(Product::demo("DEMO", true));
        QAction* presets = entry(&withHall, "PRESETS");
        QVERIFY(presets && !entry(&withHall, "SIMULATION") && !entry(&w, "PRESETS"));
        presets->trigger();
        QVERIFY(withHall.getHallDialog()->isVisible());
        withHall.getHallDialog()->hide();
    }

    // The Edit menu's cell commands on a 16 x 8 grid, or 15 x 8, lit at 0/0, 1/1 and 5/7
    // (position/ring): on the picture, or on a selection dragged from 0/0 to 1/1, whose cells
    // Cut, Copy and Paste carry to the next slot, where they float and move before they land. The
    // cells lit at the end, the steps, and the status bar's note for a mirror the grid cannot do
    // exactly.
    void cellCommands_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("note");
        const QStringList rotate{"MENU_ROTATE"};
        QTest::newRow("rotate") << 16 << false << rotate << "3/0 4/1 8/7" << 1 << false;
        QTest::newRow("mirror left and right")
            << 16 << false << QStringList{"MENU_MIRROR_LEFT_RIGHT"} << "7/0 6/1 2/7" << 1 << false;
        QTest::newRow("mirror top and bottom")
            << 16 << false << QStringList{"MENU_MIRROR_TOP_BOTTOM"} << "15/0 14/1 10/7" << 1
            << false;
        QTest::newRow("swap") << 16 << false << QStringList{"MENU_SWAP_RINGS"} << "0/7 1/6 5/0" << 1
                              << false;
        QTest::newRow("odd mirror")
            << 15 << false << QStringList{"MENU_MIRROR_LEFT_RIGHT"} << "7/0 6/1 2/7" << 1 << true;
        QTest::newRow("rotate a selection") << 16 << true << rotate << "3/0 4/1 5/7" << 1 << false;
        QTest::newRow("swap a selection")
            << 16 << true << QStringList{"MENU_SWAP_RINGS"} << "0/7 1/6 5/7" << 1 << false;
        QTest::newRow("cut and paste a selection")
            << 16 << true << QStringList{"CUT", "next slot", "PASTE", "right", "escape"}
            << "1/0 2/1" << 3 << false;
        QTest::newRow("copy and paste the picture")
            << 16 << false << QStringList{"COPY", "next slot", "PASTE"} << "0/0 1/1 5/7" << 2
            << false;
    }
    void cellCommands()
    {
        QFETCH(int, lines);
        QFETCH(bool, selected);
        QFETCH(QStringList, commands);
        QFETCH(QString, expected);
        QFETCH(int, steps);
        QFETCH(bool, note);
        QStringList options = Product::demo();
        options[3] = QString("%1x8").arg(lines);
        DemoWindow w(options);
        w.show();
        const WheelWeb web(lines, 8, 80, 16);
        const PolarGrid grid(lines, 8);
        const auto cells = [&](const QString& written) { return cellsOf(grid, written); };
        PolarCells lit(grid);
        for (int cell : cells("0/0 1/1 5/7"))
            lit.setColour(cell, qRgb(0, 0, 200));
        Design* design = w.getCurrentDesign();
        design->setPicture(design->getCurrentIndex(), lit.paintedOver(design->getPicture(), web));
        WheelPanel* panel = w.getCurrent();
        const auto at = [&](int cell) { return panel->mapFromScene(web.getCenters()[cell]); };
        if (selected) {
            entry(&w, "MENU_SELECTION")->trigger();
            QTest::mousePress(panel->viewport(), Qt::LeftButton, {}, at(cells("0/0").first()));
            QTest::mouseMove(panel->viewport(), at(cells("1/1").first()));
            QTest::mouseRelease(panel->viewport(), Qt::LeftButton, {}, at(cells("1/1").first()));
        }
        ModalAnswerer answerer({"3"});
        for (const QString& command : commands) {
            if (command == "next slot") {
                design->chooseRow(1);
                QTest::qWait(20);
            } else if (command == "escape" || command == "right") {
                QTest::keyClick(panel, command == "right" ? Qt::Key_Right : Qt::Key_Escape);
            } else {
                entry(&w, command)->trigger();
            }
        }
        QList<int> shown;
        const QImage picture = design->getPicture();
        for (int cell = 0; cell < grid.count(); ++cell)
            if (qAlpha(picture.pixel(web.getCenters()[cell].toPoint())) > 0)
                shown << cell;
        QCOMPARE(shown, cells(expected));
        QCOMPARE(design->getUndoStack()->count(), steps);
        QCOMPARE(w.statusBar()->currentMessage() == Resource::getText("MIRROR_NEAREST"), note);
    }

    // A walk through the new tools as a user takes it, from a saved design: a line down a
    // spoke, a sector's outline, the line's cells copied into the next slot, moved there by a
    // position and put down, and the next slot turned inside out. Undo goes back to the saved
    // design exactly, and Redo brings the walk back.
    void cellToolsWalk()
    {
        QStringList options = Product::demo();
        options[3] = "16x8";
        DemoWindow w(options);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (QAction* arrangement : w.getArray()->getMenu()->actions())
            if (arrangement->data().toInt() == 1)
                arrangement->trigger();
        const WheelWeb web(16, 8, 80, 16);
        const PolarGrid grid(16, 8);
        const auto cells = [&](const QString& written) { return cellsOf(grid, written); };
        Design* design = w.getCurrentDesign();
        const auto lit = [&](int row) {
            QList<int> found;
            const QImage picture = design->getPicture(design->getList()[row]);
            for (int cell = 0; cell < grid.count(); ++cell)
                if (FrameEncoder::isLit(picture, web.getCenters()[cell]))
                    found << cell;
            return found;
        };
        const auto pictures = [&] {
            QList<QImage> all;
            for (int index = 0; index < design->getCount(); ++index)
                all << design->getPicture(index);
            return all;
        };
        ink(&w);
        const QTemporaryDir folder;
        QString error;
        QVERIFY2(design->save(folder.filePath("walk.DEMO"), &error), qPrintable(error));
        const QList<QImage> saved = pictures();
        const QList<int> before = lit(0);

        WheelPanel* panel = w.getCurrent();
        const auto drag = [&](const QString& from, const QString& to) {
            const auto at = [&](const QString& cell) {
                return panel->mapFromScene(web.getCenters()[cells(cell).first()]);
            };
            QTest::mousePress(panel->viewport(), Qt::LeftButton, {}, at(from));
            QTest::mouseMove(panel->viewport(), at(to));
            QTest::mouseRelease(panel->viewport(), Qt::LeftButton, {}, at(to));
        };
        entry(&w, "MENU_LINE")->trigger();
        drag("2/0", "2/7");
        entry(&w, "MENU_SECTOR")->trigger();
        drag("5/1", "7/3");
        QList<int> first = before + cells("2/0 2/1 2/2 2/3 2/4 2/5 2/6 2/7 5/1 5/2 5/3 6/1 6/3 "
                                          "7/1 7/2 7/3");
        std::sort(first.begin(), first.end());
        QCOMPARE(lit(0), first);

        entry(&w, "MENU_SELECTION")->trigger();
        drag("2/0", "2/3");
        entry(&w, "COPY")->trigger();
        w.getLayerWidget(panel)->getView()->setCurrentRow(1);
        QCOMPARE(design->getCurrentRow(), 1);
        entry(&w, "PASTE")->trigger();
        QTest::keyClick(panel, Qt::Key_Right);
        QTest::keyClick(panel, Qt::Key_Escape);
        QCOMPARE(lit(1), cells("3/0 3/1 3/2 3/3"));
        entry(&w, "MENU_SELECT_ALL")->trigger();
        entry(&w, "MENU_SWAP_RINGS")->trigger();
        QTest::keyClick(panel, Qt::Key_Escape);
        QCOMPARE(lit(1), cells("3/4 3/5 3/6 3/7"));
        QCOMPARE(lit(0), first);
        const QList<QImage> walked = pictures();

        QUndoStack* stack = design->getUndoStack();
        for (int step = stack->index(); step > stack->cleanIndex(); --step)
            entry(&w, "UNDO")->trigger();
        QVERIFY(!design->isModified());
        QCOMPARE(pictures(), saved);
        QCOMPARE(design->getCurrentRow(), 0);
        Design reread(design->getCount(), design->getPictureSize());
        QVERIFY(reread.load(folder.filePath("walk.DEMO"), &error));
        QCOMPARE(reread.getPicture(0), saved[0]);
        for (int step = stack->index(); step < stack->count(); ++step)
            QTest::keySequence(&w, QKeySequence::Redo);
        QCOMPARE(pictures(), walked);
        QCOMPARE(design->getCurrentRow(), 1);

        // A new design comes with the chosen tool, at work on the new design.
        WheelPanel* fresh = w.createNew();
        QVERIFY(qobject_cast<SelectTool*>(w.getTools()->currentTool()));
        entry(&w, "MENU_SELECT_ALL")->trigger();
        QTest::keyClick(fresh, Qt::Key_Delete);
        QCOMPARE(pictures(), walked);
    }

    // From a pen stroke on the screen to the frames the wheel holds, in the program as it runs.
    // Quitting while a store is on the line lets that store arrive whole.
    void penStrokeReachesTheWheel()
    {
        WheelProcess wheel({"--paced", "--size", "16x8", "--id", "D12"});
        const WheelWeb web(16, 8, 80, 16);
        const int a = 20, b = 28;
        // A new design repeats in the product's first arrangement: 16 positions in four.
        QByteArray stroke((16 * 8 + 7) / 8, 0);
        for (int turn = 0; turn < 4; ++turn)
            for (int cell : {a + 32 * turn, b + 32 * turn})
                stroke[cell / 8] = char(quint8(stroke[cell / 8]) | (0x80 >> (cell % 8)));
        bool closed = false;
        QTimer script;
        connect(&script, &QTimer::timeout, this, [&] {
            MainWindow* w = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets())
                w = w ? w : qobject_cast<MainWindow*>(widget);
            if (!w || !w->isVisible())
                return;
            script.stop();
            // A failed check leaves this early: the program ends all the same.
            const auto end = qScopeGuard([&] {
                if (!closed)
                    QCoreApplication::exit(1);
            });
            w->resize(1100, 800);
            QCoreApplication::processEvents();
            auto* transmitter = w->findChild<Transmitter*>();
            // Nothing ticked: no dialog, no traffic.
            w->transmit({});
            QVERIFY(w->isVisible() && !transmitter->isVisible());
            WheelPanel* panel = w->getCurrent();
            const auto at = [&](int cell) { return panel->mapFromScene(web.getCenters()[cell]); };
            QTest::mousePress(panel->viewport(), Qt::LeftButton, {}, at(a));
            QTest::mouseMove(panel->viewport(), at(b));
            QTest::mouseRelease(panel->viewport(), Qt::LeftButton, {}, at(b));
            QCOMPARE(captions(w), QStringList{"Untitled 1 *"});
            LayerWidget* layers = w->getLayerWidget(panel);
            layers->getView()->item(2)->setCheckState(Qt::Unchecked);
            QPushButton* send = nullptr;
            for (QPushButton* button : layers->findChildren<QPushButton*>())
                send = button->text() == Resource::getText("CONNECTION") ? button : send;
            QTest::mouseClick(send, Qt::LeftButton);
            QVERIFY(!w->isVisible());
            QTRY_VERIFY_WITH_TIMEOUT(w->isVisible(), 15000);
            QCOMPARE(wheel.storedFrame(0), stroke);
            QCOMPARE(wheel.storedFrame(1), QByteArray(stroke.size(), 0));
            QCOMPARE(wheel.storedFrame(2), QByteArray());
            QCOMPARE(w->statusBar()->currentMessage(), QString("2 pictures stored in the wheel."));

            panel->getDesign()->getUndoStack()->setClean();
            QImage ink(512, 512, QImage::Format_ARGB32);
            ink.fill(Qt::black);
            w->transmit({{1, ink}, {2, ink}});
            QTRY_VERIFY(transmitter->labelText() != Resource::getText("CONNECTION"));
            // The store starts 100 ms after the label changed and takes about 230 ms.
            QTest::qWait(200);
            transmitter->close();
            closed = w->close();
        });
        script.start(10);
        ModalAnswerer answerer;
        Product product(Product::demo());
        QCOMPARE(runProgram(int(product.pointers.size()), product.pointers.data()), 0);
        QVERIFY(closed);
        QCOMPARE(answerer.texts, QStringList());
        QCOMPARE(wheel.storedFrame(1), QByteArray(16, char(0xFF)));
    }

    // Send This Picture stores the current slot alone, ticked or not, under its own number,
    // from the menu, its key and its tool-bar button; the dialog tells the time left while it
    // stores. A slot beyond the wheel's capacity is named in a box, and nothing is stored.
    void sendThisPicture_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("wheelId");
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("box");
        QTest::newRow("menu, current slot unticked")
            << "menu"
            << "D12" << QList<int>{0, 1, 3} << 4 << QString();
        QTest::newRow("key, current slot ticked") << "key"
                                                  << "D12" << QList<int>{0, 2, 3} << 2 << QString();
        QTest::newRow("button, every slot ticked")
            << "button"
            << "D12" << QList<int>{0, 1, 2, 3, 4, 5} << 5 << QString();
        QTest::newRow("beyond the wheel")
            << "key"
            << "D08" << QList<int>{0, 1} << 4
            << "The wheel holds 2 pictures; slot 5 is beyond them and was not sent.";
    }

    void sendThisPicture()
    {
        QFETCH(QString, route);
        QFETCH(QString, wheelId);
        QFETCH(QList<int>, ticked);
        QFETCH(int, row);
        QFETCH(QString, box);
        WheelProcess wheel({"--paced", "--size", "16x8", "--id", wheelId});
        DemoWindow w({"-n", "DEMO", "-s", "16x8", "-o", "80", "-i", "16", "-v", "D12x6+D08x2", "-c",
                      "red+blue"});
        w.resize(1100, 800);
        w.QMainWindow::show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // Every slot lights a wedge of its own width.
        Design* design = w.getCurrent()->getDesign();
        QMap<int, QImage> pictures;
        for (int slot = 0; slot < 6; ++slot) {
            QImage wedge(512, 512, QImage::Format_ARGB32_Premultiplied);
            wedge.fill(Qt::transparent);
            QPainter painter(&wedge);
            painter.setBrush(Qt::black);
            painter.drawPie(wedge.rect(), 0, (slot + 1) * 360);
            painter.end();
            design->setPicture(slot, wedge);
            design->tick(slot, ticked.contains(slot));
            pictures.insert(slot, wedge);
        }
        w.getLayerWidget(w.getCurrent())->getView()->setCurrentRow(row);
        QCOMPARE(design->getCurrentRow(), row);
        auto* transmitter = w.findChild<Transmitter*>();
        QAction* action = entry(&w, "SEND_THIS_PICTURE");
        ModalAnswerer answerer;
        if (route == "menu")
            action->trigger();
        else if (route == "key")
            QTest::keyClick(&w, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
        else
            QTest::mouseClick(w.findChild<QToolBar*>("file")->widgetForAction(action),
                              Qt::LeftButton);
        QVERIFY(transmitter->isVisible() && !w.isVisible());
        if (box.isEmpty()) {
            // A 16-byte frame takes 0.34 s by the estimate.
            QTRY_VERIFY_WITH_TIMEOUT(transmitter->labelText().contains('\n'), 5000);
            QCOMPARE(transmitter->labelText(),
                     QString("Storing picture %1\nAbout 1 s left").arg(row + 1));
        }
        QTRY_VERIFY_WITH_TIMEOUT(w.isVisible(), 15000);
        QCOMPARE(answerer.details, box.isEmpty() ? QStringList() : QStringList{box});
        const QByteArray frame =
            FrameEncoder::encodeAll({{row, pictures[row]}}, WheelWeb(16, 8, 80, 16), false, 0, 360)
                .value(row);
        for (int slot = 0; slot < 6; ++slot)
            QCOMPARE(wheel.storedFrame(slot), slot == row && box.isEmpty() ? frame : QByteArray());
    }
};

RIMGLOW_TEST(MainWindowTest)
#include "tst_mainwindow.moc"
