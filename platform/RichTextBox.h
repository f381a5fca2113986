#pragma once
// The rich-text box of the reading windows: plain text, a 0-based selection, RTF in and out,
// formatting of the selection, files, and the mouse and key events the look-up windows use.
//
// Positions: a paragraph break counts as two characters, CR LF, in Text() and in every
// position (SelStart, SelLength), exactly as the old box gave its text, so a position found by
// searching Text() selects the same characters, and a selection that spans a break has a
// SelText with CR LF in it. A position that would fall between the CR and the LF of a break
// moves to the start of the next paragraph. A line break inside a paragraph (RTF \line,
// Shift+Enter, a pasted <br>) is one vertical tab, as the old box gave it.
//
// Fonts: the names the RTF gives are kept as they are (so saving writes them back) and drawn
// through font substitution: the Song typeface names draw in Noto Serif CJK SC, the Latin
// serif and sans names in the installed serif and sans fonts with the simplified Chinese
// forms of Noto for Chinese characters.
//
// Layout: the box takes no text it could not lay out. Qt's layout of a document stops finishing
// once the document is 21,474,836 pixels tall: it starts again from the top for good, and the
// window answers late ever after. And it lays a paragraph out whole, at once: a paragraph of
// millions of characters, a word far wider than the line, or one that changes writing direction
// at every letter, holds the window for minutes; Ctrl+End lays the whole text out at once. So
// every text the box is given whole (SetText, SetTextRTF, LoadFile, FormatAll, a font changed
// over a long selection, a long insertion) is measured first (LayoutEstimate, at the box's
// width and fonts), and refused when it would be taller than MaxLayoutHeight, hold a paragraph
// of more work than MaxParagraphWork or be more work than MaxTextWork as a whole: the box then
// keeps what it held, and says why (Refused). Small insertions are counted and the whole text
// measured once they add up.

#include <QColor>
#include <QSizeF>
#include <QString>
#include <QTextEdit>
#include <memory>

#include "RtfDocument.h"

class LayoutEstimate;

class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    enum FileType { RtfFile = 0, TextFile = 1 };

    explicit RichTextBox(QWidget* parent = nullptr);

    // Plain text with CR LF between paragraphs. Setting it replaces everything, in one format
    // (the box's font when none is given); line breaks in the new text (CR LF, CR or LF) become
    // paragraph breaks. Setting and inserting text give false when the box refused the text
    // (see Layout above) and kept what it held.
    QString Text() const;
    bool SetText(const QString& text, const RtfCharFormat& format = RtfCharFormat{});
    int TextLength() const;

    // The selection, 0-based. Setting SelStart moves the caret and drops the selection
    // (clamped to the text); setting SelLength selects from SelStart on.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    QString SelText() const;
    // Replaces the selection by plain text in the format at the caret.
    bool SetSelText(const QString& text);

    // The whole content as RTF; setting it replaces everything and puts the caret at 0.
    QString TextRTF() const;
    bool SetTextRTF(const QString& rtf);
    // The selection as RTF; setting it replaces the selection (inserts at the caret) and
    // leaves the caret after the inserted content.
    QString SelRTF() const;
    bool SetSelRTF(const QString& rtf);

    // Formatting of the selection (of the caret's format when nothing is selected). Reading a
    // mixed selection gives the format of its first character. A font, size, weight or slant
    // that would make the text too tall to lay out is not set.
    QColor SelColor() const;
    void SetSelColor(const QColor& color);
    QString SelFontName() const;
    void SetSelFontName(const QString& name);
    double SelFontSize() const;
    void SetSelFontSize(double points);
    bool SelBold() const;
    void SetSelBold(bool on);
    bool SelItalic() const;
    void SetSelItalic(bool on);
    bool SelUnderline() const;
    void SetSelUnderline(bool on);
    // The whole text in one font (name and size in points), colour, weight and slant, the
    // caret at the start: what selecting everything and setting each of these does, in one
    // pass however long the text. False, and nothing changed, when the text would be too tall.
    bool FormatAll(const QString& fontName, double points, const QColor& color, bool bold, bool italic);

    // Gives the box the keyboard focus; false when it cannot take it (hidden or disabled),
    // which the windows ignore.
    bool SetFocus();

    // Files: RTF (a file that is not RTF loads as plain text) or code page 936 text. Saving
    // goes through a temporary file. False when the file cannot be read or written. Loading
    // and saving share their bounds, so the box never saves a file it could not load again
    // whole, nor loads one it could not save again: a file larger than MaxFileBytes is refused
    // unread, and so is a content that would be saved larger than that or in more runs and
    // paragraph ends than the RTF reader takes back (Rtf::MaxPieces), or too tall to lay out
    // (LayoutRefusal), and so is one whose text holds bytes that are no characters of code
    // page 936, which the box could show only as replacement characters and never save back;
    // the box then keeps what it held. Saving a content too large to load again writes
    // nothing (the file keeps what it held). LoadError() and SaveError() then say why, for the caller
    // to show.
    static constexpr qint64 MaxFileBytes = 16LL * 1024 * 1024;
    bool LoadFile(const QString& path, FileType type = RtfFile);
    bool SaveFile(const QString& path, FileType type = RtfFile);
    // Why the last LoadFile failed (empty after a successful load).
    QString LoadError() const { return m_loadError; }
    // Why the last SaveFile failed when the content was too large; empty otherwise (a file
    // that could not be written is the caller's disk warning).
    QString SaveError() const { return m_saveError; }
    // Why a content could not be saved as RTF and loaded again, as a clause ("it has 700000
    // paragraphs and runs of text (at most 600000)"); empty when it could. For a caller that
    // asks before it takes a text the box will have to keep.
    QString SaveRefusal(const QVector<RtfPiece>& pieces) const;

    // The tallest text the box lays out, as estimated: a margin below the 21,474,836 pixels
    // past which Qt's layout never finishes (the estimate is never below the layout). At 24
    // points that is 526,000 empty lines in a Latin font, 425,000 in a Chinese one.
    static constexpr qreal MaxLayoutHeight = 20000000;
    // The most work showing a paragraph may take, in microseconds (LayoutEstimate): about
    // two million Latin characters, far fewer in words wider than the line, in changes of
    // writing direction or format, or in combining marks piled on one character.
    static constexpr qreal MaxParagraphWork = 2000000;
    // The most work laying the whole text out once may take (Ctrl+End does), a little above a
    // paragraph's: the 300,000 short lines the RTF reader takes back, numbered, which take
    // 1.85 s on a desktop where the estimate puts them at 2.06, or some six million Latin
    // characters in paragraphs of words.
    static constexpr qreal MaxTextWork = 2200000;
    // Why the box would not lay a content out as the whole text, as a clause ("a paragraph of
    // it would take about 24 seconds to lay out (at most 2.0 seconds), for its 64000 changes of
    // writing direction or script"); empty when it would.
    QString LayoutRefusal(const QVector<RtfPiece>& pieces) const;
    // Why a plain text could not be in a file of the box at all, as a clause ("it holds 700000
    // lines (at most 600000)"); empty when it could: no more characters than MaxFileBytes
    // (each takes a byte or more) and no more line breaks than the RTF reader takes paragraph
    // ends (Rtf::MaxPieces). Found in one pass, without measuring the text: a paste, or a
    // caller about to set a text from the clipboard, refuses at once what no file of the box
    // could hold, however large, instead of measuring it (which takes seconds at 50 MB, and a
    // text of short lines can pass the layout bounds).
    static QString FileBoundsRefusal(const QString& text);
    // The estimate of a content as the whole text, at the box's width and fonts.
    std::unique_ptr<LayoutEstimate> Estimate(const QVector<RtfPiece>& pieces) const;
    // Why the box last refused a text or a change of format it was given (as LayoutRefusal).
    QString Refusal() const { return m_refusal; }
    enum class Edit { Text, Format };
    Q_ENUM(Edit)

    // The runs of the content, as the RTF writer sees them (for checks of what is shown).
    QVector<RtfPiece> Pieces() const;
    // Families a run in this font name is drawn with (the name first, then its substitutes).
    static QStringList DrawingFamilies(const QString& fontName);

