#include "model/design.h"
#include "model/layerwidget.h"
#include "model/slotplayer.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "testsuite.h"

#include <QApplication>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

#include <memory>

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

QImage filled(const QColor& color)
{
    QImage image(512, 512, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

// A picture with ink in one square only.
QImage inked(const QRect& square, const QColor& color = Qt::red)
{
    QImage image = filled(Qt::transparent);
    QPainter(&image).fillRect(square, color);
    return image;
}

} // namespace

class LayerWidgetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // A change makes only the thumbnail pixels it reaches anew; the icon stays what the whole
    // picture gives, for strokes in the middle, at the edges and corners (blocks of uneven
    // width here), just beside earlier ink, over the whole picture, undone, and at another
    // icon size.
    void iconFollowsChanges_data()
    {
        QTest::addColumn<QRect>("stroke");
        QTest::newRow("middle") << QRect(70, 60, 3, 2);
        QTest::newRow("top left corner") << QRect(0, 0, 1, 1);
        QTest::newRow("right edge") << QRect(149, 20, 1, 40);
        QTest::newRow("bottom edge, between blocks") << QRect(33, 148, 7, 2);
        QTest::newRow("beside earlier ink") << QRect(72, 110, 1, 1);
        QTest::newRow("whole picture") << QRect(0, 0, 150, 150);
    }

    void iconFollowsChanges()
    {
        QFETCH(QRect, stroke);
        Design design(2, QSize(150, 150));
        LayerWidget widget(&design);
        LayerView* view = widget.getView();
        const auto agrees = [&] {
            const QImage shown = view->item(0)->icon().pixmap(view->iconSize()).toImage();
            const QImage whole =
                widget.thumbnail(design.getPicture(), view->devicePixelRatio()).toImage();
            return shown == whole;
        };
        QImage pen(150, 150, QImage::Format_ARGB32_Premultiplied);
        pen.fill(Qt::transparent);
        QPainter(&pen).fillRect(QRect(10, 100, 60, 30), QColor(200, 30, 30, 180));
        design.paint(pen, QPainter::CompositionMode_SourceOver, "DRAW");
        QVERIFY(agrees());
        pen.fill(Qt::transparent);
        QPainter(&pen).fillRect(stroke, QColor(20, 90, 250, 120));
        design.paint(pen, QPainter::CompositionMode_SourceOver, "DRAW");
        QVERIFY(agrees());
        design.getUndoStack()->undo();
        QVERIFY(agrees());
        view->setIconSize(QSize(40, 40));
        design.getUndoStack()->redo();
        QVERIFY(agrees());
    }

    // What the user does in the list is one step of the design each, and the rows follow the
    // design through undo: ticks, Ignore All and Select All, the row chosen, and the
    // thumbnails, which go with their pictures. The ticked rows go out with their pictures.
    void layerList()
    {
        Design design(4, QSize(512, 512));
        QUndoStack* stack = design.getUndoStack();
        design.setPicture(3, filled(Qt::green));
        LayerWidget widget(&design);
        LayerView* view = widget.getView();
        QSignalSpy sent(&widget, &LayerWidget::toUpdate);
        view->item(1)->setCheckState(Qt::Unchecked);
        click(&widget, "Send to Wheel");
        const auto pictures = sent.value(0).value(0).value<QMap<int, QImage>>();
        QCOMPARE(pictures.keys(), (QList<int>{0, 2, 3}));
        QCOMPARE(pictures[3], filled(Qt::green));
        click(&widget, "Ignore All");
        // Nothing ticked sends nothing.
        click(&widget, "Send to Wheel");
        QCOMPARE(sent.size(), 1);
        click(&widget, "Select All");
        QCOMPARE(ticks(view), QString("xxxx"));
        QCOMPARE(stack->count(), 3);
        stack->undo();
        QCOMPARE(ticks(view), QString("----"));
        stack->undo();
        QCOMPARE(ticks(view), QString("x-xx"));

        view->setCurrentRow(2);
        QCOMPARE(design.getCurrentIndex(), 2);
        stack->undo();
        QCOMPARE(view->currentRow(), 0);

        // Rows carry their slot numbers, which stay with the place.
        const auto middle = [view](int row) {
            return view->item(row)->icon().pixmap(64, 64).toImage().pixelColor(32, 32);
        };
        design.setPicture(0, filled(Qt::blue));
        QCOMPARE(middle(0), QColor(Qt::blue));
        design.moveRow(0, 2);
        for (int row = 0; row < view->count(); ++row) {
            QCOMPARE(middle(row), QColor(row == 2 ? Qt::blue : row == 3 ? Qt::green : Qt::white));
            QCOMPARE(view->item(row)->text(), QString::number(row + 1));
        }
        QCOMPARE(ticks(view), QString("-xxx"));
        QCOMPARE(view->currentRow(), 2);
        // A picture's thumbnail goes to the row that holds it.
        design.setPicture(1, filled(Qt::red));
        QCOMPARE(middle(0), QColor(Qt::red));
        QCOMPARE(middle(1), QColor(Qt::white));
    }

    // The play button shows the ticked slots in the view in slot order, round and round,
    // without touching the design; an edit, a row change, Escape or a press in the view
    // stops it and the current picture comes back. Nothing ticked, nothing to play.
    void playTickedSlots()
    {
        Design design(4, QSize(512, 512));
        design.moveRow(3, 0);
        design.tick(2, false);
        design.getUndoStack()->setClean();
        LayerWidget widget(&design);
        const WheelWeb web(8, 2, 10, 5);
        WheelPanel panel(&design, web, QPixmap());
        panel.follow(widget.getPlayer());
        widget.getRateBox()->setValue(30);
        QCOMPARE(widget.getPlayer()->getRate(), 30);
        QSignalSpy shown(widget.getPlayer(), &SlotPlayer::showing);
        const int row = design.getCurrentRow();
        const auto play = [&] {
            shown.clear();
            widget.getPlayButton()->click();
            QTRY_VERIFY(shown.size() >= 5);
        };
        const auto stopped = [&] {
            QVERIFY(!widget.getPlayer()->isPlaying());
            QVERIFY(!widget.getPlayButton()->isChecked());
            QCOMPARE(panel.getShownIndex(), design.getCurrentIndex());
        };

        play();
        QList<int> sequence;
        for (const QList<QVariant>& picture : shown)
            sequence << picture.value(0).toInt();
        // Rows 0, 1 and 3 hold pictures 3, 0 and 2.
        QCOMPARE(sequence.mid(0, 5), (QList<int>{3, 0, 2, 3, 0}));
        QCOMPARE(panel.getShownIndex(), sequence.last());
        QCOMPARE(design.getCurrentRow(), row);
        QVERIFY(!design.isModified());
        widget.getPlayButton()->click();
        stopped();

        // A tool at work in the view takes the keys, but Escape stops playing first.
        struct Tool : QObject {
            bool eventFilter(QObject*, QEvent* event) override
            {
                return event->type() == QEvent::KeyPress;
            }
        } tool;
        panel.installEventFilter(&tool);
        play();
        QTest::keyClick(&panel, Qt::Key_Escape);
        stopped();
        play();
        QTest::mouseClick(panel.viewport(), Qt::LeftButton);
        stopped();
        play();
        design.chooseRow(3);
        stopped();
        play();
        design.paint(filled(Qt::red), QPainter::CompositionMode_SourceOver, "DRAW");
        stopped();

        click(&widget, "Ignore All");
        QVERIFY(!widget.getPlayButton()->isEnabled());
        QCOMPARE(widget.getPlayButton()->toolTip(), Resource::getText("PLAY_NONE"));
        click(&widget, "Select All");
        QVERIFY(widget.getPlayButton()->isEnabled());
    }
};

