#include "simulator.h"

#include <QtEndian>

#include <cmath>

namespace {

// A premultiplied colour at alpha / 255 of its strength, rounded as the raster painter does.
QRgb multiply(QRgb colour, uint alpha)
{
    uint redBlue = (colour & 0xff00ff) * alpha;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    uint alphaGreen = ((colour >> 8) & 0xff00ff) * alpha;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return redBlue | alphaGreen;
}

} // namespace

Simulator::Simulator(int halfSize, int outerRadius, int ringSpacing, int columnCount, int ringCount,
                     QList<QImage>* lights, QWidget* parent)
    : QOpenGLWidget(parent)
    , lights(lights)
    , halfSize(halfSize)
    , outerRadius(outerRadius)
    , ringSpacing(ringSpacing)
    , columnCount(columnCount)
    , ringCount(ringCount)
{
    setFixedSize(2 * halfSize, 2 * halfSize);
    connect(&timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

Simulator::~Simulator()
{
    makeCurrent();
    deleteTextures();
    doneCurrent();
}

void Simulator::show(QImage image)
{
    picture = image;
    texturesPending = true;
    timer.start(22);
    update();
}

void Simulator::stop()
{
    timer.stop();
    makeCurrent();
    deleteTextures();
    doneCurrent();
    // Showing again must bring the textures back.
    texturesPending = true;
}

void Simulator::setSpeed(double mph)
{
    sweepStep = mph * 2.7983699879 / 24.0;
}

void Simulator::setColor(QList<int> list)
{
    // A package without three lights leaves the missing bars unlit.
    for (int b = 0; b < 3; ++b)
        colorIndex[b] = b < list.size() ? list[b] : -1;
}

void Simulator::updateAngle()
{
    column -= 1;
    if (column < 0)
        column += columnCount + 1;
    sweepAngle += sweepStep;
    if (sweepAngle < 0)
        sweepAngle += 360;
}

void Simulator::initializeGL()
{
    // The bars are drawn with the fixed-function pipeline, which a core or ES context lacks.
    glReady = initializeOpenGLFunctions();
    if (!glReady) {
        qWarning("The simulation needs OpenGL 2.1 with the compatibility profile.");
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfSize, halfSize, -halfSize, halfSize, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glEnable(GL_TEXTURE_2D);
}

void Simulator::paintGL()
{
    if (!glReady)
        return;
    if (texturesPending)
        buildTextures();
    const int side = int(2 * halfSize * devicePixelRatioF());
    glViewport(0, 0, side, side);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const double c0 = column;
    const double a0 = sweepAngle;
    for (int b = 0; b < 3; ++b) {
        column = c0;
        sweepAngle = a0;
        glRotated(120, 0, 0, 1);
        if (colorIndex[b] < 0 || colorIndex[b] >= textures.size())
            continue;
        glBindTexture(GL_TEXTURE_2D, textures[colorIndex[b]]);
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i < 90; ++i) {
            const double alpha0 = i / 90.0, alpha1 = (i + 1) / 90.0;
            double next = sweepAngle + sweepStep;
            if (next < 0)
                next += 360;
            const double theta0 = sweepAngle / 180 * M_PI, theta1 = next / 180 * M_PI;
            for (int j = 0; j <= ringCount; ++j) {
                const double r = outerRadius - (ringCount - j) * ringSpacing;
                const double t = double(j) / ringCount;
                glColor4d(1, 1, 1, alpha0);
                glTexCoord2d(column / columnCount, t);
                glVertex2d(r * std::cos(theta0), r * std::sin(theta0));
                glColor4d(1, 1, 1, alpha1);
                glTexCoord2d((column - 1) / columnCount, t);
                glVertex2d(r * std::cos(theta1), r * std::sin(theta1));
            }
            updateAngle();
        }
        glEnd();
    }
    sweepAngle = a0 + 9 * sweepStep;
    column = c0 - 9;
    updateAngle();
}

void Simulator::buildTextures()
{
    deleteTextures();
    texturesPending = false;
    if (picture.isNull())
        return;
    const QImage lit = picture.scaled(textureSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (const QImage& light : *lights) {
        const QImage rows = texels(lit, light);
        unsigned int name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rows.width(), rows.height(), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, rows.constBits());
        textures.append(name);
    }
}

QImage Simulator::texels(const QImage& picture, const QImage& light)
{
    const int width = picture.width(), height = picture.height();
    QImage rows(width, height, QImage::Format_RGBA8888);
    // The light's colour through every alpha, as painting it over the picture with source-in
    // would give it; rebuilt where the colour changes, every few rows.
    QRgb colour = 0;
    quint32 shades[256] = {};
    for (int i = 0; i < height; ++i) {
        const int y = height - 1 - i;
        // The light stretched to the picture's height as the fast scaling would.
        const QRgb at = qPremultiply(light.pixel(0, y * light.height() / height));
        if (i == 0 || at != colour) {
            colour = at;
            for (uint alpha = 0; alpha < 256; ++alpha) {
                const QRgb shade = qUnpremultiply(multiply(colour, alpha));
                shades[alpha] = qToBigEndian(shade << 8 | shade >> 24);
            }
        }
        const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        auto* out = reinterpret_cast<quint32*>(rows.scanLine(i));
        for (int x = 0; x < width; ++x)
            out[x] = shades[qAlpha(in[width - 1 - x])];
    }
    return rows;
}

void Simulator::deleteTextures()
{
    // Textures exist only where the context could draw them.
    if (!glReady || textures.isEmpty())
        return;
    glDeleteTextures(GLsizei(textures.size()), textures.data());
    textures.clear();
}
