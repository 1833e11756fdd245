#ifndef PACKAGEPREVIEW_H
#define PACKAGEPREVIEW_H

#include <QColor>
#include <QList>
#include <QPixmap>

class ArgParser;

// A colour package as the product's wheel shows it, on a transparent square of the product's
// iconSize: one colour fills the disc, three share it in sectors of 120 degrees, other counts
// lie in bands equally wide in LEDs, the first outermost; the hub inside the LEDs stays clear.
// The colour count is one the product accepted.
QPixmap packagePreview(const ArgParser& product, const QList<QColor>& colors);

#endif
