#include "layerwidget.h"

#include "design.h"
#include "picturepatch.h"
#include "resources/resource.h"
#include "superfastblur.h"

#include <QBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>

namespace {

constexpr int blurRadius = 2;

bool hasInk(const QImage& picture)
{
    // Premultiplying keeps the alpha, and the design's pictures are so already.
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 0)
                return true;
    }
    return false;
}

// The picture pixels, from first to last, that thumbnail pixel i of side covers along a length.
int blockStart(int i, int length, int side)
{
    return i * length / side;
}

int blockEnd(int i, int length, int side)
{
    return qMax(blockStart(i, length, side) + 1, (i + 1) * length / side);
}

// The thumbnail pixels whose blocks meet picture pixels from to to - 1, as first and end.
QPair<int, int> blocksMeeting(int from, int to, int length, int side)
{
    int first = 0;
    while (first < side && blockEnd(first, length, side) <= from)
        ++first;
    int end = first;
    while (end < side && blockStart(end, length, side) < to)
        ++end;
    return {first, end};
}

} // namespace

LayerWidget::LayerWidget(Design* design, QWidget* parent)
    : QWidget(parent)
    , design(design)
{
    for (int i = 0; i < design->getCount(); ++i) {
        icons << QIcon();
        drawn << false;
        shown << QImage();
        reduced << QImage();
        makeIcon(i);
        view.add();
    }
    // Shows the rows, in words too.
    Resource::addText(this, "rowText", "SLOT_ROW");
    Resource::addText(&view, "accessibleName", "SLOTS");

    connect(&view, &QListWidget::currentItemChanged, this, &LayerWidget::currentRowChanged);
    connect(&view, &QListWidget::itemChanged, this, &LayerWidget::itemChecked);
    view.installEventFilter(&watcher);
    connect(&watcher, &LayerEvent::added, this, &LayerWidget::added);
    connect(&watcher, &LayerEvent::removed, this, &LayerWidget::removed);
    connect(design, &Design::pictureChanged, this, &LayerWidget::setIcon);
    connect(design, &Design::orderChanged, this, &LayerWidget::showRows);
    connect(design, &Design::tickChanged, this, &LayerWidget::showRow);
    connect(design, &Design::currentChanged, this, &LayerWidget::showCurrent);

    transmitButton = new QPushButton(this);
    transmitButton->setIconSize(QSize(32, 32));
    Resource::addText(transmitButton, "text", "CONNECTION");
    Resource::addIcon(transmitButton, "TRANSMIT");
    selectAllButton = new QPushButton(this);
    Resource::add(selectAllButton, "text", "SELECTALL");
    ignoreAllButton = new QPushButton(this);
    Resource::add(ignoreAllButton, "text", "IGNOREALL");

    playButton = new QPushButton(this);
    playButton->setCheckable(true);
    playButton->setIconSize(QSize(24, 24));
    playButton->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Resource::addIcon(playButton, "PLAY");
    Resource::addText(playButton, "accessibleName", "PLAY");
    rateBox = new QSpinBox(this);
    rateBox->setRange(SlotPlayer::slowest, SlotPlayer::fastest);
    rateBox->setValue(player.getRate());
    Resource::addText(rateBox, "suffix", "PER_SECOND");
    Resource::addText(rateBox, "toolTip", "PLAY_RATE");
    Resource::addText(rateBox, "accessibleName", "PLAY_RATE");
    connect(playButton, &QPushButton::toggled, this, &LayerWidget::play);
    connect(rateBox, &QSpinBox::valueChanged, &player, &SlotPlayer::setRate);
    connect(&player, &SlotPlayer::stopped, playButton, [this] {
        const QSignalBlocker blocker(playButton);
        playButton->setChecked(false);
    });
    // What is shown is no longer what is played once the design changes.
    connect(design, &Design::pictureChanged, &player, &SlotPlayer::stop);
    connect(design, &Design::orderChanged, &player, &SlotPlayer::stop);
    connect(design, &Design::tickChanged, &player, &SlotPlayer::stop);
    connect(design, &Design::currentChanged, &player, &SlotPlayer::stop);
    connect(design, &Design::tickChanged, this, &LayerWidget::showPlayable);
    connect(design, &Design::orderChanged, this, &LayerWidget::showPlayable);
    showPlayable();

    auto* playRow = new QHBoxLayout;
    playRow->setSpacing(0);
    playRow->setContentsMargins(0, 0, 0, 0);
    playRow->addWidget(playButton);
    playRow->addWidget(rateBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(selectAllButton);
    buttons->addWidget(ignoreAllButton);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(&view);
    layout->addLayout(playRow);
    layout->addWidget(transmitButton);

    connect(transmitButton, &QPushButton::clicked, this, &LayerWidget::toTransmit);
    connect(selectAllButton, &QPushButton::clicked, design, [design] { design->tickAll(true); });
    connect(ignoreAllButton, &QPushButton::clicked, design, [design] { design->tickAll(false); });
}

LayerWidget::~LayerWidget()
{
    // The view's rows go with it; that must not reach the design.
    disconnect(&view, nullptr, this, nullptr);
    view.removeEventFilter(&watcher);
    Resource::remove(this);
    Resource::remove(&view);
    Resource::remove(transmitButton);
    Resource::remove(selectAllButton);
    Resource::remove(ignoreAllButton);
    Resource::remove(playButton);
    Resource::remove(rateBox);
}

QList<QWidget*> LayerWidget::tabStops()
{
    return {selectAllButton, ignoreAllButton, &view, playButton, rateBox, transmitButton};
}

QList<int> LayerWidget::tickedSequence() const
{
    QList<int> sequence;
    const QList<int> order = design->getList();
    for (int row = 0; row < order.size(); ++row)
        if (design->isTicked(row))
            sequence << order[row];
    return sequence;
}

void LayerWidget::hideEvent(QHideEvent* event)
{
    player.stop();
    QWidget::hideEvent(event);
}

void LayerWidget::play(bool on)
{
    if (on)
        player.play(tickedSequence());
    else
        player.stop();
}

void LayerWidget::showPlayable()
{
    const bool playable = !tickedSequence().isEmpty();
    playButton->setEnabled(playable);
    Resource::addText(playButton, "toolTip", playable ? "PLAY_TIP" : "PLAY_NONE");
}

QPixmap LayerWidget::thumbnail(const QImage& picture, qreal ratio) const
{
    const int side = qRound(view.iconSize().width() * ratio);
    QImage small(side, side, QImage::Format_ARGB32);
    small.fill(Qt::transparent);
    reduce(picture, picture.rect(), &small);
    return onDisc(small, ratio);
}

void LayerWidget::reduce(const QImage& picture, const QRect& changed, QImage* small)
{
    if (changed.isEmpty())
        return;
    const int side = small->width();
    const QSize size = picture.size();
    // The blur carries a change radius pixels further; so far the thumbnail changes.
    const QRect reached =
        changed.adjusted(-blurRadius, -blurRadius, blurRadius, blurRadius) & picture.rect();
    const auto [left, right] =
        blocksMeeting(reached.left(), reached.right() + 1, size.width(), side);
    const auto [top, bottom] =
        blocksMeeting(reached.top(), reached.bottom() + 1, size.height(), side);
    if (left == right || top == bottom)
        return;
    const QRect blocks(
        QPoint(blockStart(left, size.width(), side), blockStart(top, size.height(), side)),
        QPoint(blockEnd(right - 1, size.width(), side) - 1,
               blockEnd(bottom - 1, size.height(), side) - 1));
    // Blurred within a margin of the radius, those blocks come out as from the whole picture.
    const QRect around =
        blocks.adjusted(-blurRadius, -blurRadius, blurRadius, blurRadius) & picture.rect();
    const QImage blurred =
        superFastBlur(picture.copy(around), blurRadius).convertToFormat(QImage::Format_ARGB32);
    for (int y = top; y < bottom; ++y) {
        const int from = blockStart(y, size.height(), side) - around.top();
        const int to = blockEnd(y, size.height(), side) - around.top();
        auto* out = reinterpret_cast<QRgb*>(small->scanLine(y));
        for (int x = left; x < right; ++x) {
            const int start = blockStart(x, size.width(), side) - around.left();
            const int end = blockEnd(x, size.width(), side) - around.left();
            QRgb most = 0;
            for (int v = from; v < to; ++v) {
                const auto* line = reinterpret_cast<const QRgb*>(blurred.constScanLine(v));
                for (int u = start; u < end; ++u)
                    if (qAlpha(line[u]) > qAlpha(most))
                        most = line[u];
            }
            out[x] = most;
        }
    }
}

QPixmap LayerWidget::onDisc(QImage small, qreal ratio) const
{
    const int logical = view.iconSize().width();
    small.setDevicePixelRatio(ratio);
    // The wheel's face stays light in any theme and against the selection colour.
    QPixmap icon(small.size());
    icon.setDevicePixelRatio(ratio);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(0.5, 0.5, logical - 1, logical - 1));
    painter.drawImage(QPointF(0, 0), small);
    painter.end();
    return icon;
}

