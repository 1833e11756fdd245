#include "model/design.h"
#include "model/layerwidget.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "testsuite.h"
#include "tools/toolwidget.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QToolButton>

namespace {

// Everything here runs as on a screen of twice the pixels, however the program is started.
[[maybe_unused]] const bool twice = qputenv("QT_SCALE_FACTOR", "2");

// Whether every 2 x 2 block of pixels is of one colour, as in a picture made with half the
// pixels and scaled up.
bool pixelDoubled(const QImage& image)
{
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p)
                return false;
        }
    return true;
}

// What keeps a picture from being sharp on this screen; empty when it is: twice the pixels of
// its logical size each way, drawn with all of them.
QString unsharp(const QPixmap& pixmap, QSize logical)
{
    if (pixmap.devicePixelRatio() != 2.0)
        return QString("device pixel ratio %1").arg(pixmap.devicePixelRatio());
    if (pixmap.size() != logical * 2)
        return QString("%1 x %2 pixels").arg(pixmap.width()).arg(pixmap.height());
    if (pixelDoubled(pixmap.toImage()))
        return "scaled up from half the pixels";
    return QString();
}

// The pixels where two pictures differ; with no second picture, where the first is not white.
int differing(const QImage& image, const QImage& other = QImage())
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count +=
                image.pixel(x, y) != (other.isNull() ? qRgb(255, 255, 255) : other.pixel(x, y));
    return count;
}

} // namespace

class SharpnessTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

    void grid_data()
    {
        QTest::addColumn<int>("inner");
        QTest::newRow("rings inwards") << 16;
        QTest::newRow("rings beyond the picture's edge") << 120;
    }

    // The grid's lines are one device pixel thin: twice as many pixels as the grid at 1x,
    // where a picture scaled up or lines two pixels wide have four times as many. At 1x the
    // grid looks as the overlay picture does, cut off at the picture's edge.
    void grid()
    {
        QFETCH(int, inner);
        const WheelWeb web(128, 32, 80, inner);
        Design design(1, web.getOverlay().size());
        QPixmap clear(web.getOverlay().size());
        clear.fill(Qt::transparent);
        WheelPanel panel(&design, web, clear);
        panel.resize(600, 600);
        QWidget* viewport = panel.viewport();
        const QPixmap sharp = viewport->grab();
        QCOMPARE(unsharp(sharp, viewport->size()), QString());

        QImage plain(viewport->size(), QImage::Format_RGB32);
        plain.fill(Qt::black);
        viewport->render(&plain);
        QImage expected(viewport->size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter(&expected).drawImage(panel.mapFromScene(QPointF(0, 0)), web.getOverlay());
        // A line on the border of two pixels may fall to either side.
        const int moved = differing(plain, expected);
        QVERIFY2(moved < differing(expected) / 50, qPrintable(QString::number(moved)));
        const double ratio = double(differing(sharp.toImage())) / differing(plain);
        QVERIFY2(ratio > 1.5 && ratio < 2.5, qPrintable(QString::number(ratio)));
    }

    // A slot's thumbnail shows at each place what it shows at 1x: the picture, the light disc
    // and nothing around it.
    void thumbnail()
    {
        QImage picture(512, 512, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter(&picture).fillRect(300, 300, 100, 100, Qt::red);
        Design design(2, picture.size());
        LayerWidget widget(&design);
        design.setPicture(1, picture);
        LayerView* view = widget.getView();
        const auto shown = [view](int row) {
            return view->item(row)->icon().pixmap(view->iconSize(), view->devicePixelRatio());
        };
        QCOMPARE(unsharp(shown(0), view->iconSize()), QString());
        QCOMPARE(unsharp(shown(1), view->iconSize()), QString());
        const QImage sharp = shown(1).toImage();
        const QImage plain = widget.thumbnail(picture, 1).toImage();
        for (const QPoint at : {QPoint(1, 1), QPoint(32, 32), QPoint(43, 43), QPoint(62, 62)})
            QCOMPARE(sharp.pixelColor(at * 2), plain.pixelColor(at));
    }

    // The palette's pictures are drawn at the buttons' size in device pixels.
    void toolPictures()
    {
        WheelWeb web(128, 32, 80, 16);
        ToolWidget palette(&web, 1);
        const QList<QToolButton*> buttons = palette.findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), 7);
        for (QToolButton* button : buttons) {
            const QPixmap picture =
                button->icon().pixmap(button->iconSize(), button->devicePixelRatio());
            QCOMPARE(unsharp(picture, button->iconSize()), QString());
        }
    }
};

RIMGLOW_TEST(SharpnessTest)
#include "tst_sharpness.moc"
