#include "RichTextBox.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <algorithm>
#include <optional>

#include "CodePage.h"
#include "Form.h"
#include "FormEvents.h"
#include "LayoutEstimate.h"
#include "SafeFile.h"
#include "TextBoxes.h"
#include "Twips.h"

namespace {

// The RTF font charset of a run, kept so saving writes the font table as it was read.
constexpr int CharsetProperty = QTextFormat::UserProperty + 1;

const char* const SimplifiedSerif = "Noto Serif CJK SC";
const char* const SimplifiedSans = "Noto Sans CJK SC";

QString FirstInstalled(const QStringList& installed, const QStringList& families, const QString& otherwise)
{
    for (const QString& f : families)
        if (installed.contains(f))
            return f;
    return otherwise;
}

// Font names documents give, drawn with what a Debian desktop has. Names that are installed
// themselves are left alone. Chinese text in a Latin font falls back to the simplified
// Chinese forms (fontconfig's own fallback may pick the Japanese ones).
void InstallFontSubstitutions()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // hasFamily() also answers through fontconfig's aliases; only real families count here.
    const QStringList installedFamilies = QFontDatabase::families();
    const QString serif = FirstInstalled(installedFamilies, {"DejaVu Serif", "Liberation Serif", "Noto Serif", "FreeSerif"},
        SimplifiedSerif);
    const QString sans = FirstInstalled(installedFamilies, {"DejaVu Sans", "Liberation Sans", "Noto Sans", "FreeSans"},
        SimplifiedSans);
    auto map = [&](const QStringList& names, const QStringList& drawing) {
        for (const QString& name : names)
            if (!installedFamilies.contains(name))
                QFont::insertSubstitutions(name, drawing);
    };
    map({QStringLiteral("宋体"), QStringLiteral("新宋体"), "SimSun", "NSimSun"}, {SimplifiedSerif});
    map({QStringLiteral("黑体"), QStringLiteral("微软雅黑"), "SimHei", "Microsoft YaHei"}, {SimplifiedSans});
    map({"Times New Roman", "Times"}, {serif, SimplifiedSerif});
    map({"Microsoft Sans Serif", "MS Sans Serif", "Arial", "Tahoma", "Verdana"}, {sans, SimplifiedSans});
}

int CharsetForName(const QString& name)
{
    for (const QChar c : name)
        if (c.unicode() >= 0x80)
            return 134;
    return 0;
}