void LayerWidget::setRowText(const QString& text)
{
    rowText = text;
    showRows();
}

void LayerWidget::setIcon(int index)
{
    makeIcon(index);
    showRow(int(design->getList().indexOf(index)));
}

void LayerWidget::makeIcon(int index)
{
    const QImage picture = design->getPicture(index);
    const qreal ratio = view.devicePixelRatio();
    const int side = qRound(view.iconSize().width() * ratio);
    QImage& small = reduced[index];
    QImage& before = shown[index];
    // Only the thumbnail pixels that the change reaches are made anew.
    QRect changed = picture.rect();
    if (small.width() == side && before.size() == picture.size() &&
        before.format() == picture.format()) {
        changed = PicturePatch::changedRect(before, picture);
    } else {
        small = QImage(side, side, QImage::Format_ARGB32);
        small.fill(Qt::transparent);
    }
    reduce(picture, changed, &small);
    before = picture;
    icons[index] = QIcon(onDisc(small, ratio));
    drawn[index] = hasInk(picture);
}

void LayerWidget::showRow(int row)
{
    const QSignalBlocker blocker(view);
    const int index = design->getList().at(row);
    const bool ticked = design->isTicked(row);
    QListWidgetItem* item = view.item(row);
    item->setIcon(icons[index]);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    // The number, the picture and the tick, as a sentence.
    const QString text = rowText.arg(QString::number(row + 1),
                                     Resource::getText(drawn[index] ? "SLOT_DRAWN" : "SLOT_EMPTY"),
                                     Resource::getText(ticked ? "SLOT_SENT" : "SLOT_NOT_SENT"));
    item->setData(Qt::AccessibleTextRole, text);
    item->setToolTip(text + "\n" + Resource::getText("SLOT_TIP"));
}

void LayerWidget::showRows()
{
    for (int row = 0; row < view.count(); ++row)
        showRow(row);
    showCurrent();
}

void LayerWidget::showCurrent()
{
    const QSignalBlocker blocker(view);
    view.setCurrentRow(design->getCurrentRow());
}

void LayerWidget::added()
{
    dragStartRow = design->getCurrentRow();
}

void LayerWidget::removed()
{
    // The dragged row stays current, so its place tells where it went. The view has moved the
    // row already; the design follows, and the rows are shown from it again.
    const int to = view.currentRow();
    if (to != dragStartRow)
        design->moveRow(dragStartRow, to);
    showRows();
}

void LayerWidget::itemChecked(QListWidgetItem* item)
{
    design->tick(view.row(item), item->checkState() == Qt::Checked);
}

void LayerWidget::currentRowChanged(QListWidgetItem* current, QListWidgetItem*)
{
    if (current)
        design->chooseRow(view.row(current));
}

void LayerWidget::toTransmit()
{
    const QMap<int, QImage> chosen = design->tickedPictures();
    if (!chosen.isEmpty())
        emit toUpdate(chosen);
}
