#include "model/layerview.h"
#include "model/layerwidget.h"
#include "tools/bitfont.h"
#include "tools/texttool.h"
#include "windowhelpers.h"

namespace {

// The window on the screen, with the keyboard.
struct ShownWindow : DemoWindow {
    ShownWindow()
    {
        resize(1100, 800);
        QMainWindow::show();
        if (!QTest::qWaitForWindowActive(this))
            qFatal("the window did not become active");
    }

    // Where the focus is, by what the user sees there; in a tool's panel on the design, the
    // panel.
    QString stop()
    {
        QWidget* focus = QApplication::focusWidget();
        if (focus == getCurrent())
            return getCurrent()->scene()->focusItem() ? "panel" : "canvas";
        if (focus == getTools()->getColorPanel())
            return "swatch";
        if (focus == getTabs()->cornerWidget(Qt::TopLeftCorner))
            return "+";
        if (focus == getTabs()->tabBar())
            return "tabs";
        LayerWidget* layers = getLayerWidget(getCurrent());
        if (focus == layers->getView())
            return "slots";
        if (focus == layers->getPlayButton())
            return "play";
        if (focus == layers->getRateBox())
            return "rate";
        return focus ? focus->property("text").toString() : QString();
    }

    // The stops that Tab (or Shift+Tab) goes through from the focus until it comes back; empty
    // when it never comes back.
    QStringList round(int key)
    {
        const QWidget* start = QApplication::focusWidget();
        const QWidget* startInside = inside();
        QStringList stops;
        for (int i = 0; i < 40; ++i) {
            stops << stop();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            if (QApplication::focusWidget() == start &&
                (start != getCurrent() || inside() == startInside))
                return stops;
        }
        return {};
    }

    // The focus within a tool's panel on the design.
    const QWidget* inside()
    {
        auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(getCurrent()->scene()->focusItem());
        return proxy ? proxy->widget()->focusWidget() : nullptr;
    }

    // Every command of the window: its menus and its own keys.
    static QList<QAction*> commandsOf(QMainWindow* window)
    {
        QList<QAction*> all = window->actions();
        for (QAction* title : window->menuBar()->actions())
            all << title << commandsIn(title->menu());
        return all;
    }

    static QList<QAction*> commandsIn(QMenu* menu)
    {
        emit menu->aboutToShow();
        QList<QAction*> all;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                all << action << (action->menu() ? commandsIn(action->menu()) : QList<QAction*>());
        return all;
    }
};

QStringList rotatedTo(QStringList stops, const QString& first)
{
    const qsizetype at = stops.indexOf(first);
    return at < 0 ? stops : stops.mid(at) + stops.mid(0, at);
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { chooseLanguage("en"); }

    // Tab and Shift+Tab go round the window as it reads, through a tool's panel on the design
    // too, and come back to where they started.
    void tabGoesRound_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("design");
        for (const char* situation : {"fresh start", "new", "text"})
            QTest::newRow(situation)
                << situation << (situation == QString("text") ? "panel" : "canvas");
    }
    void tabGoesRound()
    {
        QFETCH(QString, situation);
        QFETCH(QString, design);
        ShownWindow w;
        if (situation == "new")
            w.createNew();
        if (situation == "text")
            QMetaObject::invokeMethod(w.getTools(), "text");
        // Of the drawing tools, only the chosen one is a stop, as in a group of radio buttons.
        const QStringList stops = {"Pen",   "Import", "Text", "Fill",         "swatch",
                                   "+",     "tabs",   design, "Select All",   "Ignore All",
                                   "slots", "play",   "rate", "Send to Wheel"};
        // A tool's panel has stops of its own.
        const QStringList forth = rotatedTo(w.round(Qt::Key_Tab), "Pen");
        QStringList once = forth;
        once.erase(std::unique(once.begin(), once.end()), once.end());
        QCOMPARE(once, stops);
        const QStringList back(forth.crbegin(), forth.crend());
        QCOMPARE(rotatedTo(w.round(Qt::Key_Backtab), "Pen"), rotatedTo(back, "Pen"));
    }

