#include "wheelarray.h"

#include "resources/resource.h"

#include <QAction>
#include <QPainter>

namespace {

// "X" and the count, chosen from the keyboard by the first of its digits that no count
// before it took.
QString caption(int count, QString* taken)
{
    QString text = "X" + QString::number(count);
    for (int i = 1; i < text.size(); ++i) {
        if (!taken->contains(text[i])) {
            *taken += text[i];
            return text.insert(i, '&');
        }
    }
    return text;
}

} // namespace

WheelArray::WheelArray(int lineCount, bool hasHall)
{
    connect(&menu, &QMenu::triggered, this, &WheelArray::updateArrayAction);
    connect(menu.menuAction(), &QAction::triggered, this, &WheelArray::menuAction);
    Resource::addText(&menu, "title", "ARRAY");

    QAction* chosen = nullptr;
    QAction* none = nullptr;
    QString taken;
    for (int count : counts(lineCount)) {
        QAction* action = menu.addAction(count == 1 ? QString() : caption(count, &taken));
        if (count == 1) {
            Resource::addText(action, "text", "NONE");
            none = action;
        } else if (!chosen && !hasHall) {
            chosen = action;
        }
        action->setData(count);
        action->setIcon(createIcon(count));
        action->setCheckable(true);
        choices.addAction(action);
    }
    // Without a divisor to offer, the default is no repeat.
    if (!chosen)
        chosen = none;
    chosen->setChecked(true);
    menu.menuAction()->setIcon(chosen->icon());
    setArray(getArray());
}

WheelArray::~WheelArray()
{
    for (QAction* action : menu.actions())
        Resource::remove(action);
    Resource::remove(&menu);
}

QList<int> WheelArray::counts(int lineCount)
{
    QList<int> result{1};
    if (lineCount >= 9)
        for (int d = 3; d * d <= lineCount; ++d)
            if (lineCount % d == 0)
                result << d;
    return result;
}

int WheelArray::getArray() const
{
    return choices.checkedAction()->data().toInt();
}

void WheelArray::setArray(int div)
{
    emit setDiv(div);
    emit updatePixmap(getBackground(div));
}

void WheelArray::updateArrayAction(QAction* action)
{
    menu.menuAction()->setIcon(action->icon());
    setArray(action->data().toInt());
}

void WheelArray::menuAction()
{
    setArray(getArray());
}

QPixmap WheelArray::getBackground(int div) const
{
    QPixmap background(512, 512);
    background.fill(Qt::transparent);
    if (div == 0)
        div = getArray();
    if (div <= 1)
        return background;
    const float step = 360.0f / div;
    QPainter painter(&background);
    painter.setPen(QPen(Qt::black, 2));
    for (int i = 0; i < div; ++i) {
        QTransform transform;
        transform.translate(0.5 * background.width(), 0.5 * background.height());
        transform.rotate(double(float(i) * step));
        painter.setWorldTransform(transform);
        painter.drawLine(0, 0, 0, int(background.height() * -0.5));
    }
    return background;
}

QPixmap WheelArray::createArrayIcon(int count) const
{
    const QPixmap petal = Resource::getPixmap("ARRAY");
    const int w = petal.width();
    const int h = petal.height();
    QPixmap icon(2 * w, 2 * h);
    icon.fill(Qt::transparent);
    if (count < 1)
        return icon;
    const int step = 360 / count;
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < count; ++i) {
        QTransform transform;
        transform.translate(0.5 * 2 * w, 0.5 * 2 * h);
        transform.rotate(double(float(i * step)));
        painter.setWorldTransform(transform);
        painter.drawPixmap(int(2 * w * -0.25), int(2 * h * -0.5), petal);
    }
    return icon;
}

QIcon WheelArray::createIcon(int count) const
{
    if (count != 1)
        return QIcon(createArrayIcon(count));
    QPixmap icon = createArrayIcon(3);
    const int w = icon.width();
    const int h = icon.height();
    QPainter painter(&icon);
    painter.translate(0.5 * w, 0.5 * h);
    painter.setPen(QPen(Qt::red, 3));
    painter.drawEllipse(int(w * -0.25 - 2), int(h * -0.25 - 2), int(w * 0.5 + 4), int(h * 0.5 + 4));
    painter.drawLine(int(w * -0.25 - 2), int(h * -0.25 - 2), int(w * 0.25 + 2), int(h * 0.25 + 2));
    painter.end();
    return QIcon(icon);
}
