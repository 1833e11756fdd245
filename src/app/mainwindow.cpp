#include "mainwindow.h"

#include "buildinfo.h"
#include "config/argparser.h"
#include "dockwidget.h"
#include "model/autosavefile.h"
#include "model/design.h"
#include "model/layerwidget.h"
#include "model/polarcells.h"
#include "model/wheelpanel.h"
#include "resources/resource.h"
#include "smalldockwidget.h"
#include "tools/cellcursor.h"
#include "tools/picturereader.h"
#include "transfer/frameencoder.h"
#include "updateclient.h"
#include "wherelabel.h"
#include "windowmemory.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// Saving offers the design's own name where the last design was opened or saved, unless that
// folder cannot take a new file (the examples of an installed program, a removed disk): then
// in the user's documents, or in the home folder when there are none.
QString saveStart(const QString& remembered, const QString& name)
{
    const QFileInfo place(remembered);
    const QStringList folders{place.isDir() ? place.absoluteFilePath() : place.absolutePath(),
                              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                              QDir::homePath()};
    for (const QString& folder : folders) {
        const QFileInfo info(folder);
        if (info.isDir() && info.isWritable())
            return QDir(folder).filePath(name);
    }
    return name;
}

} // namespace

MainWindow::MainWindow(ArgParser* configuration)
    : configuration(configuration)
    , web(configuration->lines, configuration->leds, int(configuration->outerSize),
          int(configuration->innerSize))
    , array(configuration->lines, configuration->hasHall())
    , tools(&web, array.getArray())
    , transmitter(configuration->getidList(), configuration->hasHall(), this)
    , clipboard(web.getOverlay().size(), QImage::Format_ARGB32_Premultiplied)
    , hallDialog(this)
    , fileFilter("*." + configuration->name)
    , fileDirectory(Resource::directory() + "File")
    // A window of its own: an OpenGL view anywhere in the main window's widget tree would
    // make the whole window composite through OpenGL.
    , simulateDialog(configuration, nullptr)
    , about(Resource::directory() + "splash.png", this)
    , autosaver(configuration->name, QSize(configuration->lines, configuration->leds), [this] {
        return QGuiApplication::mouseButtons() != Qt::NoButton ||
               (current && tools.getCursor(current)->isHeld());
    })
{
    clipboard.fill(Qt::transparent);
    layerStack.setContentsMargins(0, 0, 0, 0);
    layerStack.setSpacing(0);

    Resource::setTitle("Rimglow! " + configuration->name);
    setWindowTitle(Resource::getTitle());

    auto* addButton = new QToolButton;
    addButton->setAutoRaise(true);
    Resource::addIcon(addButton, "ADD");
    Resource::addText(addButton, "toolTip", "NEW_TAB");
    Resource::addText(addButton, "accessibleName", "NEW_TAB");
    texted << addButton;
    tabs.setCornerWidget(addButton, Qt::TopLeftCorner);
    tabs.setTabsClosable(true);
    connect(addButton, &QToolButton::clicked, this, [this] { createNew(); });
    connect(&tabs, &QTabWidget::currentChanged, this, &MainWindow::setCurrentIndex);
    connect(&tabs, &QTabWidget::tabCloseRequested, this, &MainWindow::closeTab);
    setCentralWidget(&tabs);
    whereLabel = new WhereLabel(web);
    statusBar()->addPermanentWidget(whereLabel);

    createNew();
    Resource::addText(this, "untitledText", "UNTITLED");

    // Named, so that their places are kept for the next start.
    layerDock = new DockWidget(Qt::RightDockWidgetArea, this);
    layerDock->setObjectName("layers");
    layerDock->getSmallDock()->setObjectName("layers-closed");
    auto* layerHolder = new QWidget;
    layerHolder->setLayout(&layerStack);
    layerDock->setWidget(layerHolder);
    // Titled by its role; the product's name is in the window's title.
    Resource::addText(layerDock, "text", "SLOTS");
    texted << layerDock;

    connect(&tools, &ToolWidget::changePixmap, this, &MainWindow::setPixmap);
    connect(&tools, &ToolWidget::toImport, this, &MainWindow::importFiles);
    connect(&transmitter, &Transmitter::stored, this, &MainWindow::showStored);
    connect(&autosaver, &Autosaver::failed, this, [this](const QString& reason) {
        statusBar()->showMessage(Resource::getText("AUTOSAVE_FAIL") + " " + reason);
    });
    connect(&array, &WheelArray::setDiv, &tools, &ToolWidget::setDiv);

    toolDock = new DockWidget(Qt::LeftDockWidgetArea, this);
    toolDock->setObjectName("tools");
    toolDock->getSmallDock()->setObjectName("tools-closed");
    toolDock->setWidget(&tools);
    Resource::addText(toolDock, "text", "TOOL");
    texted << toolDock;

    buildMenus();
    orderTabStops();
    Resource::addIcon(this, "LOGO");
    texted << this;
}

