#ifndef WHEELWEB_H
#define WHEELWEB_H

#include <QImage>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>

class QPainter;

// The polar LED grid of the wheel in the 512 x 512 picture space, axle at (256, 256). Cells run
// from angular index lineCount - 1 down to 0, and within each from the rim inwards; this is the
// order in which the wheel reads its LEDs.
class WheelWeb {
public:
    WheelWeb(int lineCount, int ledCount, int outerSize, int innerSize);

    QPointF getPoint(double angle, double ring) const;
    QPolygonF getPoints(double angle, double ring) const;
    // Draws the cell outlines as on the overlay, in lines one device pixel thin at any scale
    // of the painter: those that may cross an area of the picture space, or all of them.
    void paintOverlay(QPainter* painter, const QRectF& area = QRectF()) const;

    const QList<QPolygonF>& getPolygons() const { return polygons; }
    const QList<QPointF>& getCenters() const { return centers; }
    const QImage& getOverlay() const { return overlay; }
    // The cell whose outline holds a pixel of the picture space, as the pen finds it, or -1.
    int cellAt(QPoint pixel) const
    {
        // Inline and straight from the map: the tools look up every pixel of a picture at times.
        if (uint(pixel.x()) >= uint(mapSide) || uint(pixel.y()) >= uint(mapSide))
            return -1;
        const int code = int(cellCodes[pixel.y() * mapSide + pixel.x()] & 0xffffff);
        return code < cellCount ? code : -1;
    }
    // The cells met one pixel at a time along a straight stroke, the first included, each
    // once in the order they are met.
    QList<int> cellsAlong(QPointF from, QPointF to) const;
    int getLineCount() const { return lineCount; }
    int getLedCount() const { return ledCount; }

private:
    // The rings and the angular positions whose cells may cross an area.
    QList<int> ringsReaching(const QRectF& area) const;
    QList<int> positionsReaching(const QRectF& area) const;

    QList<QPolygonF> polygons;
    QList<QPointF> centers;
    QImage overlay;
    // Each pixel holds the number of the cell painted last over it, 0xffffff where none is.
    QImage cellMap;
    // Its pixels, never changed once drawn, and its side.
    const QRgb* cellCodes = nullptr;
    int mapSide = 0;
    int cellCount = 0;
    int lineCount;
    int ledCount;
    double angleStep;
    double radiusStep;
    int radius;
};

#endif
