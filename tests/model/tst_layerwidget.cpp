#include "model/layerwidget.h"
#include "resources/hiddenfile.h"
#include "testsuite.h"

#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QUndoStack>

namespace {

// Rows holding the given picture indices, top to bottom, set up without any command.
void arrange(LayerView* view, const QList<int>& pictures)
{
    const bool blocked = view->blockSignals(true);
    for (int row = 0; row < pictures.size(); ++row)
        for (int from = row; from < view->count(); ++from)
            if (view->item(from)->statusTip().toInt() == pictures[row])
                view->insertItem(row, view->takeItem(from));
    view->setCurrentRow(0);
    view->blockSignals(blocked);
}

QPoint checkBoxOf(LayerView* view, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualItemRect(view->item(row));
    option.features |=
        QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
    option.decorationSize = view->iconSize();
    return view->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view)
        .center();
}

// The rows' ticks as a word, "x" ticked and "-" not.
QString ticks(LayerView* view)
{
    QString states;
    for (int row = 0; row < view->count(); ++row)
        states += view->item(row)->checkState() == Qt::Checked ? 'x' : '-';
    return states;
}

} // namespace

class LayerWidgetTest : public QObject {
    Q_OBJECT
    QUndoStack stack;
    LayerWidget* widget = nullptr;
    LayerView* view = nullptr;

    void click(const QString& text)
    {
        for (QPushButton* button : widget->findChildren<QPushButton*>())
            if (button->text() == text)
                QTest::mouseClick(button, Qt::LeftButton);
    }

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    void init()
    {
        stack.clear();
        widget = new LayerWidget(&stack, 4);
        view = widget->getView();
        widget->resize(200, 400);
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget));
        QCOMPARE(ticks(view), QString("xxxx"));
        QCOMPARE(view->currentRow(), 0);
    }

    void cleanup() { delete widget; }

    // A click on a tick box, Select All and Ignore All are one step each (Select All only for
    // what is unticked), and the ticked rows go out with the pictures they hold.
    void ticksAreStepsAndChooseWhatIsSent()
    {
        arrange(view, {2, 0, 3, 1});
        QSignalSpy current(widget, &LayerWidget::currentIndex);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, checkBoxOf(view, 1));
        QCOMPARE(ticks(view), QString("x-xx"));
        // The tick box of another row toggles that row without making it current.
        QCOMPARE(view->currentRow(), 0);
        QCOMPARE(current.size(), 0);
        QCOMPARE(stack.undoText(), QString("Unselect"));
        QSignalSpy sent(widget, &LayerWidget::toUpdate);
        click("Send to Wheel");
        const auto rows = sent.value(0).value(0).value<QMap<int, int>>();
        QCOMPARE(rows, (QMap<int, int>{{0, 2}, {2, 3}, {3, 1}}));
        stack.undo();
        QCOMPARE(ticks(view), QString("xxxx"));
        stack.redo();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, checkBoxOf(view, 2));
        QCOMPARE(ticks(view), QString("x--x"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, checkBoxOf(view, 2));
        QCOMPARE(stack.undoText(), QString("Select"));
        stack.undo();

        click("Select All");
        QCOMPARE(stack.undoText(), QString("Select All"));
        QCOMPARE(ticks(view), QString("xxxx"));
        stack.undo();
        QCOMPARE(ticks(view), QString("x--x"));
        stack.redo();
        click("Select All");
        QCOMPARE(stack.count(), 3);
        click("Ignore All");
        QCOMPARE(stack.undoText(), QString("Ignore All"));
        QCOMPARE(ticks(view), QString("----"));
        click("Send to Wheel");
        QCOMPARE(sent.size(), 1);
        stack.undo();
        QCOMPARE(ticks(view), QString("xxxx"));
        QCOMPARE(widget->getList(), (QList<int>{2, 0, 3, 1}));
    }

    void choosingARowIsAStep()
    {
        QSignalSpy current(widget, &LayerWidget::currentIndex);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualItemRect(view->item(2)).center());
        QCOMPARE(view->currentRow(), 2);
        QCOMPARE(stack.undoText(), QString("Edit"));
        stack.undo();
        QCOMPARE(view->currentRow(), 0);
        stack.redo();
        QCOMPARE(view->currentRow(), 2);
        QCOMPARE(stack.count(), 1);
        QCOMPARE(current.size(), 3);
        QCOMPARE(current.takeFirst().first().toInt(), 2);
        QCOMPARE(current.takeFirst().first().toInt(), 0);
    }

    // A thumbnail follows its picture wherever its row is, and a single pen cell shows in it;
    // rows carry their slot numbers, which stay with the place when pictures move.
    void thumbnailsAndNumbers()
    {
        arrange(view, {1, 0, 2, 3});
        const auto colourOf = [&](int row) {
            return view->item(row)->icon().pixmap(64, 64).toImage().pixelColor(32, 32);
        };
        QPixmap stroke(512, 512);
        stroke.fill(Qt::transparent);
        QPainter painter(&stroke);
        painter.fillRect(QRect(300, 100, 10, 5), QColor(127, 127, 255));
        painter.end();
        widget->setIcon(stroke, 0);
        const QImage drawn = view->item(1)->icon().pixmap(64, 64).toImage();
        const QImage empty = view->item(0)->icon().pixmap(64, 64).toImage();
        int visible = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const QColor a = drawn.pixelColor(x, y), b = empty.pixelColor(x, y);
                visible += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) > 100;
            }
        QVERIFY(visible >= 2);
        QCOMPARE(colourOf(0), QColor(Qt::white));
        // An index no row holds falls back to the current row.
        QPixmap blue(64, 64);
        blue.fill(Qt::blue);
        widget->setIcon(blue, 9);
        QCOMPARE(colourOf(0), QColor(Qt::blue));
        QStringList numbers;
        for (int row = 0; row < view->count(); ++row)
            numbers << view->item(row)->text();
        QCOMPARE(numbers, (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(stack.count(), 0);
    }
};

RIMGLOW_TEST(LayerWidgetTest)
#include "tst_layerwidget.moc"
