// libFuzzer target for the RTF reader of the rich-text box (the reading helper opens any
// learner's file with it). Checks that reading never crashes or runs away, that the result
// keeps the reader's own limits, and that what the writer makes of the runs reads back
// unchanged after one settling round (runs read from arbitrary input get explicit fonts and
// sizes when first written).

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "RtfDocument.h"

namespace {
constexpr qsizetype MaxPieces = 200000;
const QString DefaultFont = QStringLiteral("Microsoft Sans Serif");
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const RtfContent content = Rtf::Read(input);
    // A run or two may follow the last counted one when the reader stops.
    if (content.pieces.size() > MaxPieces + 2)
        std::abort();
    for (const RtfPiece& piece : content.pieces)
        if (piece.kind == RtfPiece::Text && piece.text.isEmpty())
            std::abort();
    const RtfContent settled = Rtf::Read(Rtf::Write(content.pieces, DefaultFont, 10));
    if (Rtf::Read(Rtf::Write(settled.pieces, DefaultFont, 10)).pieces != settled.pieces)
        std::abort();
    return 0;
}
