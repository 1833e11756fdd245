#include "config/argparser.h"
#include "model/designfile.h"
#include "model/wheelweb.h"
#include "transfer/frameencoder.h"
#include "transfer/framepicture.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>

// rimglow-thumbnail: what a file manager shows for a design, its first picture as the wheel
// lights it. Started by the desktop's thumbnailer with the product's options, so the grid is
// the product's.

namespace {

enum Status { Written = 0, BadCommandLine = 2, BadFile = 3 };

// The largest thumbnail the desktop asks for.
const int maxSize = 1024;

const char* const usage =
    "Usage: rimglow-thumbnail PRODUCT SIZE DESIGN PNG\n"
    "Writes a SIZE x SIZE picture of the first picture of a design, as the wheel lights it,\n"
    "to the file PNG. PRODUCT describes the wheel product with the options of rimglow:\n"
    "  -n NAME -s LINESxLEDS -o OUTER -i INNER -v CODExCOUNT[+...] -c COLOURS[+...] [-h]\n";

int fail(int status, const QString& message)
{
    std::fprintf(stderr, "rimglow-thumbnail: %s\n", qPrintable(message));
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // Drawn on images: no display, no platform plugin.
    QCoreApplication application(argc, argv);
    const ArgParser product(argc, argv);
    for (const QString& problem : product.problems())
        std::fprintf(stderr, "%s\n", qPrintable(problem));
    if (!product.problems().isEmpty() || product.designs.size() != 3) {
        std::fputs(usage, stderr);
        return BadCommandLine;
    }
    const QString sizeText = product.designs[0], input = product.designs[1],
                  output = product.designs[2];
    bool number = false;
    const int size = sizeText.toInt(&number);
    if (!number || size < 1 || size > maxSize)
        return fail(
            BadCommandLine,
            QString("SIZE is a number of pixels from 1 to %1, not %2").arg(maxSize).arg(sizeText));

    DesignFile design(input);
    if (!design.read(1) || design.getPictures().isEmpty())
        return fail(BadFile,
                    "cannot read " + input + " as a design" +
                        (design.errorString().isEmpty() ? QString() : ": " + design.errorString()));
    const WheelWeb web(product.lines, product.leds, int(product.outerSize), int(product.innerSize));
    const QImage face = FramePicture::draw(
        FrameEncoder::encode(design.getPictures().first(), web.getCenters()), web);
    // Written whole or not at all: the desktop takes a file that is there for a thumbnail.
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) ||
        !face.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
             .save(&file, "png") ||
        !file.flush() || !file.commit())
        return fail(BadFile, "cannot write " + output + ": " + file.errorString());
    return Written;
}