Qt::Alignment ToQt(RtfAlignment a)
{
    switch (a) {
    case RtfAlignment::Center:
        return Qt::AlignHCenter;
    case RtfAlignment::Right:
        return Qt::AlignRight;
    case RtfAlignment::Justify:
        return Qt::AlignJustify;
    case RtfAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

RtfAlignment FromQt(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter)
        return RtfAlignment::Center;
    if (a & Qt::AlignRight)
        return RtfAlignment::Right;
    if (a & Qt::AlignJustify)
        return RtfAlignment::Justify;
    return RtfAlignment::Left;
}

QTextCharFormat ToQt(const RtfCharFormat& f)
{
    QTextCharFormat q;
    if (!f.fontName.isEmpty()) {
        q.setFontFamilies(QStringList{f.fontName});
        if (f.fontCharset >= 0)
            q.setProperty(CharsetProperty, f.fontCharset);
    }
    if (f.pointSize > 0)
        q.setFontPointSize(f.pointSize);
    q.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    q.setFontItalic(f.italic);
    q.setFontUnderline(f.underline);
    if (f.color.isValid())
        q.setForeground(f.color);
    return q;
}

RtfCharFormat FromQt(const QTextCharFormat& q)
{
    RtfCharFormat f;
    if (q.hasProperty(QTextFormat::FontFamilies))
        f.fontName = q.fontFamilies().toStringList().value(0);
    if (f.fontName.isEmpty() && q.hasProperty(QTextFormat::FontFamily))
        f.fontName = q.property(QTextFormat::FontFamily).toString();
    if (!f.fontName.isEmpty())
        f.fontCharset = q.hasProperty(CharsetProperty) ? q.intProperty(CharsetProperty) : CharsetForName(f.fontName);
    if (q.hasProperty(QTextFormat::FontPointSize))
        f.pointSize = q.fontPointSize();
    else if (q.hasProperty(QTextFormat::FontPixelSize))
        f.pointSize = q.intProperty(QTextFormat::FontPixelSize) * 0.75;
    f.bold = q.fontWeight() >= QFont::DemiBold;
    f.italic = q.fontItalic();
    f.underline = q.fontUnderline();
    if (q.hasProperty(QTextFormat::ForegroundBrush) && q.foreground().style() != Qt::NoBrush)
        f.color = q.foreground().color();
    return f;
}

void AppendPiece(QVector<RtfPiece>& pieces, RtfPiece piece)
{
    if (piece.kind == RtfPiece::Text) {
        if (piece.text.isEmpty())
            return;
        if (!pieces.isEmpty() && pieces.back().kind == RtfPiece::Text && pieces.back().format == piece.format) {
            pieces.back().text += piece.text;
            return;
        }
    }
    pieces.push_back(std::move(piece));
}

// Runs and paragraph ends of the document between two document positions. Tables and frames
// (from pasted HTML) flatten into paragraphs.
QVector<RtfPiece> DocumentPieces(const QTextDocument* doc, int start, int end)
{
    QVector<RtfPiece> pieces;
    // A long text has a format or two: each is converted once.
    int convertedIndex = -1;
    RtfCharFormat converted;
    auto formatOf = [&](int index, const QTextCharFormat& format) {
        if (index != convertedIndex) {
            converted = FromQt(format);
            convertedIndex = index;
        }
        return converted;
    };
    // Positions are counted along: asking a block or a fragment for its own takes a search.
    QTextBlock block = doc->findBlock(start);
    for (int blockStart = block.position(); block.isValid() && blockStart < end;
         blockStart += block.length(), block = block.next()) {
        int fragStart = blockStart;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int fragEnd = fragStart + frag.length();
            const int from = std::max(fragStart, start);
            const int to = std::min(fragEnd, end);
            const int at = fragStart;
            fragStart = fragEnd;
            if (from >= to)
                continue;
            RtfPiece piece;
            piece.text = frag.text().mid(from - at, to - from);
            piece.text.remove(QChar(0xFDD0)).remove(QChar(0xFDD1)).remove(QChar::ObjectReplacementCharacter);
            piece.format = formatOf(frag.charFormatIndex(), frag.charFormat());
            AppendPiece(pieces, std::move(piece));
        }
        const int separator = blockStart + block.length() - 1;
        if (separator >= start && separator < end && block.next().isValid()) {
            RtfPiece piece;
            piece.kind = RtfPiece::ParagraphEnd;
            piece.format = formatOf(block.next().charFormatIndex(), block.next().charFormat());
            piece.alignment = FromQt(block.blockFormat().alignment());
            pieces.push_back(piece);
        }
    }
    return pieces;
}

// Qt's text layout takes a document without pages for one page 8,388,607 pixels high and
// never lays out past that page's end (it loops there for good): a text of 180,000 lines at 24
// points is taller. The box's document has one page as tall as any text it takes instead
// (RichTextBox::MaxLayoutHeight), below the 21,474,836 pixels past which the layout never
// finishes: no paragraph is ever laid out again for crossing a page's end.
constexpr qreal PageHeight = 21000000;
static_assert(PageHeight > RichTextBox::MaxLayoutHeight && PageHeight < 21474836);

QSizeF Paged(QSizeF page)
{
    if (page.height() < 0 || page.height() > PageHeight)
        page.setHeight(PageHeight);
    return page;
}

// An edit of more paragraphs than this is laid out afresh once it is done (LayoutHold);
// smaller ones, as the windows append their lines, are laid out where they change.
constexpr qsizetype LongEditParagraphs = 1000;

qsizetype ParagraphEnds(const RtfContent& content)
{
    return std::count_if(content.pieces.cbegin(), content.pieces.cend(),
        [](const RtfPiece& p) { return p.kind == RtfPiece::ParagraphEnd; });
}

// Why a content of that many pieces, written as that many bytes, is not saved; empty when it is.
QString SaveRefusalFor(qsizetype pieces, qint64 bytes)
{
    if (bytes > RichTextBox::MaxFileBytes)
        return QStringLiteral("kept as RTF, the text takes %1 KB (at most %2 KB)")
            .arg((bytes + 1023) / 1024)
            .arg(RichTextBox::MaxFileBytes / 1024);
    if (pieces > Rtf::MaxPieces)
        return QStringLiteral("it has %1 paragraphs and runs of text (at most %2)").arg(pieces).arg(Rtf::MaxPieces);
    return QString();
}

