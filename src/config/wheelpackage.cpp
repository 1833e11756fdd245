#include "wheelpackage.h"

namespace {

QImage emptyLight()
{
    QImage light(1, 16, QImage::Format_ARGB32);
    light.fill(0);
    return light;
}

} // namespace

void WheelPackage::add(QList<QColor> colors)
{
    Package package;
    const int n = colors.size();
    if (n == 1 || n == 3) {
        for (const QColor& color : colors) {
            QImage light = emptyLight();
            light.fill(qRgba(color.red(), color.green(), color.blue(), 255));
            package.lights.append(lightIndex(light));
        }
        if (n == 1)
            package.lights << package.lights[0] << package.lights[0];
    } else if (n > 0 && 16 % n == 0) {
        QImage light = emptyLight();
        const int step = 16 / n;
        for (int i = 0; i < n; ++i) {
            const QRgb rgb = qRgba(colors[i].red(), colors[i].green(), colors[i].blue(), 255);
            for (int row = step * i; row <= step * i + 1 && row < 16; ++row)
                light.setPixel(0, row, rgb);
        }
        const int index = lightIndex(light);
        package.lights << index << index << index;
    }
    packages.append(package);
}

QList<int> WheelPackage::getColors(int const& package) const
{
    if (package < 0 || package >= packages.size())
        return {};
    return packages[package].lights;
}

int WheelPackage::lightIndex(const QImage& light)
{
    const int found = lights.indexOf(light);
    if (found >= 0)
        return found;
    lights.append(light);
    return lights.size() - 1;
}
