#ifndef WHEELPACKAGE_H
#define WHEELPACKAGE_H

#include <QColor>
#include <QImage>
#include <QList>

// The colour packages of a product as light images for the simulation: each image is one
// bar appearance (1 x 16 pixels, a colour per LED row), and each package names the image of
// each of the three simulated bars.
class WheelPackage {
public:
    struct Package {
        QList<int> lights;
    };

    WheelPackage() = default;

    void add(QList<QColor> colors);
    QList<int> getColors(int const& package) const;
    QList<QImage>* getLights() { return &lights; }

private:
    int lightIndex(const QImage& light);

    QList<QImage> lights;
    QList<Package> packages;
};

#endif
