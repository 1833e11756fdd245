#include "model/layerwidget.h"
#include "resources/hiddenfile.h"
#include "testsuite.h"

#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

// A real internal drag needs a platform with drag and drop; this runs under Xvfb.
class LayerDragTest : public QObject {
    Q_OBJECT
    QUndoStack stack;

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
        LayerWidget widget(&stack, 4);
        widget.resize(200, 400);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        widget.getView()->setCurrentRow(3);
        stack.clear();

        drag(&widget, 3, 0);
        QCOMPARE(widget.getList(), (QList<int>{3, 0, 1, 2}));
        QCOMPARE(stack.count(), 1);
        QCOMPARE(stack.text(0), QString("Move"));
        stack.undo();
        QCOMPARE(widget.getList(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(widget.getView()->currentRow(), 3);
        stack.redo();
        QCOMPARE(widget.getList(), (QList<int>{3, 0, 1, 2}));
        QCOMPARE(widget.getView()->currentRow(), 0);
        stack.undo();

        drag(&widget, 3, 3);
        QCOMPARE(widget.getList(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(stack.count(), 1);
    }
};

RIMGLOW_TEST(LayerDragTest)
#include "tst_layerdrag.moc"
