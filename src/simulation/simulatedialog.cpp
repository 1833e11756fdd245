#include "simulatedialog.h"

#include "config/argparser.h"
#include "packagepreview.h"
#include "resources/resource.h"
#include "simulator.h"
#include "speedmeter.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>

SimulateDialog::SimulateDialog(ArgParser* configuration, QWidget* parent)
    : QDialog(parent)
    , speedMeter(new SpeedMeter(15, nullptr))
    , packageList(new QListWidget)
{
    const QMap<QString, QList<QColor>> packages = configuration->getpackageList();
    for (const QList<QColor>& colors : packages) {
        new QListWidgetItem(QIcon(packagePreview(*configuration, colors)), QString(), packageList);
        package.add(colors);
    }
    packageList->setIconSize(QSize(64, 64));
    packageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    packageList->setFixedWidth(100);
    packageList->setViewMode(QListView::IconMode);
    // Marked without becoming current: no colour change is sent until the user picks one.
    if (packageList->count() > 0)
        packageList->item(0)->setSelected(true);

    simulator = new Simulator(256, 240, 13, 180, 16, package.getLights());
    connect(speedMeter, &QDial::valueChanged, this, &SimulateDialog::setSpeed);
    setSpeed();
    connect(packageList, &QListWidget::currentRowChanged, this, &SimulateDialog::setColor);

    exitButton = new QPushButton;
    Resource::add(exitButton, "text", "EXIT");
    connect(exitButton, &QPushButton::clicked, this, &QDialog::close);
    playButton = new QPushButton;
    playButton->setCheckable(true);
    playButton->setEnabled(false);
    Resource::addText(playButton, "text", "SIM_PLAY");
    connect(playButton, &QPushButton::toggled, this, &SimulateDialog::play);
    connect(&player, &SlotPlayer::showing, this,
            [this](int index) { simulator->show(played[index]); });
    connect(&player, &SlotPlayer::stopped, this, [this] {
        const QSignalBlocker blocker(playButton);
        playButton->setChecked(false);
        simulator->show(still);
    });

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(simulator, 0, 0, 5, 1);
    layout->addWidget(packageList, 0, 1, 4, 1);
    layout->addWidget(speedMeter, 4, 1);
    layout->addWidget(playButton, 5, 0, 1, 2);
    layout->addWidget(exitButton, 6, 0, 1, 2);
    setModal(true);
    adjustSize();
}

SimulateDialog::~SimulateDialog()
{
    Resource::remove(exitButton);
    Resource::remove(playButton);
}

void SimulateDialog::toShow(bool* states, int lines, int leds)
{
    still = ledPicture(states, lines, leds);
    simulator->show(still);
    show();
}

void SimulateDialog::setPlayed(const QList<QList<bool>>& states, int lines, int leds, int rate)
{
    player.stop();
    played.clear();
    for (const QList<bool>& lit : states)
        played << ledPicture(lit.data(), lines, leds);
    player.setRate(rate);
    playButton->setEnabled(!played.isEmpty());
}

void SimulateDialog::play(bool on)
{
    if (!on) {
        player.stop();
        return;
    }
    QList<int> sequence;
    for (int i = 0; i < played.size(); ++i)
        sequence << i;
    player.play(sequence);
}

QImage SimulateDialog::ledPicture(const bool* states, int lines, int leds)
{
    QRadialGradient dot(4, 4, 4);
    dot.setColorAt(0, Qt::white);
    dot.setColorAt(1, Qt::transparent);
    // A product without positions or LEDs still gets a (dark) picture.
    QImage image(8 * qMax(lines, 1), 8 * qMax(leds, 1), QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(dot);
    for (int q = 0; q < 4 * lines; ++q) {
        const int c = q / 4;
        for (int j = 0; j < leds; ++j) {
            if (!states[c * leds + j])
                continue;
            paintPoint(&painter, 2 * q, 8 * j);
            // Streaks running over the right edge come back at the left.
            if (c == lines - 1)
                paintPoint(&painter, 2 * q - 8 * lines, 8 * j);
        }
    }
    painter.end();
    return image;
}

void SimulateDialog::closeEvent(QCloseEvent* event)
{
    player.stop();
    simulator->stop();
    QDialog::closeEvent(event);
}

void SimulateDialog::setSpeed()
{
    simulator->setSpeed(speedMeter->value() * 0.1);
}

void SimulateDialog::setColor(int color)
{
    simulator->setColor(package.getColors(color));
}

void SimulateDialog::paintPoint(QPainter* painter, int x, int y)
{
    painter->save();
    painter->translate(x, y);
    painter->drawRect(0, 0, 31, 31);
    painter->restore();
}
