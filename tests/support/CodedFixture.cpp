#include "CodedFixture.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "SafeFile.h"
#include "VmqEncoder.h"

void WriteCodedFile(const QString& path, const QStringList& lines, const QString& tag)
{
    const QString native = SafeFile::Native(path);
    const QString chosen = tag.isEmpty() ? Vmq::TagForPath(native) : tag;
    ASSERT_FALSE(chosen.isEmpty()) << "no tag for " << native.toStdString();
    QString error;
    const auto coded = Vmq::EncodeLines(lines, chosen, {}, &error);
    ASSERT_TRUE(coded.has_value()) << error.toStdString();
    QDir().mkpath(QFileInfo(native).absolutePath());
    ASSERT_TRUE(SafeFile::WriteAll(native, *coded));
}