MainWindow::~MainWindow()
{
    for (QObject* object : texted)
        Resource::remove(object);
    // The designs go before the palette and the layer dock they are shown in.
    while (tabs.count() > 0) {
        WheelPanel* panel = panelAt(0);
        tabs.removeTab(0);
        tools.remove(panel);
        Design* design = panel->getDesign();
        delete layerLists.take(panel);
        delete panel;
        delete design;
    }
    current = nullptr;
    delete http;
}

QAction* MainWindow::addAction(QMenu* menu, QToolBar* toolBar, const QString& text,
                               const QString& key)
{
    QAction* action = menu->addAction(text);
    Resource::add(action, "text", key);
    texted << action;
    toolBar->addAction(action);
    return action;
}

QAction* MainWindow::addMenuEntry(QMenu* menu, const QString& key, const QKeySequence& keys)
{
    QAction* action = menu->addAction(key);
    Resource::addText(action, "text", key);
    action->setShortcut(keys);
    texted << action;
    return action;
}

void MainWindow::buildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu("File");
    Resource::addText(fileMenu, "title", "FILE");
    auto* fileBar = new QToolBar("File", this);
    fileBar->setObjectName("file");
    QAction* action = addAction(fileMenu, fileBar, "New", "NEW");
    action->setShortcut(QKeySequence::New);
    connect(action, &QAction::triggered, this, [this] { createNew(); });
    action = addAction(fileMenu, fileBar, "Open", "OPEN");
    action->setShortcut(QKeySequence::Open);
    connect(action, &QAction::triggered, this, &MainWindow::open);
    recentMenu = fileMenu->addMenu("Recent");
    Resource::addText(recentMenu, "title", "RECENT");
    connect(recentMenu, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    texted << recentMenu;
    action = addAction(fileMenu, fileBar, "Save", "SAVE");
    action->setShortcut(QKeySequence::Save);
    connect(action, &QAction::triggered, this, [this] { save(); });
    action = addAction(fileMenu, fileBar, "Save", "SAVE_AS");
    // Plain X11 desktops bind nothing to the standard Save As key.
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(action, &QAction::triggered, this, &MainWindow::saveAs);
    fileMenu->addSeparator();
    // What the current slot list's button does, and only when the button would.
    action = addMenuEntry(fileMenu, "SEND_TO_WHEEL", QKeySequence(Qt::CTRL | Qt::Key_Return));
    action->setObjectName("send");
    connect(action, &QAction::triggered, this,
            [this] { layerLists.value(current)->getTransmitButton()->click(); });
    action = addAction(fileMenu, fileBar, "Send This Picture", "SEND_THIS_PICTURE");
    action->setObjectName("sendThis");
    // Ctrl+Return sends the ticked slots.
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return));
    Resource::addText(action, "toolTip", "THIS_PICTURE_TIP");
    QWidget* sendThisButton = fileBar->widgetForAction(action);
    Resource::addText(sendThisButton, "accessibleName", "THIS_PICTURE_NAME");
    texted << sendThisButton;
    connect(action, &QAction::triggered, this, &MainWindow::sendThisPicture);
    fileMenu->addSeparator();
    action = addMenuEntry(fileMenu, "CLOSE_TAB", QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(action, &QAction::triggered, this, [this] { closeTab(tabs.currentIndex()); });
    action = addMenuEntry(fileMenu, "QUIT", QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(action, &QAction::triggered, this, &QWidget::close);

    QMenu* editMenu = menuBar()->addMenu("Edit");
    Resource::addText(editMenu, "title", "EDIT");
    auto* editBar = new QToolBar("Edit", this);
    editBar->setObjectName("edit");
    // Our own actions rather than the undo group's, whose words stay in the language they
    // were made in.
    undoAction = new QAction(this);
    Resource::addIcon(undoAction, "UNDO");
    undoAction->setShortcut(QKeySequence::Undo);
    undoAction->setEnabled(undoGroup.canUndo());
    connect(undoAction, &QAction::triggered, &undoGroup, &QUndoGroup::undo);
    // The steps are named by the keys of their texts, shown in the current language.
    connect(&undoGroup, &QUndoGroup::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(&undoGroup, &QUndoGroup::undoTextChanged, this, [this] { setUndoWord(undoWord); });
    redoAction = new QAction(this);
    Resource::addIcon(redoAction, "REDO");
    redoAction->setShortcut(QKeySequence::Redo);
    redoAction->setEnabled(undoGroup.canRedo());
    connect(redoAction, &QAction::triggered, &undoGroup, &QUndoGroup::redo);
    connect(&undoGroup, &QUndoGroup::canRedoChanged, redoAction, &QAction::setEnabled);
    connect(&undoGroup, &QUndoGroup::redoTextChanged, this, [this] { setRedoWord(redoWord); });
    Resource::addText(this, "undoWord", "UNDO");
    Resource::addText(this, "redoWord", "REDO");
    texted << undoAction << redoAction;
    editMenu->addAction(undoAction);
    editMenu->addAction(redoAction);
    editBar->addAction(undoAction);
    editBar->addAction(redoAction);
    editMenu->addSeparator();
    editBar->addSeparator();

    action = addMenuEntry(editMenu, "CUT", QKeySequence::Cut);
    connect(action, &QAction::triggered, this, &MainWindow::cut);
    action = addAction(editMenu, editBar, "Copy", "COPY");
    action->setShortcut(QKeySequence::Copy);
    connect(action, &QAction::triggered, this, &MainWindow::copy);
    action = addAction(editMenu, editBar, "Paste", "PASTE");
    action->setShortcut(QKeySequence::Paste);
    connect(action, &QAction::triggered, this, &MainWindow::paste);
    action = addMenuEntry(editMenu, "MENU_SELECT_ALL", QKeySequence::SelectAll);
    connect(action, &QAction::triggered, this, &MainWindow::selectAll);
    editMenu->addSeparator();
    editBar->addSeparator();

    action = addMenuEntry(editMenu, "MENU_ROTATE", QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(action, &QAction::triggered, this, &MainWindow::rotate);
    action = addMenuEntry(editMenu, "MENU_MIRROR_LEFT_RIGHT",
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H));
    connect(action, &QAction::triggered, this, &MainWindow::mirrorLeftRight);
    action = addMenuEntry(editMenu, "MENU_MIRROR_TOP_BOTTOM",
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    connect(action, &QAction::triggered, this, &MainWindow::mirrorTopBottom);
    action =
        addMenuEntry(editMenu, "MENU_SWAP_RINGS", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    connect(action, &QAction::triggered, this, &MainWindow::swapRings);
    editMenu->addSeparator();

    action = addAction(editMenu, editBar, "Zoom In", "ZOOM IN");
    action->setShortcuts(QKeySequence::keyBindings(QKeySequence::ZoomIn)
                         << QKeySequence(Qt::CTRL | Qt::Key_Equal));
    connect(action, &QAction::triggered, this, &MainWindow::zoomIn);
    action = addAction(editMenu, editBar, "Zoom Out", "ZOOM OUT");
    action->setShortcut(QKeySequence::ZoomOut);
    connect(action, &QAction::triggered, this, &MainWindow::zoomOut);
    action = addMenuEntry(editMenu, "FIT", QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(action, &QAction::triggered, this, &MainWindow::zoomToFit);
    addOnionEntries(editMenu);
    editMenu->addSeparator();
    editBar->addSeparator();
    editMenu->addAction(array.getMenu()->menuAction());
    editBar->addAction(array.getMenu()->menuAction());

    QMenu* toolMenu = tools.getMenu();
    menuBar()->addMenu(toolMenu);
    toolMenu->addSeparator();
    if (configuration->hasHall()) {
        // Also in the tool menu, so the sensor's place can be set from the keyboard too.
        editBar->addSeparator();
        action = addAction(toolMenu, editBar, "PRESETS", "PRESETS");
        action->setObjectName("presets");
        connect(action, &QAction::triggered, &hallDialog, &QWidget::show);
    } else {
        action = addAction(toolMenu, editBar, "SIMULATION", "SIMULATION");
        action->setObjectName("simulation");
        action->setShortcut(Qt::Key_F5);
        connect(action, &QAction::triggered, this, &MainWindow::simulate);
        simulateDialog.setWindowTitle(Resource::getTitle());
        Resource::addIcon(&simulateDialog, "LOGO");
        texted << &simulateDialog;
    }

    menuBar()->addMenu(Resource::getLanguageMenu());

    QMenu* helpMenu = menuBar()->addMenu("Help");
    Resource::addText(helpMenu, "title", "HELP");
    auto* helpBar = new QToolBar("Help", this);
    helpBar->setObjectName("help");
    action = addAction(helpMenu, helpBar, "About", "ABOUT");
    // The About box's title names it without a mnemonic.
    Resource::addText(action, "text", "MENU_ABOUT");
    connect(action, &QAction::triggered, &about, &AboutDialog::show);
    Resource::addText(&about, "windowTitle", "ABOUT");
    texted << fileMenu << editMenu << helpMenu << &about;

    addToolBar(fileBar);
    addToolBar(editBar);
    addToolBar(helpBar);

    // F10 opens the first menu, as on most desktops; Qt leaves that key to the program.
    auto* menuKey = new QAction(this);
    menuKey->setShortcut(Qt::Key_F10);
    connect(menuKey, &QAction::triggered, this,
            [this] { menuBar()->setActiveAction(menuBar()->actions().first()); });
    QWidget::addAction(menuKey);
}

void MainWindow::addOnionEntries(QMenu* menu)
{
    onionAction = addMenuEntry(menu, "ONION_SKIN", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    onionAction->setCheckable(true);
    onionNextAction = addMenuEntry(menu, "ONION_NEXT", QKeySequence());
    onionNextAction->setCheckable(true);
    onionNextAction->setEnabled(false);
    connect(onionAction, &QAction::toggled, onionNextAction, &QAction::setEnabled);
    connect(onionAction, &QAction::toggled, this, &MainWindow::showOnionSkin);
    connect(onionNextAction, &QAction::toggled, this, &MainWindow::showOnionSkin);
}

void MainWindow::showOnionSkin()
{
    const bool previous = onionAction->isChecked();
    for (int i = 0; i < tabs.count(); ++i)
        panelAt(i)->setOnionSkin(previous, previous && onionNextAction->isChecked());
}

WheelPanel* MainWindow::panelAt(int index)
{
    return static_cast<WheelPanel*>(tabs.widget(index));
}

Design* MainWindow::getCurrentDesign() const
{
    return current ? current->getDesign() : nullptr;
}

WheelPanel* MainWindow::createNew(QString file)
{
    auto* design = new Design(configuration->mostPictures(), web.getOverlay().size());
    if (!file.isEmpty()) {
        QString reason;
        if (!design->load(file, &reason)) {
            // An empty design under that path would overwrite the user's file at the next save.
            delete design;
            showProblem("READ_FAIL", file, reason);
            return nullptr;
        }
    } else {
        nameUntitled(design);
    }
    return addTab(design);
}

void MainWindow::nameUntitled(Design* design)
{
    untitledNumbers.insert(design, ++untitledCount);
    design->setDisplayName(Resource::getText("UNTITLED") + QString::number(untitledCount));
}

WheelPanel* MainWindow::addTab(Design* design)
{
    auto* panel = new WheelPanel(design, web, array.getBackground(0));
    auto* layers = new LayerWidget(design);
    layerLists.insert(panel, layers);

    connect(panel, &WheelPanel::import, this, &MainWindow::dropFiles);
    connect(layers, &LayerWidget::toUpdate, this, &MainWindow::transmit);
    connect(design, &Design::modifiedChanged, this, &MainWindow::resetTitle);
    connect(design, &Design::fileChanged, this, &MainWindow::resetTitle);
    undoGroup.addStack(design->getUndoStack());
    autosaver.add(design);

    layerStack.addWidget(layers);
    panel->follow(layers->getPlayer());
    // The entries exist once the menus are built, after the first tab.
    if (onionAction)
        panel->setOnionSkin(onionAction->isChecked(),
                            onionAction->isChecked() && onionNextAction->isChecked());
    const int index = tabs.addTab(panel, design->getDisplayName());
    tools.add(panel);
    connect(tools.getCursor(panel), &CellCursor::heldChanged, panel, &WheelPanel::setPanKey);
    tabs.setCurrentIndex(index);
    // The first tab becomes current as it is added, before its layer list and tool exist.
    setCurrentIndex(tabs.currentIndex());
    return panel;
}

void MainWindow::setCurrentIndex(int index)
{
    WheelPanel* panel = panelAt(index);
    if (index == -1 || !panel || !layerLists.contains(panel))
        return;
    layerStack.setCurrentWidget(layerLists.value(panel));
    if (current) {
        disconnect(&array, &WheelArray::updatePixmap, current, &WheelPanel::setBackground);
        disconnect(current, nullptr, whereLabel, nullptr);
        disconnect(current->getDesign(), nullptr, whereLabel, nullptr);
    }
    connect(&array, &WheelArray::updatePixmap, panel, &WheelPanel::setBackground,
            Qt::UniqueConnection);
    Design* design = panel->getDesign();
    connect(panel, &WheelPanel::pointerCell, whereLabel, &WhereLabel::showCell);
    connect(panel, &WheelPanel::zoomChanged, whereLabel, &WhereLabel::showZoom);
    connect(design, &Design::currentChanged, whereLabel,
            [this, design] { whereLabel->showSlot(design->getCurrentRow()); });
    whereLabel->showCell(-1);
    whereLabel->showSlot(design->getCurrentRow());
    whereLabel->showZoom(panel->getZoom());
    undoGroup.setActiveStack(panel->getDesign()->getUndoStack());
    current = panel;
    tools.changeTab(panel);
    orderTabStops();
    resetTitle();
}

void MainWindow::orderTabStops()
{
    // Not before the docks hold the palette and the slot lists.
    if (!toolDock || !current)
        return;
    const QList<QWidget*> stops =
        tools.tabStops() + QList<QWidget*>{tabs.cornerWidget(Qt::TopLeftCorner), &tabs, current} +
        layerLists.value(current)->tabStops();
    for (qsizetype i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1], stops[i]);
}

void MainWindow::resetTitle()
{
    for (int i = 0; i < tabs.count(); ++i) {
        const Design* design = panelAt(i)->getDesign();
        tabs.setTabText(i, design->getDisplayName() + (design->isModified() ? " *" : ""));
        tabs.setTabToolTip(i, design->getFilePath().isEmpty()
                                  ? Resource::getText("NOT_SAVED")
                                  : QDir::toNativeSeparators(design->getFilePath()));
        // Every tab has one; a screen reader says which design it closes.
        const auto side = QTabBar::ButtonPosition(
            style()->styleHint(QStyle::SH_TabBar_CloseButtonPosition, nullptr, tabs.tabBar()));
        if (QWidget* close = tabs.tabBar()->tabButton(i, side)) {
            close->setAccessibleName(
                Resource::getText("CLOSE_DESIGN").arg(design->getDisplayName()));
            close->setToolTip(close->accessibleName());
        }
    }
    WheelPanel* shown = panelAt(tabs.currentIndex());
    setWindowTitle(shown ? Resource::getTitle() + " - " + tabs.tabText(tabs.currentIndex())
                         : Resource::getTitle());
}

void MainWindow::setUndoWord(const QString& word)
{
    undoWord = word;
    const QString step = Resource::getPlainText(undoGroup.undoText());
    undoAction->setText(step.isEmpty() ? word : word + " " + step);
}

void MainWindow::setRedoWord(const QString& word)
{
    redoWord = word;
    const QString step = Resource::getPlainText(undoGroup.redoText());
    redoAction->setText(step.isEmpty() ? word : word + " " + step);
}

void MainWindow::showStored(int count)
{
    statusBar()->showMessage(Transmitter::storedText(count), 5000);
}

void MainWindow::setUntitledText(const QString& text)
{
    untitledText = text;
    for (auto it = untitledNumbers.cbegin(); it != untitledNumbers.cend(); ++it)
        if (it.key()->getFilePath().isEmpty())
            it.key()->setDisplayName(text + QString::number(it.value()));
    resetTitle();
}

void MainWindow::open()
{
    const QString path = QFileDialog::getOpenFileName(this, "", fileDirectory, fileFilter);
    if (path.isEmpty())
        return;
    fileDirectory = path;
    openFile(path);
}

WheelPanel* MainWindow::openFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo(absolute).isFile()) {
        showProblem("READ_FAIL", absolute);
        return nullptr;
    }
    WheelPanel* panel = createNew(absolute);
    if (panel)
        remember(absolute);
    return panel;
}

void MainWindow::openFiles(const QStringList& paths)
{
    WheelPanel* first = panelAt(0);
    const bool untouched = isUntouched(first);
    bool opened = false;
    for (const QString& path : paths)
        opened = openFile(path) || opened;
    if (untouched && opened)
        closeTab(tabs.indexOf(first));
}

bool MainWindow::isUntouched(WheelPanel* panel)
{
    return tabs.count() == 1 && panel->getDesign()->getFilePath().isEmpty() &&
           panel->getDesign()->getUndoStack()->count() == 0;
}

void MainWindow::recover()
{
    const QSize grid(configuration->lines, configuration->leds);
    // A design has a slot at least.
    const int count = qMax(configuration->mostPictures(), 1);
    // Taken over until the question is answered, so no other program offers them meanwhile.
    const auto sessions = AutosaveSession::abandoned();
    QList<AutosaveFile> found;
    QStringList damaged;
    for (const auto& session : sessions) {
        for (const QString& path : session->files()) {
            AutosaveFile file(path);
            if (!file.read()) {
                const QString reason = file.errorString().isEmpty()
                                           ? Resource::getText("AUTOSAVE_INCOMPLETE")
                                           : file.errorString();
                damaged << QDir::toNativeSeparators(AutosaveSession::setAside(path)) + "\n" +
                               reason;
            } else if (file.isFor(configuration->name, grid, count)) {
                found << file;
            }
        }
    }
    if (!damaged.isEmpty())
        showMessage(QMessageBox::Warning,
                    Resource::getText("AUTOSAVE_DAMAGED") + "\n\n" + damaged.join("\n\n"));
    if (found.isEmpty())
        return;

    QStringList names;
    for (const AutosaveFile& file : found)
        names << (file.getFilePath().isEmpty() ? file.getDisplayName()
                                               : QDir::toNativeSeparators(file.getFilePath()));
    const bool one = found.size() == 1;
    const QString text = (one ? Resource::getText("RESTORE_ONE")
                              : Resource::getText("RESTORE_MANY").arg(names.size())) +
                         "\n\n" + names.join("\n") + "\n\n" +
                         Resource::getText(one ? "RESTORE_IT" : "RESTORE_THEM");
    QMessageBox box(QMessageBox::Question, Resource::getTitle(), text, QMessageBox::NoButton, this);
    box.setWindowIcon(Resource::getIcon("LOGO"));
    QAbstractButton* yes = box.addButton(Resource::getText("YES"), QMessageBox::AcceptRole);
    box.addButton(Resource::getText("NO"), QMessageBox::DestructiveRole);
    // Escape or closing the box decides nothing: the work is offered again at the next start.
    QAbstractButton* later = box.addButton(Resource::getText("ASK_LATER"), QMessageBox::RejectRole);
    box.setDefaultButton(qobject_cast<QPushButton*>(yes));
    box.exec();
    if (box.clickedButton() == later)
        return;
    const bool restore = box.clickedButton() == yes;
    WheelPanel* first = panelAt(0);
    const bool untouched = isUntouched(first);
    // The untouched first design gives way to the restored ones, and so does its number.
    if (restore && untouched && untitledNumbers.value(first->getDesign()) == untitledCount)
        --untitledCount;
    for (const AutosaveFile& file : found) {
        if (restore) {
            auto* design = new Design(count, web.getOverlay().size());
            file.restore(design);
            if (design->getFilePath().isEmpty())
                nameUntitled(design);
            addTab(design);
            // The old autosave goes only once this program has written its own.
            if (!autosaver.write(design))
                continue;
        }
        QFile::remove(file.getPath());
    }
    if (restore && untouched)
        closeTab(tabs.indexOf(first));
}

namespace {

const int recentCount = 8;

QSettings recentSettings()
{
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                         "/recent.ini",
                     QSettings::IniFormat);
}

} // namespace

QStringList MainWindow::recentFiles() const
{
    QStringList kept;
    for (const QString& path : recentSettings().value("designs").toStringList())
        if (QFileInfo(path).isFile())
            kept << path;
    return kept;
}

void MainWindow::remember(const QString& path)
{
    QStringList paths = recentFiles();
    paths.removeAll(path);
    paths.prepend(path);
    recentSettings().setValue("designs", paths.mid(0, recentCount));
}

void MainWindow::fillRecentMenu()
{
    recentMenu->clear();
    int number = 0;
    for (const QString& path : recentFiles()) {
        // Numbered for the keyboard; an "&" in a path is no mnemonic.
        QAction* action = recentMenu->addAction(QString("&%1 ").arg(++number) +
                                                QDir::toNativeSeparators(path).replace("&", "&&"));
        connect(action, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    // An empty list is shown as such, not as a menu that does nothing.
    if (recentMenu->isEmpty())
        recentMenu->addAction(Resource::getText("NO_RECENT"))->setEnabled(false);
}

bool MainWindow::save(WheelPanel* panel, bool saveAs)
{
    if (!panel)
        panel = current;
    Design* design = panel->getDesign();
    QString path = design->getFilePath();
    if (saveAs || path.isEmpty()) {
        path = QFileDialog::getSaveFileName(
            this, "", saveStart(fileDirectory, design->getDisplayName()), fileFilter);
        if (path.isEmpty())
            return false;
        if (QFileInfo(path).suffix() != configuration->name)
            path += "." + configuration->name;
        fileDirectory = path;
    }
    // The design keeps its old name and stays modified when it could not be written, so the
    // work is asked about again before it can be lost.
    QString reason;
    if (!design->save(path, &reason)) {
        showProblem("SAVE_FAIL", path, reason);
        return false;
    }
    untitledNumbers.remove(design);
    remember(QFileInfo(path).absoluteFilePath());
    return true;
}

bool MainWindow::saveAs()
{
    return save(current, true);
}

void MainWindow::showProblem(const QString& key, const QString& path, const QString& reason)
{
    QString text = Resource::getText(key) + "\n" + QDir::toNativeSeparators(path);
    if (!reason.isEmpty())
        text += "\n" + reason;
    showMessage(QMessageBox::Warning, text);
}

void MainWindow::showMessage(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, Resource::getTitle(), text, QMessageBox::Ok, this);
    box.setWindowIcon(Resource::getIcon("LOGO"));
    box.exec();
}

bool MainWindow::closeTab(int index)
{
    WheelPanel* panel = panelAt(index);
    if (!panel)
        return false;
    Design* design = panel->getDesign();
    if (design->isModified()) {
        // The design asked about is the one on screen, and the question names it.
        tabs.setCurrentIndex(index);
        QMessageBox box(QMessageBox::Question, Resource::getTitle(),
                        Resource::getText("CHANGE") + "\n" + design->getDisplayName(),
                        QMessageBox::NoButton, this);
        box.setWindowIcon(Resource::getIcon("LOGO"));
        const QList<QAbstractButton*> buttons = {
            box.addButton(Resource::getText("YES"), QMessageBox::AcceptRole),
            box.addButton(Resource::getText("ABORT"), QMessageBox::RejectRole),
            box.addButton(Resource::getText("NO"), QMessageBox::DestructiveRole)};
        box.exec();
        const int answer = int(buttons.indexOf(box.clickedButton()));
        if (answer == 0) {
            if (!save(panel, false))
                return false;
        } else if (answer != 2) {
            return false;
        }
    }

    disconnect(panel, nullptr, &tools, nullptr);
    disconnect(panel, nullptr, this, nullptr);
    disconnect(design, nullptr, this, nullptr);
    disconnect(&array, nullptr, panel, nullptr);
    undoGroup.removeStack(design->getUndoStack());
    LayerWidget* layers = layerLists.take(panel);
    layerStack.removeWidget(layers);
    tools.remove(panel);
    if (current == panel)
        current = nullptr;
    tabs.removeTab(tabs.indexOf(panel));
    untitledNumbers.remove(design);
    if (tabs.count() == 0)
        createNew();
    delete layers;
    delete panel;
    delete design;
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Before the tabs go, and with them the zoom.
    if (isVisible())
        WindowMemory().remember(*this, current->transform().m11());
    const int count = tabs.count();
    for (int i = 0; i < count; ++i) {
        if (!closeTab(tabs.currentIndex())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void MainWindow::cut()
{
    copy();
    if (SelectTool* selection = tools.selection()) {
        selection->clear();
        return;
    }
    QImage empty(clipboard.size(), QImage::Format_ARGB32_Premultiplied);
    empty.fill(Qt::transparent);
    Design* design = getCurrentDesign();
    design->replace(design->getCurrentIndex(), empty, "CUT");
}

void MainWindow::copy()
{
    cellClip = CellClip();
    clipboard = getCurrentDesign()->getPicture();
    if (SelectTool* selection = tools.selection()) {
        cellClip = selection->selection();
        PolarCells cells(PolarGrid(web.getLineCount(), web.getLedCount()));
        for (int i = 0; i < cellClip.cells.size(); ++i)
            cells.setColour(cellClip.cells[i], cellClip.colours[i]);
        clipboard.fill(Qt::transparent);
        clipboard = cells.paintedOver(clipboard, web);
    }
    // Other picture programs take it from the system clipboard.
    auto* data = new QMimeData;
    data->setImageData(clipboard);
    QGuiApplication::clipboard()->setMimeData(data);
    copied = data;
}

void MainWindow::paste()
{
    // A picture that another program copied is converted into cells by the image tool;
    // our own copy goes in as it is: copied cells float where they were, to be placed.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data && data != copied && data->hasImage()) {
        const QPixmap picture = QPixmap::fromImage(qvariant_cast<QImage>(data->imageData()));
        if (!picture.isNull()) {
            tools.import(picture);
            return;
        }
    }
    if (!cellClip.cells.isEmpty())
        tools.paste(cellClip);
    else
        getCurrentDesign()->paste(clipboard);
}

void MainWindow::selectAll()
{
    tools.selectAll();
}

void MainWindow::rotate()
{
    const int positions = web.getLineCount();
    bool ok = false;
    const int by = QInputDialog::getInt(this, Resource::getTitle(), Resource::getText("ROTATE_ASK"),
                                        1, 1 - positions, positions - 1, 1, &ok);
    if (!ok)
        return;
    const PolarGrid grid(positions, web.getLedCount());
    tools.transform([grid, by](int cell) { return grid.rotated(cell, by); }, "ROTATE");
}

void MainWindow::mirrorLeftRight()
{
    const PolarGrid grid(web.getLineCount(), web.getLedCount());
    tools.transform([grid](int cell) { return grid.mirroredLeftRight(cell); }, "MIRROR_LEFT_RIGHT");
    if (!grid.mirrorsLeftRightExactly())
        statusBar()->showMessage(Resource::getText("MIRROR_NEAREST"), 5000);
}

void MainWindow::mirrorTopBottom()
{
    const PolarGrid grid(web.getLineCount(), web.getLedCount());
    tools.transform([grid](int cell) { return grid.mirroredTopBottom(cell); }, "MIRROR_TOP_BOTTOM");
}

void MainWindow::swapRings()
{
    const PolarGrid grid(web.getLineCount(), web.getLedCount());
    tools.transform([grid](int cell) { return grid.swappedRings(cell); }, "SWAP_RINGS");
}

void MainWindow::zoomIn()
{
    current->zoomBy(1);
}

void MainWindow::zoomOut()
{
    current->zoomBy(-1);
}

void MainWindow::zoomToFit()
{
    // Measured without scroll bars, which a fitted wheel does not need: fitInView would
    // measure with those of the current zoom and leave the wheel smaller than the room.
    const QSize room = current->maximumViewportSize();
    const QSize wheel = web.getOverlay().size();
    const double scale =
        qMin(double(room.width() - 4) / wheel.width(), double(room.height() - 4) / wheel.height());
    current->setZoom(scale);
    current->centerOn(QRectF(QPointF(0, 0), wheel).center());
}

void MainWindow::setPixmap(QPixmap pix, QPainter::CompositionMode mode, QString text)
{
    getCurrentDesign()->paint(pix.toImage(), mode, text);
}

void MainWindow::importFiles(const QStringList& paths)
{
    // No more frames are kept than the design has slots.
    Design* design = getCurrentDesign();
    PictureReader reader(web.getOverlay().width(), design->getCount());
    if (!reader.read(paths)) {
        showProblem("NOT_A_PICTURE", reader.getFailedPath());
        return;
    }
    if (reader.getCount() == 1) {
        tools.import(QPixmap::fromImage(reader.getFrames().first()));
        return;
    }
    const int placed = design->paintSlots(tools.framePictures(reader.getFrames()),
                                          tools.getColorPanel()->getMode(), "IMPORT");
    if (placed < reader.getCount())
        showMessage(QMessageBox::Information, Resource::getText("LEFT_OUT")
                                                  .arg(reader.getCount() - placed)
                                                  .arg(reader.getCount())
                                                  .arg(design->getCount()));
}

void MainWindow::dropFiles(const QStringList& paths)
{
    QStringList designs, pictures;
    for (const QString& path : paths)
        (QFileInfo(path).suffix() == configuration->name ? designs : pictures) << path;
    // The pictures go into the design they were dropped on, before the designs open tabs.
    if (!pictures.isEmpty())
        importFiles(pictures);
    openFiles(designs);
}

void MainWindow::simulate()
{
    // The ticked slots wait to be sampled until they are played: a grid has up to 262,144 cells.
    const QList<QPointF>& centres = web.getCenters();
    simulateDialog.setPlayed(getCurrentDesign()->tickedPictures().values(), centres,
                             configuration->lines, configuration->leds,
                             layerLists.value(current)->getPlayer()->getRate());
    QList<bool> lit = SimulateDialog::litCells(getCurrentDesign()->getPicture(), centres);
    simulateDialog.toShow(lit.data(), configuration->lines, configuration->leds);
    // A window of its own, placed over ours.
    QRect frame = simulateDialog.frameGeometry();
    frame.moveCenter(frameGeometry().center());
    simulateDialog.move(frame.topLeft());
}

void MainWindow::show()
{
    // Where the window stood last time; the first time with room for the whole wheel beside
    // both docks where the screen has it.
    const WindowMemory memory;
    const QRect frame = WindowMemory::place(memory.getFrame(), QSize(1080, 800));
    restoreState(memory.getDocks());
    for (int i = 0; i < tabs.count(); ++i)
        panelAt(i)->setZoom(memory.getZoom());

    resize(frame.size());
    QMainWindow::show();
    // The frame around the window is known once it is shown.
    const QSize border = frameGeometry().size() - size();
    resize(frame.size() - border);
    move(frame.topLeft());
    if (memory.isMaximized())
        showMaximized();
}

void MainWindow::transmit(QMap<int, QImage> pictures)
{
    // Nothing to send: no dialog, no traffic on the line.
    if (pictures.isEmpty())
        return;
    transmitter.saveImage(FrameEncoder::encodeAll(pictures, web, configuration->hasHall(),
                                                  hallDialog.getValue(), 360));
}

void MainWindow::sendThisPicture()
{
    const Design* design = current->getDesign();
    transmit({{design->getCurrentRow(), design->getPicture()}});
}

void MainWindow::checkVersion(QString host, int port)
{
    delete http;
    http = new UpdateClient(host, port);
    connect(http, &UpdateClient::requestFinished, this, &MainWindow::requestFinished);
    http->checkVersion(configuration->name, BuildInfo::date);
}

void MainWindow::requestFinished(int id, bool error)
{
    if (http)
        http->takeReply(id, error);
}