// A real internal drag needs a platform with drag and drop; this runs under Xvfb.
class LayerDragTest : public QObject {
    Q_OBJECT

    // Where a dragged row is let go: on a row, or in the empty list below the last one.
    static constexpr int below = -1;

    // Presses on one row and drags it onto another or below the last, as a user does with the
    // mouse.
    void drag(LayerWidget* widget, int from, int to)
    {
        LayerView* view = widget->getView();
        QWindow* window = widget->windowHandle();
        const auto place = [&](QPoint p) { return view->viewport()->mapTo(widget, p); };
        const QPoint start = place(view->visualItemRect(view->item(from)).center());
        const QRect last = view->visualItemRect(view->item(view->count() - 1));
        const QRect target = to == below ? last.translated(0, last.height() * 2)
                                         : view->visualItemRect(view->item(to));
        const bool up = to != below && to < from;
        const QPoint end = place(up ? target.topLeft() + QPoint(10, 2) : target.center());
        // The drag runs its own event loop once it starts: the rest comes from timers.
        QTimer::singleShot(100, this, [=] {
            QTimer::singleShot(100, this, [=] { QTest::mouseMove(window, end + QPoint(0, 1)); });
            QTimer::singleShot(200, this,
                               [=] { QTest::mouseRelease(window, Qt::LeftButton, {}, end); });
            QTest::mouseMove(window, end);
        });
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        QTest::mouseMove(window, start + QPoint(0, up ? -20 : 20));
        QTest::qWait(600);
    }

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    void init()
    {
        // A skip in initTestCase would leak into the test classes run after this one.
        // Windows runs a drag in a loop of its own, which follows the system's mouse: Qt Test's
        // events never end it there.
        if (QGuiApplication::platformName() != "xcb")
            QSKIP("needs X11's drag and drop (run under Xvfb)");
    }

