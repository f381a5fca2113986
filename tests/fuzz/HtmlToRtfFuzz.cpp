// libFuzzer target for the result page reader: the first input byte picks the query (Chinese,
// English, pinyin, one starting with a digit, empty), the rest is the page as the service
// sends it (decoded by its charset, body taken). Checks that the reader never crashes, that
// what it gives is a document or nothing, and that the cache's stored form and its display
// of that result hold up as well.

#include <QString>
#include <cstdint>
#include <cstdlib>

#include "OnlineCache.h"
#include "ResultPage.h"
#include "RtfDocument.h"
#include "WebPage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString queries[] = {QStringLiteral("中文"), QStringLiteral("hello"), QStringLiteral("han4 yu3"),
                                      QStringLiteral("3d"), QString(), QStringLiteral("ni3  hao3 ma0")};
    static const QString label = QStringLiteral("[Lexicon Online]");
    if (size < 1)
        return 0;
    const QString& query = queries[data[0] % 6];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const QByteArray contentType = (data[0] & 0x80) ? QByteArray("text/html; charset=gbk") : QByteArray("text/html");
    const QString html = WebPage::BodyOf(WebPage::DecodeHtml(bytes, contentType));

    const QString rtf = HtmlToRtf(html, query, label);
    if (!rtf.isEmpty() && !rtf.startsWith(QLatin1String("{\\rtf1")))
        std::abort();

    // The box's plain text as the reader of the rich-text box sees it.
    QString shown;
    for (const RtfPiece& piece : Rtf::Read(rtf).pieces)
        shown += piece.kind == RtfPiece::Text ? piece.text : QStringLiteral("\r\n");
    const QString stored = StoredEntryText(shown.mid(query.size()), label);
    ShownReading(shown);
    const QString cached = CachedResultRtf(OnlineWord{query, stored}, query, label);
    if (!cached.startsWith(QLatin1String("{\\rtf1")))
        std::abort();
    Rtf::Read(cached);
    return 0;
}
