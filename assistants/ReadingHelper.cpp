#include "ReadingHelper.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>

#include "Clock.h"
#include "ControlKit.h"
#include "Dictionary.h"
#include "DictionaryOnline.h"
#include "FileDialog.h"
#include "FormEvents.h"
#include "Forms.h"
#include "MsgBox.h"
#include "PairReading.h"
#include "RecordFolder.h"
#include "RichTextBox.h"
#include "SyllableQueue.h"
#include "Timer.h"
#include "Twips.h"
#include "Zoom.h"

namespace {

constexpr double FormWidth = 11550;
// Low enough for the tool stack, with both dictionaries and the frames, to fit 1024 x 768.
constexpr double FormHeight = 6480;
constexpr int AutosaveMs = 60000;
constexpr int AnnotateDelayMs = 100;
constexpr qint16 PopupOffset = 260;
constexpr double ReadingPoints = 24;
const QStringList Sans{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")};
const QString OpenFilter = QStringLiteral("(Rich) Text File (*.txt;*.rtf)|*.txt;*.rtf");

QString ReadingFile() { return RecordPath(QStringLiteral("Reading.rtf")); }

// What FormatText gives the whole text: 24-point black "Microsoft Sans Serif", neither bold
// nor italic (nor underlined, as a plain text arrives).
RtfCharFormat ReadingFormat()
{
    RtfCharFormat f;
    f.fontName = QStringLiteral("Microsoft Sans Serif");
    f.fontCharset = 0;
    f.pointSize = ReadingPoints;
    f.color = QColor(0, 0, 0);
    return f;
}

} // namespace

ReadingHelper::ReadingHelper()
    : ToolWindow(QStringLiteral("ReadingHelper"), FormWidth, FormHeight)
{
    SetCaption(QStringLiteral("Chinese Reading Helper"));
    const Kit::Look look{.font = Sans, .points = 8.25};
    Kit::Label(this, QStringLiteral("Label3"), {120, 90, 11300, 285},
        QStringLiteral("You can read your own Chinese articles here with the help of the two dictionaries"),
        {.font = Sans, .points = 9.75, .weight = QFont::Bold, .ink = QColor(0, 0, 128)});

    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    Twips::Place(RichTextBox1, 120, 420, 11300, 4620);
    Kit::SetLook(RichTextBox1, {.font = Sans, .points = ReadingPoints});

    Kit::Label(this, QStringLiteral("Label1"), {120, 5130, 7200, 250},
        QStringLiteral("The program can read aloud as many as 20 Chinese characters selected by cursor each time."), look);
    Kit::Label(this, QStringLiteral("Label4"), {120, 5385, 7200, 250},
        QStringLiteral("Attention: Chinese vocabulary usually consist of 1 to 4 words."), look);
    Kit::Label(this, QStringLiteral("Label5"), {120, 5640, 7200, 250},
        QStringLiteral("To zoom in a word, press key Ctrl while you select it."), look);
    Check1 = Kit::CheckBox(this, QStringLiteral("Check1"), {7500, 5130, 1700, 285}, QStringLiteral("Change color"), look);
    Check1->setToolTip(QStringLiteral("Change the color of the text selected by cursor"));
    Label2 = Kit::Label(this, QStringLiteral("Label2"), {9300, 5130, 2100, 250}, QStringLiteral("Looking for Pinyin"),
        {.font = Sans, .points = 8.25, .ink = QColor(255, 0, 0)});
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    Twips::Place(ProgressBar1, 9300, 5415, 2100, 240);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    Label2->hide();
    ProgressBar1->hide();

    Command5 = Kit::Button(this, QStringLiteral("Command5"), {120, 6000, 1200, 400}, QStringLiteral("Open"), look);
    Command4 = Kit::Button(this, QStringLiteral("Command4"), {1440, 6000, 1200, 400}, QStringLiteral("Paste"), look);
    Command3 = Kit::Button(this, QStringLiteral("Command3"), {2760, 6000, 1500, 400}, QStringLiteral("Clear + paste"),
        look);
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {4380, 6000, 1200, 400}, QStringLiteral("Clear"), look);
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {10220, 6000, 1200, 400}, QStringLiteral("Close"), look);

    Timer1 = new Timer(this, AutosaveMs, false);
    Timer2 = new Timer(this, AnnotateDelayMs, false);

    connect(Command1, &QPushButton::clicked, this, &ReadingHelper::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ReadingHelper::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &ReadingHelper::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &ReadingHelper::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &ReadingHelper::Command5_Click);
    connect(Check1, &QCheckBox::toggled, this, &ReadingHelper::Check1_Click);
    connect(Timer1, &Timer::Tick, this, &ReadingHelper::Timer1_Timer);
    connect(Timer2, &Timer::Tick, this, &ReadingHelper::Timer2_Timer);
    connect(RichTextBox1, &RichTextBox::Change, this, &ReadingHelper::RichTextBox1_Change);
    connect(RichTextBox1, &RichTextBox::MouseUp, this, &ReadingHelper::RichTextBox1_MouseUp);
    connect(RichTextBox1, &RichTextBox::KeyDown, this, &ReadingHelper::RichTextBox1_KeyDown);
    connect(RichTextBox1, &RichTextBox::KeyUp, this, &ReadingHelper::RichTextBox1_KeyDown);
    // After the paste or the click is over: a paste by keys or a drop returns nothing, and the
    // message must not open inside the box's own handling of it.
    connect(
        RichTextBox1, &RichTextBox::Refused, this,
        [this](RichTextBox::Edit edit, const QString& why) { RichTextBox1_Refused(edit == RichTextBox::Edit::Format, why); },
        Qt::QueuedConnection);
}

