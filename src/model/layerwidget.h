#ifndef LAYERWIDGET_H
#define LAYERWIDGET_H

#include "layerevent.h"
#include "layerview.h"
#include "slotplayer.h"

#include <QIcon>
#include <QImage>
#include <QList>
#include <QMap>
#include <QWidget>

class Design;
class QPushButton;
class QSpinBox;

// The layer list of a design: one row per slot, showing the design's slot order, its ticks and
// the picture being edited. What the user does here becomes an undo step of the design, and the
// rows follow the design back.
class LayerWidget : public QWidget {
    Q_OBJECT
    // What a row says about its slot, in the current language: its number, whether it is
    // drawn and whether it will be sent.
    Q_PROPERTY(QString rowText READ getRowText WRITE setRowText)
public:
    explicit LayerWidget(Design* design, QWidget* parent = nullptr);
    ~LayerWidget() override;

    LayerView* getView() { return &view; }
    QPushButton* getTransmitButton() const { return transmitButton; }
    QPushButton* getPlayButton() const { return playButton; }
    QSpinBox* getRateBox() const { return rateBox; }
    // Plays the ticked slots in the design's view; it changes nothing in the design.
    SlotPlayer* getPlayer() { return &player; }
    // The pictures of the ticked slots, in slot order.
    QList<int> tickedSequence() const;
    // What takes the focus here, as it stands from top to bottom.
    QList<QWidget*> tabStops();
    // The row's picture of a slot: the blurred picture on a light disc, reduced so that each
    // thumbnail pixel shows the most covered pixel under it and a single stroke stays visible.
    // Made with the pixels of a screen of the given device pixel ratio.
    QPixmap thumbnail(const QImage& picture, qreal ratio) const;
    QString getRowText() const { return rowText; }
    void setRowText(const QString& text);

protected:
    // Hidden behind another design's list: its view is no longer on screen to play in.
    void hideEvent(QHideEvent* event) override;

signals:
    // The ticked slots and their pictures, for the wheel.
    void toUpdate(QMap<int, QImage> pictures);

private slots:
    void added();
    void removed();
    void itemChecked(QListWidgetItem* item);
    void currentRowChanged(QListWidgetItem* current, QListWidgetItem* previous);
    void toTransmit();
    void setIcon(int index);
    // A row's thumbnail and tick, as the design has them.
    void showRow(int row);
    void showRows();
    void showCurrent();
    void play(bool on);
    // Playing needs a ticked slot; the button says so.
    void showPlayable();

private:
    // The thumbnail of a picture and whether it has ink, as the design has it now.
    void makeIcon(int index);
    // Puts into small, a thumbnail of the picture, its pixels that a change of the picture
    // within changed reaches.
    static void reduce(const QImage& picture, const QRect& changed, QImage* small);
    // The icon of a row: the reduced picture on the light disc.
    QPixmap onDisc(QImage small, qreal ratio) const;

    Design* design;
    LayerView view;
    // By picture, so they move with the pictures: the thumbnails, and which pictures have ink.
    QList<QIcon> icons;
    QList<bool> drawn;
    // By picture too: the picture each thumbnail shows, held as the design holds it, and the
    // reduced pixels, so that a change makes only the thumbnail pixels it reaches anew.
    QList<QImage> shown;
    QList<QImage> reduced;
    QString rowText;
    int dragStartRow = 0;
    LayerEvent watcher;
    QPushButton* transmitButton;
    QPushButton* selectAllButton;
    QPushButton* ignoreAllButton;
    QPushButton* playButton;
    QSpinBox* rateBox;
    SlotPlayer player;
};

#endif
