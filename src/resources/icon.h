#ifndef ICON_H
#define ICON_H

#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QMap>
#include <QObject>
#include <QPixmap>
#include <QStringList>

// The icon table and the registered icons: every registered object shows the icon of its key
// in the current icon style.
class Icon : public QObject {
    Q_OBJECT
public:
    explicit Icon(const QString& path, QObject* parent = nullptr);

    void add(QObject* object, const QString& key);
    void remove(QObject* object);
    QIcon getIcon(const QString& key) const;
    QPixmap getPixmap(const QString& key) const;
    void setIcon(QObject* object, const QIcon& icon) const;
    QComboBox* getMenu() { return &menu; }
    void renewMenu();

    QStringList getStyles() const { return styles; }
    QSize getCellSize() const { return QSize(cellWidth, cellHeight); }
    QPixmap getPlaceholder() const { return placeholder; }

private slots:
    void update(int style);

private:
    bool read(const QString& path);

    // The cells are cut from the table picture when asked for, so a table with very many keys
    // costs no more memory than its picture.
    QImage table;
    QStringList keys;
    QStringList styles;
    int column = 0;
    int cellWidth = 48;
    int cellHeight = 48;
    QPixmap placeholder;

    QMap<QObject*, QString> registrations;
    QComboBox menu;
};

#endif
