#ifndef ARGPARSER_H
#define ARGPARSER_H

#include <QColor>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The wheel product this run serves, as described on the command line. Filled once by the
// constructor and read directly by the rest of the program afterwards. It shows nothing: the
// problems it finds are kept for the program to show in its own way.
class ArgParser {
public:
    ArgParser(int argc, char** argv);

    // Whether the description is complete enough to work with; when it is not, the last of
    // the problems tells what is missing.
    bool isValid() const { return missing().isEmpty(); }
    // Every problem of the command line in the order found; empty when there was none.
    QStringList problems() const { return problemList; }
    QMap<QString, int> getidList() const { return ids; }
    QMap<QString, QList<QColor>> getpackageList() const { return packages; }
    bool hasHall() const { return hall; }
    // The slots of a design: as many as the product's largest model holds.
    int mostPictures() const;
    // Boundary k of the rings on the iconSize square of a package preview, from its edge to
    // the inner edge of the innermost LED at k = leds.
    double getX(int k) const;

    QString name;
    int lines = -1;
    int leds = -1;
    QMap<QString, int> ids;
    // Package text -> its colours, outermost band first.
    QMap<QString, QList<QColor>> packages;
    bool hall = false;
    double outerSize = 0;
    double innerSize = 0;
    const int iconSize = 512;
    // Design files named after the options, to open at start.
    QStringList designs;

    // More cells than the 512 x 512 picture has pixels cannot be drawn or sampled.
    static const int maxCells = 512 * 512;
    // A store request carries the slot in one byte.
    static const int maxPictures = 256;
    // Each package has a 512 x 512 preview.
    static const int maxPackages = 64;

private:
    void parse(int argc, char** argv);
    bool parseSize(const QString& arg);
    bool parseRadius(const QString& arg, double* size, const QString& message);
    bool parseIds(const QString& arg);
    bool parseColors(const QString& arg);
    QList<QColor> convertColor(const QString& text);
    QString missing() const;

    QStringList problemList;
};

#endif
