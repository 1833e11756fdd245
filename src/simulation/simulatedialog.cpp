#include "simulatedialog.h"

#include "config/argparser.h"
#include "packagepreview.h"
#include "resources/resource.h"
#include "simulator.h"
#include "speedmeter.h"
#include "transfer/frameencoder.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

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
    connect(&player, &SlotPlayer::showing, this, [this](int index) {
        simulator->show(ledPicture(litCells(played[index], centres).data()));
    });
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
    lineCount = lines;
    ledCount = leds;
    still = ledPicture(states);
    simulator->show(still);
    show();
}

void SimulateDialog::setPlayed(const QList<QImage>& pictures, const QList<QPointF>& centres,
                               int lines, int leds, int rate)
{
    player.stop();
    played = pictures;
    this->centres = centres;
    lineCount = lines;
    ledCount = leds;
    player.setRate(rate);
    playButton->setEnabled(!played.isEmpty());
}

QList<bool> SimulateDialog::litCells(const QImage& picture, const QList<QPointF>& centres)
{
    QList<bool> lit;
    lit.reserve(centres.size());
    for (const QPointF& centre : centres)
        lit << FrameEncoder::isLit(picture, centre);
    return lit;
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

QImage SimulateDialog::ledPicture(const bool* states) const
{
    return leds.build(states, lineCount, ledCount, Simulator::textureSize);
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
