#include "Figure.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "AppState.h"
#include "CharacterTable.h"
#include "ComboBox.h"
#include "Dictionary.h"
#include "DictionaryOnline.h"
#include "Forms.h"
#include "MsgBox.h"
#include "NumberInput.h"
#include "RecordFolder.h"
#include "Twips.h"
#include "WavePlayer.h"

namespace {

// The window's design, in twips.
constexpr double FormWidth = 11550;
constexpr double FormHeight = 5160;
constexpr double Margin = 240;
constexpr double ColumnWidth = 2580;
constexpr double ColumnStep = 2820;
constexpr double CaptionTop = 720;
constexpr double CaptionHeight = 420;
constexpr double InputTop = 1200;
constexpr double InputHeight = 315;
constexpr double ButtonTop = 1620;
constexpr double SpeakWidth = 1680;
constexpr double ClearWidth = 840;
constexpr double ButtonHeight = 375;
constexpr double ShapeTop = 3000;
constexpr double ShapeHeight = 1440;
constexpr double TemplateTop = ShapeTop + 120;

const QStringList SansFamilies{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"),
    QStringLiteral("Noto Sans CJK SC")};
const QStringList SerifFamilies{QStringLiteral("Times New Roman"), QStringLiteral("Noto Serif CJK SC")};

// The column of each mode, left to right, and its "Text to Speech" button index (the mode).
constexpr NumberReader::Mode Modes[] = {
    NumberReader::Cardinal, NumberReader::Ordinal, NumberReader::Percent, NumberReader::Telephone};

double ColumnLeft(int column) { return Margin + column * ColumnStep; }

} // namespace

