#ifndef POLARCELLS_H
#define POLARCELLS_H

#include <QImage>
#include <QList>
#include <QRgb>

#include <functional>

class WheelWeb;

// The cells of the polar grid by their place in the grid's cell list: angular positions from
// the last down to the first, and within each the rings from the rim (ring 0) inwards. Turns by
// whole positions and shifts by whole rings carry cells onto cells, so they lose nothing.
class PolarGrid {
public:
    PolarGrid(int positions, int rings);

    int positions() const { return positionCount; }
    int rings() const { return ringCount; }
    int count() const { return positionCount * ringCount; }
    // The cell at a position (taken round the wheel) and a ring; -1 for a ring off the grid.
    int cell(int position, int ring) const;
    int positionOf(int cell) const { return positionCount - 1 - cell / ringCount; }
    int ringOf(int cell) const { return cell % ringCount; }

    // The positions from one to another the short way round, signed: clockwise is positive.
    // Half a turn goes clockwise.
    int shortWay(int from, int to) const;

    int rotated(int cell, int by) const;
    // -1 when the cell leaves the grid at the rim or the hub.
    int shifted(int cell, int by) const;
    // About the upright axis. With an odd number of positions that axis runs through cells,
    // and each goes to the nearer of the two it falls on.
    int mirroredLeftRight(int cell) const;
    bool mirrorsLeftRightExactly() const { return positionCount % 2 == 0; }
    // About the level axis, which always runs along cell borders.
    int mirroredTopBottom(int cell) const;
    // Ring r goes to ring R - 1 - r.
    int swappedRings(int cell) const;

    // The cells of positions from, from + 1, ... from + span (span negative goes
    // anticlockwise; a span of a whole turn or more covers every position once) and of the
    // rings between two rings. The outline is the border cells only: the first and last
    // positions and the outer and inner rings; round a whole turn, the two rings alone.
    QList<int> sector(int from, int span, int ring1, int ring2, bool filled) const;

private:
    int positionCount;
    int ringCount;
};

// A picture as the wheel's cells hold it: one colour per cell, read at the cell's centre.
class PolarCells {
public:
    // Every cell transparent.
    explicit PolarCells(const PolarGrid& grid);
    PolarCells(const QImage& picture, const WheelWeb& web);

    const PolarGrid& grid() const { return cellGrid; }
    QRgb colour(int cell) const { return colours[cell]; }
    void setColour(int cell, QRgb colour) { colours[cell] = colour; }
    bool operator==(const PolarCells& other) const { return colours == other.colours; }

    // The cells lifted from their places, which are left empty, and put down where the move
    // sends them (-1: off the grid, and lost). A cell put down with ink covers the cell there;
    // an empty one leaves it.
    PolarCells moved(const QList<int>& cells, const std::function<int(int)>& move) const;

    // The picture with the pixels of every cell whose colour differs from the picture's own
    // set to this colour; the other pixels stay as they are.
    QImage paintedOver(const QImage& picture, const WheelWeb& web) const;
    // The same, for a picture whose cells are known already.
    QImage paintedOver(const QImage& picture, const WheelWeb& web, const PolarCells& before) const;

private:
    PolarGrid cellGrid;
    // Premultiplied, as the pictures hold them.
    QList<QRgb> colours;
};

#endif
