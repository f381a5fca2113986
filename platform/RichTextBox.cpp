#include "RichTextBox.h"

#include <QFile>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <algorithm>

#include "CodePage.h"
#include "Form.h"
#include "FormEvents.h"
#include "SafeFile.h"
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
    for (QTextBlock block = doc->findBlock(start); block.isValid() && block.position() < end; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int from = std::max(frag.position(), start);
            const int to = std::min(frag.position() + frag.length(), end);
            if (from >= to)
                continue;
            RtfPiece piece;
            piece.text = frag.text().mid(from - frag.position(), to - from);
            piece.text.remove(QChar(0xFDD0)).remove(QChar(0xFDD1)).remove(QChar::ObjectReplacementCharacter);
            piece.format = FromQt(frag.charFormat());
            AppendPiece(pieces, std::move(piece));
        }
        const int separator = block.position() + block.length() - 1;
        if (separator >= start && separator < end && block.next().isValid()) {
            RtfPiece piece;
            piece.kind = RtfPiece::ParagraphEnd;
            piece.format = FromQt(block.next().charFormat());
            piece.alignment = FromQt(block.blockFormat().alignment());
            pieces.push_back(piece);
        }
    }
    return pieces;
}

// Plain text as paragraphs in one format: CR LF, CR and LF end a paragraph; a vertical tab is
// a line break inside one, as Text() gives it back.
RtfContent PlainContent(const QString& text, const RtfCharFormat& format)
{
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    normal.replace(QLatin1Char('\v'), QChar::LineSeparator);
    RtfContent content;
    const QStringList lines = normal.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            content.pieces.push_back(RtfPiece{RtfPiece::ParagraphEnd, {}, format, RtfAlignment::Left});
        AppendPiece(content.pieces, RtfPiece{RtfPiece::Text, lines[i], format, RtfAlignment::Left});
    }
    return content;
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
}

QStringList RichTextBox::DrawingFamilies(const QString& fontName)
{
    InstallFontSubstitutions();
    QStringList families{fontName};
    families += QFont::substitutes(fontName);
    return families;
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

void RichTextBox::SetText(const QString& text)
{
    document()->setUndoRedoEnabled(false);
    Insert(PlainContent(text, RtfCharFormat{}), true);
    document()->setUndoRedoEnabled(true);
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

void RichTextBox::SetSelText(const QString& text) { Insert(PlainContent(text, FromQt(textCursor().charFormat())), false); }

// ---- RTF ----

QVector<RtfPiece> RichTextBox::Pieces() const { return DocumentPieces(document(), 0, document()->characterCount() - 1); }

QString RichTextBox::TextRTF() const { return Rtf::Write(Pieces(), font().family(), font().pointSizeF()); }

void RichTextBox::SetTextRTF(const QString& rtf)
{
    document()->setUndoRedoEnabled(false);
    Insert(Rtf::Read(rtf), true);
    document()->setUndoRedoEnabled(true);
}

QString RichTextBox::SelRTF() const
{
    const QTextCursor c = textCursor();
    return Rtf::Write(DocumentPieces(document(), c.selectionStart(), c.selectionEnd()), font().family(), font().pointSizeF());
}

void RichTextBox::SetSelRTF(const QString& rtf) { Insert(Rtf::Read(rtf), false); }

void RichTextBox::Insert(const RtfContent& content, bool wholeDocument)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (wholeDocument) {
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
        cursor.setBlockFormat(QTextBlockFormat());
        cursor.setBlockCharFormat(QTextCharFormat());
    } else {
        cursor.removeSelectedText();
    }
    for (const RtfPiece& piece : content.pieces) {
        if (piece.kind == RtfPiece::Text) {
            cursor.insertText(piece.text, ToQt(piece.format));
        } else {
            QTextBlockFormat block = cursor.blockFormat();
            block.setAlignment(ToQt(piece.alignment));
            cursor.setBlockFormat(block);
            block.setAlignment(Qt::AlignLeft);
            cursor.insertBlock(block, ToQt(piece.format));
        }
    }
    if (wholeDocument) {
        QTextBlockFormat block = cursor.blockFormat();
        block.setAlignment(ToQt(content.finalAlignment));
        cursor.setBlockFormat(block);
    }
    cursor.endEditBlock();
    if (wholeDocument)
        cursor.setPosition(0);
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
    if (c.hasSelection())
        c.mergeCharFormat(format);
    else
        mergeCurrentCharFormat(format);
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

bool RichTextBox::SetFocus()
{
    return FormEvents::GiveFocus(this);
}

// ---- files ----

bool RichTextBox::LoadFile(const QString& path, FileType type)
{
    m_loadError.clear();
    QFile file(SafeFile::Native(path));
    if (!file.open(QIODevice::ReadOnly)) {
        m_loadError = file.errorString();
        return false;
    }
    // A pipe or device tells no size: it is read up to one byte past the bound.
    const QByteArray data = file.isSequential() ? file.read(MaxFileBytes + 1) : QByteArray();
    const qint64 size = file.isSequential() ? data.size() : file.size();
    if (size > MaxFileBytes) {
        m_loadError = QStringLiteral("The file is too large to open (%1 KB; at most %2 KB).")
                          .arg((size + 1023) / 1024)
                          .arg(MaxFileBytes / 1024);
        return false;
    }
    const QByteArray content = file.isSequential() ? data : file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_loadError = file.errorString();
        return false;
    }
    if (type == RtfFile && Rtf::LooksLikeRtf(content)) {
        document()->setUndoRedoEnabled(false);
        Insert(Rtf::Read(content), true);
        document()->setUndoRedoEnabled(true);
    } else {
        SetText(CodePage::FromGbk(content));
    }
    return true;
}

bool RichTextBox::SaveFile(const QString& path, FileType type)
{
    m_saveError.clear();
    const QByteArray data = type == RtfFile ? TextRTF().toLatin1() : CodePage::ToGbk(Text());
    if (data.size() > MaxFileBytes) {
        m_saveError = QStringLiteral("The text is too large to save (%1 KB; at most %2 KB).")
                          .arg((data.size() + 1023) / 1024)
                          .arg(MaxFileBytes / 1024);
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
// positions stay as the rest of the box counts them.
void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    for (const char* rtfType : {"text/rtf", "application/rtf"}) {
        if (source->hasFormat(QLatin1String(rtfType))) {
            Insert(Rtf::Read(source->data(QLatin1String(rtfType))), false);
            ensureCursorVisible();
            return;
        }
    }
    if (source->hasHtml()) {
        QTextDocument pasted;
        pasted.setHtml(source->html());
        RtfContent content;
        content.pieces = DocumentPieces(&pasted, 0, pasted.characterCount() - 1);
        Insert(content, false);
    } else if (source->hasText()) {
        SetSelText(source->text());
    }
    ensureCursorVisible();
}
