#include "randomuser.h"

#include "model/design.h"
#include "model/layerview.h"
#include "model/layerwidget.h"
#include "model/slotplayer.h"
#include "tools/bitfont.h"
#include "tools/cellcursor.h"
#include "tools/imagelabel.h"
#include "tools/imagetool.h"
#include "tools/texttool.h"
#include "transfer/d2xx/devicenode.h"
#include "transfer/frameencoder.h"
#include "wheelprocess.h"

namespace {

const int mostTabs = 5;

// The ways the virtual wheel can be: as it should, and each of its faults.
const QMap<QString, QStringList>& wheelModes()
{
    static const QMap<QString, QStringList> modes = {
        {"well", {}},
        {"silent", {"--silent"}},
        {"short reply", {"--short-reply"}},
        {"wrong CRC", {"--wrong-crc"}},
        {"drops its third message", {"--drop", "3"}},
        {"unknown model", {"--id", "X99"}},
        {"no dongle", {}},
    };
    return modes;
}

QStringList rowTicks(Design* design)
{
    QStringList ticks;
    for (int row = 0; row < design->getCount(); ++row)
        ticks << (design->isTicked(row) ? "x" : "-");
    return ticks;
}

} // namespace

const QList<RandomUser::Action>& RandomUser::actions()
{
    static const QList<Action> list = {
        {"draw", 24, &RandomUser::draw},
        {"choose a tool", 4, &RandomUser::chooseTool},
        {"cell keys", 4, &RandomUser::cellKeys},
        {"cell command", 3, &RandomUser::cellCommand},
        {"fill", 3, &RandomUser::fill},
        {"text", 3, &RandomUser::text},
        {"import", 3, &RandomUser::import},
        {"undo", 10, &RandomUser::undo},
        {"redo", 6, &RandomUser::redo},
        {"undo to clean", 3, &RandomUser::undoToClean},
        {"copy and paste", 4, &RandomUser::copyPaste},
        {"new tab", 3, &RandomUser::newTab},
        {"close tab", 3, &RandomUser::closeTab},
        {"switch tab", 4, &RandomUser::switchTab},
        {"tick", 6, &RandomUser::tick},
        {"choose row", 5, &RandomUser::chooseRow},
        {"drag row", 5, &RandomUser::dragRow},
        {"language", 2, &RandomUser::language},
        {"save", 3, &RandomUser::save},
        {"open", 2, &RandomUser::open},
        {"zoom", 2, &RandomUser::zoom},
        {"wheel or pan", 3, &RandomUser::wheelOrPan},
        {"onion skin", 2, &RandomUser::onionSkin},
        {"play", 2, &RandomUser::play},
        {"arrangement", 2, &RandomUser::arrangement},
        {"hall angle", 1, &RandomUser::hallAngle},
        {"transfer", 2, &RandomUser::transfer},
        {"quit", 1, &RandomUser::quit},
    };
    return list;
}

