#include "Module3Rtf.h"

#include "CodePage.h"

namespace {

QString HexByte(int byte) { return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

// \'hh\'ll of a two-byte character.
QString TwoByteEscapes(QChar c)
{
    const auto code = static_cast<quint16>(CodePage::AnsiCode(c));
    return QStringLiteral("\\'") + HexByte(code >> 8) + QStringLiteral("\\'") + HexByte(code);
}

QString Blanks(int count) { return QString(qMax(0, count), QLatin1Char(' ')); }

// Font entries of the one-style documents, as written in their font tables.
struct RtfFont {
    const char* name;
    int charset;
};
constexpr RtfFont Roman{"Times New Roman", 0};
constexpr RtfFont Sans{"Microsoft Sans Serif", 0};
constexpr RtfFont Song{"\\'cb\\'ce\\'cc\\'e5", 134};

struct OneStyle {
    RtfFont font0;
    RtfFont font1;
    int red, green, blue;
    const char* opening;
    int fontMode;
    const char* closing;
};

QString OneStyleDocument(const OneStyle& s, const QString& text)
{
    QString head = QStringLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fmodern\\fprq6\\fcharset")
        + QString::number(s.font0.charset) + QLatin1Char(' ') + QLatin1String(s.font0.name)
        + QStringLiteral(";}{\\f1\\fmodern\\fprq6\\fcharset") + QString::number(s.font1.charset) + QLatin1Char(' ')
        + QLatin1String(s.font1.name) + QStringLiteral(";}}{\\colortbl ;\\red") + QString::number(s.red)
        + QStringLiteral("\\green") + QString::number(s.green) + QStringLiteral("\\blue") + QString::number(s.blue)
        + QStringLiteral(";}\\viewkind4\\uc1\\pard\\cf1\\lang2052");
    return head + QLatin1String(s.opening) + RtfEncodeText(text, s.fontMode) + QLatin1String(s.closing);
}

// The closings select colour 2 although the tables hold only colour 1; the reader falls back
// to the default colour, and the bytes stay as every window has always received them.
constexpr OneStyle BlackRoman16Par{Roman, Song, 0, 0, 0, "\\f0\\fs32", 1, "\\par}"};
constexpr OneStyle BoldRedSong24{Song, Roman, 255, 0, 0, "\\b\\f0\\fs48", 0, "\\cf2\\f1\\fs32\\b0}"};
constexpr OneStyle BoldRedSong24Par{Song, Roman, 255, 0, 0, "\\b\\f0\\fs48", 0, "\\cf2\\f1\\fs32\\b0\\par}"};
constexpr OneStyle GreySans12Par{Sans, Roman, 64, 64, 64, "\\f0\\fs24", 0, "\\f1\\fs32\\par}"};
constexpr OneStyle RedSans12Par{Sans, Roman, 255, 0, 0, "\\f0\\fs24", 0, "\\f1\\fs32\\par}"};
constexpr OneStyle GreySans12{Sans, Roman, 64, 64, 64, "\\f0\\fs24", 0, "\\f1\\fs32}"};
constexpr OneStyle RedSans12{Sans, Roman, 255, 0, 0, "\\f0\\fs24", 0, "\\f1\\fs32}"};
constexpr OneStyle BoldBlueSong24Par{Song, Roman, 0, 0, 255, "\\b\\f0\\fs48", 0, "\\cf2\\f1\\fs32\\b0\\par}"};
constexpr OneStyle BoldBlueSong24{Song, Roman, 0, 0, 255, "\\b\\f0\\fs48", 0, "\\cf2\\f1\\fs32\\b0}"};
constexpr OneStyle GreySans10Par{Sans, Song, 64, 64, 64, "\\f0\\fs20", 0, "\\f1\\fs32\\cf2\\fs48\\par}"};
constexpr OneStyle GreySans10{Sans, Song, 64, 64, 64, "\\f0\\fs20", 0, "\\f1\\fs32\\cf2\\fs48}"};
constexpr OneStyle RedSong16Par{Song, Roman, 255, 0, 0, "\\f0\\fs32", 0, "\\cf2\\f1\\fs32\\par}"};
constexpr OneStyle BlueSong16Par{Song, Roman, 0, 0, 255, "\\f0\\fs32", 0, "\\cf2\\f1\\fs32\\par}"};

// Head of the entry documents: Song twice, Microsoft Sans Serif; red, black, grey, blue.
const QString& EntryHead()
{
    static const QString head = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052"
        "{\\fonttbl{\\f0\\fnil\\fprq2\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fmodern\\fprq6\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
        "{\\f2\\fswiss\\fprq2\\fcharset0 Microsoft Sans Serif;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue0;\\red64\\green64\\blue64;\\red0\\green0\\blue255;}");
    return head;
}

// Second paragraph (heading only with examples), the examples and the document's end.
QString EntryTail(const QString& examples, int indent)
{
    return QStringLiteral("\\cf0\\f1\\par") + QStringLiteral("\\cf3\\f2") + Blanks(indent)
        + (examples.isEmpty() ? QString() : QStringLiteral("Example Sentences:")) + QStringLiteral("\\cf0\\f1\\par")
        + examples + QStringLiteral("\\cf0\\lang2052\\f1}");
}

QString QueryEntryBody(const QString& query, const QString& meanings, const QString& source)
{
    return EntryHead() + QStringLiteral("\\viewkind4\\uc1\\pard\\cf0\\cf4\\f2\\fs32 ") + RtfEncodeText(query, RtfFontMode::Plain)
        + QStringLiteral("\\cf1\\lang2052\\f0\\fs36 ") + QLatin1Char(' ') + RtfEncodeText(meanings, RtfFontMode::SongThenFont2)
        + QStringLiteral("\\cf3\\f2\\fs20 ") + Blanks(4) + RtfEncodeText(source, RtfFontMode::Plain);
}

} // namespace