    void draggedRowIsOneUndoStep()
    {
        Design design(4, QSize(512, 512));
        QUndoStack* stack = design.getUndoStack();
        design.setPicture(3, filled(Qt::green));
        LayerWidget widget(&design);
        widget.resize(200, 400);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        widget.getView()->setCurrentRow(3);
        stack->clear();

        drag(&widget, 3, 0);
        QCOMPARE(design.getList(), (QList<int>{3, 0, 1, 2}));
        QCOMPARE(stack->count(), 1);
        stack->undo();
        QCOMPARE(design.getList(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(widget.getView()->currentRow(), 3);
        QCOMPARE(widget.getView()->item(3)->icon().pixmap(64, 64).toImage().pixelColor(32, 32),
                 QColor(Qt::green));
        stack->redo();
        QCOMPARE(design.getList(), (QList<int>{3, 0, 1, 2}));
        QCOMPARE(widget.getView()->currentRow(), 0);
    }

    // A row let go where it already is changes nothing and records no step of its own, and
    // one let go below the last row goes to the end; pressed on, a row not yet current is
    // chosen, as a click chooses it. Undo and Redo then find only those steps, and every
    // row still stands for a slot.
    void dropRow_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<int>("end");
        for (int rows : {4, 12}) {
            const int last = rows - 1;
            const QByteArray count = QByteArray::number(rows);
            QTest::newRow(count + " rows, last below itself")
                << rows << last << below << false << last;
            QTest::newRow(count + " rows, last onto itself")
                << rows << last << last << false << last;
            QTest::newRow(count + " rows, chosen last below itself")
                << rows << last << below << true << last;
            QTest::newRow(count + " rows, chosen last onto itself")
                << rows << last << last << true << last;
            QTest::newRow(count + " rows, first onto itself") << rows << 0 << 0 << true << 0;
            QTest::newRow(count + " rows, second below the last")
                << rows << 1 << below << false << last;
        }
    }

    void dropRow()
    {
        QFETCH(int, rows);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, chosen);
        QFETCH(int, end);
        Design design(rows, QSize(64, 64));
        QUndoStack* stack = design.getUndoStack();
        LayerWidget widget(&design);
        // Small rows, so the empty list shows below the last one.
        widget.getView()->setIconSize(QSize(16, 16));
        widget.resize(200, 700);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        if (chosen)
            widget.getView()->setCurrentRow(from);
        stack->setClean();
        const int steps = stack->count();
        const int before = design.getCurrentRow();
        QList<int> order = design.getList();
        order.move(from, end);

        drag(&widget, from, to);
        QCOMPARE(widget.getView()->count(), rows);
        QCOMPARE(design.getList(), order);
        QStringList added;
        for (int i = steps; i < stack->count(); ++i)
            added << stack->command(i)->text();
        QStringList expected;
        if (!chosen)
            expected << "EDIT";
        if (from != end)
            expected << "MOVETO";
        QCOMPARE(added, expected);
        QCOMPARE(design.isModified(), !expected.isEmpty());
        for (int i = 0; i < 3; ++i) {
            stack->setIndex(steps);
            QVERIFY(stack->isClean());
            QCOMPARE(design.getCurrentRow(), before);
            stack->setIndex(stack->count());
        }
        QCOMPARE(design.getList(), order);
        QCOMPARE(design.getCurrentRow(), end);
        QCOMPARE(ticks(widget.getView()), QString(rows, 'x'));
    }
};

class WheelPanelTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    static QColor shownAt(WheelPanel* panel, QPointF scenePoint)
    {
        return panel->viewport()->grab().toImage().pixelColor(panel->mapFromScene(scenePoint));
    }

    // A faint tint over the white ground.
    static void compareTint(const QColor& shown, QColor tint)
    {
        const double a = tint.alphaF();
        for (auto part : {&QColor::red, &QColor::green, &QColor::blue})
            QVERIFY2(qAbs((shown.*part)() - (255 * (1 - a) + (tint.*part)() * a)) < 4,
                     qPrintable(shown.name()));
    }

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // The slots before and after the current one show faintly under it in their tints, as
    // the rows stand at any time: through edits, row moves and undo.
    void onionSkin()
    {
        Design design(3, QSize(512, 512));
        const QRect left(100, 250, 20, 20), right(400, 250, 20, 20), middle(250, 100, 20, 20);
        design.setPicture(0, inked(left));
        design.setPicture(1, inked(middle, Qt::blue));
        design.setPicture(2, inked(right));
        design.chooseRow(1);
        const WheelWeb web(8, 2, 10, 5);
        QPixmap clear(512, 512);
        clear.fill(Qt::transparent);
        WheelPanel panel(&design, web, clear);
        panel.resize(700, 700);
        const QColor before(150, 60, 210, 90), after(0, 160, 150, 90);
        const auto at = [&](const QRect& square) { return shownAt(&panel, square.center()); };
        QCOMPARE(at(left), QColor(Qt::white));
        panel.setOnionSkin(true, false);
        compareTint(at(left), before);
        QCOMPARE(at(right), QColor(Qt::white));
        panel.setOnionSkin(true, true);
        compareTint(at(left), before);
        compareTint(at(right), after);
        // Under the current picture's ink.
        design.setPicture(0, inked(middle));
        QCOMPARE(at(middle), QColor(Qt::blue));
        QCOMPARE(at(left), QColor(Qt::white));

        design.moveRow(1, 0);
        QCOMPARE(at(right), QColor(Qt::white));
        design.moveRow(0, 2);
        compareTint(at(right), before);
        design.getUndoStack()->undo();
        QCOMPARE(at(right), QColor(Qt::white));
        design.getUndoStack()->undo();
        compareTint(at(right), after);
        panel.setOnionSkin(false, false);
        QCOMPARE(at(right), QColor(Qt::white));
    }

    // Ctrl+wheel zooms by whole steps, a notch at a time however finely the wheel reports,
    // and the scene point under the pointer stays there; the wheel alone scrolls.
    void wheelZoomsAtPointer_data()
    {
        QTest::addColumn<QList<int>>("notches");
        QTest::addColumn<bool>("control");
        QTest::addColumn<double>("zoom");
        QTest::newRow("in") << QList<int>{120} << true << 2 * 1.25;
        QTest::newRow("out twice") << QList<int>{-120, -120} << true << 2 * 0.8 * 0.8;
        QTest::newRow("two halves") << QList<int>{60, 30, 30} << true << 2 * 1.25;
        QTest::newRow("less than a notch") << QList<int>{100} << true << 2.0;
        QTest::newRow("scroll") << QList<int>{-120} << false << 2.0;
        QTest::newRow("no further than the limit")
            << QList<int>(40, 120) << true << WheelPanel::maxZoom;
    }

    void wheelZoomsAtPointer()
    {
        QFETCH(QList<int>, notches);
        QFETCH(bool, control);
        QFETCH(double, zoom);
        Design design(1, QSize(512, 512));
        const WheelWeb web(8, 2, 10, 5);
        QPixmap clear(512, 512);
        clear.fill(Qt::transparent);
        WheelPanel panel(&design, web, clear);
        panel.resize(400, 400);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.setZoom(2);
        panel.centerOn(256, 256);
        QSignalSpy zoomed(&panel, &WheelPanel::zoomChanged);
        const QPoint pointer(120, 250);
        const QPointF under = panel.mapToScene(pointer);
        const int scrolled = panel.verticalScrollBar()->value();
        for (int notch : notches) {
            QWheelEvent wheel(pointer, panel.viewport()->mapToGlobal(pointer), {}, {0, notch},
                              Qt::NoButton, control ? Qt::ControlModifier : Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(panel.viewport(), &wheel);
        }
        QCOMPARE(panel.getZoom(), zoom);
        if (!control) {
            QVERIFY(panel.verticalScrollBar()->value() > scrolled);
            return;
        }
        QCOMPARE(zoomed.isEmpty(), zoom == 2.0);
        QVERIFY((panel.mapToScene(pointer) - under).manhattanLength() < 1);
    }

    // The view stays light around the wheel whatever the desktop's palette, shows the
    // picture being edited as the design changes, and hands on every local file dropped, to
    // be read by whoever imports them.
    void viewOfADesign()
    {
        const QPalette light = QApplication::palette();
        // Dark window and base, as a dark desktop theme has them.
        QApplication::setPalette(QPalette(QColor(30, 30, 30)));
        Design document(3, QSize(512, 512));
        QPixmap clear(512, 512);
        clear.fill(Qt::transparent);
        const WheelWeb web(8, 2, 10, 5);
        auto design = std::make_unique<WheelPanel>(&document, web, clear);
        design->resize(700, 700);
        const auto middle = [&] {
            const QImage shown = design->viewport()->grab().toImage();
            return shown.pixelColor(design->mapFromScene(QPointF(256, 256)));
        };
        QCOMPARE(design->viewport()->grab().toImage().pixelColor(2, 2), QColor(Qt::white));
        QApplication::setPalette(light);
        document.paint(filled(Qt::red), QPainter::CompositionMode_SourceOver, "DRAW");
        QCOMPARE(middle(), QColor(Qt::red));
        document.chooseRow(1);
        QCOMPARE(middle(), QColor(Qt::white));
        document.getUndoStack()->undo();
        QCOMPARE(middle(), QColor(Qt::red));
        document.getUndoStack()->undo();
        QCOMPARE(middle(), QColor(Qt::white));

        QSignalSpy dropped(design.get(), &WheelPanel::import);
        QMimeData files;
        const QStringList paths{dir.filePath("one.png"), dir.filePath("two.gif")};
        files.setUrls({QUrl::fromLocalFile(paths[0]), QUrl("https://example.invalid/picture.png"),
                       QUrl::fromLocalFile(paths[1])});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &drop);
        QCOMPARE(dropped.value(0).value(0).toStringList(), paths);
    }
};

RIMGLOW_TEST(LayerWidgetTest)
RIMGLOW_TEST(LayerDragTest)
RIMGLOW_TEST(WheelPanelTest)
#include "tst_designviews.moc"
