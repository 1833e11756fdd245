#ifndef SPLASHSCREEN_H
#define SPLASHSCREEN_H

#include <QLabel>
#include <QPixmap>

// The start-up picture: shown small, then zoomed towards its full width while it fades out.
class SplashScreen : public QLabel {
    Q_OBJECT
public:
    explicit SplashScreen(QString path);

    double getOpacity() const { return opacity; }
    int getShownWidth() const { return shownWidth; }

public slots:
    void next();

signals:
    void end();

private:
    double opacity = 1.0;
    int shownWidth = 300;
    double opacityStep = 0.02;
    int widthStep;
    QPixmap picture;
    // Wayland lets no program set its window's opacity: there the picture fades itself.
    const bool fadesItself;
};

#endif