ReadingHelper::~ReadingHelper() = default;

void ReadingHelper::Form_Load()
{
    // Whatever stands under the name is read, so that what the box cannot load (a FIFO or a
    // folder too) is set aside and named: the learner's saved text is never lost to the first
    // save of the empty box.
    if (QFileInfo::exists(ReadingFile()) && !RichTextBox1->LoadFile(ReadingFile()))
        KeepRefusedRecord(ReadingFile(), RichTextBox1->LoadError());
    m_autosave.Clear();
    Timer1->SetEnabled(false);
}

void ReadingHelper::Tool_Unload()
{
    // A look-up still running is dropped, and nothing it would have said is played.
    m_reader.reset();
    Timer2->SetEnabled(false);
    m_autosave.ResetTicks();
    SaveReading();
    Timer1->SetEnabled(false);
}

// ---- buttons ----

void ReadingHelper::Command1_Click() { CloseTool(); }

void ReadingHelper::Command2_Click()
{
    RichTextBox1->SetText(QString());
    RichTextBox1->SetFocus();
}

void ReadingHelper::Command3_Click()
{
    // Set in the reading format at once, as FormatText would leave it: a text that fits in
    // that format is not refused for its size in the box's own font. A text that no file of
    // the box could hold is refused at once, unmeasured, as a paste into the box is: the box
    // keeps what it held, and the learner is told why.
    const QString text = QGuiApplication::clipboard()->text();
    if (const QString why = RichTextBox::FileBoundsRefusal(text); !why.isEmpty()) {
        RichTextBox1_Refused(false, why);
        return;
    }
    RichTextBox1->SetText(text, ReadingFormat());
    RichTextBox1->SetFocus();
}

void ReadingHelper::Command4_Click()
{
    // As the paste keystroke would: the selection collapses on the key, and the clipboard
    // goes in at the caret with its own formatting.
    RichTextBox1->SetFocus();
    RichTextBox1->SetSelStart(RichTextBox1->SelStart() + RichTextBox1->SelLength());
    RichTextBox1->paste();
}

void ReadingHelper::Command5_Click()
{
    const QString path = FileDialog::GetOpenFileName(this, OpenFilter);
    if (path.isEmpty())
        return;
    const QString refusal = OpenReading(path);
    if (!refusal.isEmpty()) {
        MsgBox::Warning(refusal);
        // The box came before the window manager had given the keys back after the dialog,
        // so it gives them to the main window when it closes: this window takes them again.
        FormEvents::GiveFocus(Command5);
        return;
    }
    RichTextBox1_Change();
    RichTextBox1->SetFocus();
}

QString ReadingHelper::OpenReading(const QString& path)
{
    // A plain text is read up to a quarter of the box's bound, which keeps opening it within
    // seconds; RTF as large as the bound.
    const OpenedReading opened =
        ReadReadingFile(path, IsPlainTextName(path) ? RichTextBox::MaxFileBytes / 4 : RichTextBox::MaxFileBytes);
    switch (opened.Result) {
    case OpenedReading::Failed:
        return opened.Error;
    case OpenedReading::PlainText: {
        // Only a text the box can save and load again whole, as the writer will write it, and
        // lay out. It goes in formatted, as FormatText would leave it.
        const QString refusal = RichTextBox1->SaveRefusal(Rtf::FromPlainText(opened.Text, ReadingFormat()).pieces);
        if (!refusal.isEmpty())
            return QStringLiteral("The file is too large to open: %1.").arg(refusal);
        RichTextBox1->SetText(opened.Text, ReadingFormat());
        return QString();
    }
    case OpenedReading::Rtf:
        return RichTextBox1->LoadFile(path) ? QString() : RichTextBox1->LoadError();
    }
    return QString();
}

void ReadingHelper::Check1_Click()
{
    if (!Check1->isChecked())
        FormatText();
}

void ReadingHelper::FormatText()
{
    const RtfCharFormat f = ReadingFormat();
    RichTextBox1->FormatAll(f.fontName, f.pointSize, f.color, f.bold, f.italic);
}

// ---- saving ----

void ReadingHelper::RichTextBox1_Change()
{
    if (m_autosave.Changed())
        Timer1->SetEnabled(true);
}

void ReadingHelper::Timer1_Timer()
{
    if (!m_autosave.Tick())
        return;
    Timer1->SetEnabled(false);
    SaveReading();
}

