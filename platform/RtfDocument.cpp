#include "RtfDocument.h"

#include "CodePage.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>

namespace {

constexpr int MaxGroupDepth = 1024;   // deeper groups are counted, not stored
constexpr int MaxParameter = 1 << 24; // numbers are capped here while they are read
constexpr int MaxControlWord = 32;    // letters beyond this are read and dropped
constexpr int MaxFonts = 1024;        // font table entries beyond this are dropped
constexpr int MaxColors = 1024;       // colour table entries beyond this are dropped

enum class Destination { Text, FontTable, ColorTable, Skip };

struct GroupState {
    RtfCharFormat format;
    bool fontChosen{false}; // a \f word (or \plain) has chosen the font in this group
    RtfAlignment alignment{RtfAlignment::Left};
    int unicodeSkip{1};
    Destination destination{Destination::Text};
};

struct FontEntry {
    QString name;
    int charset{-1};
};

// Destinations whose text is not part of the document.
const QSet<QByteArray>& SkippedDestinations()
{
    static const QSet<QByteArray> names = {
        "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer",
        "footerl", "footerr", "footerf", "footnote", "fldinst", "listtable", "listoverridetable",
        "revtbl", "rsidtbl", "xmlnstbl", "themedata", "colorschememapping", "datastore",
        "latentstyles", "generator", "bkmkstart", "bkmkend", "filetbl", "pgdsctbl", "nonshppict",
        "shp", "shpinst", "annotation", "atnid", "atnauthor", "comment", "title", "author",
        "operator", "keywords", "subject", "doccomm", "company", "template", "mmathPr", "wgrffmtfilter",
    };
    return names;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}

    RtfContent Run()
    {
        m_stack.push_back(GroupState{});
        while (m_pos < m_data.size() && !m_content.truncated) {
            const char c = m_data.at(m_pos++);
            switch (c) {
            case '{':
                OpenGroup();
                break;
            case '}':
                CloseGroup();
                break;
            case '\\':
                ControlWord();
                break;
            case '\r':
            case '\n':
                break;
            case '\t':
                TextByte('\t');
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20)
                    TextByte(c);
                break;
            }
        }
        FlushBytes();
        return m_content;
    }