QString RtfEncodeText(const QString& text, int fontMode)
{
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool afterTwoByte = i > 0 && CodePage::IsDoubleByte(text.at(i - 1));
        if (c == QLatin1Char(' ')) {
            // In modes 1 and 2 the first blank after a two-byte character ends the closing
            // control word and is consumed by the reader; the second one shows.
            out += (fontMode != RtfFontMode::Plain && afterTwoByte) ? QStringLiteral("  ") : QStringLiteral(" ");
        } else if (CodePage::IsDoubleByte(c)) {
            if (fontMode == RtfFontMode::SongThenFont0)
                out += QStringLiteral("\\f1") + TwoByteEscapes(c) + QStringLiteral("\\f0");
            else if (fontMode == RtfFontMode::SongThenFont2)
                out += QStringLiteral("\\f1") + TwoByteEscapes(c) + QStringLiteral("\\f2");
            else
                out += TwoByteEscapes(c);
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            // A digit right after a control word would become part of its number: at the
            // start of the text (after the builder's opening) and, in modes 1 and 2, after the
            // font switch that closes a two-byte character. One delimiting blank keeps it text.
            if (i == 0 || (fontMode != RtfFontMode::Plain && afterTwoByte))
                out += QLatin1Char(' ');
            out += c;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}')) {
            out += QLatin1Char('\\');
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

QString RtfBlackRoman16Par(const QString& text) { return OneStyleDocument(BlackRoman16Par, text); }
QString RtfBoldRedSong24(const QString& text) { return OneStyleDocument(BoldRedSong24, text); }
QString RtfBoldRedSong24Par(const QString& text) { return OneStyleDocument(BoldRedSong24Par, text); }
QString RtfGreySans12Par(const QString& text) { return OneStyleDocument(GreySans12Par, text); }
QString RtfRedSans12Par(const QString& text) { return OneStyleDocument(RedSans12Par, text); }
QString RtfGreySans12(const QString& text) { return OneStyleDocument(GreySans12, text); }
QString RtfRedSans12(const QString& text) { return OneStyleDocument(RedSans12, text); }
QString RtfBoldBlueSong24Par(const QString& text) { return OneStyleDocument(BoldBlueSong24Par, text); }
QString RtfBoldBlueSong24(const QString& text) { return OneStyleDocument(BoldBlueSong24, text); }
QString RtfGreySans10Par(const QString& text) { return OneStyleDocument(GreySans10Par, text); }
QString RtfGreySans10(const QString& text) { return OneStyleDocument(GreySans10, text); }
QString RtfRedSong16Par(const QString& text) { return OneStyleDocument(RedSong16Par, text); }
QString RtfBlueSong16Par(const QString& text) { return OneStyleDocument(BlueSong16Par, text); }

QString RtfDictionaryEntry(const QString& word, const QString& pinyinPart, const QString& meaning,
                           const QString& source, const QString& examples, int indent)
{
    return EntryHead() + QStringLiteral("\\viewkind4\\uc1\\pard\\cf1\\lang2052\\f0\\fs36 ") + RtfEncodeText(word, RtfFontMode::Plain)
        + QStringLiteral("\\cf2\\lang2052\\f1\\fs36 ") + RtfEncodeText(pinyinPart, RtfFontMode::SongThenFont0)
        + QStringLiteral("\\cf0\\cf1\\f2\\fs32 ") + QLatin1Char(' ') + RtfEncodeText(meaning, RtfFontMode::SongThenFont2)
        + QStringLiteral("\\cf3\\fs20 ") + Blanks(4) + RtfEncodeText(source, RtfFontMode::Plain) + EntryTail(examples, indent);
}

QString RtfQueryEntry(const QString& query, const QString& meanings, const QString& source,
                      const QString& examples, int indent)
{
    return QueryEntryBody(query, meanings, source) + EntryTail(examples, indent);
}

QString RtfQueryEntryNoExamples(const QString& query, const QString& meanings, const QString& source)
{
    return QueryEntryBody(query, meanings, source) + QStringLiteral("\\cf0\\f1\\par}");
}

QString RtfExampleChineseLine(const QString& text, int indent)
{
    return QStringLiteral("\\cf4\\f0\\fs24\\lang2052 ") + Blanks(indent) + RtfEncodeText(text, RtfFontMode::Plain)
        + QStringLiteral("\\cf0\\f1\\fs20\\par");
}

QString RtfExampleEnglishLine(const QString& text, int indent)
{
    return QStringLiteral("\\cf3\\f2\\fs20 ") + Blanks(indent) + RtfEncodeText(text, RtfFontMode::Plain) + QStringLiteral("\\par");
}
