#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "aboutdialog.h"
#include "autosaver.h"
#include "model/wheelarray.h"
#include "model/wheelweb.h"
#include "simulation/simulatedialog.h"
#include "tools/toolwidget.h"
#include "transfer/halldialog.h"
#include "transfer/transmitter.h"

#include <QHash>
#include <QMainWindow>
#include <QMap>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QStackedLayout>
#include <QTabWidget>
#include <QUndoGroup>

class ArgParser;
class Design;
class DockWidget;
class LayerWidget;
class QMimeData;
class QToolBar;
class UpdateClient;
class WheelPanel;
class WhereLabel;

// The program's window: one tab per open design with the layer lists and the tool palette in
// docks beside it, the file, edit and help commands, and the way from a design to the wheel.
class MainWindow : public QMainWindow {
    Q_OBJECT
    // The name of designs that were never saved, in the current language.
    Q_PROPERTY(QString untitledText READ getUntitledText WRITE setUntitledText)
    // The words before the name of the step that Undo and Redo would take back or repeat.
    Q_PROPERTY(QString undoWord READ getUndoWord WRITE setUndoWord)
    Q_PROPERTY(QString redoWord READ getRedoWord WRITE setRedoWord)
public:
    explicit MainWindow(ArgParser* configuration);
    ~MainWindow() override;

    // Asks the vendor's update server for a newer version and fetches its archive for the
    // next start.
    void checkVersion(QString host, int port = 80);
    // Opens design files as tabs, in place of the untouched first one.
    void openFiles(const QStringList& paths);
    // The designs opened or saved last, newest first, as far as they still exist.
    QStringList recentFiles() const;
    // Offers the work that programs of this product left unsaved when they ended without
    // closing, and opens what the user takes back as modified tabs.
    void recover();
    Autosaver* getAutosaver() { return &autosaver; }

    WheelPanel* getCurrent() const { return current; }
    Design* getCurrentDesign() const;
    LayerWidget* getLayerWidget(WheelPanel* panel) const { return layerLists.value(panel); }
    QTabWidget* getTabs() { return &tabs; }
    DockWidget* getToolDock() const { return toolDock; }
    DockWidget* getLayerDock() const { return layerDock; }
    ToolWidget* getTools() { return &tools; }
    WheelArray* getArray() { return &array; }
    HallDialog* getHallDialog() { return &hallDialog; }
    SimulateDialog* getSimulateDialog() { return &simulateDialog; }
    AboutDialog* getAboutDialog() { return &about; }
    QString getUntitledText() const { return untitledText; }
    void setUntitledText(const QString& text);
    QString getUndoWord() const { return undoWord; }
    void setUndoWord(const QString& word);
    QString getRedoWord() const { return redoWord; }
    void setRedoWord(const QString& word);

public slots:
    WheelPanel* createNew(QString file = QString());
    void open();
    bool save(WheelPanel* panel = nullptr, bool saveAs = false);
    bool saveAs();
    bool closeTab(int index);
    void setCurrentIndex(int index);
    void resetTitle();
    // Cut, Copy and Paste take the selected cells when there are any, else the picture.
    void cut();
    void copy();
    void paste();
    void selectAll();
    // Turns the selection or the picture by whole positions, asking how many.
    void rotate();
    void mirrorLeftRight();
    void mirrorTopBottom();
    void swapRings();
    void zoomIn();
    void zoomOut();
    // Shows the whole wheel in the view.
    void zoomToFit();
    void simulate();
    void setPixmap(QPixmap pix, QPainter::CompositionMode mode, QString text);
    // Picture files for the current design: a single picture opens the image tool; the frames
    // of an animation, or of several files, go into consecutive slots as one step.
    void importFiles(const QStringList& paths);
    // Files dropped on a design: design files open as tabs, the others are pictures for it.
    void dropFiles(const QStringList& paths);
    void show();
    void transmit(QMap<int, QImage> pictures);
    // The current slot's picture alone, under that slot's number, ticked or not.
    void sendThisPicture();
    // Says in the status bar for a few seconds how many pictures the wheel took.
    void showStored(int count);
    void requestFinished(int id, bool error);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addAction(QMenu* menu, QToolBar* toolBar, const QString& text, const QString& key);
    // A menu-only entry showing the text of a key, with its keys.
    QAction* addMenuEntry(QMenu* menu, const QString& key, const QKeySequence& keys);
    void buildMenus();
    // The onion skin's entries, which every design view follows.
    void addOnionEntries(QMenu* menu);
    void showOnionSkin();
    // Tab goes round the window as it reads: the tools, the tabs, the design and its slots.
    void orderTabStops();
    // The key's text, the path and, when known, why it failed.
    void showProblem(const QString& key, const QString& path, const QString& reason = QString());
    void showMessage(QMessageBox::Icon icon, const QString& text);
    WheelPanel* panelAt(int index);
    // A tab for the design, which the window owns from now on.
    WheelPanel* addTab(Design* design);
    void nameUntitled(Design* design);
    // The first tab of a start, which a design opened at once takes the place of.
    bool isUntouched(WheelPanel* panel);
    WheelPanel* openFile(const QString& path);
    void remember(const QString& path);
    void fillRecentMenu();

    ArgParser* configuration;
    WheelWeb web;
    WheelArray array;
    QTabWidget tabs;
    QStackedLayout layerStack;
    WheelPanel* current = nullptr;
    QHash<WheelPanel*, LayerWidget*> layerLists;
    // The number in the name of each design never saved.
    QHash<Design*, int> untitledNumbers;
    ToolWidget tools;
    QUndoGroup undoGroup;
    Transmitter transmitter;
    QImage clipboard;
    // The cells our last copy took from a selection; none after a copy of the picture.
    CellClip cellClip;
    // What our last copy put on the system clipboard, until the clipboard drops it.
    QPointer<const QMimeData> copied;
    HallDialog hallDialog;
    QString fileFilter;
    QString fileDirectory;
    SimulateDialog simulateDialog;
    AboutDialog about;
    Autosaver autosaver;
    UpdateClient* http = nullptr;

    DockWidget* toolDock = nullptr;
    DockWidget* layerDock = nullptr;
    int untitledCount = 0;
    QString untitledText;
    QAction* undoAction;
    QAction* redoAction;
    QString undoWord;
    QString redoWord;
    QList<QObject*> texted;
    QMenu* recentMenu;
    QAction* onionAction = nullptr;
    QAction* onionNextAction = nullptr;
    WhereLabel* whereLabel;
};

#endif