QString TooLargeToOpen(const QString& why) { return QStringLiteral("The file is too large to open: %1.").arg(why); }

QString NotCodePageText()
{
    return QStringLiteral("The file is damaged, or its text is not in code page 936 (GB18030): some of its bytes are "
                          "no characters there.");
}

// A work in seconds, as the learner reads it: "2.4 seconds", "71 seconds".
QString Seconds(qreal work)
{
    const qreal seconds = work / 1e6;
    return QStringLiteral("%1 seconds").arg(seconds, 0, 'f', seconds < 10 ? 1 : 0);
}

// What in a paragraph (or in the whole text) takes the most of its work, as counts.
QString CostliestPart(const LayoutCost& cost, bool whole)
{
    switch (cost.cause) {
    case LayoutCost::WideWords:
        return whole ? QStringLiteral("for its words of up to %1 characters, wider than a line").arg(cost.longestWideWord)
                     : QStringLiteral("for its word of %1 characters, wider than a line").arg(cost.longestWideWord);
    case LayoutCost::CombiningMarks:
        return QStringLiteral("for a character of it with %1 combining marks").arg(cost.mostMarks);
    case LayoutCost::DirectionChanges:
        return QStringLiteral("for its %1 changes of writing direction or script").arg(cost.directionChanges);
    case LayoutCost::FormatRuns:
        return QStringLiteral("for its %1 changes of format").arg(cost.formatRuns);
    case LayoutCost::UndrawnCharacters:
        return QStringLiteral("for its %1 characters that no installed font draws").arg(cost.undrawn);
    case LayoutCost::Characters:
    case LayoutCost::Causes:
        break;
    }
    return whole ? QStringLiteral("for its %1 paragraphs and %2 characters").arg(cost.paragraphs + 1).arg(cost.characters)
                 : QStringLiteral("for its %1 characters").arg(cost.characters);
}

// Why a text of that estimate is not laid out; empty when it is.
QString LayoutRefusalFor(const LayoutEstimate& estimate)
{
    if (estimate.Height() > RichTextBox::MaxLayoutHeight)
        return QStringLiteral("shown in the box it would be %1 pixels tall (at most %2)")
            .arg(qint64(estimate.Height()))
            .arg(qint64(RichTextBox::MaxLayoutHeight));
    const LayoutCost paragraph = estimate.LongestParagraph();
    if (paragraph.work > RichTextBox::MaxParagraphWork)
        return QStringLiteral("a paragraph of it would take about %1 to lay out (at most %2), %3")
            .arg(Seconds(paragraph.work), Seconds(RichTextBox::MaxParagraphWork), CostliestPart(paragraph, false));
    const LayoutCost whole = estimate.WholeText();
    if (whole.work > RichTextBox::MaxTextWork)
        return QStringLiteral("the whole of it would take about %1 to lay out (at most %2), %3")
            .arg(Seconds(whole.work), Seconds(RichTextBox::MaxTextWork), CostliestPart(whole, true));
    return QString();
}

// Insertions smaller than this, added up, go in without the whole text being measured: the
// margin below the height the layout finishes takes them.
constexpr qreal UncheckedHeight = 500000;
constexpr qreal UncheckedWork = 200000;

// Whether a character format changes how tall its text is laid out.
bool ChangesLayout(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::FontFamilies) || f.hasProperty(QTextFormat::FontFamily)
        || f.hasProperty(QTextFormat::FontPointSize) || f.hasProperty(QTextFormat::FontPixelSize)
        || f.hasProperty(QTextFormat::FontWeight) || f.hasProperty(QTextFormat::FontItalic);
}

int ShiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

int ButtonCode(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

} // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent)
{
    InstallFontSubstitutions();
    setFont(QFont(QStringLiteral("Microsoft Sans Serif"), 10));
    setAcceptRichText(true);
    connect(this, &QTextEdit::textChanged, this, &RichTextBox::Change);
    // The text edit gives the document a page of unlimited height whenever its width changes.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, [this] {
        if (m_layoutHolds == 0)
            KeepPageHeight();
    });
}

QStringList RichTextBox::DrawingFamilies(const QString& fontName)
{
    InstallFontSubstitutions();
    QStringList families{fontName};
    families += QFont::substitutes(fontName);
    return families;
}

// ---- layout ----