Figure::Figure()
    : ToolWindow(QStringLiteral("Figure"), FormWidth, FormHeight)
    , m_board(NumberFrame{Margin, FormWidth - 2 * Margin, TemplateTop})
{
    SetCaption(QStringLiteral("Numbers"));
    const Kit::Look sans{.font = SansFamilies, .points = 9};
    const Kit::Look caption{.font = SansFamilies, .points = 9, .weight = QFont::Bold};
    // A long caption takes two lines; the short ones stand on the same line as its second.
    const Kit::Look heading{.font = SansFamilies, .points = 9, .weight = QFont::Bold,
        .align = Qt::AlignLeft | Qt::AlignBottom, .wrap = true};

    Label2 = Kit::Label(this, QStringLiteral("Label2"), {Margin, 120, FormWidth - 2 * Margin, 480},
        QStringLiteral("Here you can learn to speak numbers in  Chinese. Our excellent TTS engine can read any numbers "
                       "in Chinese for you."),
        {.font = SansFamilies, .points = 10, .wrap = true});
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {ColumnLeft(0), CaptionTop, ColumnWidth, CaptionHeight},
        QStringLiteral("Cardinal Numbers and Decimals"), heading);
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {ColumnLeft(1), CaptionTop, ColumnWidth, CaptionHeight},
        QStringLiteral("Ordinal Numbers"), heading);
    Label8 = Kit::Label(this, QStringLiteral("Label8"), {ColumnLeft(2), CaptionTop, ColumnWidth, CaptionHeight},
        QStringLiteral("Percentages"), heading);
    Label13 = Kit::Label(this, QStringLiteral("Label13"), {ColumnLeft(3), CaptionTop, ColumnWidth, CaptionHeight},
        QStringLiteral("Telephone Numbers"), heading);

    Combo2 = new ComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo3 = new QComboBox(this);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    Combo6 = new QComboBox(this);
    Combo6->setObjectName(QStringLiteral("Combo6"));
    Combo12 = new ComboBox(this);
    Combo12->setObjectName(QStringLiteral("Combo12"));
    QComboBox* inputs[] = {Combo2, Combo3, Combo6, Combo12};
    for (int column = 0; column < 4; ++column) {
        Twips::Place(inputs[column], ColumnLeft(column), InputTop, ColumnWidth, InputHeight);
        Kit::SetLook(inputs[column], {.font = SansFamilies, .points = 10});
        const int mode = Modes[column];
        Command2.Add(mode,
            Kit::Button(this, Command2.Name(mode), {ColumnLeft(column), ButtonTop, SpeakWidth, ButtonHeight},
                QStringLiteral("Text to Speech"), sans));
    }
    for (const auto& [index, column] : {std::pair{0, 0}, std::pair{5, 3}}) {
        const double left = ColumnLeft(column) + ColumnWidth - ClearWidth;
        Command3.Add(index, Kit::Button(this, Command3.Name(index), {left, ButtonTop, ClearWidth, ButtonHeight},
                                QStringLiteral("Clear"), sans));
    }

    Label6 = Kit::Label(this, QStringLiteral("Label6"), {ColumnLeft(1), ButtonTop + 480, ColumnWidth, 285}, {},
        {.font = SansFamilies, .points = 10, .ink = QColor(0, 0, 255)});
    Label7 = Kit::Label(this, QStringLiteral("Label7"), {Margin, 2340, FormWidth - 2 * Margin, 285},
        QStringLiteral("Pay attention to the pronunciation of figure 1 in telephone numbers and the pronunciation of "
                       "figure 2."),
        {.font = SansFamilies, .points = 9, .ink = QColor(128, 0, 0)});
    Label4 = Kit::Label(this, QStringLiteral("Label4"), {Margin, 2700, 0, 0},
        QStringLiteral("Corresponding Chinese writing (Clickable)"), caption);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Twips::Place(Shape1, Margin, ShapeTop, FormWidth - 2 * Margin, ShapeHeight);

    // The template every syllable label is cloned from: blue, hidden.
    QLabel* label = Label5.Add(0,
        Kit::Label(this, Label5.Name(0), {Margin, TemplateTop, NumberBoard::LabelStep, NumberBoard::LabelHeight}, {},
            {.font = SerifFamilies, .points = 18, .ink = NumberBoard::Colour(NumberBoard::Ink::Blue),
                .align = Qt::AlignCenter}));
    label->hide();
    Label5.OnClick([this](int k) { Label5_Click(k); });

    Command1 = Kit::Button(this, QStringLiteral("Command1"), {FormWidth - Margin - 1200, 4620, 1200, ButtonHeight},
        QStringLiteral("Close"), sans);

    m_deferrals = new ReadingDeferrals(this, [this](NumberReader::Mode mode) { Command2_Click(mode); });

    connect(Command1, &QPushButton::clicked, this, &Figure::Command1_Click);
    for (const auto& [index, button] : Command2)
        connect(button, &QPushButton::clicked, this, [this, mode = index] { Command2_Click(mode); });
    for (const auto& [index, button] : Command3)
        connect(button, &QPushButton::clicked, this, [this, k = index] { Command3_Click(k); });
    connect(Combo2, &ComboBox::Click, this, [this] { Picked(NumberReader::Cardinal); });
    connect(Combo3, &QComboBox::activated, this, [this] { Picked(NumberReader::Ordinal); });
    connect(Combo6, &QComboBox::activated, this, [this] { Picked(NumberReader::Percent); });
    connect(Combo12, &ComboBox::Click, this, [this] { Picked(NumberReader::Telephone); });
}

void Figure::Form_Load()
{
    RegisterPlayDoneReceiver(SoundOwnerCode::Figure, this);
    m_cardinal.Load();
    for (const QString& entry : m_cardinal.Entries())
        Combo2->AddItem(entry);
    for (int n = 1; n <= 100; ++n) {
        Combo3->addItem(QString::number(n));
        Combo6->addItem(QString::number(n));
    }
    Combo3->setCurrentIndex(0);
    Combo6->setCurrentIndex(0);
    m_telephone.Load();
    for (const QString& entry : m_telephone.Entries())
        Combo12->AddItem(entry);
}

void Figure::Tool_Unload()
{
    UnregisterPlayDoneReceiver(SoundOwnerCode::Figure, this);
    MMControl1()->Close();
    m_board.Unload();
    SaveNumberLists();
}

void Figure::SaveNumberLists() { ::SaveNumberLists(m_cardinal, m_telephone); }

