#include "Setting.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "AppState.h"
#include "Background.h"
#include "BlankTrim.h"
#include "FileDialog.h"
#include "FormEvents.h"
#include "Forms.h"
#include "MsgBox.h"
#include "Picture.h"
#include "Product.h"
#include "RecordFolder.h"
#include "SettingsFiles.h"

namespace {

const QColor Heading(0x2b, 0x1b, 0x17);
// The pictures the backdrop can show (the dialog ignores the case of the names).
const QString PictureFilter = QStringLiteral("Picture Files (*.bmp;*.jpg;*.gif;*.png)|*.bmp;*.jpg;*.gif;*.png");

// The panel's labels: 9 points in the heading colour unless said otherwise.
QLabel* PanelLabel(QWidget* parent, const QString& name, const QString& text, const Kit::Rect& at,
    QFont::Weight weight = QFont::Normal, double points = 9, const QColor& ink = Heading)
{
    return Kit::Label(parent, name, at, text, {.points = points, .weight = weight, .ink = ink});
}

// The panel's text boxes are one line high and select their whole text on a double click.
QLineEdit* Box(QWidget* parent, const QString& name, const QString& tip, double left, double top, double width)
{
    QLineEdit* box = Kit::TextBox(parent, name, {left, top, width, 330}, {}, true);
    box->setToolTip(tip);
    return box;
}

} // namespace

QString Setting::MailDomain() { return QLatin1Char('@') + Product::MakerMailDomain(); }

Setting::Setting()
    : MenuPanel(QStringLiteral("Setting"))
{
    UseTitledLook();
    setStyleSheet(QStringLiteral(
        "QPushButton { background: #fbf6ea; border: 1px solid #d9c28c; border-radius: 4px; padding: 0 6px;"
        " color: #2b1b17; }"
        "QPushButton:hover { background: #f6e7c1; border-color: #c9a14a; }"
        "QPushButton:pressed { background: #e9d59f; }"
        "QPushButton:disabled { background: #f4f1ea; border-color: #e2dccf; color: #b3aa9c; }"
        "QLineEdit { border: 1px solid #cfc6b6; border-radius: 3px; padding: 0 4px; background: white;"
        " selection-background-color: #a61e1e; }"
        "QLineEdit:focus { border-color: #a61e1e; }"));

    Label3 = AddTitle(QStringLiteral("Label3"), QStringLiteral("Setting"));

    Label2.Add(0, PanelLabel(this, Label2.Name(0), QStringLiteral("Background"), {240, 690, 4400, 270}, QFont::Bold));
    const std::array<QString, 3> modes{QStringLiteral("Full screen"), QStringLiteral("Show taskbar"), QStringLiteral("Hide")};
    const std::array<double, 3> modeLeft{240, 1740, 3300};
    const std::array<double, 3> modeWidth{1500, 1560, 900};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        Option1.Add(i, Kit::OptionButton(this, Option1.Name(i), {modeLeft[i], 990, modeWidth[i], 300}, modes[i]));
        group->addButton(Option1[i], i);
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    Command4 = Kit::Button(this, QStringLiteral("Command4"), {240, 1380, 1500, 360}, QStringLiteral("Picture"));
    Command4->setToolTip(QStringLiteral("Choose a picture for the background"));

    Label2.Add(1, PanelLabel(this, Label2.Name(1), QStringLiteral("Your name and your tutor's email address:"),
        {240, 1950, 4500, 270}, QFont::Bold));
    Text1 = Box(this, QStringLiteral("Text1"), QStringLiteral("Your tutor's email address."), 240, 2280, 1920);
    Label4 = PanelLabel(this, QStringLiteral("Label4"), MailDomain(), {2205, 2280, 1740, 330}, QFont::Normal, 9,
        QColor(0x6b, 0x5d, 0x4f));
    Command2 = Kit::Button(this, QStringLiteral("Command2"), {3990, 2265, 690, 360}, QStringLiteral("Save"));

    Label2.Add(2, PanelLabel(this, Label2.Name(2), QStringLiteral("Your name:"), {240, 2700, 2000, 270}));
    Text2 = Box(this, QStringLiteral("Text2"), QStringLiteral("Your name"), 240, 2985, 3660);
    Command3 = Kit::Button(this, QStringLiteral("Command3"), {3990, 2970, 690, 360}, QStringLiteral("Save"));

    Label2.Add(3, PanelLabel(this, Label2.Name(3), QStringLiteral("The IP and port of your tutor's computer"),
        {240, 3540, 4500, 270}, QFont::Bold));
    Label1 = PanelLabel(this, QStringLiteral("Label1"), QStringLiteral("IP"), {240, 3870, 300, 330});
    Text4 = Box(this, QStringLiteral("Text4"), QStringLiteral(" The IP of your tutor"), 540, 3870, 1980);
    Label2.Add(4, PanelLabel(this, Label2.Name(4), QStringLiteral("Port number"), {2640, 3870, 1200, 330}));
    Text3 = Box(this, QStringLiteral("Text3"),
        QStringLiteral(" The Port (You can input any integer >0 here, but it must equal to its counterpart on your "
                       "tutor's computer.)"),
        3840, 3870, 840);
    Text3->setMaxLength(4);
    Text3->setText(QStringLiteral("1980"));
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {3990, 4335, 690, 360}, QStringLiteral("Set"));

    Command5 = Kit::Button(this, QStringLiteral("Command5"), {240, 4935, 2700, 390}, QStringLiteral("Uninstall this program"));
    Label2.Add(5, Kit::Label(this, Label2.Name(5), {3180, 4980, 1500, 300}, QStringLiteral("(Minimize - F4)"),
        {.points = 8, .ink = QColor(0x8a, 0x78, 0x64), .align = Qt::AlignRight | Qt::AlignVCenter}));

    connect(Text1, &QLineEdit::textChanged, this,
        [this](const QString& t) { Command2->setEnabled(t != State().TutorMailbox); });
    connect(Text2, &QLineEdit::textChanged, this,
        [this](const QString& t) { Command3->setEnabled(t != State().UserName); });
    connect(Text3, &QLineEdit::textChanged, this, &Setting::AddressChanged);
    connect(Text4, &QLineEdit::textChanged, this, &Setting::AddressChanged);
    connect(Command1, &QPushButton::clicked, this, &Setting::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Setting::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Setting::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Setting::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Setting::Command5_Click);

    Command1->setEnabled(false);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
}