RichTextBox::LayoutHold::LayoutHold(RichTextBox* box)
    : m_box(box)
{
    if (m_box->m_layoutHolds++ > 0)
        return;
    // The document layout ignores every change of a document whose page is null.
    m_box->m_heldPageSize = m_box->document()->pageSize();
    m_box->document()->setPageSize(QSizeF(0, 0));
}

RichTextBox::LayoutHold::~LayoutHold()
{
    if (--m_box->m_layoutHolds > 0)
        return;
    // A new page size lays the whole document out again, lazily (a box never shown has a null
    // page and is laid out once it is shown).
    m_box->document()->setPageSize(Paged(m_box->m_heldPageSize));
}

void RichTextBox::KeepPageHeight()
{
    const QSizeF page = document()->pageSize();
    if (Paged(page) != page)
        document()->setPageSize(Paged(page));
}

std::unique_ptr<LayoutEstimate> RichTextBox::NewEstimate() const
{
    // Lines as wide as the page with the vertical scroll bar shown, taken from the box's own
    // size: a box not shown yet has no viewport of the right size.
    const QTextDocument* doc = document();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    return std::make_unique<LayoutEstimate>(doc->defaultFont(), contentsRect().width() - bar - 2 * doc->documentMargin(),
        doc->defaultTextOption().tabStopDistance(), doc->documentMargin());
}

std::unique_ptr<LayoutEstimate> RichTextBox::Estimate(const QVector<RtfPiece>& pieces) const
{
    std::unique_ptr<LayoutEstimate> estimate = NewEstimate();
    estimate->Add(pieces);
    return estimate;
}

QString RichTextBox::LayoutRefusal(const QVector<RtfPiece>& pieces) const { return LayoutRefusalFor(*Estimate(pieces)); }

QString RichTextBox::Refuses(const RtfContent& content, bool wholeDocument)
{
    const std::unique_ptr<LayoutEstimate> added = NewEstimate();
    added->Add(content.pieces);
    // Both what a paragraph and what the whole text may grow by.
    const qreal addedWork = added->LongestParagraphWork() + added->TextWork();
    if (wholeDocument) {
        const QString refusal = LayoutRefusalFor(*added);
        if (!refusal.isEmpty())
            return refusal;
    } else if (m_uncheckedHeight + added->Height() > UncheckedHeight || m_uncheckedWork + addedWork > UncheckedWork) {
        // The text around the selection with the content in its place.
        const QTextCursor c = textCursor();
        QVector<RtfPiece> after = DocumentPieces(document(), 0, c.selectionStart());
        after += content.pieces;
        after += DocumentPieces(document(), c.selectionEnd(), document()->characterCount() - 1);
        const QString refusal = LayoutRefusal(after);
        if (!refusal.isEmpty())
            return refusal;
    } else {
        m_uncheckedHeight += added->Height();
        m_uncheckedWork += addedWork;
        return QString();
    }
    m_uncheckedHeight = 0;
    m_uncheckedWork = 0;
    return QString();
}

QString RichTextBox::RefusesSelectionFormat(const QTextCharFormat& format) const
{
    const QTextCursor c = textCursor();
    const int end = document()->characterCount() - 1;
    QVector<RtfPiece> after = DocumentPieces(document(), 0, c.selectionStart());
    for (RtfPiece piece : DocumentPieces(document(), c.selectionStart(), c.selectionEnd())) {
        QTextCharFormat merged = ToQt(piece.format);
        merged.merge(format);
        const RtfCharFormat f = FromQt(merged);
        piece.format.fontName = f.fontName;
        piece.format.pointSize = f.pointSize;
        piece.format.bold = f.bold;
        piece.format.italic = f.italic;
        after.push_back(piece);
    }
    after += DocumentPieces(document(), c.selectionEnd(), end);
    return LayoutRefusal(after);
}

void RichTextBox::Refuse(Edit edit, const QString& why)
{
    m_refusal = why;
    emit Refused(edit, why);
}

// ---- positions ----

int RichTextBox::ToBoxPosition(int docPosition) const
{
    const QTextBlock block = document()->findBlock(docPosition);
    if (!block.isValid())
        return TextLength();
    return docPosition + block.blockNumber();
}

int RichTextBox::ToDocPosition(int boxPosition) const
{
    const QTextDocument* doc = document();
    // The last block whose start (counted in box positions) is not past boxPosition.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= boxPosition)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const int offset = boxPosition - (block.position() + low);
    const int length = block.length() - 1;
    if (offset <= length)
        return block.position() + std::max(0, offset);
    // Between CR and LF of the break, or past the end.
    const QTextBlock next = block.next();
    return next.isValid() ? next.position() : block.position() + length;
}