private:
    GroupState& State() { return m_stack.back(); }

    void OpenGroup()
    {
        FlushBytes();
        m_skipChars = 0;
        if (m_stack.size() >= MaxGroupDepth) {
            ++m_overflowDepth;
            return;
        }
        GroupState inner = m_stack.back();
        m_stack.push_back(std::move(inner));
    }

    void CloseGroup()
    {
        FlushBytes();
        m_skipChars = 0;
        if (m_overflowDepth > 0) {
            --m_overflowDepth;
            return;
        }
        if (m_stack.size() <= 1)
            return; // a stray closing brace
        const Destination closed = State().destination;
        if (closed == Destination::FontTable)
            CommitFont();
        m_stack.pop_back();
        // Once the font table is known, text that has not chosen a font is in the default one.
        if (closed == Destination::FontTable && State().destination == Destination::Text && !State().fontChosen)
            SelectFont(m_defaultFont);
    }

    void ControlWord()
    {
        if (m_pos >= m_data.size())
            return; // a lone backslash at the end
        const char c = m_data.at(m_pos);
        if (!IsLetter(c)) {
            ++m_pos;
            ControlSymbol(c);
            return;
        }
        QByteArray word;
        while (m_pos < m_data.size() && IsLetter(m_data.at(m_pos))) {
            if (word.size() < MaxControlWord)
                word += m_data.at(m_pos);
            ++m_pos;
        }
        bool hasParam = false;
        bool negative = false;
        int param = 0;
        if (m_pos < m_data.size() && m_data.at(m_pos) == '-' && m_pos + 1 < m_data.size() && IsDigit(m_data.at(m_pos + 1))) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_data.size() && IsDigit(m_data.at(m_pos))) {
            hasParam = true;
            if (param < MaxParameter)
                param = param * 10 + (m_data.at(m_pos) - '0');
            ++m_pos;
        }
        if (negative)
            param = -param;
        if (m_pos < m_data.size() && m_data.at(m_pos) == ' ')
            ++m_pos; // the delimiting blank belongs to the control word
        Apply(word, hasParam, param);
    }

    void ControlSymbol(char c)
    {
        switch (c) {
        case '\'': {
            if (m_pos + 1 < m_data.size() && IsHexDigit(m_data.at(m_pos)) && IsHexDigit(m_data.at(m_pos + 1))) {
                const char byte = static_cast<char>(HexValue(m_data.at(m_pos)) << 4 | HexValue(m_data.at(m_pos + 1)));
                m_pos += 2;
                TextByte(byte, true);
            } else {
                // A truncated escape: drop it and whatever hex digit it had.
                while (m_pos < m_data.size() && IsHexDigit(m_data.at(m_pos)))
                    ++m_pos;
            }
            break;
        }
        case '\\':
        case '{':
        case '}':
            TextByte(c);
            break;
        case '~':
            TextChar(QChar(0x00A0));
            break;
        case '_':
            TextChar(QLatin1Char('-'));
            break;
        case '*':
            if (State().destination == Destination::Text || State().destination == Destination::FontTable)
                SetDestination(Destination::Skip);
            break;
        case '\r':
        case '\n':
            ParagraphEnd();
            break;
        default:
            break; // \- (optional hyphen), \: and unknown symbols show nothing
        }
    }

    void SetDestination(Destination d)
    {
        FlushBytes();
        State().destination = d;
    }

    void Apply(const QByteArray& word, bool hasParam, int param)
    {
        if (word == "bin") {
            // Raw binary data of that many bytes follows, in any destination: never text.
            FlushBytes();
            m_pos += std::min<qsizetype>(std::max(param, 0), m_data.size() - m_pos);
            m_skipChars = 0;
            return;
        }
        GroupState& s = State();
        if (s.destination == Destination::Skip)
            return;
        if (s.destination == Destination::FontTable) {
            FontTableWord(word, hasParam, param);
            return;
        }
        if (s.destination == Destination::ColorTable) {
            const int value = std::clamp(param, 0, 255);
            if (word == "red")
                m_color.setRed(value);
            else if (word == "green")
                m_color.setGreen(value);
            else if (word == "blue")
                m_color.setBlue(value);
            else
                return;
            m_colorSet = true;
            return;
        }
        if (word == "fonttbl") {
            SetDestination(Destination::FontTable);
            m_fontNumber = -1;
            m_fontName.clear();
            m_fontCharset = -1;
        } else if (word == "colortbl") {
            SetDestination(Destination::ColorTable);
            m_colors.clear();
            m_color = QColor(0, 0, 0);
            m_colorSet = false;
        } else if (SkippedDestinations().contains(word)) {
            SetDestination(Destination::Skip);
        } else if (word == "u") {
            int unit = param;
            if (unit < 0)
                unit += 65536;
            if (unit >= 0x20 && unit <= 0xFFFF)
                TextChar(QChar(static_cast<char16_t>(unit)));
            m_skipChars = s.unicodeSkip;
            return; // the fallback count starts after this word
        } else {
            FormatWord(word, hasParam, param);
        }
        m_skipChars = 0;
    }

    void FormatWord(const QByteArray& word, bool hasParam, int param)
    {
        GroupState& s = State();
        const bool on = !hasParam || param != 0;
        auto change = [&](auto&& edit) {
            FlushBytes();
            edit(s.format);
        };
        if (word == "par" || word == "page" || word == "row" || word == "sect") {
            ParagraphEnd();
        } else if (word == "line") {
            TextChar(QChar::LineSeparator);
        } else if (word == "tab" || word == "cell") {
            TextChar(QLatin1Char('\t'));
        } else if (word == "f") {
            FlushBytes();
            s.fontChosen = true;
            SelectFont(param);
        } else if (word == "fs") {
            change([&](RtfCharFormat& f) { f.pointSize = !hasParam ? 12.0 : param <= 0 ? 0.0 : std::clamp(param, 2, 3276) / 2.0; });
        } else if (word == "cf") {
            change([&](RtfCharFormat& f) { f.color = ColorAt(param); });
        } else if (word == "b") {
            change([&](RtfCharFormat& f) { f.bold = on; });
        } else if (word == "i") {
            change([&](RtfCharFormat& f) { f.italic = on; });
        } else if (word == "ul") {
            change([&](RtfCharFormat& f) { f.underline = on; });
        } else if (word == "ulnone") {
            change([&](RtfCharFormat& f) { f.underline = false; });
        } else if (word == "plain") {
            change([&](RtfCharFormat& f) { f = RtfCharFormat{}; });
            s.fontChosen = true;
            SelectFont(m_defaultFont);
        } else if (word == "pard" || word == "ql") {
            s.alignment = RtfAlignment::Left;
        } else if (word == "qc") {
            s.alignment = RtfAlignment::Center;
        } else if (word == "qr") {
            s.alignment = RtfAlignment::Right;
        } else if (word == "qj") {
            s.alignment = RtfAlignment::Justify;
        } else if (word == "uc") {
            s.unicodeSkip = std::clamp(param, 0, 16);
        } else if (word == "deff") {
            m_defaultFont = param;
        } else if (word == "ansicpg") {
            m_codePage = param;
        } else if (word == "emdash") {
            TextChar(QChar(0x2014));
        } else if (word == "endash") {
            TextChar(QChar(0x2013));
        } else if (word == "bullet") {
            TextChar(QChar(0x2022));
        } else if (word == "lquote") {
            TextChar(QChar(0x2018));
        } else if (word == "rquote") {
            TextChar(QChar(0x2019));
        } else if (word == "ldblquote") {
            TextChar(QChar(0x201C));
        } else if (word == "rdblquote") {
            TextChar(QChar(0x201D));
        } else if (word == "emspace" || word == "enspace" || word == "qmspace") {
            TextChar(QLatin1Char(' '));
        }
    }

    void FontTableWord(const QByteArray& word, bool hasParam, int param)
    {
        if (word == "f" && hasParam) {
            CommitFont();
            m_fontNumber = param;
        } else if (word == "fcharset") {
            m_fontCharset = param;
        }
    }

    void CommitFont()
    {
        if (m_fontNumber >= 0) {
            bool decoded = false;
            QString name = CodePage::FromGbk(m_fontName, &decoded);
            if (!decoded)
                name.clear();
            name.removeIf([](QChar c) { return c.unicode() < 0x20; });
            name = name.trimmed();
            // A font without a usable name is no font: its text takes the default one.
            if (!name.isEmpty() && !m_fonts.contains(m_fontNumber) && m_fonts.size() < MaxFonts)
                m_fonts.insert(m_fontNumber, FontEntry{name, m_fontCharset});
        }
        m_fontNumber = -1;
        m_fontName.clear();
        m_fontCharset = -1;
    }

    void SelectFont(int number)
    {
        const auto it = m_fonts.constFind(number);
        if (it == m_fonts.constEnd()) {
            State().format.fontName.clear();
            State().format.fontCharset = -1;
        } else {
            State().format.fontName = it->name;
            State().format.fontCharset = it->charset;
        }
    }

    QColor ColorAt(int index) const
    {
        if (index < 1 || index >= m_colors.size())
            return QColor();
        return m_colors.at(index);
    }

    void TextByte(char byte, bool escaped = false)
    {
        GroupState& s = State();
        switch (s.destination) {
        case Destination::Skip:
            return;
        case Destination::FontTable:
            if (byte == ';' && !escaped)
                CommitFont();
            else if (m_fontName.size() < 256)
                m_fontName += byte;
            return;
        case Destination::ColorTable:
            if (byte == ';') {
                if (m_colors.size() < MaxColors)
                    m_colors.push_back(m_colorSet ? m_color : QColor());
                m_color = QColor(0, 0, 0);
                m_colorSet = false;
            }
            return;
        case Destination::Text:
            break;
        }
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        if (m_bytes.isEmpty())
            m_bytesFormat = s.format;
        m_bytes += byte;
        m_content.finalAlignment = s.alignment;
    }

    void TextChar(QChar c)
    {
        if (State().destination != Destination::Text)
            return;
        FlushBytes();
        AppendText(QString(c), State().format);
        m_content.finalAlignment = State().alignment;
    }

    void FlushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        // Code page 936 unless the document declares another one and the font is not Chinese.
        // ASCII and 936's own codes go by table: a converter for each run costs more than the
        // run (a text of many short lines is as many runs).
        const bool latin = m_codePage != 0 && m_codePage != 936 && m_bytesFormat.fontCharset != 134;
        const bool ascii =
            std::all_of(m_bytes.cbegin(), m_bytes.cend(), [](char b) { return static_cast<unsigned char>(b) < 0x80; });
        if (latin || ascii)
            AppendText(QString::fromLatin1(m_bytes), m_bytesFormat);
        else if (const std::optional<QString> text = CodePage::From936(m_bytes))
            AppendText(*text, m_bytesFormat);
        else {
            bool decoded = false;
            AppendText(CodePage::FromGbk(m_bytes, &decoded), m_bytesFormat);
            m_content.undecodable |= !decoded;
        }
        m_bytes.clear();
    }

    // Room for one more piece; without it the document ends here.
    bool TakePiece()
    {
        if (m_content.pieces.size() < Rtf::MaxPieces)
            return true;
        m_content.truncated = true;
        return false;
    }

    // Text of a run. The characters the box starts a paragraph at (CR LF, CR, LF, U+2029,
    // U+FDD0, U+FDD1, as Rtf::FromPlainText) end a paragraph here, so the pieces count what the
    // box will hold and save.
    void AppendText(const QString& text, const RtfCharFormat& format)
    {
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            if (c != u'\r' && c != u'\n' && c != QChar::ParagraphSeparator && c != 0xFDD0 && c != 0xFDD1)
                continue;
            AppendRun(QStringView(text).mid(start, i - start), format);
            // A CR LF pair is one break, also when the two came one escape at a time.
            if (!(c == u'\n' && m_afterCr && i == start))
                EndParagraph(format);
            m_afterCr = c == u'\r';
            start = i + 1;
        }
        AppendRun(QStringView(text).mid(start), format);
    }

    void AppendRun(QStringView text, const RtfCharFormat& format)
    {
        if (text.isEmpty() || m_content.truncated)
            return;
        m_afterCr = false;
        auto& pieces = m_content.pieces;
        if (!pieces.isEmpty() && pieces.back().kind == RtfPiece::Text && pieces.back().format == format) {
            pieces.back().text += text;
            return;
        }
        if (!TakePiece())
            return;
        RtfPiece piece;
        piece.kind = RtfPiece::Text;
        piece.text = text.toString();
        piece.format = format;
        pieces.push_back(piece);
    }

    void ParagraphEnd()
    {
        if (State().destination != Destination::Text)
            return;
        FlushBytes();
        m_afterCr = false;
        EndParagraph(State().format);
    }

    void EndParagraph(const RtfCharFormat& format)
    {
        if (m_content.truncated || !TakePiece())
            return;
        RtfPiece piece;
        piece.kind = RtfPiece::ParagraphEnd;
        piece.format = format;
        piece.alignment = State().alignment;
        m_content.pieces.push_back(piece);
        m_content.finalAlignment = State().alignment;
    }

    const QByteArray& m_data;
    qsizetype m_pos{0};
    std::vector<GroupState> m_stack;
    int m_overflowDepth{0};
    int m_skipChars{0};
    int m_defaultFont{0};
    int m_codePage{0};
    QHash<int, FontEntry> m_fonts;
    int m_fontNumber{-1};
    QByteArray m_fontName;
    int m_fontCharset{-1};
    QVector<QColor> m_colors;
    QColor m_color;
    bool m_colorSet{false};
    QByteArray m_bytes;
    RtfCharFormat m_bytesFormat;
    bool m_afterCr{false}; // the last thing read was a CR that ended a paragraph
    RtfContent m_content;
};

