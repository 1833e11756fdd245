#ifndef SVGICON_H
#define SVGICON_H

#include <QPixmap>

class QSvgRenderer;

// A drawing rendered at the given width, its height following the drawing's proportions.
QPixmap svgIcon(QSvgRenderer& picture, int width);

#endif
