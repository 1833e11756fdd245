#include "app/dockwidget.h"
#include "app/smalldockwidget.h"
#include "model/design.h"
#include "model/layerview.h"
#include "model/layerwidget.h"
#include "tools/toolwidget.h"
#include "windowhelpers.h"

#include <QAccessible>
#include <QGraphicsProxyWidget>

#include <functional>

namespace {

// What a screen reader announces for a widget, Qt's fallbacks (a button's text) included.
QString spokenName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// Whatever takes the keyboard focus or a click. A widget whose focus goes to another is
// announced as that other; a scroll bar by its role, as part of the view it scrolls.
bool isControl(QWidget* widget)
{
    if (widget->focusProxy() || qobject_cast<QScrollBar*>(widget))
        return false;
    return widget->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(widget) ||
           qobject_cast<QAbstractSlider*>(widget) || qobject_cast<QComboBox*>(widget) ||
           qobject_cast<QTabBar*>(widget);
}

// Whether showing top shows widget: the pages of a stack count, as any of them can be chosen.
bool shownWith(QWidget* widget, QWidget* top)
{
    for (; widget != top; widget = widget->parentWidget())
        if (widget->isHidden() && !qobject_cast<QStackedWidget*>(widget->parentWidget()))
            return false;
    return true;
}

// The controls in the window top that showing it shows, without a name, as class names.
QStringList unnamed(QWidget* top)
{
    QStringList found;
    for (QWidget* widget : top->findChildren<QWidget*>())
        if (widget->window() == top && shownWith(widget, top) && isControl(widget) &&
            spokenName(widget).trimmed().isEmpty())
            found << QString(widget->metaObject()->className()) + " in " +
                         widget->parentWidget()->metaObject()->className();
    return found;
}

// The window and every window it owns: its dialogs, and the panel the active tool shows on the
// design.
QStringList unnamedAnywhere(MainWindow* window)
{
    QStringList found = unnamed(window);
    for (QWidget* widget : window->findChildren<QWidget*>())
        if (widget->isWindow())
            found << unnamed(widget);
    for (QGraphicsItem* item : window->getCurrent()->scene()->items())
        if (auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(item))
            if (proxy->isVisible())
                found << unnamed(proxy->widget());
    return found;
}

// Four slots: the first and third drawn, the last two unticked.
struct SlotList {
    SlotList()
    {
        QImage dot(512, 512, QImage::Format_ARGB32);
        dot.fill(Qt::transparent);
        dot.setPixel(256, 100, qRgba(0, 0, 0, 1));
        design.setPicture(0, dot);
        design.setPicture(2, dot);
        design.tick(2, false);
        design.tick(3, false);
    }
    QListWidgetItem* row(int row) { return layers.getView()->item(row); }

    Design design{4, QSize(512, 512)};
    LayerWidget layers{&design};
};

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:

    // Every control of the window, its dialogs and every tool's panel has a name to announce.
    void everyControlIsNamed()
    {
        DemoWindow w(Product::demo("DEMO", true));
        QStringList found = unnamedAnywhere(&w);
        QPixmap picture(64, 64);
        picture.fill(Qt::black);
        w.getTools()->import(picture);
        found << unnamedAnywhere(&w);
        QMetaObject::invokeMethod(w.getTools(), "text", Qt::DirectConnection);
        found << unnamedAnywhere(&w);
        // A closed dock leaves its bar.
        w.getToolDock()->close();
        w.getLayerDock()->close();
        found << unnamed(&w);
        found.removeDuplicates();
        QVERIFY2(found.isEmpty(), qPrintable("unnamed: " + found.join(", ")));
    }