QString RichTextBox::Text() const
{
    QString out;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin())
            out += QStringLiteral("\r\n");
        QString text = block.text();
        text.replace(QChar::LineSeparator, QLatin1Char('\v'));
        out += text;
    }
    return out;
}

int RichTextBox::TextLength() const
{
    const QTextDocument* doc = document();
    return doc->characterCount() - 1 + doc->blockCount() - 1;
}

bool RichTextBox::SetText(const QString& text, const RtfCharFormat& format)
{
    document()->setUndoRedoEnabled(false);
    const bool taken = Insert(Rtf::FromPlainText(text, format), true);
    document()->setUndoRedoEnabled(true);
    return taken;
}

int RichTextBox::SelStart() const { return ToBoxPosition(textCursor().selectionStart()); }

void RichTextBox::SetSelStart(int start)
{
    QTextCursor c = textCursor();
    c.setPosition(ToDocPosition(std::clamp(start, 0, TextLength())));
    setTextCursor(c);
}

int RichTextBox::SelLength() const
{
    const QTextCursor c = textCursor();
    return ToBoxPosition(c.selectionEnd()) - ToBoxPosition(c.selectionStart());
}

void RichTextBox::SetSelLength(int length)
{
    const int total = TextLength();
    const int start = SelStart();
    const int end = std::clamp(start + std::max(0, length), start, total);
    QTextCursor c = textCursor();
    c.setPosition(ToDocPosition(start));
    c.setPosition(ToDocPosition(end), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextBox::SelText() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return QString();
    const int start = ToBoxPosition(c.selectionStart());
    return Text().mid(start, ToBoxPosition(c.selectionEnd()) - start);
}

bool RichTextBox::SetSelText(const QString& text)
{
    return Insert(Rtf::FromPlainText(text, FromQt(textCursor().charFormat())), false);
}

// ---- RTF ----

QVector<RtfPiece> RichTextBox::Pieces() const { return DocumentPieces(document(), 0, document()->characterCount() - 1); }

QString RichTextBox::TextRTF() const { return Rtf::Write(Pieces(), font().family(), font().pointSizeF()); }

bool RichTextBox::SetTextRTF(const QString& rtf)
{
    document()->setUndoRedoEnabled(false);
    const bool taken = Insert(Rtf::Read(rtf), true);
    document()->setUndoRedoEnabled(true);
    return taken;
}

QString RichTextBox::SelRTF() const
{
    const QTextCursor c = textCursor();
    return Rtf::Write(DocumentPieces(document(), c.selectionStart(), c.selectionEnd()), font().family(), font().pointSizeF());
}

bool RichTextBox::SetSelRTF(const QString& rtf) { return Insert(Rtf::Read(rtf), false); }

bool RichTextBox::Insert(const RtfContent& content, bool wholeDocument)
{
    const QString refusal = Refuses(content, wholeDocument);
    if (!refusal.isEmpty()) {
        Refuse(Edit::Text, refusal);
        return false;
    }
    Place(content, wholeDocument);
    return true;
}

void RichTextBox::Place(const RtfContent& content, bool wholeDocument)
{
    QTextCursor cursor = textCursor();
    {
        std::optional<LayoutHold> hold;
        if (wholeDocument || ParagraphEnds(content) > LongEditParagraphs)
            hold.emplace(this);
        cursor.beginEditBlock();
        if (wholeDocument) {
            cursor.select(QTextCursor::Document);
            cursor.removeSelectedText();
            cursor.setBlockFormat(QTextBlockFormat());
            cursor.setBlockCharFormat(QTextCharFormat());
        } else {
            cursor.removeSelectedText();
        }
        // Pieces of one format share its conversion: a long text has a format or two.
        const RtfCharFormat* converted = nullptr;
        QTextCharFormat format;
        auto formatOf = [&](const RtfCharFormat& f) -> const QTextCharFormat& {
            if (!converted || !(*converted == f)) {
                format = ToQt(f);
                converted = &f;
            }
            return format;
        };
        // Runs and left-aligned paragraph ends of one format go in as one text with paragraph
        // separators, of which the cursor makes the paragraphs at less cost than one by one.
        // The new paragraphs take the format of the one the text starts in: that one must be
        // left-aligned too.
        QString lines;
        const RtfCharFormat* linesFormat = nullptr;
        bool linesInLeftParagraph = false;
        auto flush = [&] {
            if (linesFormat)
                cursor.insertText(lines, formatOf(*linesFormat));
            lines.clear();
            linesFormat = nullptr;
        };
        for (const RtfPiece& piece : content.pieces) {
            const bool text = piece.kind == RtfPiece::Text;
            const bool leftEnd = !text && piece.alignment == RtfAlignment::Left;
            if (linesFormat && piece.format == *linesFormat && (text || (leftEnd && linesInLeftParagraph))) {
                lines += text ? piece.text : QString(QChar::ParagraphSeparator);
                continue;
            }
            flush();
            linesInLeftParagraph = FromQt(cursor.blockFormat().alignment()) == RtfAlignment::Left;
            if (text || (leftEnd && linesInLeftParagraph)) {
                linesFormat = &piece.format;
                lines = text ? piece.text : QString(QChar::ParagraphSeparator);
                continue;
            }
            QTextBlockFormat block = cursor.blockFormat();
            block.setAlignment(ToQt(piece.alignment));
            cursor.setBlockFormat(block);
            block.setAlignment(Qt::AlignLeft);
            cursor.insertBlock(block, formatOf(piece.format));
        }
        flush();
        if (wholeDocument) {
            QTextBlockFormat block = cursor.blockFormat();
            block.setAlignment(ToQt(content.finalAlignment));
            cursor.setBlockFormat(block);
        }
        cursor.endEditBlock();
        if (wholeDocument) {
            // The caret moves to the start while the layout is held: moved afterwards, the
            // text would be laid out at once up to where it was (the end of the new text).
            cursor.setPosition(0);
            setTextCursor(cursor);
        }
    }
    // The view follows the caret on the laid-out text.
    if (wholeDocument)
        ensureCursorVisible();
    else
        setTextCursor(cursor);
}

// ---- formatting of the selection ----

QTextCharFormat RichTextBox::SelectionFormat() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return c.charFormat();
    QTextCursor first(document());
    first.setPosition(c.selectionStart() + 1);
    return first.charFormat();
}

