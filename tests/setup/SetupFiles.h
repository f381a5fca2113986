#pragma once
// Real files for the installer's tests: writing one with its folders, and reading a whole
// tree back as sorted relative paths.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>

namespace SetupFiles {

inline void Write(const QString& path, const QByteArray& data = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// Every file and folder below root, as sorted relative paths ("dir/" for folders).
inline QStringList Tree(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = QDir(root).relativeFilePath(it.filePath());
        entries << (it.fileInfo().isDir() && !it.fileInfo().isSymLink() ? relative + u'/' : relative);
    }
    entries.sort();
    return entries;
}

} // namespace SetupFiles