// ---- writing ----

// \'hh, lower-case hex: one call per character of a long text, so no formatting.
void AppendHexByte(QString& out, unsigned byte)
{
    static constexpr char digits[] = "0123456789abcdef";
    out += QLatin1String("\\'");
    out += QLatin1Char(digits[byte >> 4 & 0xF]);
    out += QLatin1Char(digits[byte & 0xF]);
}

QString EncodeText(const QString& text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += QLatin1Char('\\');
            out += c;
        } else if (u == '\t') {
            out += QStringLiteral("\\tab ");
        } else if (u == 0x2028) {
            out += QStringLiteral("\\line ");
        } else if (u >= 0x20 && u < 0x80) {
            out += c;
        } else if (u < 0x20 || u == 0xFFFC) {
            continue; // control characters and embedded objects are not saved
        } else if (CodePage::IsDoubleByte(c)) {
            const auto code = static_cast<quint16>(CodePage::AnsiCode(c));
            AppendHexByte(out, code >> 8);
            AppendHexByte(out, code & 0xFF);
        } else if (CodePage::InCodePage(c)) { // 936's one single byte above ASCII: the euro sign
            AppendHexByte(out, static_cast<quint16>(CodePage::AnsiCode(c)));
        } else {
            out += QLatin1String("\\u");
            out += QString::number(static_cast<qint16>(u));
            out += QLatin1Char('?');
        }
    }
    return out;
}