void RichTextBox::MergeSelectionFormat(const QTextCharFormat& format)
{
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        mergeCurrentCharFormat(format);
        return;
    }
    if (ChangesLayout(format)) {
        const QString refusal = RefusesSelectionFormat(format);
        if (!refusal.isEmpty()) {
            Refuse(Edit::Format, refusal);
            return;
        }
    }
    const QTextDocument* doc = document();
    std::optional<LayoutHold> hold;
    if (doc->findBlock(c.selectionEnd()).blockNumber() - doc->findBlock(c.selectionStart()).blockNumber() > LongEditParagraphs)
        hold.emplace(this);
    c.mergeCharFormat(format);
}

QColor RichTextBox::SelColor() const
{
    const RtfCharFormat f = FromQt(SelectionFormat());
    return f.color.isValid() ? f.color : palette().color(QPalette::Text);
}

void RichTextBox::SetSelColor(const QColor& color)
{
    QTextCharFormat f;
    f.setForeground(color);
    MergeSelectionFormat(f);
}

QString RichTextBox::SelFontName() const
{
    const RtfCharFormat f = FromQt(SelectionFormat());
    return f.fontName.isEmpty() ? font().family() : f.fontName;
}

void RichTextBox::SetSelFontName(const QString& name)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{name});
    f.setProperty(CharsetProperty, CharsetForName(name));
    MergeSelectionFormat(f);
}

double RichTextBox::SelFontSize() const
{
    const RtfCharFormat f = FromQt(SelectionFormat());
    return f.pointSize > 0 ? f.pointSize : font().pointSizeF();
}

void RichTextBox::SetSelFontSize(double points)
{
    QTextCharFormat f;
    f.setFontPointSize(std::clamp(points, 1.0, 1638.0));
    MergeSelectionFormat(f);
}

bool RichTextBox::SelBold() const { return FromQt(SelectionFormat()).bold; }
void RichTextBox::SetSelBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    MergeSelectionFormat(f);
}

bool RichTextBox::SelItalic() const { return FromQt(SelectionFormat()).italic; }
void RichTextBox::SetSelItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    MergeSelectionFormat(f);
}