void Figure::Picked(NumberReader::Mode mode) { m_deferrals->Picked(mode, isVisible()); }

void Figure::Command2_Click(int index)
{
    const auto mode = static_cast<NumberReader::Mode>(index);
    QComboBox* input = mode == NumberReader::Cardinal ? Combo2
        : mode == NumberReader::Ordinal               ? Combo3
        : mode == NumberReader::Percent               ? Combo6
                                                      : Combo12;
    const QString text = input->currentText();
    Label6->clear();
    const PreparedReading reading = PrepareReading(mode, text);
    if (reading.refusal != PreparedReading::None) {
        MsgBox::Warning(RefusalMessage(reading.refusal));
        if (auto* box = qobject_cast<ComboBox*>(input)) {
            box->SetText(QString());
            box->SetFocus();
        }
        return;
    }
    Label6->setText(reading.caption);
    ShowAndSpeak(reading.codes);
    if (mode == NumberReader::Cardinal && m_cardinal.Add(text))
        Combo2->AddItem(text);
    else if (mode == NumberReader::Telephone && m_telephone.Add(text))
        Combo12->AddItem(text);
    else if ((mode == NumberReader::Ordinal || mode == NumberReader::Percent) && input->findText(text) < 0)
        input->addItem(text);
}

void Figure::Command3_Click(int index)
{
    if (MsgBox::Show(QStringLiteral("Do you really want to clear these numbers?"), MsgBox::YesNo, MsgBox::Question,
            QStringLiteral("Attention"), MsgBox::DefaultSecond)
        != MsgBox::Yes)
        return;
    if (index == 0) {
        Combo2->clear();
        if (!m_cardinal.Clear())
            ShowDiskWriteWarning(RecordFolder());
        return;
    }
    Combo12->clear();
    const bool written = m_telephone.Reset(TelephoneHistoryStart());
    for (const QString& entry : m_telephone.Entries())
        Combo12->AddItem(entry);
    if (!written)
        ShowDiskWriteWarning(RecordFolder(), SafeFile::WriteFailure());
}

void Figure::ShowAndSpeak(const QString& codes)
{
    m_board.ShowAndSpeak(codes);
    ShowBoard();
}

void Figure::Play1()
{
    m_board.Play1();
    ShowBoard();
}

void Figure::ShowBoard()
{
    if (m_shownGeneration != m_board.Generation()) {
        // The labels were unloaded: the old clones go, the new ones are cloned from Label5(0).
        for (int k = 1; k <= m_cloneCount; ++k)
            Label5.Remove(k);
        m_cloneCount = 0;
        m_shownGeneration = m_board.Generation();
    }
    const QLabel* model = Label5[0];
    const QVector<NumberBoard::Label>& labels = m_board.Labels();
    for (int k = m_cloneCount + 1; k <= labels.size(); ++k) {
        const NumberBoard::Label& l = labels.at(k - 1);
        const Kit::Rect at{l.place.left, l.place.top, l.width, NumberBoard::LabelHeight};
        QLabel* clone = Label5.Add(k, Kit::Label(this, Label5.Name(k), at, l.caption));
        clone->setFont(model->font());
        clone->setAlignment(model->alignment());
        clone->setCursor(Qt::PointingHandCursor);
        clone->show();
    }
    m_cloneCount = static_cast<int>(labels.size());
    for (int k = 1; k <= m_cloneCount; ++k)
        Kit::SetInk(Label5[k], NumberBoard::Colour(labels.at(k - 1).ink));
}

void Figure::Label5_Click(int index)
{
    const QLabel* label = Label5[index];
    if (index < 1 || !label)
        return;
    const QString caption = label->text();
    if (Dictionary* dictionary = Forms::Find<Dictionary>()) {
        QString word = caption;
        dictionary->Common01(word, false);
    }
    DictionaryOnline* online = Forms::Find<DictionaryOnline>();
    if (online && online->AutoLookUp())
        online->Common01(caption, FindCharacterRecord(caption.left(1)), QString());
}