QString EncodeFontName(const QString& name)
{
    QString encoded = EncodeText(name);
    encoded.remove(QLatin1Char(';'));
    return encoded;
}

int CharsetFor(const QString& name, int known)
{
    if (known >= 0)
        return known;
    for (const QChar c : name)
        if (c.unicode() >= 0x80)
            return 134;
    return 0;
}

QString AlignmentWord(RtfAlignment a)
{
    switch (a) {
    case RtfAlignment::Center:
        return QStringLiteral("\\qc");
    case RtfAlignment::Right:
        return QStringLiteral("\\qr");
    case RtfAlignment::Justify:
        return QStringLiteral("\\qj");
    case RtfAlignment::Left:
        break;
    }
    return QString();
}

} // namespace

namespace Rtf {

bool LooksLikeRtf(const QByteArray& data)
{
    qsizetype i = 0;
    while (i < data.size() && (data.at(i) == ' ' || data.at(i) == '\r' || data.at(i) == '\n' || data.at(i) == '\t'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

RtfContent Read(const QByteArray& data) { return Reader(data).Run(); }

RtfContent Read(const QString& rtf) { return Read(CodePage::ToGbk(rtf)); }

RtfContent FromPlainText(const QString& text, const RtfCharFormat& format)
{
    RtfContent content;
    auto endLine = [&](qsizetype from, qsizetype to) {
        if (to == from)
            return;
        RtfPiece run{RtfPiece::Text, text.mid(from, to - from), format, RtfAlignment::Left};
        run.text.replace(QLatin1Char('\v'), QChar::LineSeparator);
        content.pieces.push_back(std::move(run));
    };
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c != '\r' && c != '\n' && c != QChar::ParagraphSeparator && c != 0xFDD0 && c != 0xFDD1)
            continue;
        endLine(lineStart, i);
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        content.pieces.push_back(RtfPiece{RtfPiece::ParagraphEnd, {}, format, RtfAlignment::Left});
        lineStart = i + 1;
    }
    endLine(lineStart, text.size());
    return content;
}

QString Write(const QVector<RtfPiece>& pieces, const QString& defaultFontName, double defaultPointSize)
{
    // Font 0 is the box's default font; colour 0 the default colour.
    QVector<FontEntry> fonts{FontEntry{defaultFontName, CharsetFor(defaultFontName, -1)}};
    QVector<QColor> colors;
    auto fontIndex = [&](const RtfCharFormat& f) {
        if (f.fontName.isEmpty())
            return 0;
        for (int i = 0; i < fonts.size(); ++i)
            if (fonts[i].name == f.fontName)
                return i;
        fonts.push_back(FontEntry{f.fontName, CharsetFor(f.fontName, f.fontCharset)});
        return static_cast<int>(fonts.size() - 1);
    };
    auto colorIndex = [&](const QColor& c) {
        if (!c.isValid())
            return 0;
        const QRgb rgb = c.rgb();
        for (int i = 0; i < colors.size(); ++i)
            if (colors[i].rgb() == rgb)
                return i + 1;
        colors.push_back(QColor(rgb));
        return static_cast<int>(colors.size());
    };
    for (const RtfPiece& p : pieces) {
        fontIndex(p.format);
        colorIndex(p.format.color);
    }

    // Each paragraph's alignment stands on its end; the last one may have none.
    QVector<RtfAlignment> paragraphAlignment;
    for (const RtfPiece& p : pieces)
        if (p.kind == RtfPiece::ParagraphEnd)
            paragraphAlignment.push_back(p.alignment);

    QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl");
    for (int i = 0; i < fonts.size(); ++i)
        out += QStringLiteral("{\\f%1\\fnil\\fcharset%2 %3;}").arg(i).arg(fonts[i].charset).arg(EncodeFontName(fonts[i].name));
    out += QStringLiteral("}{\\colortbl ;");
    for (const QColor& c : colors)
        out += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
    out += QStringLiteral("}\r\n\\viewkind4\\uc1\\pard\\lang2052");

    const int defaultHalfPoints = qRound(std::clamp(defaultPointSize, 1.0, 1638.0) * 2);
    int font = 0;
    int halfPoints = -1;
    int color = 0;
    bool bold = false, italic = false, underline = false;
    int paragraph = 0;
    RtfAlignment alignment = RtfAlignment::Left;
    auto startParagraph = [&]() {
        const RtfAlignment wanted = paragraph < paragraphAlignment.size() ? paragraphAlignment[paragraph] : RtfAlignment::Left;
        if (wanted != alignment) {
            out += QStringLiteral("\\pard") + AlignmentWord(wanted) + QLatin1Char(' ');
            alignment = wanted;
        }
    };
    auto setFormat = [&](const RtfCharFormat& f) {
        QString words;
        const int wantFont = fontIndex(f);
        const int wantSize = f.pointSize > 0 ? qRound(f.pointSize * 2) : defaultHalfPoints;
        const int wantColor = colorIndex(f.color);
        if (wantFont != font || halfPoints < 0)
            words += QStringLiteral("\\f%1").arg(font = wantFont);
        if (wantSize != halfPoints)
            words += QStringLiteral("\\fs%1").arg(halfPoints = wantSize);
        if (wantColor != color)
            words += QStringLiteral("\\cf%1").arg(color = wantColor);
        if (f.bold != bold)
            words += (bold = f.bold) ? QStringLiteral("\\b") : QStringLiteral("\\b0");
        if (f.italic != italic)
            words += (italic = f.italic) ? QStringLiteral("\\i") : QStringLiteral("\\i0");
        if (f.underline != underline)
            words += (underline = f.underline) ? QStringLiteral("\\ul") : QStringLiteral("\\ulnone");
        if (!words.isEmpty())
            out += words + QLatin1Char(' ');
    };

    bool atParagraphStart = true;
    for (const RtfPiece& p : pieces) {
        if (atParagraphStart) {
            startParagraph();
            atParagraphStart = false;
        }
        setFormat(p.format);
        if (p.kind == RtfPiece::Text) {
            out += EncodeText(p.text);
        } else {
            out += QStringLiteral("\\par\r\n");
            ++paragraph;
            atParagraphStart = true;
        }
    }
    out += QStringLiteral("}\r\n");
    return out;
}

} // namespace Rtf
