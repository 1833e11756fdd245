#include "icon.h"

#include <QImageReader>
#include <QPainter>
#include <QVariant>

namespace {

QPixmap drawPlaceholder()
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::lightGray, 3));
    painter.drawLine(11, 7, 37, 7);
    painter.drawLine(11, 7, 11, 38);
    painter.setPen(QPen(Qt::darkGray, 3));
    painter.drawLine(37, 7, 37, 38);
    painter.drawLine(11, 38, 37, 38);
    painter.setPen(QPen(Qt::red, 3));
    painter.drawLine(18, 17, 28, 27);
    painter.drawLine(18, 27, 28, 17);
    return pixmap;
}

// "a|b" lists its names; an absent entry lists none.
QStringList names(const QString& entry)
{
    return entry.isEmpty() ? QStringList() : entry.split('|');
}

} // namespace

Icon::Icon(const QString& path, QObject* parent)
    : QObject(parent)
    , placeholder(drawPlaceholder())
{
    // A broken installation shows placeholders; say where the table was looked for.
    if (!read(path))
        qWarning("Rimglow: no icon table in %s; icons show as placeholders", qPrintable(path));
    connect(&menu, &QComboBox::activated, this, &Icon::update);
    renewMenu();
}

bool Icon::read(const QString& path)
{
    QImage image;
    if (!QImageReader(path).read(&image) || image.text("editor") != "velmo")
        return false;
    const QStringList tableKeys = names(image.text("iconkey"));
    const QStringList tableStyles = names(image.text("icontype"));
    if (tableKeys.isEmpty() || tableStyles.isEmpty())
        return false;
    const int width = image.width() / tableKeys.size();
    const int height = image.height() / tableStyles.size();
    // More keys or styles than the picture has pixels leave no cell to show.
    if (width < 1 || height < 1)
        return false;
    table = image;
    keys = tableKeys;
    styles = tableStyles;
    cellWidth = width;
    cellHeight = height;
    return true;
}

void Icon::add(QObject* object, const QString& key)
{
    if (!object)
        return;
    if (!registrations.contains(object)) {
        // An object destroyed without calling remove must not be set again later.
        connect(object, &QObject::destroyed, this,
                [this, object] { registrations.remove(object); });
    }
    registrations.insert(object, key);
    setIcon(object, getIcon(key));
}

void Icon::remove(QObject* object)
{
    if (registrations.remove(object))
        disconnect(object, &QObject::destroyed, this, nullptr);
}

QIcon Icon::getIcon(const QString& key) const
{
    return QIcon(getPixmap(key));
}

QPixmap Icon::getPixmap(const QString& key) const
{
    const int row = keys.indexOf(key);
    if (row < 0)
        return placeholder;
    QPixmap cell(cellWidth, cellHeight);
    cell.fill(Qt::transparent);
    QPainter painter(&cell);
    painter.drawImage(QPoint(0, 0), table,
                      QRect(row * cellWidth, column * cellHeight, cellWidth, cellHeight));
    painter.end();
    return cell;
}

void Icon::setIcon(QObject* object, const QIcon& icon) const
{
    const QMetaObject* meta = object->metaObject();
    if (meta->indexOfProperty("icon") >= 0)
        object->setProperty("icon", QVariant(icon));
    if (meta->indexOfProperty("windowIcon") >= 0)
        object->setProperty("windowIcon", QVariant(icon));
}

void Icon::renewMenu()
{
    menu.clear();
    menu.addItems(styles);
}

void Icon::update(int style)
{
    if (style < 0 || style >= styles.size())
        return;
    column = style;
    for (auto it = registrations.cbegin(); it != registrations.cend(); ++it)
        setIcon(it.key(), getIcon(it.value()));
}
