#include "model/layerwidget.h"
#include "resources/hiddenfile.h"
#include "testsuite.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

namespace {

// The rows' ticks as a word, "x" ticked and "-" not.
QString ticks(LayerView* view)
{
    QString states;
    for (int row = 0; row < view->count(); ++row)
        states += view->item(row)->checkState() == Qt::Checked ? 'x' : '-';
    return states;
}

void click(LayerWidget* widget, const QString& text)
{
    for (QPushButton* button : widget->findChildren<QPushButton*>())
        if (button->text() == text)
            button->click();
}

} // namespace

class LayerWidgetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // Ticking a row, Select All (only for what is unticked), Ignore All and choosing a row are
    // one step each; the ticked rows go out with the pictures they hold.
    void layerList()
    {
        QUndoStack stack;
        LayerWidget widget(&stack, 4);
        LayerView* view = widget.getView();
        // Rows holding pictures 2, 0, 3, 1, set up without any step.
        view->blockSignals(true);
        view->insertItem(0, view->takeItem(2));
        view->insertItem(2, view->takeItem(3));
        view->setCurrentRow(0);
        view->blockSignals(false);
        view->item(1)->setCheckState(Qt::Unchecked);
        QSignalSpy sent(&widget, &LayerWidget::toUpdate);
        click(&widget, "Send to Wheel");
        const auto rows = sent.value(0).value(0).value<QMap<int, int>>();
        QCOMPARE(rows, (QMap<int, int>{{0, 2}, {2, 3}, {3, 1}}));
        stack.undo();
        QCOMPARE(ticks(view), QString("xxxx"));
        stack.redo();
        view->item(2)->setCheckState(Qt::Unchecked);
        view->item(2)->setCheckState(Qt::Checked);
        stack.undo();
        QCOMPARE(ticks(view), QString("x--x"));

        click(&widget, "Select All");
        QCOMPARE(ticks(view), QString("xxxx"));
        stack.undo();
        QCOMPARE(ticks(view), QString("x--x"));
        stack.redo();
        click(&widget, "Select All");
        QCOMPARE(stack.count(), 3);
        click(&widget, "Ignore All");
        QCOMPARE(ticks(view), QString("----"));
        // Nothing ticked sends nothing.
        click(&widget, "Send to Wheel");
        QCOMPARE(sent.size(), 1);
        stack.undo();
        QCOMPARE(ticks(view), QString("xxxx"));

        QList<int> shown;
        connect(&widget, &LayerWidget::currentIndex, this, [&](int index) { shown << index; });
        view->setCurrentRow(2);
        stack.undo();
        QCOMPARE(view->currentRow(), 0);
        stack.redo();
        QCOMPARE(view->currentRow(), 2);
        QCOMPARE(shown, (QList<int>{3, 2, 3}));
        QCOMPARE(widget.getList(), (QList<int>{2, 0, 3, 1}));

        // A thumbnail follows its picture wherever its row is, as no step; an index no row
        // holds falls back to the current row. Rows carry their slot numbers, which stay with
        // the place.
        const int steps = stack.count();
        QPixmap blue(64, 64);
        blue.fill(Qt::blue);
        widget.setIcon(blue, 0);
        widget.setIcon(blue, 9);
        for (int row = 0; row < view->count(); ++row) {
            const QImage icon = view->item(row)->icon().pixmap(64, 64).toImage();
            QCOMPARE(icon.pixelColor(32, 32), QColor(row == 1 || row == 2 ? Qt::blue : Qt::white));
            QCOMPARE(view->item(row)->text(), QString::number(row + 1));
        }
        QCOMPARE(stack.count(), steps);
    }
};

// A real internal drag needs a platform with drag and drop; this runs under Xvfb.
class LayerDragTest : public QObject {
    Q_OBJECT

    // Presses on one row and drags it onto another, as a user does with the mouse.
    void drag(LayerWidget* widget, int from, int to)
    {
        LayerView* view = widget->getView();
        QWindow* window = widget->windowHandle();
        const auto place = [&](QPoint p) { return view->viewport()->mapTo(widget, p); };
        const QPoint start = place(view->visualItemRect(view->item(from)).center());
        const QRect target = view->visualItemRect(view->item(to));
        const QPoint end = place(to < from ? target.topLeft() + QPoint(10, 2) : target.center());
        // The drag runs its own event loop once it starts: the rest comes from timers.
        QTimer::singleShot(100, this, [=] {
            QTimer::singleShot(100, this, [=] { QTest::mouseMove(window, end + QPoint(0, 1)); });
            QTimer::singleShot(200, this,
                               [=] { QTest::mouseRelease(window, Qt::LeftButton, {}, end); });
            QTest::mouseMove(window, end);
        });
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        QTest::mouseMove(window, start + QPoint(0, to < from ? -20 : 20));
        QTest::qWait(600);
    }

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    void draggedRowIsOneUndoStep()
    {
        // A skip in initTestCase would leak into the test classes run after this one.
        if (QGuiApplication::platformName() != "xcb")
            QSKIP("needs a platform with drag and drop (run under Xvfb)");
        QUndoStack stack;
        LayerWidget widget(&stack, 4);
        widget.resize(200, 400);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        widget.getView()->setCurrentRow(3);
        stack.clear();

        drag(&widget, 3, 0);
        QCOMPARE(widget.getList(), (QList<int>{3, 0, 1, 2}));
        QCOMPARE(stack.count(), 1);
        stack.undo();
        QCOMPARE(widget.getList(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(widget.getView()->currentRow(), 3);
        stack.redo();
        QCOMPARE(widget.getList(), (QList<int>{3, 0, 1, 2}));
        QCOMPARE(widget.getView()->currentRow(), 0);
        stack.undo();
        // Dropped where it was: no step.
        drag(&widget, 3, 3);
        QCOMPARE(widget.getList(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(stack.count(), 1);
    }
};

RIMGLOW_TEST(LayerWidgetTest)
RIMGLOW_TEST(LayerDragTest)
#include "tst_layerwidget.moc"