void ReadingHelper::SaveReading()
{
    if (!m_autosave.Pending())
        return;
    EnsureRecordFolder();
    if (RichTextBox1->SaveFile(ReadingFile())) {
        Timer1->SetEnabled(false);
        m_autosave.Clear();
    } else if (!RichTextBox1->SaveError().isEmpty()) {
        // Too large to load again: the file keeps the text saved before.
        MsgBox::Warning(RichTextBox1->SaveError() + u'\n' + ReadingFile());
    } else {
        ShowDiskWriteWarning(RecordFolder(), SafeFile::WriteFailure());
    }
}

void ReadingHelper::RichTextBox1_Refused(bool format, const QString& why)
{
    // The box kept the text it held (a paste, "Clear + paste", or unticking "Change color"
    // that would hold the window for seconds, or make the text too tall).
    MsgBox::Warning((format ? QStringLiteral("The text is too large to format: %1.")
                            : QStringLiteral("The text is too large to paste: %1."))
            .arg(why));
    // The window manager hands the keys elsewhere when the box closes.
    FormEvents::GiveFocus(format ? static_cast<QWidget*>(Check1) : RichTextBox1);
}

// ---- the selection ----

void ReadingHelper::RichTextBox1_KeyDown(int, int)
{
    // The keyboard cannot extend a selection.
    RichTextBox1->SetSelStart(RichTextBox1->SelStart() + RichTextBox1->SelLength());
}

void ReadingHelper::RichTextBox1_MouseUp(int, int shift, double x, double y)
{
    m_mouseX = x;
    m_mouseY = y;
    ReadingSelection selection;
    selection.BoxText = RichTextBox1->Text();
    selection.SelStart = RichTextBox1->SelStart();
    selection.SelLength = RichTextBox1->SelLength();
    selection.Shift = shift;
    const Dictionary* dictionary = Forms::Find<Dictionary>();
    const DictionaryOnline* online = Forms::Find<DictionaryOnline>();
    selection.LocalTicked = dictionary && dictionary->AutoLookUp();
    selection.OnlineTicked = online && online->AutoLookUp();
    selection.ColourTicked = Check1->isChecked();
    selection.Annotating = !ProgressBar1->isHidden() || m_reader != nullptr;
    selection.LastText = m_lastText;
    selection.LastPinyin = m_lastPinyin;
    RouteReadingSelection(selection, *this);
}

void ReadingHelper::ShowPopup(const QString& ch)
{
    Zoom* zoom = Forms::Find<Zoom>();
    if (!zoom)
        return;
    const QPoint boxAt = RichTextBox1->mapTo(this, QPoint(0, 0));
    zoom->ChaZhao(ch, QString(), QString(), Left(), Twips::FromPixelsX(boxAt.x()), m_mouseX, Top(),
        Twips::FromPixelsY(boxAt.y()), m_mouseY, PopupOffset);
}

QString ReadingHelper::LookUpOnline(const QString& word, int charIndex, const QString& context)
{
    DictionaryOnline* online = Forms::Find<DictionaryOnline>();
    if (!online)
        return word;
    online->Common01(word, charIndex, context);
    return online->LastQuery();
}

void ReadingHelper::LookUpLocal(const QString& word)
{
    if (Dictionary* dictionary = Forms::Find<Dictionary>()) {
        QString w = word;
        dictionary->Common01(w, false);
    }
}

void ReadingHelper::StartAnnotation(const QString& text)
{
    m_lastText = text;
    ShowProgress(true);
    Timer2->SetEnabled(true);
}

void ReadingHelper::Replay(const QString& pinyin) { PlayPinyinSequence(pinyin); }

void ReadingHelper::Colour(int start, int length)
{
    Random::Randomize();
    const double red = Random::Rnd();
    const double green = Random::Rnd();
    const double blue = Random::Rnd();
    RichTextBox1->SetSelStart(start);
    RichTextBox1->SetSelLength(length);
    RichTextBox1->SetSelColor(QColor(int(255 * red), int(255 * green), int(255 * blue)));
}

void ReadingHelper::Collapse(int caret) { RichTextBox1->SetSelStart(caret); }

// ---- the pinyin look-up ----

void ReadingHelper::Timer2_Timer()
{
    Timer2->SetEnabled(false);
    AnnotatePinyin(m_lastText);
}

void ReadingHelper::ShowProgress(bool on)
{
    Label2->setVisible(on);
    ProgressBar1->setVisible(on);
}

void ReadingHelper::AnnotatePinyin(const QString& text)
{
    m_reader = std::make_unique<PairReader>(text);
    ProgressBar1->setValue(0);
    ShowProgress(true);
    AnnotateStep();
}

void ReadingHelper::AnnotateStep()
{
    if (!m_reader)
        return;
    // One character per turn of the event loop: the window stays live, and closing it drops
    // the reader.
    m_reader->Step();
    ProgressBar1->setValue(m_reader->Percent());
    if (!m_reader->AtEnd()) {
        QMetaObject::invokeMethod(this, &ReadingHelper::AnnotateStep, Qt::QueuedConnection);
        return;
    }
    m_lastPinyin = m_reader->Syllables();
    m_reader.reset();
    ShowProgress(false);
    ProgressBar1->setValue(0);
    if (!m_lastPinyin.isEmpty())
        PlayPinyinSequence(m_lastPinyin);
}