    // A slot row says what its number, picture and tick show, and follows all three; its text
    // shown stays the number alone.
    void slotRowsSayTheirState_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("drawn, ticked") << 0 << "Slot 1, drawn, will be sent";
        QTest::newRow("empty, ticked") << 1 << "Slot 2, empty, will be sent";
        QTest::newRow("drawn, unticked") << 2 << "Slot 3, drawn, not sent";
        QTest::newRow("empty, unticked") << 3 << "Slot 4, empty, not sent";
    }
    void slotRowsSayTheirState()
    {
        QFETCH(int, row);
        QFETCH(QString, text);
        SlotList list;
        QCOMPARE(list.row(row)->data(Qt::AccessibleTextRole).toString(), text);
        QCOMPARE(list.row(row)->toolTip().section('\n', 0, 0), text);
        QCOMPARE(list.row(row)->text(), QString::number(row + 1));
        // Moved to the end, the picture and its tick go along; the number stays with the place.
        list.design.moveRow(row, 3);
        QCOMPARE(list.row(3)->data(Qt::AccessibleTextRole).toString(), text.replace(5, 1, "4"));
    }

    // The swatch takes the focus and swaps its colours on the keys that press a button, and
    // says what it does now.
    void swatchByKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("swaps");
        QTest::newRow("Space") << int(Qt::Key_Space) << true;
        QTest::newRow("Return") << int(Qt::Key_Return) << true;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << true;
        QTest::newRow("A") << int(Qt::Key_A) << false;
    }
    void swatchByKeyboard()
    {
        QFETCH(int, key);
        QFETCH(bool, swaps);
        ColorPanel swatch;
        QSignalSpy changes(&swatch, &ColorPanel::brushChange);
        QTest::keyClick(&swatch, Qt::Key(key));
        QCOMPARE(changes.size(), int(swaps));
        QCOMPARE(swatch.getMode(), swaps ? QPainter::CompositionMode_DestinationOut
                                         : QPainter::CompositionMode_SourceOver);
        QCOMPARE(swatch.accessibleDescription(),
                 Resource::getText(swaps ? "SWATCH_ERASE" : "SWATCH_DRAW"));
        QCOMPARE(swatch.toolTip(), swatch.accessibleDescription());
    }

    // Names, tool tips and the slot dock's title change with the language; a closed dock's bar
    // is named by its caption, not letter by letter.
    void namesFollowTheLanguage()
    {
        DemoWindow w;
        w.getToolDock()->close();
        QWidget* addButton = w.getTabs()->cornerWidget(Qt::TopLeftCorner);
        QWidget* close = w.getTabs()->tabBar()->tabButton(0, QTabBar::RightSide);
        QListWidgetItem* firstSlot = w.getLayerWidget(w.getCurrent())->getView()->item(0);
        ColorPanel* swatch = w.getTools()->getColorPanel();
        const struct {
            std::function<QString()> read;
            QString en;
            QString de;
        } texts[] = {
            {[&] { return w.getLayerDock()->windowTitle(); }, "Slots", "Bildplätze"},
            {[&] { return spokenName(w.getToolDock()->getSmallDock()->getButton()); }, "Tools",
             "Werkzeuge"},
            {[&] { return spokenName(addButton) + "|" + addButton->toolTip(); },
             "New design|New design", "Neues Design|Neues Design"},
            {[&] { return spokenName(close); }, "Close Untitled 1", "Unbenannt 1 schließen"},
            {[&] { return spokenName(w.getCurrent()); }, "Wheel picture", "Radbild"},
            {[&] { return spokenName(swatch) + "|" + swatch->toolTip(); },
             "Draw or erase|Draws now; click or press Space to erase",
             "Malen oder radieren|Malt jetzt; klicken oder Leertaste drücken zum Radieren"},
            {[&] { return firstSlot->data(Qt::AccessibleTextRole).toString(); },
             "Slot 1, empty, will be sent", "Platz 1, leer, wird gesendet"},
        };
        auto english = qScopeGuard([] { chooseLanguage("en"); });
        for (const char* language : {"en", "de"}) {
            chooseLanguage(language);
            for (const auto& text : texts)
                QCOMPARE(text.read(), QByteArray(language) == "en" ? text.en : text.de);
        }
    }
};

RIMGLOW_TEST(AccessibilityTest)
#include "tst_accessibility.moc"
