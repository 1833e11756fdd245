#include "autosavefile.h"

#include "design.h"
#include "picturepatch.h"

#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace {

// The text entries of the file; PNG keywords without spaces.
const char* const versionKey = "Rimglow-Autosave";
const char* const productKey = "Product";
const char* const gridKey = "Grid";
const char* const fileKey = "File";
const char* const nameKey = "Name";
const char* const orderKey = "Order";
const char* const tickKey = "Ticks";
const char* const currentKey = "Current";

QString numbers(const QList<int>& list)
{
    QStringList words;
    for (int number : list)
        words << QString::number(number);
    return words.join(',');
}

// The numbers of a list; false when one is no number.
bool readNumbers(const QString& text, QList<int>* list)
{
    for (const QString& word : text.split(',', Qt::SkipEmptyParts)) {
        bool number = false;
        list->append(word.toInt(&number));
        if (!number)
            return false;
    }
    return true;
}

bool isPermutation(QList<int> order)
{
    std::sort(order.begin(), order.end());
    for (int i = 0; i < order.size(); ++i)
        if (order[i] != i)
            return false;
    return true;
}

} // namespace

AutosaveFile::AutosaveFile(const QString& path)
    : path(path)
{
}

bool AutosaveFile::write(const Design& design, const QString& product, QSize grid)
{
    const QSize square = design.getPictureSize();
    QImage image(design.getCount() * square.width(), square.height(), PicturePatch::format);
    image.fill(0);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int i = 0; i < design.getCount(); ++i)
        painter.drawImage(QPoint(i * square.width(), 0), design.getPicture(i),
                          QRect(QPoint(0, 0), square));
    painter.end();
    // PNG knows no premultiplied pixels; these are stored as they are and read back the same.
    image.reinterpretAsFormat(QImage::Format_ARGB32);

    QList<int> ticks;
    for (int i = 0; i < design.getCount(); ++i)
        ticks << int(design.isTicked(int(design.getList().indexOf(i))));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "png");
    writer.setText(versionKey, QString::number(version));
    writer.setText(productKey, product);
    writer.setText(gridKey, QString("%1x%2").arg(grid.width()).arg(grid.height()));
    writer.setText(fileKey, design.getFilePath());
    writer.setText(nameKey, design.getDisplayName());
    writer.setText(orderKey, numbers(design.getList()));
    writer.setText(tickKey, numbers(ticks));
    writer.setText(currentKey, QString::number(design.getCurrentIndex()));
    if (!writer.write(image) || !file.flush() || !file.commit()) {
        error = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        return false;
    }
    return true;
}

bool AutosaveFile::read()
{
    QImageReader reader(path, "png");
    QImage image;
    if (!reader.read(&image)) {
        error = reader.errorString();
        return false;
    }
    error.clear();
    product = image.text(productKey);
    filePath = image.text(fileKey);
    displayName = image.text(nameKey);
    const QStringList sides = image.text(gridKey).split('x');
    grid = QSize(sides.value(0).toInt(), sides.value(1).toInt());
    order.clear();
    pictures.clear();
    ticked.clear();
    QList<int> ticks;
    bool number = false;
    current = image.text(currentKey).toInt(&number);
    const int count = readNumbers(image.text(orderKey), &order) ? int(order.size()) : 0;
    const int side = image.height();
    if (image.text(versionKey) != QString::number(version) || count == 0 || !isPermutation(order) ||
        !readNumbers(image.text(tickKey), &ticks) || ticks.size() != count || !number ||
        current < 0 || current >= count || image.width() != count * side)
        return false;
    image = image.convertToFormat(QImage::Format_ARGB32);
    image.reinterpretAsFormat(PicturePatch::format);
    for (int i = 0; i < count; ++i) {
        pictures << image.copy(i * side, 0, side, side);
        ticked << (ticks[i] != 0);
    }
    return true;
}

bool AutosaveFile::isFor(const QString& product, QSize grid, int count) const
{
    return this->product == product && this->grid == grid && order.size() == count;
}

void AutosaveFile::restore(Design* design) const
{
    for (int i = 0; i < pictures.size(); ++i)
        design->setPicture(i, pictures[i]);
    for (int row = 0; row < order.size(); ++row) {
        const int from = int(design->getList().indexOf(order[row]));
        if (from != row)
            design->setRow(from, row);
    }
    for (int row = 0; row < order.size(); ++row)
        design->setTicked(row, ticked[order[row]]);
    design->setCurrentRow(int(order.indexOf(current)));
    if (!filePath.isEmpty())
        design->belongTo(filePath);
    // Never clean until saved: the file, if any, does not hold this work.
    design->getUndoStack()->resetClean();
}