RandomUser::RandomUser(const QStringList& options, quint32 seed, const QString& folder,
                       std::function<void(const QString&)> note)
    : product(options)
    , web(product.configuration->lines, product.configuration->leds,
          int(product.configuration->outerSize), int(product.configuration->innerSize))
    , random(seed)
    , folder(folder)
    , note(std::move(note))
{
    window = std::make_unique<MainWindow>(product.configuration.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

RandomUser::~RandomUser()
{
    window.reset();
    qunsetenv(DeviceNode::variable);
}

QString RandomUser::step()
{
    problem.clear();
    answer({});
    int total = 0;
    for (const Action& action : actions())
        total += action.weight;
    int chosen = pick(total);
    for (const Action& action : actions()) {
        if (chosen < action.weight) {
            (this->*action.run)();
            break;
        }
        chosen -= action.weight;
    }
    answered();
    if (problem.isEmpty())
        checkWindow();
    return problem;
}

void RandomUser::fail(const QString& text)
{
    if (problem.isEmpty())
        problem = text;
}

void RandomUser::answer(const QStringList& buttons, const QStringList& paths)
{
    answered();
    boxes = std::make_unique<ModalAnswerer>(buttons, paths);
}

void RandomUser::answered()
{
    if (boxes)
        for (const QString& text : boxes->texts)
            say("  box: " + QString(text).replace('\n', " / "));
    boxes.reset();
}

QAction* RandomUser::command(const QString& key)
{
    if (key == "REDO")
        for (QAction* action : window->findChildren<QAction*>())
            if (action->shortcut() == QKeySequence::Redo)
                return action;
    QAction* action = entry(window.get(), key);
    if (!action)
        fail("no command " + key);
    return action;
}

void RandomUser::trigger(const QString& key)
{
    if (QAction* action = command(key))
        action->trigger();
}

WheelPanel* RandomUser::panel(int tab) const
{
    return static_cast<WheelPanel*>(window->getTabs()->widget(tab));
}

QList<QImage> RandomUser::rowPictures(const Design* design)
{
    QList<QImage> pictures;
    for (int index : design->getList())
        pictures << design->getPicture(index).convertToFormat(QImage::Format_ARGB32);
    return pictures;
}

// Drawing

void RandomUser::draw()
{
    WheelPanel* panel = window->getCurrent();
    const QList<QPointF>& centres = web.getCenters();
    QList<int> cells{pick(int(centres.size()))};
    // Mostly neighbours, as a hand moves.
    for (int i = pick(4); i > 0; --i)
        cells << qBound(0, cells.last() + pick(5) - 2, int(centres.size()) - 1);
    QStringList named;
    for (int cell : cells)
        named << QString::number(cell);
    const bool erase = chance(15);
    say("draw over cells " + named.join(' ') + (erase ? " with the eraser" : ""));
    ColorPanel* colours = window->getTools()->getColorPanel();
    if (erase)
        colours->swap();
    const auto at = [&](int cell) { return panel->mapFromScene(centres[cell]); };
    QTest::mousePress(panel->viewport(), Qt::LeftButton, {}, at(cells.first()));
    for (int cell : cells)
        QTest::mouseMove(panel->viewport(), at(cell));
    QTest::mouseRelease(panel->viewport(), Qt::LeftButton, {}, at(cells.last()));
    if (erase)
        colours->swap();
}

void RandomUser::chooseTool()
{
    static const char* const keys[] = {"MENU_PEN", "MENU_LINE", "MENU_SECTOR", "MENU_SELECTION"};
    const QString key = keys[pick(4)];
    say("choose " + key);
    trigger(key);
}

// The keys of a selection, or of the cell cursor without one.
void RandomUser::cellKeys()
{
    static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,
                                   Qt::Key_Down, Qt::Key_Delete, Qt::Key_Escape};
    static const char* const names[] = {"Left", "Right", "Up", "Down", "Delete", "Escape"};
    WheelPanel* view = window->getCurrent();
    view->setFocus();
    QStringList pressed;
    for (int i = 1 + pick(3); i > 0; --i) {
        const int key = pick(6);
        pressed << names[key];
        QTest::keyClick(view, keys[key]);
    }
    say("keys " + pressed.join(' '));
}

void RandomUser::cellCommand()
{
    static const char* const keys[] = {
        "MENU_SELECT_ALL", "CUT", "MENU_ROTATE", "MENU_MIRROR_LEFT_RIGHT", "MENU_MIRROR_TOP_BOTTOM",
        "MENU_SWAP_RINGS"};
    const QString key = keys[pick(6)];
    const QString by = QString::number(pick(2 * web.getLineCount()) - web.getLineCount());
    say(key + (key == "MENU_ROTATE" ? " by " + by : ""));
    answer({by});
    trigger(key);
}

void RandomUser::finishTool()
{
    Tool* tool = window->getTools()->currentTool();
    const int choice = pick(10);
    if (auto* image = qobject_cast<ImageTool*>(tool)) {
        if (choice < 6) {
            say("  OK");
            image->getPanel()->toAdd();
        } else if (choice < 8) {
            say("  cancel");
            image->getPanel()->toClose();
        } else {
            say("  left open");
        }
    } else if (auto* text = qobject_cast<TextTool*>(tool)) {
        const QList<QPushButton*> buttons =
            text->getEntry()->parentWidget()->findChildren<QPushButton*>(
                QString(), Qt::FindDirectChildrenOnly);
        if (buttons.size() != 2)
            return fail("the text entry has no OK and cancel buttons");
        if (choice < 8) {
            say(choice < 6 ? "  OK" : "  cancel");
            buttons[choice < 6 ? 0 : 1]->click();
        } else {
            say("  left open");
        }
    }
}

void RandomUser::fill()
{
    say("fill");
    trigger("MENU_FILL");
    if (!qobject_cast<ImageTool*>(window->getTools()->currentTool()))
        return fail("fill opened no image tool");
    finishTool();
}

void RandomUser::text()
{
    static const QStringList words = {"Go", "Rimglow", "42", "ÄÖ", "輪", ""};
    const QString word = words[pick(int(words.size()))];
    say("text \"" + word + "\"");
    trigger("MENU_TEXT");
    auto* tool = qobject_cast<TextTool*>(window->getTools()->currentTool());
    if (!tool)
        return fail("the text command opened no text tool");
    auto* field = tool->getEntry()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    if (!field)
        return fail("the text tool has no text field");
    field->setText(word);
    finishTool();
}

void RandomUser::import()
{
    const QString picture = folder + "/picture.png";
    if (!QFile::exists(picture)) {
        QImage made(200, 120, QImage::Format_RGB32);
        made.fill(Qt::white);
        QPainter(&made).fillRect(20, 20, 80, 60, Qt::black);
        made.save(picture);
    }
    const QStringList choices = {picture, RIMGLOW_FIXTURES "/pictures/three-frames.gif",
                                 RIMGLOW_FIXTURES "/fonts/truncated.bdf", QString()};
    const QString path = choices[pick(int(choices.size()))];
    say("import " + (path.isEmpty() ? "cancelled" : QFileInfo(path).fileName()));
    answer({}, {path});
    trigger("MENU_IMPORT");
    finishTool();
}

// History and clipboard

void RandomUser::undo()
{
    const int times = 1 + pick(3);
    say(QString("undo %1 times").arg(times));
    for (int i = 0; i < times; ++i)
        trigger("UNDO");
}

void RandomUser::redo()
{
    const int times = 1 + pick(3);
    say(QString("redo %1 times").arg(times));
    for (int i = 0; i < times; ++i)
        trigger("REDO");
}

void RandomUser::undoToClean()
{
    QUndoStack* stack = window->getCurrentDesign()->getUndoStack();
    const int clean = stack->cleanIndex();
    say(QString("undo or redo to the clean state, step %1 of %2 from %3")
            .arg(clean)
            .arg(stack->count())
            .arg(stack->index()));
    if (clean < 0)
        return;
    for (int guard = 0; stack->index() != clean && guard < 1000; ++guard)
        trigger(stack->index() > clean ? "UNDO" : "REDO");
    if (window->getCurrentDesign()->isModified())
        fail("undone to its clean state, the design is still modified");
}

void RandomUser::copyPaste()
{
    const int choice = pick(3);
    say(choice == 0 ? "copy" : choice == 1 ? "paste" : "copy and paste");
    if (choice != 1)
        trigger("COPY");
    if (choice != 0)
        trigger("PASTE");
}

// Tabs

void RandomUser::newTab()
{
    QTabWidget* tabs = window->getTabs();
    say("new tab");
    if (tabs->count() >= mostTabs)
        return say("  (enough tabs)");
    const int before = tabs->count();
    qobject_cast<QToolButton*>(tabs->cornerWidget(Qt::TopLeftCorner))->click();
    if (tabs->count() != before + 1 || tabs->currentIndex() != before)
        fail("the new tab is missing or not current");
}

void RandomUser::closeTab()
{
    QTabWidget* tabs = window->getTabs();
    const int tab = pick(tabs->count());
    static const char* const keys[] = {"YES", "ABORT", "NO"};
    const QString key = keys[pick(3)];
    const QString path = savePath();
    say(QString("close tab %1, answering %2, saving to %3").arg(tab).arg(key, path));
    answer({Resource::getText(key)}, {path});
    const QPointer<WheelPanel> panel = this->panel(tab);
    const bool modified = panel->getDesign()->isModified();
    const auto side = QTabBar::ButtonPosition(
        window->style()->styleHint(QStyle::SH_TabBar_CloseButtonPosition, nullptr, tabs->tabBar()));
    auto* button = qobject_cast<QAbstractButton*>(tabs->tabBar()->tabButton(tab, side));
    if (!button)
        return fail("the tab has no close button");
    button->click();
    if (panel && (!modified || key == "NO"))
        fail("the tab was not closed");
    if (!panel && modified && key == "ABORT")
        fail("the tab was closed although the question was cancelled");
}

void RandomUser::switchTab()
{
    const int tab = pick(window->getTabs()->count());
    say(QString("switch to tab %1").arg(tab));
    window->getTabs()->setCurrentIndex(tab);
}

// Slots

void RandomUser::tick()
{
    LayerWidget* layers = window->getLayerWidget(window->getCurrent());
    const int choice = pick(6);
    QPushButton* all = nullptr;
    QPushButton* none = nullptr;
    for (QPushButton* button : layers->findChildren<QPushButton*>()) {
        if (button->text() == Resource::getText("SELECTALL"))
            all = button;
        if (button->text() == Resource::getText("IGNOREALL"))
            none = button;
    }
    if (!all || !none)
        return fail("the slot list lacks its buttons");
    if (choice == 0) {
        say("tick every slot");
        return all->click();
    }
    if (choice == 1) {
        say("tick no slot");
        return none->click();
    }
    QListWidgetItem* item = layers->getView()->item(pick(layers->getView()->count()));
    say(QString("toggle the tick of row %1").arg(layers->getView()->row(item)));
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void RandomUser::chooseRow()
{
    LayerView* view = window->getLayerWidget(window->getCurrent())->getView();
    const int row = pick(view->count());
    say(QString("choose row %1").arg(row));
    view->setCurrentRow(row);
}

void RandomUser::dragRow()
{
    LayerView* view = window->getLayerWidget(window->getCurrent())->getView();
    const int from = pick(view->count());
    // Up to below the last row.
    const int to = pick(view->count() + 1);
    say(QString("drag row %1 to before row %2").arg(from).arg(to));
    // As a drag does: the press makes the row current, the drag object is a child of the view
    // while it runs, and the drop moves the row within the view.
    view->setCurrentRow(from);
    auto* drag = new QObject(view);
    view->model()->moveRow(QModelIndex(), from, QModelIndex(), to);
    delete drag;
}

// Language, files, view

void RandomUser::language()
{
    static const QStringList codes = {"en", "de", "zh_TW"};
    const QString code = codes[pick(int(codes.size()))];
    say("language " + code);
    chooseLanguage(code);
}

QString RandomUser::savePath()
{
    // A new file, one saved before, a folder in the way, or cancel.
    const int choice = pick(10);
    if (choice < 4)
        return QString("%1/design%2").arg(folder).arg(++saves);
    // Named without the suffix, which the window adds: the dialog itself would ask first.
    if (choice < 7 && !savedFiles.isEmpty()) {
        const QFileInfo saved(savedFiles.keys()[pick(int(savedFiles.size()))]);
        return saved.path() + '/' + saved.completeBaseName();
    }
    if (choice < 8) {
        QDir(folder).mkpath("in-the-way." + product.configuration->name);
        return folder + "/in-the-way";
    }
    return QString();
}

void RandomUser::save()
{
    const bool as = chance(40);
    const QString path = savePath();
    Design* design = window->getCurrentDesign();
    const bool asked = as || design->getFilePath().isEmpty();
    say(QString(as ? "save as %1" : "save, if asked to %1").arg(path));
    answer({}, {path});
    trigger(as ? "SAVE_AS" : "SAVE");
    if (!path.isEmpty() && !path.contains("in-the-way") && asked && design->isModified())
        fail("the design is still modified after saving");
}

void RandomUser::open()
{
    QStringList choices = savedFiles.keys();
    choices << RIMGLOW_FIXTURES "/designs/unreadable/cut-short.DEMO" << QString();
    const QString path = choices[pick(int(choices.size()))];
    say("open " + (path.isEmpty() ? "cancelled" : path));
    const int before = window->getTabs()->count();
    if (before >= mostTabs && savedFiles.contains(path))
        return say("  (enough tabs)");
    answer({}, {path});
    trigger("OPEN");
    if (!savedFiles.contains(path))
        return;
    if (window->getTabs()->count() != before + 1)
        return fail("a saved design did not open");
    QList<QImage> pictures;
    Design* design = window->getCurrentDesign();
    for (int i = 0; i < design->getCount(); ++i)
        pictures << design->getPicture(i).convertToFormat(QImage::Format_ARGB32);
    if (pictures != savedFiles[path])
        fail("the design opened is not the one saved");
}

void RandomUser::zoom()
{
    static const char* const keys[] = {"ZOOM IN", "ZOOM OUT", "FIT"};
    const QString key = keys[pick(3)];
    say("zoom: " + key);
    trigger(key);
}

void RandomUser::wheelOrPan()
{
    WheelPanel* view = window->getCurrent();
    QWidget* port = view->viewport();
    const QPoint at(pick(port->width()), pick(port->height()));
    const int choice = pick(3);
    if (choice == 0) {
        const bool control = chance(60);
        const int angle = (chance(50) ? 1 : -1) * (30 + pick(240));
        say(QString("wheel by %1 at %2, %3").arg(angle).arg(at.x()).arg(at.y()) +
            (control ? " with Ctrl" : ""));
        QWheelEvent wheel(at, port->mapToGlobal(at), {}, {0, angle}, Qt::NoButton,
                          control ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(port, &wheel);
        return;
    }
    const bool space = choice == 2;
    const QPoint to = at + QPoint(pick(200) - 100, pick(200) - 100);
    say(QString("pan from %1, %2 to %3, %4 ").arg(at.x()).arg(at.y()).arg(to.x()).arg(to.y()) +
        (space ? "with Space held" : "with the middle button"));
    QUndoStack* stack = window->getCurrentDesign()->getUndoStack();
    const int steps = stack->count();
    const int index = stack->index();
    bool panning = true;
    if (space) {
        view->setFocus();
        QTest::keyPress(view, Qt::Key_Space);
        // A tool's panel that holds the focus in the view takes Space; then it is a drag.
        panning = window->getTools()->getCursor(view)->isHeld();
        if (!panning)
            say("  Space went to the tool's panel");
    }
    const Qt::MouseButton button = space ? Qt::LeftButton : Qt::MiddleButton;
    QTest::mousePress(port, button, {}, at);
    QTest::mouseMove(port, (at + to) / 2);
    QTest::mouseMove(port, to);
    QTest::mouseRelease(port, button, {}, to);
    if (space)
        QTest::keyRelease(view, Qt::Key_Space);
    if (panning && (stack->count() != steps || stack->index() != index))
        fail("a pan changed the design");
}

void RandomUser::onionSkin()
{
    const QString key = chance(70) ? "ONION_SKIN" : "ONION_NEXT";
    say("onion skin: " + key);
    trigger(key);
}

void RandomUser::play()
{
    LayerWidget* layers = window->getLayerWidget(window->getCurrent());
    QPushButton* button = layers->getPlayButton();
    if (!button->isEnabled())
        return say("play: nothing ticked");
    static const char* const ways[] = {"the button", "Escape", "a press in the view"};
    const int way = pick(3);
    const int wait = pick(400);
    say(QString("play for %1 ms, stopped by %2").arg(wait).arg(ways[way]));
    QUndoStack* stack = window->getCurrentDesign()->getUndoStack();
    const int index = stack->index();
    button->click();
    QTest::qWait(wait);
    WheelPanel* view = window->getCurrent();
    if (way == 0)
        button->click();
    else if (way == 1)
        QTest::keyClick(view, Qt::Key_Escape);
    else
        QTest::mouseClick(view->viewport(), Qt::MiddleButton, {},
                          view->viewport()->rect().center());
    if (layers->getPlayer()->isPlaying())
        return fail("still playing");
    if (stack->index() != index)
        fail("playing changed the design");
}

void RandomUser::arrangement()
{
    QList<QAction*> choices;
    for (QAction* action : window->getArray()->getMenu()->actions())
        if (!action->isSeparator() && action->isEnabled())
            choices << action;
    const int choice = pick(int(choices.size()));
    say(QString("arrangement %1").arg(choice));
    if (!choices.isEmpty())
        choices[choice]->trigger();
}

// The wheel

void RandomUser::hallAngle()
{
    const int angle = pick(361);
    const bool confirmed = chance(50);
    say(QString("hall angle %1, %2").arg(angle).arg(confirmed ? "OK" : "cancelled"));
    if (!product.configuration->hasHall())
        return say("  (no hall sensor)");
    trigger("PRESETS");
    HallDialog* dialog = window->getHallDialog();
    if (!dialog->isVisible())
        return fail("the hall dialog did not open");
    dialog->findChild<QDial*>()->setValue(angle);
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == Resource::getText(confirmed ? "OK" : "CANCEL"))
            button->click();
    if (dialog->isVisible())
        fail("the hall dialog stays open");
}

WheelProcess* RandomUser::wheel(const QString& mode)
{
    std::unique_ptr<WheelProcess>& running = wheels[mode];
    if (!running) {
        const ArgParser& product = *this->product.configuration;
        QStringList options{"--size",  QString("%1x%2").arg(product.lines).arg(product.leds),
                            "--outer", QString::number(int(product.outerSize)),
                            "--inner", QString::number(int(product.innerSize)),
                            "--id",    product.getidList().firstKey()};
        running = std::make_unique<WheelProcess>(options + wheelModes()[mode], mode == "well");
        if (!running->isRunning())
            fail("the virtual wheel did not start");
    }
    return running.get();
}

void RandomUser::transfer()
{
    const QStringList modes = wheelModes().keys();
    const QString mode = modes[pick(int(modes.size()))];
    // Cancelled never, at once or while it stores, with the button or the Escape key.
    static const QStringList cancels = {"", "", "cancelled at once", "cancelled while storing",
                                        "escaped while storing"};
    const QString cancel = cancels[pick(int(cancels.size()))];
    QStringList answers;
    for (int i = pick(3); i > 0; --i)
        answers << Resource::getText("RETRY");
    answers << QStringList(5, Resource::getText("CANCEL"));
    // What the slot list shows ticked is what the wheel must get.
    Design* design = window->getCurrentDesign();
    LayerView* view = window->getLayerWidget(window->getCurrent())->getView();
    QMap<int, QImage> ticked;
    for (int row = 0; row < view->count(); ++row)
        if (view->item(row)->checkState() == Qt::Checked)
            ticked.insert(row, design->getPicture(design->getList()[row]));
    say(QString("send %1 ticked slots to a wheel that %2, %3, answering %4 Retry")
            .arg(ticked.size())
            .arg(mode, cancel.isEmpty() ? "not cancelled" : cancel)
            .arg(answers.size() - 5));
    if (mode == "no dongle")
        qputenv(DeviceNode::variable, QFile::encodeName(folder + "/no-dongle"));
    else
        qputenv(DeviceNode::variable, wheel(mode)->getDevice().toLocal8Bit());
    if (!problem.isEmpty())
        return;
    answer(answers);
    auto* transmitter = window->findChild<Transmitter*>();
    window->getLayerWidget(window->getCurrent())->getTransmitButton()->click();
    if (ticked.isEmpty()) {
        if (transmitter->isVisible() || !window->isVisible())
            fail("a transfer of nothing showed the dialog");
        return;
    }
    if (!cancel.isEmpty()) {
        const auto storing = [&] {
            return transmitter->labelText() != Resource::getText("CONNECTION") ||
                   !transmitter->isVisible();
        };
        if (cancel.endsWith("storing") && !QTest::qWaitFor(storing, 5000))
            say("  no store began");
        if (transmitter->isVisible() && cancel.startsWith("escaped"))
            QTest::keyClick(transmitter, Qt::Key_Escape);
        else if (transmitter->isVisible())
            transmitter->findChild<QPushButton*>()->click();
    }
    if (!QTest::qWaitFor([&] { return !transmitter->isVisible() && window->isVisible(); }, 60000))
        return fail("the transfer did not end with the window back");
    if (mode != "well" || !cancel.isEmpty())
        return;
    const int capacity = product.configuration->getidList().first();
    const QMap<int, QByteArray> frames = FrameEncoder::encodeAll(
        ticked, web, product.configuration->hasHall(), window->getHallDialog()->getValue(), 360);
    int stored = 0;
    for (auto it = frames.cbegin(); it != frames.cend(); ++it) {
        if (it.key() >= capacity)
            continue;
        ++stored;
        if (wheel(mode)->storedFrame(it.key()) != it.value())
            fail(QString("the wheel holds another picture in slot %1").arg(it.key() + 1));
    }
    if (window->statusBar()->currentMessage() != Transmitter::storedText(stored))
        fail("the window says \"" + window->statusBar()->currentMessage() + "\" after storing " +
             QString::number(stored));
}

void RandomUser::quit()
{
    QStringList answers;
    QStringList paths;
    static const char* const keys[] = {"YES", "ABORT", "NO"};
    for (int i = 0; i < mostTabs; ++i) {
        answers << Resource::getText(keys[pick(3)]);
        paths << savePath();
    }
    say("quit, answering " + answers.join(", ") + "; saving to " + paths.join(", "));
    answer(answers, paths);
    if (!window->close())
        return;
    for (int i = 0; i < window->getTabs()->count(); ++i)
        if (panel(i)->getDesign()->isModified())
            return fail("the window closed with unsaved work");
    say("  closed; started again");
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        fail("the window did not come back");
}

// What must always hold

void RandomUser::checkWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return fail(QString("a %1 is left open").arg(modal->metaObject()->className()));
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && qobject_cast<QMessageBox*>(widget))
            return fail("a message box is left open");
    if (!window->isVisible())
        return fail("the window is hidden");
    if (window->findChild<Transmitter*>()->isVisible())
        return fail("the transfer dialog is left open");
    QTabWidget* tabs = window->getTabs();
    if (tabs->count() < 1 || tabs->currentWidget() != window->getCurrent())
        return fail("the current design is not the current tab's");
    QList<const Design*> open;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        Design* design = panel(tab)->getDesign();
        open << design;
        // What a design writes, it must read again.
        if (!watched.contains(design)) {
            watched << design;
            QObject::connect(design, &Design::fileChanged, design, [this, design] {
                if (!design->isModified() && !design->getFilePath().isEmpty())
                    savedFiles[design->getFilePath()] = rowPictures(design);
            });
        }
        checkDesign(tab);
    }
    for (const Design* design : snapshots.keys())
        if (!open.contains(design))
            snapshots.remove(design);
    for (const Design* design : watched.values())
        if (!open.contains(design))
            watched.remove(design);
    LayerWidget* layers = window->getLayerWidget(window->getCurrent());
    if (!layers || !layers->isVisibleTo(layers->parentWidget()))
        fail("the slot list shown is not the current design's");
    QUndoStack* stack = window->getCurrentDesign()->getUndoStack();
    QAction* undo = command("UNDO");
    QAction* redo = command("REDO");
    if (undo && redo &&
        (undo->isEnabled() != stack->canUndo() || redo->isEnabled() != stack->canRedo()))
        fail("Undo or Redo is offered wrongly");
}

