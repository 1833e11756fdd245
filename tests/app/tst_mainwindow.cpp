#include "app/dockwidget.h"
#include "app/mainwindow.h"
#include "filedialoganswerer.h"
#include "menuentries.h"
#include "modalanswerer.h"
#include "model/layerview.h"
#include "model/layerwidget.h"
#include "model/wheelpanel.h"
#include "product.h"
#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "testsuite.h"
#include "tools/imagelabel.h"
#include "tools/imagetool.h"
#include "transfer/frameencoder.h"
#include "wheelprocess.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <QUrl>

#include <memory>

namespace {

QStringList captions(QTabWidget* tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

// Paints one cell of the current picture, as a tool result would.
void ink(MainWindow* window, QPoint at = QPoint(256, 100), int alpha = 255)
{
    QPixmap dot(512, 512);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.fillRect(QRect(at, QSize(8, 8)), QColor(0, 0, 0, alpha));
    painter.end();
    window->setPixmap(dot, QPainter::CompositionMode_SourceOver, "DRAW");
}

// The undo or redo command, found by its key.
QAction* stepAction(MainWindow* window, QKeySequence::StandardKey key)
{
    for (QAction* action : allActions(window))
        if (action->shortcut() == QKeySequence(key))
            return action;
    return nullptr;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    void closingTheOnlyCleanTabOpensTheNextUntitled()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 1"});
        window.createNew();
        QCOMPARE(captions(window.getTabs()), (QStringList{"Untitled 1", "Untitled 2"}));
        QVERIFY(window.closeTab(1));
        QVERIFY(window.closeTab(0));
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 3"});
        QCOMPARE(window.getCurrent(), window.getTabs()->widget(0));
        // The fresh design is fully wired: drawing reaches it as an undo step.
        ink(&window);
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 3 *"});
    }

    void abortOnQuitKeepsEverything()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        window.QMainWindow::show();
        ink(&window);
        window.createNew();
        ink(&window);
        {
            ModalAnswerer answerer({"Cancel"});
            QVERIFY(!window.close());
            QVERIFY(window.isVisible());
            QCOMPARE(answerer.texts, QStringList{Resource::getText("CHANGE") + "\nUntitled 2"});
            QCOMPARE(captions(window.getTabs()), (QStringList{"Untitled 1 *", "Untitled 2 *"}));
        }

        // Discarding both lets the window close.
        ModalAnswerer discard({"No", "No"});
        QVERIFY(window.close());
        QCOMPARE(discard.texts.size(), 2);
    }