void Setting::Form_Load()
{
    EnsureRecordFolder();
    const SettingRecord rec = ReadSettingRecord();
    // A mode the panel has no option for is shown as "Hide": the main window lays any such
    // mode out as the narrow strip.
    const int mode = rec.BackdropMode >= 0 && rec.BackdropMode <= 2 ? rec.BackdropMode : 2;
    Option1[mode]->setChecked(true);
    Text4->setText(AddressText(rec));
    Text3->setText(PortText(rec));
    SavedAddressText = Text4->text();
    SavedPortText = Text3->text();
    Command1->setEnabled(false);
    Text1->setText(State().TutorMailbox);
    Text2->setText(State().UserName);
}

void Setting::AddressChanged()
{
    Command1->setEnabled(!(Text3->text() == SavedPortText && Text4->text() == SavedAddressText));
}

void Setting::Option1_Click(int index)
{
    if (!isVisible())
        return;
    if (Background* main = Forms::Find<Background>())
        main->Common01(static_cast<qint16>(index), -1);
}

void Setting::SaveOneLine(QLineEdit* box, QPushButton* button, const QString& fileName, QString& shared)
{
    // An emptied box is saved empty, so that it stays empty at the next start.
    const bool emptied = BlankTrim(box->text()).isEmpty();
    const QString value = emptied ? QString() : box->text();
    if (WriteOneLineRecord(fileName, value)) {
        shared = value;
        if (emptied)
            box->clear();
        button->setEnabled(false);
    } else {
        ShowDiskWriteWarning(RecordFolder(), SafeFile::WriteFailure());
    }
    box->setFocus();
}

void Setting::Command2_Click() { SaveOneLine(Text1, Command2, SettingsFiles::Tutor, State().TutorMailbox); }

void Setting::Command3_Click() { SaveOneLine(Text2, Command3, SettingsFiles::YourName, State().UserName); }

void Setting::Command1_Click()
{
    const QString address = BlankTrim(Text4->text());
    if (!IsValidIP(address)) {
        MsgBox::Warning(QStringLiteral("Input a correct IP, please!"));
        Text4->setText(SavedAddressText);
        Text4->setFocus();
        Command1->setEnabled(false);
        return;
    }
    if (!IsValidPort(Text3->text())) {
        MsgBox::Warning(QStringLiteral("Input a correct port number, please!"));
        Text3->setText(SavedPortText);
        Text3->setFocus();
        Command1->setEnabled(false);
        return;
    }
    SettingRecord rec = ReadSettingRecord();
    const QStringList parts = address.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i)
        rec.Address[i] = static_cast<qint16>(parts[i].toInt());
    rec.ChatPort = static_cast<qint16>(Text3->text().toInt());
    if (WriteSettingRecord(rec)) {
        SavedAddressText = Text4->text();
        SavedPortText = Text3->text();
    } else {
        ShowDiskWriteWarning(RecordFolder(), SafeFile::WriteFailure());
    }
    Text4->setFocus();
    Command1->setEnabled(false);
}

void Setting::Command4_Click()
{
    const QString path = FileDialog::GetOpenFileName(this, PictureFilter, FileDialog::PicturesFolder());
    if (path.isEmpty())
        return;
    const QPixmap picture = Picture::Load(path);
    if (picture.isNull())
        return;
    if (Background* main = Forms::Find<Background>()) {
        main->Image1->setPixmap(picture);
        main->Image1->show();
    }
    if (!WriteOneLineRecord(SettingsFiles::BackgroundPath, path))
        ShowDiskWriteWarning(RecordFolder(), SafeFile::WriteFailure());
}

void Setting::Command5_Click()
{
    const MsgBox::Result answer = MsgBox::Show(QStringLiteral("Do you want to uninstall Velmora 2007 ?"), MsgBox::YesNo,
        MsgBox::Information, QStringLiteral("Attention"), MsgBox::DefaultSecond);
    if (answer != MsgBox::Yes)
        return;
    Form* uninstall = Forms::Load(QStringLiteral("Uninstall"));
    Hide();
    if (Form* menu = Forms::Find(QStringLiteral("Begin")))
        menu->Hide();
    if (uninstall) {
        uninstall->Show(Form::Modeless, Forms::Find(QStringLiteral("Background")));
        // The keys go with the learner to the uninstaller: the box gave them back to this
        // panel, which is hidden now.
        FormEvents::GiveKeysTo(uninstall);
    }
}

void Setting::Form_Deactivate()
{
    if (Command3->isEnabled()) {
        Text2->setText(State().UserName);
        Command3->setEnabled(false);
    }
    if (Command2->isEnabled()) {
        Text1->setText(State().TutorMailbox);
        Command2->setEnabled(false);
    }
    if (Command1->isEnabled()) {
        Text4->setText(SavedAddressText);
        Text3->setText(SavedPortText);
        Command1->setEnabled(false);
    }
}
