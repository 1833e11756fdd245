#ifndef LAYERVIEW_H
#define LAYERVIEW_H

#include <QListWidget>

// The rows of a layer list: one per picture slot, reordered by dragging within the list. Each
// row shows its slot number, counted from 1.
class LayerView : public QListWidget {
    Q_OBJECT
public:
    explicit LayerView(QWidget* parent = nullptr);

    // Appends a tickable row.
    QListWidgetItem* add();

protected:
    void dropEvent(QDropEvent* event) override;

private:
    // The row a dropped row goes before, from where the drop indicator stands.
    int dropRow(const QDropEvent* event) const;
    void renumber();
};

#endif
