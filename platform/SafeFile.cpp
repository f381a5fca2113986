#include "SafeFile.h"

#include <QFile>
#include <QSaveFile>

#include "CodePage.h"

namespace SafeFile {

QString Native(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

bool WriteAll(const QString& path, const QByteArray& data)
{
    QSaveFile f(Native(path));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // A short write (disk full, file size limit) shows only in flush(): QSaveFile::commit()
    // would still rename the truncated file over the old one.
    if (f.write(data) != data.size() || !f.flush()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

QByteArray ReadRecord(const QString& path, int recordLength, int recordNumber)
{
    QByteArray rec(recordLength, '\0');
    QFile f(Native(path));
    if (recordNumber < 1 || !f.open(QIODevice::ReadOnly))
        return rec;
    if (!f.seek(static_cast<qint64>(recordLength) * (recordNumber - 1)))
        return rec;
    const QByteArray got = f.read(recordLength);
    for (int i = 0; i < got.size(); ++i)
        rec[i] = got[i];
    return rec;
}

bool WriteRecord(const QString& path, int recordLength, int recordNumber, const QByteArray& record)
{
    if (recordNumber < 1)
        return false;
    QByteArray data;
    QFile f(Native(path));
    if (f.exists()) {
        if (!f.open(QIODevice::ReadOnly))
            return false;
        data = f.readAll();
        f.close();
    }
    const qint64 offset = static_cast<qint64>(recordLength) * (recordNumber - 1);
    if (data.size() < offset + recordLength)
        data.append(QByteArray(offset + recordLength - data.size(), '\0'));
    QByteArray rec = record.left(recordLength);
    rec.append(QByteArray(recordLength - rec.size(), '\0'));
    data.replace(offset, recordLength, rec);
    return WriteAll(path, data);
}

QStringList ReadTextLines(const QString& path, bool* ok)
{
    QFile f(Native(path));
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;
    const QString text = CodePage::FromGbk(f.readAll());
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // a final line break ends the last line; it starts no new one
    return lines;
}

bool WriteTextLines(const QString& path, const QStringList& lines)
{
    QByteArray data;
    for (const QString& l : lines) {
        data += CodePage::ToGbk(l);
        data += "\r\n";
    }
    return WriteAll(path, data);
}

} // namespace SafeFile