void RandomUser::checkDesign(int tab)
{
    Design* design = panel(tab)->getDesign();
    const QString where = QString("tab %1: ").arg(tab);
    const QString caption = design->getDisplayName() + (design->isModified() ? " *" : "");
    if (window->getTabs()->tabText(tab) != caption)
        return fail(where + "the caption \"" + window->getTabs()->tabText(tab) +
                    "\" does not say \"" + caption + "\"");
    if (design->getCount() != product.configuration->mostPictures())
        return fail(where + QString("%1 slots").arg(design->getCount()));
    QList<int> order = design->getList();
    std::sort(order.begin(), order.end());
    for (int i = 0; i < order.size(); ++i)
        if (order[i] != i)
            return fail(where + "the slot order is no order of the pictures");
    LayerView* view = window->getLayerWidget(panel(tab))->getView();
    if (view->count() != design->getCount() || view->currentRow() != design->getCurrentRow())
        return fail(where + "the slot list does not show the design's rows");
    for (int row = 0; row < view->count(); ++row)
        if ((view->item(row)->checkState() == Qt::Checked) != design->isTicked(row))
            return fail(where + QString("row %1 shows the wrong tick").arg(row));

    // The clean state gives back what was saved or made.
    QUndoStack* stack = design->getUndoStack();
    const auto known = snapshots.constFind(design);
    if (known == snapshots.cend() || known->cleanIndex != stack->cleanIndex()) {
        if (design->isModified())
            snapshots.remove(design);
        else
            snapshots.insert(design, {stack->cleanIndex(), rowPictures(design), design->getList(),
                                      rowTicks(design)});
        return;
    }
    if (design->isModified())
        return;
    if (known->order != design->getList())
        return fail(where + "back at its clean state, the slots are in another order");
    if (known->ticks != rowTicks(design))
        return fail(where + "back at its clean state, other slots are ticked");
    if (known->pictures != rowPictures(design))
        return fail(where + "back at its clean state, the pictures differ");
}
