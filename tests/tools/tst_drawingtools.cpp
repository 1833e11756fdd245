#include "app/memorytuning.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "testsuite.h"
#include "tools/bitfont.h"
#include "tools/imagelabel.h"
#include "tools/imagetool.h"
#include "tools/penlabel.h"
#include "tools/pentool.h"
#include "tools/texttool.h"
#include "tools/toolwidget.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <memory>

namespace {

// A design with the palette wired to it the way the main window wires them.
struct Desk {
    Desk(int lines, int leds, int div = 1)
        : web(lines, leds, 80, 16)
        , palette(&web, div)
    {
        QPixmap background(512, 512);
        background.fill(Qt::transparent);
        panel = std::make_unique<WheelPanel>(web.getOverlay(), background, 2, QString());
        panel->setFixedSize(560, 560);
        panel->show();
        palette.add(panel.get());
        palette.changeTab(panel.get());
        QObject::connect(&palette, &ToolWidget::changePixmap, panel.get(), &WheelPanel::setLayer);
    }
    ~Desk() { palette.remove(panel.get()); }

    QPoint at(int cell) const { return panel->mapFromScene(web.getCenters()[cell]); }
    QPoint atScene(QPointF p) const { return panel->mapFromScene(p); }
    QList<int> litCells() const
    {
        const QImage picture = panel->getPixmap().toImage();
        QList<int> cells;
        for (int i = 0; i < web.getCenters().size(); ++i) {
            const QPointF c = web.getCenters()[i];
            if (qAlpha(picture.pixel(int(c.x()), int(c.y()))) > 0)
                cells << i;
        }
        return cells;
    }
    PenLabel* picker() const
    {
        for (QGraphicsItem* item : panel->scene()->items())
            if (auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(item))
                if (auto* label = qobject_cast<PenLabel*>(proxy->widget());
                    label && proxy->isVisible())
                    return label;
        return nullptr;
    }
    QWidget* viewport() const { return panel->viewport(); }
    QUndoStack* stack() const { return panel->getUndoStack(); }

    WheelWeb web;
    ToolWidget palette;
    std::unique_ptr<WheelPanel> panel;
};

void triggerAction(ImageTool* tool, const QString& text)
{
    for (QToolBar* bar : tool->getPanel()->findChildren<QToolBar*>())
        for (QAction* action : bar->actions())
            if (action->text() == text)
                action->trigger();
}

QPushButton* textButton(TextTool* tool, int index)
{
    // The panel holds the text entry, then the OK and the cancel button.
    QList<QPushButton*> buttons;
    for (QPushButton* button : tool->getEntry()->parentWidget()->findChildren<QPushButton*>(
             QString(), Qt::FindDirectChildrenOnly))
        buttons << button;
    return buttons.value(index);
}

} // namespace

class DrawingToolsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { HiddenFile::write("language", "en"); }

    // The text entry remembers its choices for the whole run; each test starts afresh.
    void init()
    {
        BitFont::upButtonClicked = true;
        BitFont::fontName = 0;
        BitFont::fontSize = 0;
        BitFont::lineText.clear();
    }

    void penStrokeIsOneStepAndAFreshPen()
    {
        Desk desk(64, 8);
        Tool* first = desk.palette.currentTool();
        QVERIFY(qobject_cast<PenTool*>(first));
        QSignalSpy picks(desk.picker(), &PenLabel::click);
        QSignalSpy results(&desk.palette, &ToolWidget::changePixmap);
        const int a = 40, b = 48;
        QTest::mousePress(desk.viewport(), Qt::LeftButton, {}, desk.at(a));
        QTest::mouseMove(desk.viewport(), desk.at(b));
        QTest::mouseMove(desk.viewport(), desk.at(a));
        QTest::mouseRelease(desk.viewport(), Qt::LeftButton, {}, desk.at(a));
        QCOMPARE(picks.size(), 3);
        QCOMPARE(results.size(), 1);
        QCOMPARE(results.first().at(2).toString(), QString("DRAW"));
        QCOMPARE(desk.litCells(), (QList<int>{a, b}));
        QCOMPARE(desk.stack()->count(), 1);
        QCOMPARE(desk.stack()->undoText(), QString("Draw"));
        QVERIFY(desk.palette.currentTool() != first);
        QVERIFY(qobject_cast<PenTool*>(desk.palette.currentTool()));
        QTest::qWait(30);
    }

    // A quick drag reports two far-apart points: every cell between them is entered, so the
    // stroke is one connected run of cells, still one step.
    void fastStrokeLeavesNoGaps()
    {
        const int lines = 64, leds = 16;
        Desk desk(lines, leds);
        const int from = 5 * leds + 2, to = 12 * leds + 2;
        QTest::mousePress(desk.viewport(), Qt::LeftButton, {}, desk.at(from));
        QTest::mouseMove(desk.viewport(), desk.at(to));
        QTest::mouseRelease(desk.viewport(), Qt::LeftButton, {}, desk.at(to));
        QCOMPARE(desk.stack()->count(), 1);
        const QList<int> lit = desk.litCells();
        QVERIFY(lit.contains(from) && lit.contains(to));
        QVERIFY(lit.size() >= 8);
        // Connected through neighbours: one position or one ring apart, or both.
        QList<int> reached{from};
        for (int i = 0; i < reached.size(); ++i)
            for (int cell : lit) {
                const int positions = qAbs(cell / leds - reached[i] / leds);
                if (!reached.contains(cell) && qMin(positions, lines - positions) <= 1 &&
                    qAbs(cell % leds - reached[i] % leds) <= 1)
                    reached << cell;
            }
        QCOMPARE(reached.size(), lit.size());
    }

    void leavingOverTheHubPicksNothingNew()
    {
        // From a cell of the innermost ring straight to the axle and back: only the hub lies
        // between, and coming back to the cell is no new pick.
        Desk desk(64, 8);
        QSignalSpy picks(desk.picker(), &PenLabel::click);
        QTest::mousePress(desk.viewport(), Qt::LeftButton, {}, desk.at(15));
        QTest::mouseMove(desk.viewport(), desk.atScene(QPointF(256, 256)));
        QTest::mouseMove(desk.viewport(), desk.at(15));
        QTest::mouseRelease(desk.viewport(), Qt::LeftButton, {}, desk.at(15));
        QCOMPARE(picks.size(), 1);
        QCOMPARE(desk.litCells(), QList<int>{15});
    }

    void pressesThatPickNothingKeepThePen()
    {
        Desk desk(64, 8);
        Tool* pen = desk.palette.currentTool();
        QSignalSpy results(&desk.palette, &ToolWidget::changePixmap);
        QTest::mouseClick(desk.viewport(), Qt::LeftButton, {}, desk.atScene(QPointF(3, 3)));
        QTest::mouseClick(desk.viewport(), Qt::LeftButton, {}, desk.atScene(QPointF(256, 256)));
        QTest::mousePress(desk.viewport(), Qt::RightButton, {}, desk.at(5));
        QTest::mouseMove(desk.viewport(), desk.at(13));
        QTest::mouseRelease(desk.viewport(), Qt::RightButton, {}, desk.at(13));
        QCOMPARE(results.size(), 0);
        QCOMPARE(desk.palette.currentTool(), pen);
        QCOMPARE(desk.stack()->count(), 0);
    }

    void divisionRepeats()
    {
        Desk desk(100, 4);
        desk.palette.setDiv(4);
        QTest::mouseClick(desk.viewport(), Qt::LeftButton, {}, desk.at(5));
        QCOMPARE(desk.litCells(), (QList<int>{5, 105, 205, 305}));
        // The next pen copies the division.
        QTest::mouseClick(desk.viewport(), Qt::LeftButton, {}, desk.at(6));
        QCOMPARE(desk.litCells().size(), 8);
    }

    void erasingCutsCellsOut()
    {
        Desk desk(64, 8);
        QTest::mousePress(desk.viewport(), Qt::LeftButton, {}, desk.at(20));
        QTest::mouseMove(desk.viewport(), desk.at(28));
        QTest::mouseRelease(desk.viewport(), Qt::LeftButton, {}, desk.at(28));
        QTest::mouseClick(desk.palette.getColorPanel(), Qt::LeftButton);
        QCOMPARE(desk.palette.getColorPanel()->getMode(), QPainter::CompositionMode_DestinationOut);
        QTest::mouseClick(desk.viewport(), Qt::LeftButton, {}, desk.at(20));
        QCOMPARE(desk.litCells(), QList<int>{28});
        QCOMPARE(desk.stack()->count(), 2);
    }

    void fillPaintsEveryCell()
    {
        Desk desk(32, 6);
        QMetaObject::invokeMethod(&desk.palette, "fill");
        auto* image = qobject_cast<ImageTool*>(desk.palette.currentTool());
        QVERIFY(image);
        QCOMPARE(image->getPanel()->size(), QSize(512, 512));
        QCOMPARE(image->getProxy()->pos(), QPointF(0, 0));
        triggerAction(image, "OK");
        QCOMPARE(desk.litCells().size(), 32 * 6);
        QCOMPARE(desk.stack()->undoText(), QString("Import"));
        QVERIFY(qobject_cast<PenTool*>(desk.palette.currentTool()));
    }

    void importedInkLandsWhereItIs()
    {
        Desk desk(64, 8);
        // Black on white: the black left half is ink, the white right half is not.
        QPixmap picture(512, 512);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.fillRect(0, 0, 256, 512, Qt::black);
        painter.end();
        desk.palette.import(picture);
        auto* image = qobject_cast<ImageTool*>(desk.palette.currentTool());
        QVERIFY(image);
        triggerAction(image, "OK");
        const QList<int> lit = desk.litCells();
        QVERIFY(!lit.isEmpty());
        for (int i = 0; i < desk.web.getCenters().size(); ++i)
            QCOMPARE(lit.contains(i), desk.web.getCenters()[i].x() < 256);
    }

    void largePicturesShrinkAndCancelDeliversNothing()
    {
        Desk desk(64, 8);
        QPixmap wide(1024, 512);
        wide.fill(Qt::black);
        desk.palette.import(wide);
        auto* image = qobject_cast<ImageTool*>(desk.palette.currentTool());
        QVERIFY(image);
        QCOMPARE(image->getPanel()->pixmap().size(), QSize(512, 256));
        QCOMPARE(image->getProxy()->pos(), QPointF(0, 128));
        triggerAction(image, "Cancel");
        QCOMPARE(desk.stack()->count(), 0);
        QVERIFY(qobject_cast<PenTool*>(desk.palette.currentTool()));
    }

    void smallPicturesKeepTheirSizeAndFit()
    {
        Desk desk(64, 8);
        desk.palette.setDiv(4);
        QPixmap small(300, 200);
        small.fill(Qt::black);
        desk.palette.import(small);
        auto* image = qobject_cast<ImageTool*>(desk.palette.currentTool());
        QVERIFY(image);
        QCOMPARE(image->getPanel()->pixmap().size(), QSize(300, 200));
        // With a repeat the panel starts at the top edge, centred across.
        QCOMPARE(image->getProxy()->pos(), QPointF((512 - image->getPanel()->width()) * 0.5, 0));
        triggerAction(image, "Fit to Wheel");
        QCOMPARE(image->getProxy()->pos(), QPointF(0, 0));
        triggerAction(image, "OK");
        QCOMPARE(desk.litCells().size(), 64 * 8);
    }

    // The panel keeps the picture it was given: the eraser shows the same ink and takes it out.
    // (Reducing the picture as shown again lost the ink in the eraser's light colours.)
    void erasingKeepsTheInkToTakeOut()
    {
        Desk desk(32, 6);
        QMetaObject::invokeMethod(&desk.palette, "fill");
        triggerAction(qobject_cast<ImageTool*>(desk.palette.currentTool()), "OK");
        QCOMPARE(desk.litCells().size(), 32 * 6);
        QMetaObject::invokeMethod(&desk.palette, "fill");
        auto* image = qobject_cast<ImageTool*>(desk.palette.currentTool());
        QTest::mouseClick(desk.palette.getColorPanel(), Qt::LeftButton);
        triggerAction(image, "OK");
        QCOMPARE(desk.litCells(), QList<int>());
        QCOMPARE(desk.stack()->count(), 2);
    }

    // A grey ramp from black on the left to white on the right, reduced again as the controls
    // change; OK paints what the panel shows.
    void importControlsReduceThePictureAgain()
    {
        Desk desk(64, 8);
        QImage ramp(256, 256, QImage::Format_RGB32);
        for (int x = 0; x < 256; ++x)
            for (int y = 0; y < 256; ++y)
                ramp.setPixel(x, y, qRgb(x, x, x));
        desk.palette.import(QPixmap::fromImage(ramp));
        auto* image = qobject_cast<ImageTool*>(desk.palette.currentTool());
        QVERIFY(image);
        ImageLabel* panel = image->getPanel();
        const auto inkColumns = [panel] {
            const QImage shown = panel->pixmap().toImage();
            QList<int> columns;
            for (int x = 0; x < shown.width(); ++x)
                if (qAlpha(shown.pixel(x, 100)) > 0)
                    columns << x;
            return columns;
        };
        QCOMPARE(inkColumns().size(), 128);
        QCOMPARE(inkColumns().last(), 127);

        auto* threshold = panel->findChild<QSlider*>();
        QVERIFY(threshold);
        threshold->setValue(64);
        QCOMPARE(inkColumns().size(), 64);
        triggerAction(image, "Invert");
        QCOMPARE(inkColumns().size(), 192);
        QCOMPARE(inkColumns().first(), 64);
        // Stretched to the wheel before the reduction: the columns from 64 on lie from 128 on,
        // and dots come as fine as the wheel's pixels, on both sides of the threshold.
        triggerAction(image, "Fit to Wheel");
        QCOMPARE(inkColumns().first(), 128);
        triggerAction(image, "Dither");
        QCOMPARE(panel->pixmap().width(), 512);
        const QList<int> dotted = inkColumns();
        QVERIFY(dotted.first() < 128);
        QVERIFY(std::count_if(dotted.begin(), dotted.end(), [](int x) { return x >= 128; }) < 384);
        triggerAction(image, "Dither");
        triggerAction(image, "OK");
        const QList<int> lit = desk.litCells();
        QVERIFY(!lit.isEmpty());
        for (int i = 0; i < desk.web.getCenters().size(); ++i)
            QCOMPARE(lit.contains(i), desk.web.getCenters()[i].x() >= 128);
    }

    void monoTakesTheBrushColour()
    {
        const QBrush brush(QColor(127, 127, 255));
        ImageLabel label(QPixmap(1, 1), brush, 512);
        QImage source(2, 1, QImage::Format_ARGB32);
        source.setPixel(0, 0, qRgba(0, 0, 0, 255));
        source.setPixel(1, 0, qRgba(255, 255, 255, 255));
        const QImage mono = label.mono(source);
        QCOMPARE(mono.pixel(0, 0), qRgba(127, 127, 255, 210));
        QCOMPARE(mono.pixel(1, 0), 0u);
        // Through a pixmap only the alpha survives exactly.
        QCOMPARE(qAlpha(label.toMono(QPixmap::fromImage(source)).toImage().pixel(0, 0)), 210);
    }

    void cancelledImportLeavesTheToolAlone()
    {
        Desk desk(64, 8);
        Tool* pen = desk.palette.currentTool();
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        closer.start(10);
        QMetaObject::invokeMethod(&desk.palette, "import", Qt::DirectConnection);
        QCOMPARE(desk.palette.currentTool(), pen);
    }

    void textLandsAlongTheRim()
    {
        Desk desk(100, 16);
        QMetaObject::invokeMethod(&desk.palette, "text");
        auto* text = qobject_cast<TextTool*>(desk.palette.currentTool());
        QVERIFY(text);
        text->dataChange({QPoint(0, 0), QPoint(1, 0), QPoint(-1, 0), QPoint(0, 3), QPoint(2, 16)});
        textButton(text, 0)->click();
        QCOMPARE(desk.litCells(), (QList<int>{784, 800, 803, 816}));
        QCOMPARE(desk.stack()->undoText(), QString("Text"));
    }

    // A font of the test's own in the font folder: the letter A is two pixels side by side.
    void bitmapTextLandsUprightAndUpsideDown()
    {
        const QString path = Resource::directory() + "font/zz-rimglow-test.bdf";
        QFile font(path);
        QVERIFY(font.open(QIODevice::WriteOnly));
        font.write("STARTFONT 2.1\nFONTBOUNDINGBOX 2 1 0 0\nSTARTCHAR A\nENCODING 65\n"
                   "DWIDTH 3 0\nBBX 2 1 0 0\nBITMAP\nC0\nENDCHAR\nENDFONT\n");
        font.close();
        const auto removeFont = qScopeGuard([&] { QFile::remove(path); });
        Desk desk(100, 16);
        QMetaObject::invokeMethod(&desk.palette, "text");
        auto* text = qobject_cast<TextTool*>(desk.palette.currentTool());
        BitFont* entry = text->getEntry();
        QComboBox* fonts =
            entry->findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly).value(0);
        fonts->setCurrentIndex(fonts->findText("zz-rimglow-test"));
        const QList<QPushButton*> orientation =
            entry->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
        orientation.value(0)->click();
        auto* field = entry->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        field->setText("A");
        textButton(text, 0)->click();
        QCOMPARE(desk.litCells(), (QList<int>{784, 800}));

        QMetaObject::invokeMethod(&desk.palette, "text");
        text = qobject_cast<TextTool*>(desk.palette.currentTool());
        entry = text->getEntry();
        entry->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly).value(1)->click();
        textButton(text, 0)->click();
        QCOMPARE(desk.litCells(), (QList<int>{784, 800, 816}));
    }

    void textRepeatsAtQuarterTurns()
    {
        Desk desk(100, 16);
        desk.palette.setDiv(4);
        QMetaObject::invokeMethod(&desk.palette, "text");
        auto* text = qobject_cast<TextTool*>(desk.palette.currentTool());
        text->dataChange({QPoint(0, 0)});
        textButton(text, 0)->click();
        QCOMPARE(desk.litCells(), (QList<int>{0, 400, 800, 1200}));
    }

    void textEntryIsRememberedAndClearing()
    {
        Desk desk(64, 16);
        QMetaObject::invokeMethod(&desk.palette, "text");
        auto* text = qobject_cast<TextTool*>(desk.palette.currentTool());
        BitFont* entry = text->getEntry();
        auto* field = entry->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        auto* fonts =
            entry->findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly).value(0);
        QVERIFY(field && fonts);
        // The bundled bitmap fonts come first.
        QCOMPARE(fonts->itemText(0).isEmpty(), false);
        fonts->setCurrentIndex(1);
        QTest::keyClicks(field, "Hi");
        QPushButton* down =
            entry->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly).value(1);
        down->click();
        textButton(text, 0)->click();
        QVERIFY(!desk.litCells().isEmpty());

        QMetaObject::invokeMethod(&desk.palette, "text");
        text = qobject_cast<TextTool*>(desk.palette.currentTool());
        entry = text->getEntry();
        field = entry->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(field->text(), QString("Hi"));
        QCOMPARE(entry->findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly)
                     .value(0)
                     ->currentIndex(),
                 1);
        QVERIFY(entry->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)
                    .value(1)
                    ->isChecked());

        // An empty text clears the preview; OK then delivers a transparent picture.
        field->clear();
        const int before = desk.stack()->count();
        const QList<int> lit = desk.litCells();
        textButton(text, 0)->click();
        QCOMPARE(desk.stack()->count(), before + 1);
        QCOMPARE(desk.litCells(), lit);
        QCOMPARE(BitFont::lineText, QString("Hi"));
    }

    void tooFewRingsShowAndDeliverNoText()
    {
        Desk desk(64, 4);
        BitFont::lineText = "Hi";
        // Freed picture memory is reused, as the program arranges it: the tool's picture must
        // not start with what earlier pictures left there.
        tuneMemoryForPictures();
        for (int i = 0; i < 4; ++i)
            QImage(512, 512, QImage::Format_ARGB32_Premultiplied).fill(Qt::red);
        QMetaObject::invokeMethod(&desk.palette, "text");
        auto* text = qobject_cast<TextTool*>(desk.palette.currentTool());
        QSignalSpy points(text->getEntry(), &BitFont::setText);
        QSignalSpy delivered(text, &Tool::upDate);
        text->getEntry()
            ->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)
            ->setText("Ho");
        QVERIFY(points.isEmpty() || points.last().first().value<QVector<QPoint>>().isEmpty());
        textButton(text, 0)->click();
        QCOMPARE(delivered.size(), 1);
        QImage empty(512, 512, QImage::Format_ARGB32_Premultiplied);
        empty.fill(Qt::transparent);
        QCOMPARE(delivered.first().first().value<QPixmap>().toImage(), empty);
        QCOMPARE(desk.litCells(), QList<int>());
    }

    void sizesOutsideTheRangeAreDropped()
    {
        BitFont entry(16);
        const QList<QComboBox*> boxes =
            entry.findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly);
        QComboBox* fonts = boxes.value(0);
        QComboBox* sizes = boxes.value(1);
        QCOMPARE(sizes->count(), 12);
        QCOMPARE(sizes->itemText(0), QString("5"));
        // A system font family, after the bitmap fonts and the separator.
        fonts->setCurrentIndex(fonts->count() - 1);
        QVERIFY(sizes->isEnabled());
        for (const char* typed : {"3", "99"}) {
            sizes->lineEdit()->clear();
            QTest::keyClicks(sizes->lineEdit(), typed);
            QTest::keyClick(sizes->lineEdit(), Qt::Key_Return);
            QCOMPARE(sizes->count(), 12);
            QVERIFY(sizes->currentText().toInt() >= 5 && sizes->currentText().toInt() <= 16);
        }
        fonts->setCurrentIndex(0);
        QVERIFY(!sizes->isEnabled());
    }

    void unknownFontNamesAreDropped()
    {
        BitFont entry(16);
        QComboBox* fonts =
            entry.findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly).value(0);
        const int count = fonts->count();
        fonts->lineEdit()->clear();
        QTest::keyClicks(fonts->lineEdit(), "No Such Font Anywhere");
        QTest::keyClick(fonts->lineEdit(), Qt::Key_Return);
        QCOMPARE(fonts->count(), count);
        QCOMPARE(fonts->currentIndex(), 0);
    }
};

RIMGLOW_TEST(DrawingToolsTest)
#include "tst_drawingtools.moc"