bool RichTextBox::SelUnderline() const { return FromQt(SelectionFormat()).underline; }
void RichTextBox::SetSelUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    MergeSelectionFormat(f);
}

bool RichTextBox::FormatAll(const QString& fontName, double points, const QColor& color, bool bold, bool italic)
{
    {
        // Every paragraph in the new font; the first paragraph's mark keeps its own.
        RtfCharFormat all;
        all.fontName = fontName;
        all.pointSize = std::clamp(points, 1.0, 1638.0);
        all.bold = bold;
        all.italic = italic;
        const std::unique_ptr<LayoutEstimate> estimate = NewEstimate();
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            if (block != document()->begin())
                estimate->EndParagraph(all);
            estimate->AddRun(block.text(), all);
        }
        const QString refusal = LayoutRefusalFor(*estimate);
        if (!refusal.isEmpty()) {
            Refuse(Edit::Format, refusal);
            return false;
        }
        m_uncheckedHeight = 0;
        m_uncheckedWork = 0;
    }
    QTextCharFormat f;
    f.setFontFamilies(QStringList{fontName});
    f.setProperty(CharsetProperty, CharsetForName(fontName));
    f.setFontPointSize(std::clamp(points, 1.0, 1638.0));
    f.setForeground(color);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    {
        // The box's own cursor never selects the text, and moves to the start while the
        // layout is held: a shown selection, or a caret moved from the end, has a long text
        // laid out to its end at once.
        const LayoutHold hold(this);
        QTextCursor all(document());
        all.select(QTextCursor::Document);
        all.mergeCharFormat(f);
        setTextCursor(QTextCursor(document()));
    }
    ensureCursorVisible();
    return true;
}

bool RichTextBox::SetFocus()
{
    return FormEvents::GiveFocus(this);
}

// ---- files ----

bool RichTextBox::LoadFile(const QString& path, FileType type)
{
    m_loadError.clear();
    // Only a regular file: a pipe or a device would hold the window.
    QByteArray content;
    const SafeFile::ReadStatus status = SafeFile::ReadRegular(path, MaxFileBytes, &content);
    if (status == SafeFile::ReadStatus::TooLarge) {
        const qint64 size = QFileInfo(SafeFile::Native(path)).size();
        m_loadError = TooLargeToOpen(
            QStringLiteral("it has %1 KB (at most %2 KB)").arg((size + 1023) / 1024).arg(MaxFileBytes / 1024));
        return false;
    }
    if (status != SafeFile::ReadStatus::Ok) {
        m_loadError = SafeFile::ReadFailure(status);
        return false;
    }
    bool decoded = true;
    const RtfContent read = type == RtfFile && Rtf::LooksLikeRtf(content)
        ? Rtf::Read(content)
        : Rtf::FromPlainText(CodePage::FromGbk(content, &decoded), RtfCharFormat{});
    // Shown with replacement characters, the text would be saved without its bytes.
    if (read.undecodable || !decoded) {
        m_loadError = NotCodePageText();
        return false;
    }
    const QString refusal = read.truncated
        ? QStringLiteral("it has more than %1 paragraphs and runs of text").arg(Rtf::MaxPieces)
        : SaveRefusal(read.pieces);
    if (!refusal.isEmpty()) {
        m_loadError = TooLargeToOpen(refusal);
        return false;
    }
    document()->setUndoRedoEnabled(false);
    Place(read, true);
    document()->setUndoRedoEnabled(true);
    m_uncheckedHeight = 0;
    m_uncheckedWork = 0;
    return true;
}

QString RichTextBox::SaveRefusal(const QVector<RtfPiece>& pieces) const
{
    // The writer's own cost of the text (its RTF is plain ASCII, one byte a character), and
    // what the reader will refuse besides.
    const QString tooLarge =
        SaveRefusalFor(pieces.size(), Rtf::Write(pieces, font().family(), font().pointSizeF()).size());
    return tooLarge.isEmpty() ? LayoutRefusal(pieces) : tooLarge;
}

