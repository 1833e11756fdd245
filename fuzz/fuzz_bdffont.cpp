// libFuzzer harness of the BDF font reader: each input is read as a font file and a few texts
// are laid out with it both ways up. Sanitizers catch what goes wrong inside; the checks here
// catch layouts outside the text coordinates.

#include "bdffont.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// The reader takes a path, so every input goes through the same file, one per fuzzing process.
const QString& inputPath()
{
    static const QString path = [] {
        std::atexit([] { QFile::remove(inputPath()); });
        return QDir::temp().filePath(QStringLiteral("fuzz_bdffont-%1.bdf").arg(getpid()));
    }();
    return path;
}

const QVector<QString>& texts()
{
    static const QVector<QString> list = [] {
        QString everyLatin1;
        for (int u = 0; u < 256; ++u)
            everyLatin1.append(QChar(u));
        return QVector<QString>{QStringLiteral("A"), QStringLiteral("Rimglow spins!"), everyLatin1,
                                QString(QChar(0xFFFF)) + QChar(0xD83D) + QChar(0xDEB2)};
    }();
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QFile file(inputPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    const BDFfont font(inputPath());
    for (const QString& text : texts()) {
        for (const QPoint& p : font.text(text, false))
            if (p.x() < 0 || p.y() < 0)
                std::abort();
        for (const QPoint& p : font.text(text, true))
            if (p.x() > 0 || p.y() < 0)
                std::abort();
    }
    return 0;
}
