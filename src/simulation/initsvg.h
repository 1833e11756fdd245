#ifndef INITSVG_H
#define INITSVG_H

#include <QByteArray>

// The speedometer's digit strip: a 360 x 64 SVG whose ten equal cells hold the digits 0 to 9
// from left to right, drawn as seven-segment outlines.
QByteArray initSvg();

#endif