bool RichTextBox::SaveFile(const QString& path, FileType type)
{
    m_saveError.clear();
    QByteArray data;
    if (type == RtfFile) {
        const QVector<RtfPiece> pieces = Pieces();
        data = Rtf::Write(pieces, font().family(), font().pointSizeF()).toLatin1();
        m_saveError = SaveRefusalFor(pieces.size(), data.size());
        if (m_saveError.isEmpty())
            m_saveError = LayoutRefusal(pieces);
    } else {
        const QString text = Text();
        data = CodePage::ToGbk(text);
        m_saveError = SaveRefusalFor(0, data.size());
        if (m_saveError.isEmpty())
            m_saveError = LayoutRefusal(Rtf::FromPlainText(text, RtfCharFormat{}).pieces);
    }
    if (!m_saveError.isEmpty()) {
        m_saveError = QStringLiteral("The text is too large to save: %1.").arg(m_saveError);
        return false;
    }
    return SafeFile::WriteAll(SafeFile::Native(path), data);
}

// ---- events ----

void RichTextBox::EmitMouse(QMouseEvent* e, int which)
{
    const QPoint p = viewport()->mapTo(this, e->position().toPoint());
    const double x = Twips::FromPixelsX(p.x());
    const double y = Twips::FromPixelsY(p.y());
    const int shift = ShiftState(e->modifiers());
    if (which == 0)
        emit MouseDown(ButtonCode(e->button()), shift, x, y);
    else if (which == 1)
        emit MouseMove(ButtonCode(e->buttons()), shift, x, y);
    else
        emit MouseUp(ButtonCode(e->button()), shift, x, y);
}

void RichTextBox::mousePressEvent(QMouseEvent* e)
{
    QTextEdit::mousePressEvent(e);
    EmitMouse(e, 0);
}

void RichTextBox::mouseMoveEvent(QMouseEvent* e)
{
    QTextEdit::mouseMoveEvent(e);
    EmitMouse(e, 1);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* e)
{
    QTextEdit::mouseReleaseEvent(e);
    EmitMouse(e, 2);
}

void RichTextBox::keyPressEvent(QKeyEvent* e)
{
    emit KeyDown(Keys::FromQt(e->key()), ShiftState(e->modifiers()));
    QTextEdit::keyPressEvent(e);
}

void RichTextBox::keyReleaseEvent(QKeyEvent* e)
{
    QTextEdit::keyReleaseEvent(e);
    emit KeyUp(Keys::FromQt(e->key()), ShiftState(e->modifiers()));
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(QStringLiteral("text/rtf")) || source->hasFormat(QStringLiteral("application/rtf"))
        || QTextEdit::canInsertFromMimeData(source);
}

// Pasted and dropped text keeps its formatting but arrives as plain paragraphs and runs, so
// positions stay as the rest of the box counts them. The richest format offered within the
// box's file bounds is taken: a larger RTF or HTML gives way to the plain text offered with
// it, a plain text beyond them is refused unread (FileBoundsRefusal), and an offer of none of
// them (nothing at all, a picture only) changes nothing.
void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !source)
        return;
    for (const char* rtfType : {"text/rtf", "application/rtf"}) {
        if (!source->hasFormat(QLatin1String(rtfType)))
            continue;
        const QByteArray rtf = source->data(QLatin1String(rtfType));
        if (rtf.size() > MaxFileBytes)
            continue;
        Insert(Rtf::Read(rtf), false);
        ensureCursorVisible();
        return;
    }
    const QString html = source->hasHtml() ? source->html() : QString();
    if (!html.isEmpty() && html.size() <= MaxFileBytes) {
        QTextDocument pasted;
        pasted.setHtml(html);
        RtfContent content;
        content.pieces = DocumentPieces(&pasted, 0, pasted.characterCount() - 1);
        Insert(content, false);
    } else if (const std::optional<QString> text = OfferedText(source)) {
        if (const QString why = FileBoundsRefusal(*text); why.isEmpty())
            SetSelText(*text);
        else
            Refuse(Edit::Text, why);
    }
    ensureCursorVisible();
}

QString RichTextBox::FileBoundsRefusal(const QString& text)
{
    if (text.size() > MaxFileBytes)
        return QStringLiteral("it holds %1 characters (at most %2)").arg(text.size()).arg(MaxFileBytes);
    qsizetype lineBreaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // CR LF, CR or LF: one paragraph end each.
        const bool crAlone = c == QLatin1Char('\r') && (i + 1 == text.size() || text.at(i + 1) != QLatin1Char('\n'));
        if (c == QLatin1Char('\n') || crAlone)
            ++lineBreaks;
    }
    if (lineBreaks > Rtf::MaxPieces)
        return QStringLiteral("it holds %1 lines (at most %2)").arg(lineBreaks + 1).arg(Rtf::MaxPieces);
    return QString();
}
