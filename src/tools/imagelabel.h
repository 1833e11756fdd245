#ifndef IMAGELABEL_H
#define IMAGELABEL_H

#include "imageconverter.h"

#include <QBrush>
#include <QImage>
#include <QLabel>

class QToolBar;

// The image tool's floating picture: the picture reduced to ink and empty, shown in the brush
// colour, resizable with a size grip, with OK, cancel and auto size on a toolbar and the
// threshold, invert and dither of the reduction on a second one below it.
class ImageLabel : public QLabel {
    Q_OBJECT
public:
    ImageLabel(QPixmap picture, QBrush brush, int maximumSize);

    void setBrush(QBrush brush);
    QPixmap toMono(QPixmap picture) const;
    QImage mono(const QImage& picture) const;

signals:
    void toDraw(QPixmap picture);
    void toEnd();
    void toMax();

public slots:
    void toClose();
    void toAdd();
    void toResize();

private:
    QToolBar* addControls();
    // Shows the picture reduced again with the brush and the converter as they are now.
    void convert();

    // The picture as given, fitted to the wheel: every reduction starts from it, so neither a
    // light brush nor inverting twice loses ink.
    QImage picture;
    ImageConverter converter;
    QToolBar* toolbar;
    int maximumSize;
    QBrush brush;
};

#endif
