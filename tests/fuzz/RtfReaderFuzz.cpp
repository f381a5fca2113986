// libFuzzer target for the RTF reader of the rich-text box (the reading helper opens any
// learner's file with it). Checks that reading never crashes or runs away, that the result
// keeps the reader's own limits, that what the writer makes of the runs reads back whole
// (saving and loading agree on the limit) and unchanged after one settling round (runs read
// from arbitrary input get explicit fonts and sizes when first written).

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "RtfDocument.h"

namespace {
const QString DefaultFont = QStringLiteral("Microsoft Sans Serif");
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const RtfContent content = Rtf::Read(input);
    if (content.pieces.size() > Rtf::MaxPieces)
        std::abort();
    for (const RtfPiece& piece : content.pieces)
        if (piece.kind == RtfPiece::Text && piece.text.isEmpty())
            std::abort();
    const RtfContent settled = Rtf::Read(Rtf::Write(content.pieces, DefaultFont, 10));
    if (settled.truncated)
        std::abort();
    if (Rtf::Read(Rtf::Write(settled.pieces, DefaultFont, 10)).pieces != settled.pieces)
        std::abort();
    return 0;
}
