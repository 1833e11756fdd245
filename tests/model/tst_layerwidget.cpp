#include "model/layerwidget.h"
#include "resources/hiddenfile.h"
#include "testsuite.h"

#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
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
        QCOMPARE(ticks(view), QString("xxxx"));
        arrange(view, {2, 0, 3, 1});
        view->item(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(stack.undoText(), QString("Unselect"));
        QSignalSpy sent(&widget, &LayerWidget::toUpdate);
        click(&widget, "Send to Wheel");
        const auto rows = sent.value(0).value(0).value<QMap<int, int>>();
        QCOMPARE(rows, (QMap<int, int>{{0, 2}, {2, 3}, {3, 1}}));
        stack.undo();
        QCOMPARE(ticks(view), QString("xxxx"));
        stack.redo();
        view->item(2)->setCheckState(Qt::Unchecked);
        view->item(2)->setCheckState(Qt::Checked);
        QCOMPARE(stack.undoText(), QString("Select"));
        stack.undo();
        QCOMPARE(ticks(view), QString("x--x"));

        click(&widget, "Select All");
        QCOMPARE(stack.undoText(), QString("Select All"));
        QCOMPARE(ticks(view), QString("xxxx"));
        stack.undo();
        QCOMPARE(ticks(view), QString("x--x"));
        stack.redo();
        click(&widget, "Select All");
        QCOMPARE(stack.count(), 3);
        click(&widget, "Ignore All");
        QCOMPARE(stack.undoText(), QString("Ignore All"));
        QCOMPARE(ticks(view), QString("----"));
        click(&widget, "Send to Wheel");
        QCOMPARE(sent.size(), 1);
        stack.undo();
        QCOMPARE(ticks(view), QString("xxxx"));

        QSignalSpy current(&widget, &LayerWidget::currentIndex);
        view->setCurrentRow(2);
        QCOMPARE(stack.undoText(), QString("Edit"));
        stack.undo();
        QCOMPARE(view->currentRow(), 0);
        stack.redo();
        QCOMPARE(view->currentRow(), 2);
        QCOMPARE(current.size(), 3);
        QCOMPARE(current[0].first().toInt(), 3);
        QCOMPARE(current[1].first().toInt(), 2);
        QCOMPARE(widget.getList(), (QList<int>{2, 0, 3, 1}));

        // A thumbnail follows its picture wherever its row is, and a single pen cell shows in
        // it, as no step; rows carry their slot numbers, which stay with the place.
        const int steps = stack.count();
        QPixmap stroke(512, 512);
        stroke.fill(Qt::transparent);
        QPainter painter(&stroke);
        painter.fillRect(QRect(300, 100, 10, 5), QColor(127, 127, 255));
        painter.end();
        widget.setIcon(stroke, 0);
        const QImage drawn = view->item(1)->icon().pixmap(64, 64).toImage();
        const QImage empty = view->item(0)->icon().pixmap(64, 64).toImage();
        int visible = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const QColor a = drawn.pixelColor(x, y), b = empty.pixelColor(x, y);
                visible += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) > 100;
            }
        QVERIFY(visible >= 2);
        QCOMPARE(empty.pixelColor(32, 32), QColor(Qt::white));
        // An index no row holds falls back to the current row.
        QPixmap blue(64, 64);
        blue.fill(Qt::blue);
        widget.setIcon(blue, 9);
        QCOMPARE(view->item(2)->icon().pixmap(64, 64).toImage().pixelColor(32, 32),
                 QColor(Qt::blue));
        for (int row = 0; row < view->count(); ++row)
            QCOMPARE(view->item(row)->text(), QString::number(row + 1));
        QCOMPARE(stack.count(), steps);
    }
};

RIMGLOW_TEST(LayerWidgetTest)
#include "tst_layerwidget.moc"
