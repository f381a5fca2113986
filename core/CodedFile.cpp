#include "CodedFile.h"

#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>
#include <string>
#include <unistd.h>

#include "AppState.h"
#include "Clock.h"
#include "CodeTables.h"
#include "MsgBox.h"
#include "SafeFile.h"

namespace {
qint16 Field(const char* record, int index) { return qFromLittleEndian<qint16>(record + 2 * index); }
} // namespace

// Decodes records into a CodedText as they come, block by block, so that a reading can stop
// as soon as its last line is complete.
class CodedDecoder {
public:
    CodedDecoder(const QString& tag, qint16 stopAt, CodedText& text)
        : m_stopAt(stopAt)
        , m_text(text)
    {
        text.Clear();
        const std::optional<CodeTable> table = TableForTag(tag);
        // Without a table every enciphered record is a miss: an array of misses answers them.
        static const qint16 noTable[65536] = {};
        m_map = table ? DecodeArray(*table) : noTable;
    }

    // True once every line wanted is complete: nothing more needs to be read.
    bool Done() const { return m_done; }
    // Counts bytes taken in from the file.
    void TookIn(qint64 bytes) { m_text.m_bytesRead += bytes; }

    // Decodes the whole records of block (a tail of 1 to 5 bytes is left to the caller) up to
    // the last line wanted. False, with no lines, for a record whose parts overflow.
    bool Feed(QByteArrayView block)
    {
        const qsizetype count = block.size() / kCodedRecordSize;
        // Room for one unit per record of the block: no record adds more, except a run of
        // blanks, which makes room for itself.
        Reserve(count);
        const char* record = block.data();
        const char* const end = record + count * kCodedRecordSize;
        const qint16* const map = m_map;
        while (record != end && !m_done) {
            // The common record (a unit above 13) is stored here with the output in locals; any
            // other goes through the members, and the locals are taken up again after it. Only a
            // line end can complete the lines wanted: the common records need no check.
            char16_t* const out = m_text.m_text.data();
            const qsizetype lineFull = m_lineStart + kMaxCodedLineLength;
            qsizetype used = m_used;
            char16_t unit = 0;
            for (; record != end; record += kCodedRecordSize) {
                const int sum = int{Field(record, 1)} + int{Field(record, 2)};
                if (sum != static_cast<qint16>(sum)) {
                    // No well-formed file holds such a record: the file is damaged.
                    m_text.m_ends.clear();
                    return false;
                }
                const char16_t plain = static_cast<char16_t>(sum);
                unit = Field(record, 0) < 0 ? static_cast<char16_t>(map[plain]) : plain;
                if (unit <= 13)
                    break;
                // Room was made for one unit per record, so the store is always in bounds; a
                // unit beyond a full line is not counted.
                out[used] = unit;
                used += used < lineFull;
            }
            m_used = used;
            if (record == end)
                break;
            switch (unit) {
            case 0:
                AppendBlanks((end - record) / kCodedRecordSize);
                break;
            case 10:
                EndLine();
                break;
            case 13:
                break;
            default:
                Put(unit);
                break;
            }
            record += kCodedRecordSize;
        }
        return true;
    }

    // A last line without a line end is kept too; a large buffer left by an earlier file is
    // given back.
    void Finish()
    {
        if (!m_done && m_used > m_lineStart)
            EndLine();
        std::u16string& out = m_text.m_text;
        if (out.size() > static_cast<size_t>(m_used) + kCodedReadBlock) {
            out.resize(static_cast<size_t>(m_used));
            out.shrink_to_fit();
        }
    }

private:
    void Reserve(qsizetype more)
    {
        std::u16string& out = m_text.m_text;
        const qsizetype size = static_cast<qsizetype>(out.size());
        if (size < m_used + more)
            out.resize(static_cast<size_t>(std::max(m_used + more, 2 * size)));
    }

    void Put(char16_t unit)
    {
        if (m_used - m_lineStart < kMaxCodedLineLength)
            m_text.m_text[static_cast<size_t>(m_used++)] = unit;
    }

    // A run of 0 to 99 blanks from the program's random source (seeded at the first run the
    // program reads); a line already full draws nothing.
    void AppendBlanks(qsizetype recordsLeft)
    {
        const qsizetype room = kMaxCodedLineLength - (m_used - m_lineStart);
        if (room <= 0)
            return;
        if (!m_seeded) {
            Random::Randomize();
            m_seeded = true;
        }
        const qsizetype blanks = std::min<qsizetype>(static_cast<qsizetype>(std::floor(100.0 * Random::Rnd())), room);
        Reserve(blanks + recordsLeft);
        std::fill_n(m_text.m_text.begin() + m_used, blanks, u' ');
        m_used += blanks;
    }

    void EndLine()
    {
        m_text.m_ends.push_back(m_used);
        m_lineStart = m_used;
        const qsizetype lines = m_text.LineCount();
        m_done = lines == kMaxCodedLines || (m_stopAt >= 1 && lines == m_stopAt);
    }

    const qint16* m_map{nullptr};
    qint16 m_stopAt;
    CodedText& m_text;
    qsizetype m_used{0};
    qsizetype m_lineStart{0};
    bool m_seeded{false};
    bool m_done{false};
};

