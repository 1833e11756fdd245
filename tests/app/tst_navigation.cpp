#include "app/wherelabel.h"
#include "model/design.h"
#include "tools/cellcursor.h"
#include "windowhelpers.h"

// Finding one's way on the wheel: panning, and the status bar saying where the pointer is.
class NavigationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // The middle button, and the left one with Space held, pan the view and never draw: the
    // cell that Space painted is dropped, and no step reaches the design.
    void panNeverDraws_data()
    {
        QTest::addColumn<bool>("space");
        QTest::newRow("middle button") << false;
        QTest::newRow("Space and left button") << true;
    }

    void panNeverDraws()
    {
        QFETCH(bool, space);
        DemoWindow window;
        window.resize(900, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        WheelPanel* view = window.getCurrent();
        view->setZoom(4);
        view->centerOn(256, 256);
        view->setFocus();
        QUndoStack* steps = window.getCurrentDesign()->getUndoStack();
        QWidget* port = view->viewport();
        // On an inner cell at the top, where a stroke would draw.
        const WheelWeb web(16, 8, 80, 16);
        const QPointF cell = web.getCenters()[3 * 8 + 7];
        const QPoint from = view->mapFromScene(cell);
        const QPoint scrolled(view->horizontalScrollBar()->value(),
                              view->verticalScrollBar()->value());
        const Qt::MouseButton button = space ? Qt::LeftButton : Qt::MiddleButton;
        if (space)
            QTest::keyPress(view, Qt::Key_Space);
        QTest::mousePress(port, button, {}, from);
        QTest::mouseMove(port, from - QPoint(60, 40));
        QTest::mouseRelease(port, button, {}, from - QPoint(60, 40));
        if (space)
            QTest::keyRelease(view, Qt::Key_Space);
        QCOMPARE(QPoint(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value()),
                 scrolled + QPoint(60, 40));
        QCOMPARE(steps->count(), 0);
        // The left button draws again once Space is up, and only what it draws.
        QTest::mouseClick(port, Qt::LeftButton, {}, view->mapFromScene(cell));
        QTRY_COMPARE(steps->count(), 1);
        const QImage picture = window.getCurrentDesign()->getPicture();
        const int spaced = window.getTools()->getCursor(view)->getCell();
        QVERIFY(qAlpha(picture.pixel(cell.toPoint())) > 0);
        QCOMPARE(qAlpha(picture.pixel(web.getCenters()[spaced].toPoint())), 0);
    }

    // The onion skin is off at first; its entries apply to every open design, and the next
    // slot shows only along with the previous one.
    void onionSkinEntries()
    {
        DemoWindow window;
        // Ink in the first slot of one design and in the third of another, both at the second.
        ink(&window);
        window.getCurrentDesign()->chooseRow(1);
        WheelPanel* first = window.getCurrent();
        window.createNew();
        window.getCurrentDesign()->chooseRow(2);
        ink(&window);
        window.getCurrentDesign()->chooseRow(1);
        WheelPanel* second = window.getCurrent();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto shown = [&](WheelPanel* view) {
            window.getTabs()->setCurrentWidget(view);
            return view->viewport()->grab().toImage().pixelColor(
                view->mapFromScene(QPointF(260, 104)));
        };
        const QColor plain = shown(first);
        QAction* onion = entry(&window, "ONION_SKIN");
        QAction* next = entry(&window, "ONION_NEXT");
        QVERIFY(!onion->isChecked() && !next->isEnabled());
        onion->trigger();
        QVERIFY(shown(first) != plain);
        QCOMPARE(shown(second), plain);
        next->trigger();
        QVERIFY(shown(second) != plain);
        onion->trigger();
        QVERIFY(!next->isEnabled());
        QCOMPARE(shown(first), plain);
        QCOMPARE(shown(second), plain);
    }

    // The cell under the pointer as the user counts it, at 128 positions of 32 LEDs; the slot
    // and the zoom alone off the wheel.
    void whereThePointerIs_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("ring");
        QTest::addColumn<QString>("text");
        QTest::newRow("first position, rim")
            << 0 << 0 << "Position 1 of 128 (0°), LED 1 of 32 · Slot 2 · Zoom 125%";
        QTest::newRow("a quarter turn on")
            << 32 << 5 << "Position 33 of 128 (90°), LED 6 of 32 · Slot 2 · Zoom 125%";
        QTest::newRow("between whole degrees")
            << 5 << 31 << "Position 6 of 128 (14.1°), LED 32 of 32 · Slot 2 · Zoom 125%";
        QTest::newRow("off the wheel") << -1 << 0 << "Slot 2 · Zoom 125%";
    }

    void whereThePointerIs()
    {
        QFETCH(int, position);
        QFETCH(int, ring);
        QFETCH(QString, text);
        DemoWindow window({"-n", "DEMO", "-s", "128x32", "-o", "80", "-i", "16", "-v", "D12x12",
                           "-c", "red+blue"});
        window.resize(900, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.getCurrentDesign()->chooseRow(1);
        window.zoomToFit();
        window.getCurrent()->setZoom(1);
        window.zoomIn();
        WheelPanel* view = window.getCurrent();
        const WheelWeb web(128, 32, 80, 16);
        const QPointF centre =
            position < 0 ? QPointF(2, 2) : web.getCenters()[(127 - position) * 32 + ring];
        view->centerOn(centre);
        QTest::mouseMove(view->viewport(), view->mapFromScene(centre));
        QCOMPARE(window.findChild<WhereLabel*>()->text(), text);
        QCOMPARE(window.findChild<WhereLabel*>()->accessibleName(), Resource::getText("WHERE"));
    }
};

RIMGLOW_TEST(NavigationTest)
#include "tst_navigation.moc"
