#include "bitfont.h"

#include "bdffont.h"
#include "fontcache.h"
#include "resources/resource.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QDir>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>

bool BitFont::upButtonClicked = true;
int BitFont::fontName = 0;
int BitFont::fontSize = 0;
QString BitFont::lineText;

BitFont::BitFont(int size, QWidget* parent)
    : QWidget(parent)
    , maximumSize(size)
{
    auto* orientation = new QButtonGroup(this);
    for (QPushButton* button : {&upButton, &downButton}) {
        button->setFlat(true);
        button->setCheckable(true);
        orientation->addButton(button);
        connect(button, &QPushButton::clicked, this, &BitFont::dataChange);
    }
    orientation->setExclusive(true);
    (upButtonClicked ? upButton : downButton).setChecked(true);
    Resource::addIcon(&upButton, "UP");
    Resource::addIcon(&downButton, "DOWN");
    const struct {
        QWidget* widget;
        const char* key;
    } names[] = {{&upButton, "TEXT_UP"},
                 {&downButton, "TEXT_DOWN"},
                 {&fontBox, "FONT"},
                 {&sizeBox, "FONT_SIZE"},
                 {&textField, "TEXT_LINE"}};
    for (const auto& name : names) {
        Resource::addText(name.widget, "accessibleName", name.key);
        Resource::addText(name.widget, "toolTip", name.key);
    }

    for (int pixels = minimumSize; pixels <= maximumSize; ++pixels)
        sizeBox.addItem(QString::number(pixels));
    sizeBox.setCurrentIndex(fontSize);
    connect(&sizeBox, &QComboBox::currentIndexChanged, this, &BitFont::dataChange);
    sizeBox.setEnabled(false);
    sizeBox.setEditable(true);

#if defined(Q_OS_MACOS)
    const QDir folder(QDir::currentPath() + "/contents/Resources/font");
#elif defined(Q_OS_WIN)
    const QDir folder("./font");
#else
    const QDir folder(Resource::directory() + "font");
#endif
    int bitmapFonts = 0;
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (!file.fileName().endsWith(".bdf"))
            continue;
        const QString name = file.fileName().section('.', 0, 0);
        fontBox.addItem(name);
        fontFiles.insert(name, file.filePath());
        ++bitmapFonts;
    }
    FontCache::shared().keepOnly(fontFiles.values());
    fontBox.insertSeparator(bitmapFonts);
    fontBox.addItems(QFontDatabase::families());
    fontBox.setCurrentIndex(fontName);
    fontBox.setEditable(true);
    connect(&fontBox, &QComboBox::currentIndexChanged, this, &BitFont::dataChange);

    if (lineText.isEmpty())
        textField.setPlaceholderText(Resource::getText("ENTER_TEXT"));
    else
        textField.setText(lineText);
    connect(&textField, &QLineEdit::textChanged, this, &BitFont::dataChange);
    // Given the focus, the entry takes the text.
    setFocusProxy(&textField);
    // Room for a few words on the small floating panel.
    textField.setMinimumWidth(textField.fontMetrics().averageCharWidth() * 16);

    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&upButton);
    layout->addWidget(&downButton);
    layout->addWidget(&fontBox);
    layout->addWidget(&sizeBox);
    layout->addWidget(&textField);
}

BitFont::~BitFont()
{
    for (QWidget* widget : findChildren<QWidget*>())
        Resource::remove(widget);
}

void BitFont::dataChange()
{
    upButtonClicked = upButton.isChecked();
    fontName = fontBox.currentIndex();
    fontSize = sizeBox.currentIndex();

    const int size = sizeBox.currentText().toInt();
    if (size < minimumSize) {
        sizeBox.blockSignals(true);
        sizeBox.removeItem(sizeBox.currentIndex());
        sizeBox.blockSignals(false);
        sizeBox.setCurrentIndex(0);
        return;
    }
    if (size > maximumSize) {
        sizeBox.removeItem(sizeBox.currentIndex());
        return;
    }

    const QString family = fontBox.currentText();
    const bool system = QFontDatabase::families().contains(family);
    sizeBox.setEnabled(system);
    if (!system && !fontFiles.contains(family)) {
        fontBox.blockSignals(true);
        fontBox.removeItem(fontBox.currentIndex());
        fontBox.blockSignals(false);
        fontBox.setCurrentIndex(0);
        return;
    }

    QVector<QPoint> points;
    const QString text = textField.text();
    if (!text.isEmpty()) {
        lineText = text;
        const bool down = downButton.isChecked();
        if (!system) {
            // Read on first use: the list of fonts needs only their names.
            if (const auto font = FontCache::shared().font(fontFiles.value(family)))
                points = font->text(text, down);
        } else {
            QFont font(family);
            font.setStyleStrategy(QFont::NoAntialias);
            font.setPixelSize(size);
            QLabel label(text);
            label.setFont(font);
            label.adjustSize();
            const QImage image = label.grab().toImage();
            const int bottom = image.height() - 1;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    if ((11 * qRed(p) + 16 * qGreen(p) + 5 * qBlue(p)) / 32 < 128)
                        points.append(down ? QPoint(-x, bottom - y) : QPoint(x, y));
                }
            }
        }
    }
    emit setText(points);
}
