#ifndef IMAGELABEL_H
#define IMAGELABEL_H

#include <QBrush>
#include <QLabel>

class QToolBar;

// The image tool's floating picture: the picture reduced to ink and empty, shown in the brush
// colour, resizable with a size grip, with OK, cancel and auto size on a toolbar.
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
    // Shows a picture already reduced to ink and empty.
    void show(const QImage& picture);

    // The picture as shown, kept unpremultiplied: converting it again after a brush change must
    // see the ink colours exactly, or an ink of grey 127 would round to 128 and vanish.
    QImage shown;
    QToolBar* toolbar;
    int maximumSize;
    QBrush brush;
};

#endif
