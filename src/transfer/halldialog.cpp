#include "halldialog.h"

#include "svgicon.h"

#include "resources/resource.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char* const standSvg = R"svg(<svg xmlns="http://www.w3.org/2000/svg" version="1.2"
 baseProfile="tiny" width="197" height="218" viewBox="0 0 197 218">
  <path fill="none" stroke="#7d848d" stroke-width="9" stroke-linecap="round"
   d="M98.5 92 L58 202 M98.5 92 L139 202"/>
  <rect x="28" y="198" width="141" height="16" rx="6" fill="#3b4048"/>
  <path fill="none" stroke="#9aa1aa" stroke-width="2.5"
   d="M98.5 14 L98.5 170 M20.5 92 L176.5 92 M59.5 24.45 L137.5 159.55 M59.5 159.55 L137.5 24.45
      M31 53 L166 131 M31 131 L166 53"/>
  <circle cx="98.5" cy="92" r="80" fill="none" stroke="#33373d" stroke-width="10"/>
  <circle cx="98.5" cy="92" r="11" fill="#5b616a"/>
  <rect x="94.5" y="24" width="8" height="56" rx="3" fill="#202327"/>
  <circle cx="98.5" cy="32" r="3.5" fill="#ff3b30"/>
  <circle cx="98.5" cy="44" r="3.5" fill="#ffcc00"/>
  <circle cx="98.5" cy="56" r="3.5" fill="#34c759"/>
  <circle cx="98.5" cy="68" r="3.5" fill="#0a84ff"/>
</svg>)svg";

} // namespace

HallDialog::HallDialog(QWidget* parent)
    : QDialog(parent)
    , picture(QByteArray(standSvg))
{
    auto* standButton = new QPushButton;
    standButton->setIconSize(QSize(300, 300));
    standButton->setIcon(icon(300));
    connect(standButton, &QPushButton::clicked, this, &HallDialog::toFerris);

    tabs = new QTabWidget;
    tabs->setIconSize(QSize(32, 32));
    tabs->addTab(&bike, bike.icon(32), QString());
    tabs->addTab(standButton, icon(32), QString());
    const struct {
        QWidget* widget;
        const char* key;
    } names[] = {{&dial, "HALL_ANGLE"}, {&bike, "HALL_BIKE"}, {standButton, "HALL_STAND"}};
    bike.installEventFilter(this);
    standButton->installEventFilter(this);
    for (const auto& name : names) {
        Resource::addText(name.widget, "accessibleName", name.key);
        Resource::addText(name.widget, "toolTip", name.key);
        texted << name.widget;
    }

    group = new QGroupBox;
    Resource::addText(group, "title", "STAND");
    texted << group;
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(tabs);

    // Buttons of our own rather than standard ones, whose texts Qt puts back in its words at
    // every change of language.
    auto* buttons = new QDialogButtonBox(Qt::Horizontal);
    okButton = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    Resource::addText(okButton, "text", "OK");
    texted << okButton;
    cancelButton = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    Resource::addText(cancelButton, "text", "CANCEL");
    texted << cancelButton;
    connect(okButton, &QPushButton::clicked, this, [this] {
        dial.save();
        hide();
    });
    connect(cancelButton, &QPushButton::clicked, this, &HallDialog::hide);

    dial.setFixedSize(400, 400);
    auto* layout = new QGridLayout(this);
    layout->addWidget(&dial, 0, 0);
    layout->addWidget(group, 0, 1);
    layout->addWidget(buttons, 1, 1);

    connect(&bike, &BikeWidget::valueChange, &dial, &HallWidget::setValue);
    setModal(true);
}

HallDialog::~HallDialog()
{
    for (QObject* object : texted)
        Resource::remove(object);
}

bool HallDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The tabs show only pictures: they are named and explained as their pages are.
    if (event->type() == QEvent::ToolTipChange) {
        auto* page = static_cast<QWidget*>(watched);
        const int index = tabs->indexOf(page);
        tabs->setTabToolTip(index, page->toolTip());
        tabs->tabBar()->setAccessibleTabName(index, page->toolTip());
    }
    return QDialog::eventFilter(watched, event);
}

void HallDialog::showEvent(QShowEvent* event)
{
    // The product's title is given after the main window has made this dialog.
    setWindowTitle(Resource::getTitle());
    QDialog::showEvent(event);
}

QPixmap HallDialog::icon(int width)
{
    return svgIcon(picture, width);
}

void HallDialog::toFerris()
{
    dial.setValue(0);
}