    void savedNamesCarryTheProductSuffix_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("caption");
        QTest::newRow("bare name") << "picture"
                                   << "picture.XYZ"
                                   << "picture";
        QTest::newRow("with suffix") << "picture.XYZ"
                                     << "picture.XYZ"
                                     << "picture";
        QTest::newRow("other suffix") << "picture.png"
                                      << "picture.png.XYZ"
                                      << "picture";
        QTest::newRow("suffix in other case") << "picture.xyz"
                                              << "picture.xyz.XYZ"
                                              << "picture";
    }

    void savedNamesCarryTheProductSuffix()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(QString, caption);
        QTemporaryDir folder;
        Product product(Product::demo("XYZ"));
        MainWindow window(product.configuration.get());
        ink(&window);
        {
            FileDialogAnswerer files({folder.filePath(typed)});
            QVERIFY(window.save());
            QCOMPARE(files.filters, QStringList{"*.XYZ"});
        }
        QVERIFY(QFile::exists(folder.filePath(written)));
        QCOMPARE(window.getCurrent()->statusTip(), folder.filePath(written));
        QCOMPARE(captions(window.getTabs()), QStringList{caption});

        // Saving again writes to the same file without asking.
        ink(&window, QPoint(100, 256));
        FileDialogAnswerer none({});
        QVERIFY(window.save());
        QCOMPARE(none.folders, QStringList());
        QCOMPARE(captions(window.getTabs()), QStringList{caption});
    }

    // An installed program's design folder is read-only; a removed folder stands in for it
    // here, where the tests may run as root and could write anywhere.
    void saveLeavesAFolderThatCannotTakeTheFile()
    {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        // Made for the test only when the user has none, and then removed again.
        const bool made = !QFileInfo::exists(documents) && QDir().mkpath(documents);
        auto folder = std::make_unique<QTemporaryDir>();
        Product product(Product::demo("XYZ"));
        MainWindow window(product.configuration.get());
        ink(&window);
        {
            FileDialogAnswerer files({folder->filePath("first")});
            QVERIFY(window.save());
            QCOMPARE(files.folders,
                     QStringList{QDir(Resource::directory() + "File").absolutePath()});
        }
        {
            FileDialogAnswerer files({QString()});
            QVERIFY(!window.saveAs());
            QCOMPARE(files.folders, QStringList{folder->path()});
        }
        folder.reset();
        FileDialogAnswerer files({QString()});
        QVERIFY(!window.saveAs());
        if (made)
            QDir().rmdir(documents);
        QCOMPARE(files.folders, QStringList{QDir(documents).absolutePath()});
    }

    void cancelledSaveDialogKeepsTheDesignModified()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        ink(&window);
        FileDialogAnswerer files({QString()});
        QVERIFY(!window.save());
        QCOMPARE(files.folders.size(), 1);
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 1 *"});
    }

    void undoToTheSavedStateDropsTheMark()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        ink(&window);
        {
            FileDialogAnswerer files({dir.filePath("undo")});
            QVERIFY(window.save());
        }
        QCOMPARE(captions(window.getTabs()), QStringList{"undo"});
        ink(&window, QPoint(100, 256));
        QCOMPARE(captions(window.getTabs()), QStringList{"undo *"});
        window.getCurrent()->getUndoStack()->undo();
        QCOMPARE(captions(window.getTabs()), QStringList{"undo"});
        window.getCurrent()->getUndoStack()->undo();
        QCOMPARE(captions(window.getTabs()), QStringList{"undo *"});
    }

    void savedDesignOpensWithItsPictures()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        ink(&window);
        const QImage drawn = window.getCurrent()->getPixmap().toImage();
        {
            FileDialogAnswerer files({dir.filePath("round")});
            QVERIFY(window.save());
        }
        FileDialogAnswerer files({dir.filePath("round.DEMO")});
        window.open();
        QCOMPARE(captions(window.getTabs()), (QStringList{"round", "round"}));
        QCOMPARE(window.getTabs()->currentIndex(), 1);
        QCOMPARE(window.getCurrent()->statusTip(), dir.filePath("round.DEMO"));
        QCOMPARE(window.getCurrent()->getPixmap().toImage(), drawn);
        // The open dialog started where the last save went.
        QCOMPARE(files.folders, QStringList{dir.path()});
    }

    void exampleDesignOpensFromTheStartFolder()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        const QString folder = QDir(Resource::directory() + "File").absolutePath();
        FileDialogAnswerer files({folder + "/pinwheel.DEMO"});
        window.open();
        QCOMPARE(files.folders, QStringList{folder});
        QCOMPARE(captions(window.getTabs()), (QStringList{"Untitled 1", "pinwheel"}));
        const QImage picture = window.getCurrent()->getPixmap().toImage();
        int inked = 0;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                inked += qAlpha(picture.pixel(x, y)) > 0;
        QVERIFY2(inked > 100, qPrintable(QString::number(inked)));
    }

    void unreadableFileOpensNothing()
    {
        const QString path = dir.filePath("letter.DEMO");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Dear wheel, this is not a picture.");
        }
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        ModalAnswerer answerer;
        FileDialogAnswerer files({path});
        window.open();
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts.first().startsWith(Resource::getText("READ_FAIL")));
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 1"});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Dear wheel, this is not a picture."));
    }

    void failedSaveKeepsTheWorkAndAsksAgain()
    {
        // A folder stands where the design file would go.
        QVERIFY(QDir(dir.path()).mkpath("blocked.DEMO"));
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        window.QMainWindow::show();
        ink(&window);
        {
            ModalAnswerer answerer;
            FileDialogAnswerer files({dir.filePath("blocked")});
            QVERIFY(!window.save());
            QCOMPARE(answerer.texts.size(), 1);
            QVERIFY(answerer.texts.first().startsWith(Resource::getText("SAVE_FAIL")));
        }
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 1 *"});
        QCOMPARE(window.getCurrent()->statusTip(), QString());

        // Yes to saving, and the save fails again: the tab stays and the window stays open.
        ModalAnswerer answerer({"Yes"});
        FileDialogAnswerer files({dir.filePath("blocked")});
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(answerer.texts.size(), 2);
        QCOMPARE(answerer.texts[0], Resource::getText("CHANGE") + "\nUntitled 1");
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 1 *"});
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
        const QString missing = dir.filePath("missing.DEMO");
        Product product(Product::demo() + QStringList{paths[0], missing, paths[1]});
        QCOMPARE(product.configuration->designs, (QStringList{paths[0], missing, paths[1]}));
        MainWindow window(product.configuration.get());
        {
            ModalAnswerer answerer;
            window.openFiles(product.configuration->designs);
            QCOMPARE(answerer.texts.size(), 1);
            QVERIFY(answerer.texts.first().startsWith(Resource::getText("READ_FAIL")));
        }
        QCOMPARE(captions(window.getTabs()), (QStringList{"d0", "d1"}));
        QCOMPARE(window.recentFiles(), (QStringList{paths[1], paths[0]}));
        for (int i = 2; i < 10; ++i)
            window.openFiles({paths[i]});
        QCOMPARE(window.recentFiles(), (QStringList{paths[9], paths[8], paths[7], paths[6],
                                                    paths[5], paths[4], paths[3], paths[2]}));
        QFile::remove(paths[9]);
        QCOMPARE(window.recentFiles().first(), paths[8]);

        // The next run offers them in File > Recent.
        MainWindow next(product.configuration.get());
        QMenu* recent = nullptr;
        for (QMenu* menu : next.findChildren<QMenu*>())
            if (menu->title() == Resource::getText("RECENT"))
                recent = menu;
        QVERIFY(recent);
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 7);
        QCOMPARE(recent->actions().first()->text(), QDir::toNativeSeparators(paths[8]));
        recent->actions().first()->trigger();
        QCOMPARE(captions(next.getTabs()), (QStringList{"Untitled 1", "d8"}));
    }

    void questionShowsAndNamesItsDesign()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        ink(&window);
        window.createNew();
        ModalAnswerer answerer({"Cancel"});
        QVERIFY(!window.closeTab(0));
        QCOMPARE(answerer.texts, QStringList{Resource::getText("CHANGE") + "\nUntitled 1"});
        QCOMPARE(window.getTabs()->currentIndex(), 0);
    }

    // The title and the tabs' tool tips tell which file is open; the file keys, the repeat
    // menu's mark.
    void windowSaysWhatIsOpen()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        QCOMPARE(window.windowTitle(), QString("Rimglow! DEMO - Untitled 1"));
        QCOMPARE(window.getTabs()->tabToolTip(0), QString("Not saved yet"));
        ink(&window);
        QCOMPARE(window.windowTitle(), QString("Rimglow! DEMO - Untitled 1 *"));
        QCOMPARE(stepAction(&window, QKeySequence::Undo)->text(), QString("Undo Draw"));
        {
            FileDialogAnswerer files({dir.filePath("shown")});
            QVERIFY(window.saveAs());
        }
        QCOMPARE(window.windowTitle(), QString("Rimglow! DEMO - shown"));
        QCOMPARE(window.getTabs()->tabToolTip(0),
                 QDir::toNativeSeparators(dir.filePath("shown.DEMO")));
        window.createNew();
        QCOMPARE(window.windowTitle(), QString("Rimglow! DEMO - Untitled 2"));

        QCOMPARE(entry(&window, "SAVE_AS")->shortcut(), QKeySequence("Ctrl+Shift+S"));
        QCOMPARE(entry(&window, "CLOSE_TAB")->shortcut(), QKeySequence("Ctrl+W"));
        QCOMPARE(entry(&window, "QUIT")->shortcut(), QKeySequence("Ctrl+Q"));
        entry(&window, "CLOSE_TAB")->trigger();
        QCOMPARE(captions(window.getTabs()), QStringList{"shown"});

        QMenu* repeat = window.getArray()->getMenu();
        QCOMPARE(checkedEntries(repeat),
                 QStringList{QString::number(window.getArray()->getArray())});
        repeat->actions().first()->trigger();
        QCOMPARE(checkedEntries(repeat), QStringList{"1"});
    }

    void yesOnCloseSavesBeforeClosing()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        ink(&window);
        window.createNew();
        ModalAnswerer answerer({"Yes"});
        FileDialogAnswerer files({dir.filePath("kept")});
        QVERIFY(window.closeTab(0));
        QVERIFY(QFile::exists(dir.filePath("kept.DEMO")));
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 2"});
    }

    void clipboardCarriesAPictureToAnotherDesign()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        ink(&window);
        const QImage drawn = window.getCurrent()->getPixmap().toImage();
        window.copy();
        window.createNew();
        window.paste();
        QCOMPARE(window.getCurrent()->getPixmap().toImage(), drawn);
        QCOMPARE(captions(window.getTabs()), (QStringList{"Untitled 1 *", "Untitled 2 *"}));
        // The copy is on the system clipboard for other programs too.
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(drawn.format()), drawn);

        // A picture another program copied opens in the image tool instead.
        QImage other(64, 64, QImage::Format_ARGB32);
        other.fill(Qt::black);
        QGuiApplication::clipboard()->setImage(other);
        const int steps = window.getCurrent()->getUndoStack()->count();
        window.paste();
        QVERIFY(qobject_cast<ImageTool*>(window.getTools()->currentTool()));
        QCOMPARE(window.getCurrent()->getUndoStack()->count(), steps);
    }

    // Picture files for a design: a file that is no picture is named and changes nothing; the
    // frames of an animation fill the slots from the current one on as one step, each as the
    // image tool delivers it at its opening place, and those beyond the last slot are counted.
    void importedFramesFillConsecutiveSlots()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        WheelPanel* panel = window.getCurrent();
        QUndoStack* stack = panel->getUndoStack();
        panel->getLayerWidget()->changeIndex(1);
        ink(&window);
        const auto pictures = [](WheelPanel* design) {
            QList<QImage> images;
            for (int i = 0; i < design->getCount(); ++i)
                images << design->getPixmap(i).toImage();
            return images;
        };
        const auto drop = [](WheelPanel* design, const QStringList& paths) {
            QMimeData data;
            QList<QUrl> urls;
            for (const QString& path : paths)
                urls << QUrl::fromLocalFile(path);
            data.setUrls(urls);
            // The drop goes where the entering drag was taken.
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(design->viewport(), &enter);
            QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(design->viewport(), &event);
        };
        const QList<QImage> before = pictures(panel);
        const int steps = stack->count();
        const QString animation = RIMGLOW_FIXTURES "/pictures/three-frames.gif";
        const QString broken = dir.filePath("broken.png");
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
        file.close();
        // A PNG header claiming 30000 x 30000 pixels, refused by the reader's allocation limit.
        const QString huge = RIMGLOW_FIXTURES "/icons/claims-30000-squared.png";
        for (const QString& unreadable : {broken, huge}) {
            ModalAnswerer answerer;
            drop(panel, {animation, unreadable});
            QCOMPARE(answerer.texts, QStringList{Resource::getText("NOT_A_PICTURE") + "\n" +
                                                 QDir::toNativeSeparators(unreadable)});
        }
        QCOMPARE(stack->count(), steps);
        QCOMPARE(pictures(panel), before);

        const QIcon icon = panel->getLayerWidget()->getView()->item(2)->icon();
        {
            ModalAnswerer answerer;
            FileDialogAnswerer files({animation});
            window.getTools()->import();
            QCOMPARE(
                answerer.texts,
                QStringList{"Left out 1 of the 3 frames: the design has no slot after slot 3."});
        }
        QCOMPARE(stack->count(), steps + 1);
        QCOMPARE(stack->undoText(), QString("Import"));
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 1 *"});
        const QList<QImage> after = pictures(panel);
        QCOMPARE(after[0], before[0]);
        QVERIFY(after[1] != before[1] && after[2] != before[2] && after[1] != after[2]);
        QVERIFY(panel->getLayerWidget()->getView()->item(2)->icon().cacheKey() != icon.cacheKey());

        // The second frame, black on its left half, as a still picture dropped on a new design
        // opens the image tool; OK there paints what the import put into slot 3.
        QImage frame(320, 240, QImage::Format_RGB32);
        frame.fill(Qt::white);
        QPainter(&frame).fillRect(0, 0, 160, 240, Qt::black);
        const QString still = dir.filePath("still.png");
        QVERIFY(frame.save(still));
        WheelPanel* other = window.createNew();
        drop(other, {still});
        auto* image = qobject_cast<ImageTool*>(window.getTools()->currentTool());
        QVERIFY(image);
        image->getPanel()->toAdd();
        QCOMPARE(other->getPixmap(0).toImage(), after[2]);

        window.getTabs()->setCurrentIndex(0);
        stack->undo();
        QCOMPARE(pictures(panel), before);
        stack->redo();
        QCOMPARE(pictures(panel), after);
    }

    void zoomFactorsMultiply()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        window.zoomIn();
        QCOMPARE(window.getCurrent()->transform().m11(), 1.25);
        window.zoomIn();
        window.zoomIn();
        window.zoomOut();
        window.zoomOut();
        window.zoomOut();
        QVERIFY(qFuzzyCompare(window.getCurrent()->transform().m11(), 1.0));
        QVERIFY(qFuzzyCompare(window.getCurrent()->transform().m22(), 1.0));
        // Each design keeps its own zoom.
        window.zoomOut();
        window.createNew();
        QCOMPARE(window.getCurrent()->transform().m11(), 1.0);

        // Fit (Ctrl+0) shows the whole wheel, as large as the view allows.
        window.QMainWindow::show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.zoomIn();
        entry(&window, "FIT")->trigger();
        QCOMPARE(entry(&window, "FIT")->shortcut(), QKeySequence("Ctrl+0"));
        QCoreApplication::processEvents();
        WheelPanel* view = window.getCurrent();
        const QRect wheel = view->mapFromScene(QRectF(0, 0, 512, 512)).boundingRect();
        const QRect room = view->viewport()->rect();
        QVERIFY(room.adjusted(-2, -2, 2, 2).contains(wheel));
        QVERIFY(wheel.width() >= room.width() - 6 || wheel.height() >= room.height() - 6);
    }

    void hallSensorDecidesSimulationOrPresets()
    {
        Product plain(Product::demo());
        MainWindow withoutHall(plain.configuration.get());
        QVERIFY(hasEntry(&withoutHall, "SIMULATION"));
        QVERIFY(!hasEntry(&withoutHall, "PRESETS"));

        Product hall(Product::demo("DEMO", true));
        MainWindow withHall(hall.configuration.get());
        QVERIFY(!hasEntry(&withHall, "SIMULATION"));
        QAction* presets = entry(&withHall, "PRESETS");
        QVERIFY(presets);
        presets->trigger();
        QVERIFY(withHall.getHallDialog()->isVisible());
        withHall.getHallDialog()->hide();
    }

    void tabsSwitchTheLayerListAndTheUndoStack()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        WheelPanel* first = window.getCurrent();
        window.createNew();
        WheelPanel* second = window.getCurrent();
        QVERIFY(first != second);
        QVERIFY(second->getLayerWidget()->isVisibleTo(window.getLayerDock()));
        QVERIFY(!first->getLayerWidget()->isVisibleTo(window.getLayerDock()));
        ink(&window);
        QCOMPARE(second->getUndoStack()->count(), 1);
        window.getTabs()->setCurrentIndex(0);
        QCOMPARE(window.getCurrent(), first);
        QVERIFY(first->getLayerWidget()->isVisibleTo(window.getLayerDock()));
        ink(&window);
        QCOMPARE(first->getUndoStack()->count(), 1);
        QCOMPARE(second->getUndoStack()->count(), 1);
        // Closing a tab that is not current leaves the current design alone.
        ModalAnswerer discard({"No"});
        QVERIFY(window.closeTab(1));
        QCOMPARE(window.getCurrent(), first);
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 1 *"});
    }

    void languageChangeRetextsTheWindow()
    {
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        ink(&window);
        {
            FileDialogAnswerer files({dir.filePath("kept")});
            QVERIFY(window.save());
        }
        window.createNew();
        ink(&window);
        QMenu* languages = Resource::getLanguageMenu();
        auto choose = [languages](const QString& code) {
            for (QAction* action : languages->actions())
                if (action->statusTip() == code)
                    action->trigger();
        };
        choose("de");
        QVERIFY(hasEntry(&window, "OPEN"));
        // The undo words, the new File entries and the transfer dialog follow too, and the
        // menu marks the language in use.
        // (The step keeps the name it got when it was done.)
        QCOMPARE(stepAction(&window, QKeySequence::Undo)->text(),
                 QString::fromUtf8("R\u00fcckg\u00e4ngig Draw"));
        QVERIFY(hasEntry(&window, "CLOSE_TAB") && hasEntry(&window, "QUIT"));
        QCOMPARE(window.findChild<Transmitter*>()->windowTitle(), Resource::getText("CONNECTION"));
        QCOMPARE(window.getTabs()->tabToolTip(1), Resource::getText("NOT_SAVED"));
        QCOMPARE(checkedEntries(languages), QStringList{"de"});
        QCOMPARE(Resource::getText("OPEN"), QString::fromUtf8("\u00d6ffnen"));
        QCOMPARE(window.getToolDock()->windowTitle(), Resource::getText("TOOL"));
        // Designs never saved take the new word for untitled; saved ones keep their names.
        QCOMPARE(captions(window.getTabs()),
                 (QStringList{"kept", Resource::getText("UNTITLED") + "2 *"}));
        choose("en");
        QCOMPARE(stepAction(&window, QKeySequence::Undo)->text(), QString("Undo Draw"));
        QCOMPARE(window.getToolDock()->windowTitle(), QString("Tools"));
        QCOMPARE(captions(window.getTabs()), (QStringList{"kept", "Untitled 2 *"}));
    }

    // From a pen stroke on the screen to the frames the wheel holds.
    void penStrokeReachesTheWheel()
    {
        WheelProcess wheel({"--size", "16x8", "--id", "D12"});
        QVERIFY(wheel.isRunning());
        Product product(Product::demo());
        MainWindow window(product.configuration.get());
        window.resize(1100, 800);
        window.QMainWindow::show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // Nothing ticked: no dialog, no traffic.
        window.transmit({});
        QVERIFY(window.isVisible());
        QVERIFY(!window.findChild<Transmitter*>()->isVisible());

        const WheelWeb web(16, 8, 80, 16);
        WheelPanel* panel = window.getCurrent();
        const auto at = [&](int cell) { return panel->mapFromScene(web.getCenters()[cell]); };
        const int a = 20, b = 28;
        QTest::mousePress(panel->viewport(), Qt::LeftButton, {}, at(a));
        QTest::mouseMove(panel->viewport(), at(b));
        QTest::mouseRelease(panel->viewport(), Qt::LeftButton, {}, at(b));
        QCOMPARE(captions(window.getTabs()), QStringList{"Untitled 1 *"});

        LayerWidget* layers = panel->getLayerWidget();
        LayerView* view = layers->getView();
        QVERIFY(view);
        view->item(2)->setCheckState(Qt::Unchecked);
        QPushButton* send = nullptr;
        for (QPushButton* button : layers->findChildren<QPushButton*>())
            if (button->text() == Resource::getText("CONNECTION"))
                send = button;
        QVERIFY(send);
        ModalAnswerer answerer;
        QTest::mouseClick(send, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(window.isVisible(), 15000);
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
        QCOMPARE(window.statusBar()->currentMessage(), QString("2 pictures stored in the wheel."));
    }
};

RIMGLOW_TEST(MainWindowTest)
#include "tst_mainwindow.moc"
