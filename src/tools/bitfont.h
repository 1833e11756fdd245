#ifndef BITFONT_H
#define BITFONT_H

#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QPoint>
#include <QPushButton>
#include <QVector>
#include <QWidget>

// The text entry of the text tool: orientation, font and size, and the text, turned into lit
// pixel positions with a bitmap font of the font folder or a system font.
class BitFont : public QWidget {
    Q_OBJECT
public:
    explicit BitFont(int size, QWidget* parent = nullptr);
    ~BitFont() override;

    static bool upButtonClicked;
    static int fontName;
    static int fontSize;
    static QString lineText;

public slots:
    void dataChange();

signals:
    void setText(QVector<QPoint> points);

private:
    const int minimumSize = 5;
    int maximumSize;
    QComboBox fontBox;
    QComboBox sizeBox;
    QLineEdit textField;
    QPushButton upButton;
    QPushButton downButton;
    // The bitmap fonts' files by font name; the fonts themselves are read when first used.
    QMap<QString, QString> fontFiles;
};

#endif
