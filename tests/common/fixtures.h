#ifndef FIXTURES_H
#define FIXTURES_H

#include <QDir>
#include <QDirIterator>
#include <QTest>

// Adds a test row for every file in tests/fixtures/<folder> and its subfolders: the inputs that the
// fuzzer or a bug report found, so adding a case is dropping in a file. The row's column "path"
// holds the file's path; an empty folder gives a row with an empty path, which the test must
// refuse.
inline void addFixtureRows(const QString& folder)
{
    QTest::addColumn<QString>("path");
    const QDir top(QStringLiteral(RIMGLOW_FIXTURES "/") + folder);
    QStringList paths;
    QDirIterator files(top.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        paths << files.next();
    paths.sort();
    for (const QString& path : paths)
        QTest::newRow(qPrintable(folder + '/' + top.relativeFilePath(path))) << path;
    if (paths.isEmpty())
        QTest::newRow(qPrintable(folder + " is empty")) << QString();
}

#endif
