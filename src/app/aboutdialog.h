#ifndef ABOUTDIALOG_H
#define ABOUTDIALOG_H

#include <QLabel>

// The About box: the splash picture with the build date and the rights notice; any click
// closes it, and so does Escape.
class AboutDialog : public QLabel {
    Q_OBJECT
public:
    AboutDialog(QString path, QWidget* parent);

    QLabel* getNotice() const { return notice; }

public slots:
    void show();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* notice;
};

#endif