    // Every menu and entry can be chosen by a letter of its own in every language, and every
    // command's keys are its own.
    void mnemonics_data()
    {
        QTest::addColumn<QString>("code");
        for (const char* code : {"en", "de", "zh_TW"})
            QTest::newRow(code) << code;
    }
    void mnemonics()
    {
        QFETCH(QString, code);
        for (bool hall : {false, true}) {
            DemoWindow w(Product::demo("DEMO", hall));
            chooseLanguage(code);
            QList<QList<QAction*>> menus = {w.menuBar()->actions()};
            for (QAction* action : ShownWindow::commandsOf(&w))
                if (action->menu())
                    menus << action->menu()->actions();
            for (const QList<QAction*>& menu : menus) {
                QList<QKeySequence> letters;
                for (QAction* action : menu) {
                    if (action->isSeparator())
                        continue;
                    const QKeySequence letter = QKeySequence::mnemonic(action->text());
                    QVERIFY2(!letter.isEmpty() && !letters.contains(letter),
                             qPrintable(action->text()));
                    letters << letter;
                }
            }
        }
        DemoWindow w;
        chooseLanguage(code);
        const QList<QAction*> commands = ShownWindow::commandsOf(&w);
        QList<QKeySequence> keys;
        for (QAction* action : QSet<QAction*>(commands.cbegin(), commands.cend()))
            keys << action->shortcuts();
        for (const QKeySequence& key : keys)
            QVERIFY2(keys.count(key) == 1, qPrintable(key.toString()));
    }

    // The menus open from the keyboard, the tools and Send to Wheel have keys, and the tools'
    // letters still type into a text entry.
    void keysReachCommands()
    {
        ShownWindow w;
        QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
        QCOMPARE(QApplication::activePopupWidget(), entry(&w, "FILE")->menu());
        QApplication::activePopupWidget()->close();
        QTest::keyClick(&w, Qt::Key_F10);
        QCOMPARE(QApplication::activePopupWidget(), entry(&w, "FILE")->menu());
        QApplication::activePopupWidget()->close();
        w.getCurrent()->setFocus();

        // The tools' letters reach the palette from the design and from a tool's panel, but
        // type into a text entry.
        const auto press = [&w](const char* keys) {
            QTest::keyClicks(w.getCurrent(), keys);
            return QString(w.getTools()->currentTool()->metaObject()->className());
        };
        ModalAnswerer answerer;
        QCOMPARE(press("t"), "TextTool");
        QCOMPARE(press("pif"), "TextTool");
        auto* text = qobject_cast<TextTool*>(w.getTools()->currentTool());
        QCOMPARE(qobject_cast<QLineEdit*>(text->getEntry()->focusProxy())->text(), "pif");
        entry(&w, "MENU_PEN")->trigger();
        QCOMPARE(press("f"), "ImageTool");
        QCOMPARE(press("p"), "PenTool");
        QCOMPARE(answerer.texts, QStringList());

        QTest::keyClick(w.getCurrent(), Qt::Key_E);
        QVERIFY(entry(&w, "ERASE")->isChecked());
        QCOMPARE(w.getTools()->getColorPanel()->getMode(),
                 QPainter::CompositionMode_DestinationOut);

        // What the slot list's button sends, without the wheel.
        LayerWidget* layers = w.getLayerWidget(w.getCurrent());
        QSignalSpy sent(layers, &LayerWidget::toUpdate);
        QObject::disconnect(layers, &LayerWidget::toUpdate, &w, nullptr);
        QAction* send = entry(&w, "SEND_TO_WHEEL");
        QVERIFY(send && !send->shortcut().isEmpty());
        QTest::keySequence(&w, send->shortcut());
        QCOMPARE(sent.size(), 1);
    }
};

RIMGLOW_TEST(KeyboardTest)
#include "tst_keyboard.moc"
