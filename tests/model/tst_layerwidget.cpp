#include "model/layermovedcommand.h"
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

QList<Qt::CheckState> ticks(LayerView* view)
{
    QList<Qt::CheckState> states;
    for (int row = 0; row < view->count(); ++row)
        states << view->item(row)->checkState();
    return states;
}

void setTick(LayerView* view, int row, Qt::CheckState state)
{
    const bool blocked = view->blockSignals(true);
    view->item(row)->setCheckState(state);
    view->blockSignals(blocked);
}

QPushButton* button(LayerWidget* widget, const QString& text)
{
    for (QPushButton* candidate : widget->findChildren<QPushButton*>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}

const Qt::CheckState on = Qt::Checked;
const Qt::CheckState off = Qt::Unchecked;

} // namespace

class LayerWidgetTest : public QObject {
    Q_OBJECT
    QUndoStack stack;
    LayerWidget* widget = nullptr;
    LayerView* view = nullptr;

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
    }

    void cleanup() { delete widget; }

    void startsWithEveryRowTicked()
    {
        QCOMPARE(widget->getList(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, on, on, on}));
        QCOMPARE(view->currentRow(), 0);
        QCOMPARE(stack.count(), 0);
        QVERIFY(button(widget, "Send to Wheel"));
        QVERIFY(button(widget, "Select All"));
        QVERIFY(button(widget, "Ignore All"));
    }

    void transmitsTheTickedRowsWithTheirPictures()
    {
        arrange(view, {2, 0, 3, 1});
        setTick(view, 1, off);
        QSignalSpy spy(widget, &LayerWidget::toUpdate);
        QTest::mouseClick(button(widget, "Send to Wheel"), Qt::LeftButton);
        QCOMPARE(spy.size(), 1);
        const auto rows = spy.first().first().value<QMap<int, int>>();
        QCOMPARE(rows, (QMap<int, int>{{0, 2}, {2, 3}, {3, 1}}));
        QCOMPARE(widget->getList(), (QList<int>{2, 0, 3, 1}));

        QTest::mouseClick(button(widget, "Ignore All"), Qt::LeftButton);
        QTest::mouseClick(button(widget, "Send to Wheel"), Qt::LeftButton);
        QCOMPARE(spy.size(), 1);
    }

    void clickingATickBoxIsOneStep()
    {
        arrange(view, {0, 1, 3, 2});
        QSignalSpy current(widget, &LayerWidget::currentIndex);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, checkBoxOf(view, 2));
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, on, off, on}));
        // The tick box of another row toggles that row without making it current.
        QCOMPARE(view->currentRow(), 0);
        QCOMPARE(current.size(), 0);
        QCOMPARE(stack.count(), 1);
        QCOMPARE(stack.text(0), QString("Unselect"));

        stack.undo();
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, on, on, on}));
        QCOMPARE(stack.redoText(), QString("Unselect"));
        stack.redo();
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, on, off, on}));

        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, checkBoxOf(view, 2));
        QCOMPARE(stack.count(), 2);
        QCOMPARE(stack.text(1), QString("Select"));
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, on, on, on}));
        stack.undo();
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, on, off, on}));
    }

    void selectAllTicksOnlyWhatIsUnticked()
    {
        QTest::mouseClick(button(widget, "Select All"), Qt::LeftButton);
        QCOMPARE(stack.count(), 0);
        setTick(view, 1, off);
        setTick(view, 2, off);
        QTest::mouseClick(button(widget, "Select All"), Qt::LeftButton);
        QCOMPARE(stack.count(), 1);
        QCOMPARE(stack.text(0), QString("Select All"));
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, on, on, on}));
        stack.undo();
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, off, off, on}));
        stack.redo();
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, on, on, on}));

        QTest::mouseClick(button(widget, "Ignore All"), Qt::LeftButton);
        QCOMPARE(stack.text(1), QString("Ignore All"));
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{off, off, off, off}));
        stack.undo();
        QCOMPARE(ticks(view), (QList<Qt::CheckState>{on, on, on, on}));
    }

    void choosingARowFollowsTheUndoHistory()
    {
        QSignalSpy current(widget, &LayerWidget::currentIndex);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualItemRect(view->item(2)).center());
        QCOMPARE(view->currentRow(), 2);
        QCOMPARE(stack.count(), 1);
        QCOMPARE(stack.text(0), QString("Edit"));
        QCOMPARE(current.takeFirst().first().toInt(), 2);
        stack.undo();
        QCOMPARE(view->currentRow(), 0);
        QCOMPARE(current.takeFirst().first().toInt(), 0);
        stack.redo();
        QCOMPARE(view->currentRow(), 2);
        QCOMPARE(current.takeFirst().first().toInt(), 2);
        QCOMPARE(stack.count(), 1);
    }

    // What a completed internal drag does: the drag object appears as the view's child, the
    // row moves and stays current, and the drag object goes.
    void completedDragIsOneMove()
    {
        view->setCurrentRow(3);
        stack.clear();
        QSignalSpy current(widget, &LayerWidget::currentIndex);
        auto* drag = new QObject(view);
        QVERIFY(view->model()->moveRow(QModelIndex(), 3, QModelIndex(), 0));
        QCOMPARE(view->currentRow(), 0);
        delete drag;
        QCOMPARE(stack.count(), 1);
        QCOMPARE(stack.text(0), QString("Move"));
        QCOMPARE(widget->getList(), (QList<int>{3, 0, 1, 2}));

        stack.undo();
        QCOMPARE(widget->getList(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(view->currentRow(), 3);
        QCOMPARE(current.last().first().toInt(), 3);
        stack.redo();
        QCOMPARE(widget->getList(), (QList<int>{3, 0, 1, 2}));
        QCOMPARE(view->currentRow(), 0);
        QCOMPARE(current.last().first().toInt(), 3);
        QCOMPARE(stack.count(), 1);

        // A drop at the same place pushes nothing.
        drag = new QObject(view);
        delete drag;
        QCOMPARE(stack.count(), 1);
    }

    void iconsFollowTheirPictures()
    {
        arrange(view, {1, 0, 2, 3});
        QPixmap red(64, 64);
        red.fill(Qt::red);
        const auto colourOf = [&](int row) {
            return view->item(row)->icon().pixmap(64, 64).toImage().pixelColor(32, 32);
        };
        widget->setIcon(red, 0);
        QCOMPARE(colourOf(1), QColor(Qt::red));
        QCOMPARE(colourOf(0), QColor(Qt::white));
        // An index no row holds falls back to the current row.
        QPixmap blue(64, 64);
        blue.fill(Qt::blue);
        widget->setIcon(blue, 9);
        QCOMPARE(colourOf(0), QColor(Qt::blue));
        QCOMPARE(stack.count(), 0);
    }

    // One cell of a pen stroke shows in its row's thumbnail; rows carry their slot numbers,
    // which stay with the place when pictures move.
    void thumbnailsShowAStrokeAndRowsTheirSlot()
    {
        QPixmap stroke(512, 512);
        stroke.fill(Qt::transparent);
        QPainter painter(&stroke);
        painter.fillRect(QRect(300, 100, 10, 5), QColor(127, 127, 255));
        painter.end();
        widget->setIcon(stroke, 0);
        const QImage drawn = view->item(0)->icon().pixmap(64, 64).toImage();
        const QImage empty = view->item(1)->icon().pixmap(64, 64).toImage();
        int visible = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const QColor a = drawn.pixelColor(x, y), b = empty.pixelColor(x, y);
                visible += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) > 100;
            }
        QVERIFY(visible >= 2);

        QStringList numbers;
        for (int row = 0; row < view->count(); ++row)
            numbers << view->item(row)->text();
        QCOMPARE(numbers, (QStringList{"1", "2", "3", "4"}));
        arrange(view, {2, 0, 1, 3});
        QCOMPARE(view->item(0)->text(), QString("1"));
        QCOMPARE(view->item(2)->text(), QString("3"));
        QCOMPARE(stack.count(), 0);
    }
};

RIMGLOW_TEST(LayerWidgetTest)
#include "tst_layerwidget.moc"
