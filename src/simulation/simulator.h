#ifndef SIMULATOR_H
#define SIMULATOR_H

#include <QImage>
#include <QList>
#include <QOpenGLFunctions_2_1>
#include <QOpenGLWidget>
#include <QSize>
#include <QTimer>

// Three LED bars turning on a black wheel. Each frame draws, for every bar, a trail of 90 ring
// sectors, one per shown column of the LED picture, the newest opaque and the oldest nearly
// gone; the bars show ten new columns per 22 ms frame while the wheel turns at the set speed.
class Simulator : public QOpenGLWidget, protected QOpenGLFunctions_2_1 {
    Q_OBJECT

public:
    // Every picture is stretched to this size for its textures.
    static constexpr QSize textureSize{1024, 512};

    Simulator(int halfSize, int outerRadius, int ringSpacing, int columnCount, int ringCount,
              QList<QImage>* lights, QWidget* parent = nullptr);
    ~Simulator() override;

    void show(QImage image);
    void stop();
    void setSpeed(double mph);
    void setColor(QList<int> list);
    void updateAngle();

    const QImage& getPicture() const { return picture; }
    bool isRunning() const { return timer.isActive(); }
    double getSweepStep() const { return sweepStep; }
    double getSweepAngle() const { return sweepAngle; }
    double getColumn() const { return column; }
    QList<int> getColorIndex() const { return {colorIndex[0], colorIndex[1], colorIndex[2]}; }
    int textureCount() const { return int(textures.size()); }

    // One light's texture, bottom row first as OpenGL takes it: the picture, stretched to the
    // texture size and premultiplied, mirrored, each pixel in the light's colour at its height
    // with the picture's alpha.
    static QImage texels(const QImage& picture, const QImage& light);

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void buildTextures();
    void deleteTextures();

    QList<unsigned int> textures;
    double column = 0;
    double sweepStep = 0;
    double sweepAngle = 0;
    QTimer timer;
    QList<QImage>* lights;
    int colorIndex[3] = {0, 0, 0};
    int halfSize;
    int outerRadius;
    int ringSpacing;
    int columnCount;
    int ringCount;

    // The context exists only once the widget is first shown, so the textures of a picture
    // are built at the next frame.
    QImage picture;
    bool texturesPending = false;
    bool glReady = false;
};

#endif