signals:
    // Old-style events. Buttons: 1 left, 2 right, 4 middle. Shift: 1 Shift, 2 Ctrl, 4 Alt.
    // x and y are twips inside the box. MouseUp comes after the selection is complete.
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    // Virtual key codes (13 Enter, 27 Esc, 37-40 arrows, 65-90 letters, ...; 0 for keys
    // without one). KeyDown comes before the box handles the key, KeyUp after.
    void KeyDown(int keyCode, int shift);
    void KeyUp(int keyCode, int shift);
    // The content changed (text or formatting), by the learner or by the program.
    void Change();
    // The box refused a text it was given (set, inserted, pasted or dropped) or a change of
    // format of its text, kept what it held, and says why (as LayoutRefusal). A paste or a
    // drop returns nothing to whoever started it: the window learns of it here.
    void Refused(RichTextBox::Edit edit, const QString& why);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // While a hold lives, edits of the document are not laid out. A shown box lays an edit out
    // at once, from the edit to the end of the text: a long text replaced or formatted would
    // be laid out whole, and for each edit, before the window could answer. When the last
    // hold ends, the whole text is laid out afresh as a new text is: the first page at once,
    // the rest in steps between events.
    class LayoutHold {
    public:
        explicit LayoutHold(RichTextBox* box);
        ~LayoutHold();
        LayoutHold(const LayoutHold&) = delete;
        LayoutHold& operator=(const LayoutHold&) = delete;

    private:
        RichTextBox* m_box;
    };

    // Gives the document pages of a height the layout can go past (see PageHeight).
    void KeepPageHeight();
    // An estimate of how the box lays text out (LayoutEstimate), at its width and fonts.
    std::unique_ptr<LayoutEstimate> NewEstimate() const;
    // Why the box does not take content for the selection or as the whole text (empty when it
    // does): the text it would then hold is measured, or the insertion counted while
    // insertions stay small.
    QString Refuses(const RtfContent& content, bool wholeDocument);
    // Why the text as it would be with the selection's font changed by format is not laid out.
    QString RefusesSelectionFormat(const QTextCharFormat& format) const;
    // Keeps the reason and tells the window.
    void Refuse(Edit edit, const QString& why);
    int ToBoxPosition(int docPosition) const;
    int ToDocPosition(int boxPosition) const;
    // Insert checks first (Refuses); Place puts content in.
    bool Insert(const RtfContent& content, bool wholeDocument);
    void Place(const RtfContent& content, bool wholeDocument);
    void MergeSelectionFormat(const QTextCharFormat& format);
    QTextCharFormat SelectionFormat() const;
    void EmitMouse(QMouseEvent* e, int which);

    QString m_loadError;
    QString m_saveError;
    QString m_refusal;
    int m_layoutHolds{0};
    QSizeF m_heldPageSize;
    // Estimated height and paragraph work inserted since the whole text was last measured.
    qreal m_uncheckedHeight{0};
    qreal m_uncheckedWork{0};
};
