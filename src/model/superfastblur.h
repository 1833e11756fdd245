#ifndef SUPERFASTBLUR_H
#define SUPERFASTBLUR_H

#include <QImage>
#include <QPixmap>

// A two-pass running-sum box blur over all four channels, alpha included, in exact integer
// arithmetic; its cost does not depend on the radius. Radii below 1 leave the picture as it is.
QPixmap superFastBlur(QPixmap pixmap, int radius);
// The same on an image, sparing the conversions to and from a pixmap; the result is
// premultiplied ARGB.
QImage superFastBlur(const QImage& image, int radius);

#endif