QStringView CodedText::Line(qsizetype i) const
{
    const qsizetype start = i == 0 ? 0 : m_ends[static_cast<size_t>(i - 1)];
    return QStringView(m_text.data() + start, m_ends[static_cast<size_t>(i)] - start);
}

bool DecodeCodedRecords(QByteArrayView data, const QString& tag, qint16 stopAt, CodedText& text)
{
    CodedDecoder decoder(tag, stopAt, text);
    decoder.TookIn(data.size());
    if (!decoder.Feed(data))
        return false;
    decoder.Finish();
    return true;
}

namespace {
// A course file opened for reading with plain system calls: loading the course opens
// hundreds of small files, and QFile adds two status calls and a last empty read to each.
// Only a regular file opens: a FIFO or a device in its place would hold the window.
class CourseFile {
public:
    explicit CourseFile(const QString& path)
        : m_fd(SafeFile::OpenRegular(path, nullptr, &m_size))
    {
    }
    ~CourseFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CourseFile(const CourseFile&) = delete;
    CourseFile& operator=(const CourseFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    qint64 Size() const { return m_size; }
    // Up to size bytes; 0 at the end of the file, -1 when it cannot be read.
    qint64 Read(char* data, qint64 size)
    {
        for (;;) {
            const ssize_t got = ::read(m_fd, data, static_cast<size_t>(size));
            if (got >= 0 || errno != EINTR)
                return got;
        }
    }

private:
    qint64 m_size{0}; // before m_fd, whose open fills it
    int m_fd;
};

// One block buffer for every file: loading the course reads hundreds of them.
QByteArray& Block()
{
    static QByteArray block(kCodedReadBlock, Qt::Uninitialized);
    return block;
}

// Decodes the file into text block by block, up to the last line wanted, starting with the
// got bytes already read into the block; false (no lines) when it cannot be read or does not
// decode.
bool ReadBlocks(CourseFile& file, qint64 got, const QString& tag, qint16 stopAt, CodedText& text)
{
    CodedDecoder decoder(tag, stopAt, text);
    QByteArray& block = Block();
    qsizetype held = 0; // bytes of an unfinished record carried over from the last block
    for (;;) {
        if (got < 0) {
            text.Clear();
            return false;
        }
        if (got == 0)
            break;
        decoder.TookIn(got);
        const qsizetype have = held + got;
        const qsizetype whole = have - have % kCodedRecordSize;
        if (!decoder.Feed(QByteArrayView(block.constData(), whole)))
            return false;
        held = have - whole;
        std::copy_n(block.constData() + whole, held, block.data());
        if (decoder.Done())
            break;
        got = file.Read(block.data() + held, block.size() - held);
    }
    decoder.Finish();
    return true;
}

// What a reading leaves before it reads: no lines anywhere.
void EmptyLines(CodedText& text)
{
    AppState& s = State();
    s.LineBuffer.clear();
    s.LineCount = 0;
    text.Clear();
}

void ReportCorrupted(const QString& path)
{
    MsgBox::Warning(QStringLiteral("The file ") + path + QStringLiteral(" is corrupted!"));
}

// Reads the file at path into text, emptying LineBuffer and setting LineCount. A file that
// cannot be read, or that does not decode, is reported and yields no lines. False for a file
// that cannot be opened, or a folder (which opens, then refuses to be read), with nothing
// emptied or reported: the caller decides.
bool ReadCourseFile(const QString& path, const QString& tag, qint16 stopAt, CodedText& text)
{
    CourseFile file(path);
    if (!file.IsOpen())
        return false;
    if (file.Size() > kMaxCodedFileBytes) {
        // No course file comes near: reading it whole would hold the start for as long as it takes.
        EmptyLines(text);
        ReportCorrupted(path);
        return true;
    }
    QByteArray& block = Block();
    const qint64 got = file.Read(block.data(), block.size());
    if (got < 0 && errno == EISDIR)
        return false;
    EmptyLines(text);
    if (ReadBlocks(file, got, tag, stopAt, text))
        State().LineCount = static_cast<qint16>(text.LineCount());
    else
        ReportCorrupted(path);
    return true;
}

// A file that could not be opened: reported, with no lines.
void ReportUnopened(const QString& path, CodedText& text)
{
    EmptyLines(text);
    ReportCorrupted(path);
}
} // namespace

void ReadCodedLines(const QString& path, const QString& tag, qint16 stopAt)
{
    static CodedText text;
    // Callers check that the file exists: one that cannot be opened is reported.
    if (!ReadCourseFile(path, tag, stopAt, text))
        ReportUnopened(path, text);
    QStringList& lines = State().LineBuffer;
    lines.reserve(text.LineCount());
    for (qsizetype i = 0; i < text.LineCount(); ++i)
        lines.append(text.Line(i).toString());
}

bool ReadCodedText(const QString& path, const QString& tag, qint16 stopAt, CodedText& text)
{
    if (ReadCourseFile(path, tag, stopAt, text))
        return true;
    // Only a failed open needs to know whether there is a file at all.
    if (!QFileInfo(SafeFile::Native(path)).isFile())
        return false;
    ReportUnopened(path, text);
    return true;
}
