#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "AppState.h"
#include "Begin.h"
#include "FileDialog.h"
#include "MenuProbes.h"
#include "Picture.h"
#include "Setting.h"
#include "TestSupport.h"

namespace {

class SettingTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        menuprobes::RegisterProbes();
        Forms::RegisterFactory(QStringLiteral("Setting"), [] { return new Setting; });
        Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new Begin; });
    }

    // The panel as the learner meets it: loaded, shown and active.
    Setting* Open()
    {
        State().CurrentActivity = 20;
        auto* s = Forms::Load<Setting>();
        s->Show();
        Activate(s);
        return s;
    }
    static void Activate(QWidget* w)
    {
        w->activateWindow();
        QApplication::processEvents();
    }
    template <class T> T* C(const char* name) { return Forms::Control<T>(QStringLiteral("Setting"), QLatin1String(name)); }
    QLineEdit* Box(const char* name) { return C<QLineEdit>(name); }
    QPushButton* Button(const char* name) { return C<QPushButton>(name); }
    // Replaces the box's text the way the learner would: select all, then type over it.
    static void Type(QLineEdit* box, const QString& text)
    {
        box->selectAll();
        bool ascii = true;
        for (const QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else if (ascii)
            QTest::keyClicks(box, text);
        else
            box->insert(text);
    }
};

} // namespace

TEST_F(SettingTest, LoadShowsTheSavedValuesWithEveryButtonDisabled)
{
    WriteFile("Record/Setting.vmq", QByteArray::fromHex("0100" "0a00" "0000" "0000" "0100" "5000"));
    State().TutorMailbox = "lin";
    State().UserName = "Anna";
    Open();
    EXPECT_TRUE(C<QRadioButton>("Option1(1)")->isChecked());
    EXPECT_EQ(Box("Text4")->text(), "10.0.0.1");
    EXPECT_EQ(Box("Text3")->text(), "80");
    EXPECT_EQ(Box("Text1")->text(), "lin");
    EXPECT_EQ(Box("Text2")->text(), "Anna");
    EXPECT_EQ(C<QLabel>("Label4")->text(), "@velmora.example");
    for (const char* b : {"Command1", "Command2", "Command3"}) {
        SCOPED_TRACE(b);
        EXPECT_FALSE(Button(b)->isEnabled());
    }
}

TEST_F(SettingTest, BackdropModeFromTheFileTicksItsOptionAndAnyOtherTicksHide)
{
    const struct {
        const char* bytes;
        int ticked;
    } cases[] = {{"", 0}, {"0000", 0}, {"0200", 2}, {"0300", 2}, {"ffff", 2}, {"0080", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        Forms::Unload(QStringLiteral("Setting"));
        QFile::remove(Path("Record/Setting.vmq"));
        if (*c.bytes)
            WriteFile("Record/Setting.vmq", QByteArray::fromHex(c.bytes));
        Open();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(C<QRadioButton>(qPrintable(QStringLiteral("Option1(%1)").arg(i)))->isChecked(), i == c.ticked);
        EXPECT_EQ(Box("Text4")->text(), "");
        EXPECT_EQ(Box("Text3")->text(), "1980");
    }
}

TEST_F(SettingTest, ButtonsFollowWhetherABoxDiffersFromItsSavedValue)
{
    State().UserName = "Anna";
    Open();
    Type(Box("Text2"), "Anne");
    EXPECT_TRUE(Button("Command3")->isEnabled());
    Type(Box("Text2"), "Anna");
    EXPECT_FALSE(Button("Command3")->isEnabled());
    Type(Box("Text1"), "x");
    EXPECT_TRUE(Button("Command2")->isEnabled());
    Type(Box("Text3"), "1981");
    EXPECT_TRUE(Button("Command1")->isEnabled());
    Type(Box("Text3"), "1980");
    EXPECT_FALSE(Button("Command1")->isEnabled());
    Type(Box("Text4"), "1.2.3.4");
    EXPECT_TRUE(Button("Command1")->isEnabled());
}

TEST_F(SettingTest, SetWritesAddressAndPortIntoTheRecordAndKeepsTheBackdropMode)
{
    WriteFile("Record/Setting.vmq", QByteArray::fromHex("0100" "0000" "0000" "0000" "0000" "0000"));
    Open();
    Type(Box("Text4"), "  192.168.1.20 ");
    Type(Box("Text3"), "2020");
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    EXPECT_EQ(ReadFile("Record/Setting.vmq").toHex(), QByteArray("0100" "c000" "a800" "0100" "1400" "e407"));
    EXPECT_FALSE(Button("Command1")->isEnabled());

    // The saved texts are the new reference: typing them again changes nothing.
    Type(Box("Text3"), "2021");
    Type(Box("Text3"), "2020");
    EXPECT_FALSE(Button("Command1")->isEnabled());

    // Loaded again, the panel shows what was saved.
    Forms::Unload(QStringLiteral("Setting"));
    Open();
    EXPECT_EQ(Box("Text4")->text(), "192.168.1.20");
    EXPECT_EQ(Box("Text3")->text(), "2020");
}

TEST_F(SettingTest, WrongAddressOrPortIsRefusedAndTheBoxGoesBackToItsSavedText)
{
    const struct {
        const char* address;
        const char* port;
        const char* message;
    } cases[] = {
        {"", "1980", "Input a correct IP, please!"},
        {"1.2.3", "1980", "Input a correct IP, please!"},
        {"1.2.3.4.5", "1980", "Input a correct IP, please!"},
        {"1..2.3", "1980", "Input a correct IP, please!"},
        {"1.2.3.1234", "1980", "Input a correct IP, please!"},
        {"1.2 .3.4", "1980", "Input a correct IP, please!"},
        {"-1.2.3.4", "1980", "Input a correct IP, please!"},
        {"1.2.3.4", "0", "Input a correct port number, please!"},
        {"1.2.3.4", "-1", "Input a correct port number, please!"},
        {"1.2.3.4", "9e9", "Input a correct port number, please!"},
        {"1.2.3.4", "1.5", "Input a correct port number, please!"},
        {"1.2.3.4", "1 5", "Input a correct port number, please!"},
        {"1.2.3.4", "abc", "Input a correct port number, please!"},
        {"1.2.3.4", "", "Input a correct port number, please!"},
    };
    WriteFile("Record/Setting.vmq", QByteArray::fromHex("0000" "0a00" "0000" "0000" "0200" "5000"));
    const QByteArray before = ReadFile("Record/Setting.vmq");
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " / " + c.port);
        m_boxes->Clear();
        Type(Box("Text4"), QString::fromUtf8(c.address));
        Type(Box("Text3"), QString::fromUtf8(c.port));
        if (!Button("Command1")->isEnabled())
            Type(Box("Text3"), "81");
        ASSERT_TRUE(Button("Command1")->isEnabled());
        QTest::mouseClick(Button("Command1"), Qt::LeftButton);
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes()[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(m_boxes->Boxes()[0].title, "Warning");
        EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Exclamation);
        const bool addressWrong = QByteArray(c.message).contains("IP");
        EXPECT_EQ(Box(addressWrong ? "Text4" : "Text3")->text(), addressWrong ? "10.0.0.2" : "80");
        EXPECT_FALSE(Button("Command1")->isEnabled());
        EXPECT_EQ(ReadFile("Record/Setting.vmq"), before);
        Type(Box("Text4"), "10.0.0.2");
        Type(Box("Text3"), "80");
    }
}

TEST_F(SettingTest, SavingNameAndTutorWritesOneLineAndAnEmptiedBoxStaysEmpty)
{
    const struct {
        const char* box;
        const char* button;
        const char* file;
        QString AppState::*shared;
    } fields[] = {
        {"Text2", "Command3", "Record/yourname.txt", &AppState::UserName},
        {"Text1", "Command2", "Record/tutor.txt", &AppState::TutorMailbox},
    };
    for (const auto& f : fields) {
        SCOPED_TRACE(f.box);
        State().*f.shared = "old";
        Forms::Unload(QStringLiteral("Setting"));
        Open();
        Type(Box(f.box), QString::fromUtf8(" 李华 "));
        QTest::mouseClick(Button(f.button), Qt::LeftButton);
        EXPECT_EQ(ReadFile(f.file), QByteArray(" \xc0\xee\xbb\xaa \r\n"));
        EXPECT_EQ(State().*f.shared, QString::fromUtf8(" 李华 "));
        EXPECT_FALSE(Button(f.button)->isEnabled());

        Type(Box(f.box), "   ");
        QTest::mouseClick(Button(f.button), Qt::LeftButton);
        EXPECT_EQ(ReadFile(f.file), QByteArray("\r\n"));
        EXPECT_EQ(State().*f.shared, "");
        EXPECT_EQ(Box(f.box)->text(), "");
        EXPECT_FALSE(Button(f.button)->isEnabled());
        EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    }
}

TEST_F(SettingTest, AFailedWriteWarnsAndKeepsTheOldValueAndTheButton)
{
    State().UserName = "Anna";
    Open();
    // A file where the Record folder should be: nothing under it can be written.
    QDir(Path("Record")).removeRecursively();
    WriteFile("Record", "not a folder");
    Type(Box("Text2"), "Bob");
    QTest::mouseClick(Button("Command3"), Qt::LeftButton);
    Type(Box("Text4"), "1.2.3.4");
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ASSERT_EQ(m_boxes->Boxes().size(), 2);
    for (const auto& b : m_boxes->Boxes()) {
        EXPECT_EQ(b.icon, MsgBox::Critical);
        EXPECT_TRUE(b.text.startsWith("Velmora 2007 is unable to write the disk"));
        EXPECT_TRUE(b.text.endsWith("\n" + Path("Record"))) << b.text.toStdString();
    }
    EXPECT_EQ(State().UserName, "Anna");
    EXPECT_TRUE(Button("Command3")->isEnabled());
    // The address stays unsaved: the new text still counts as a change.
    Type(Box("Text4"), "1.2.3.5");
    Type(Box("Text4"), "1.2.3.4");
    EXPECT_TRUE(Button("Command1")->isEnabled());
}

TEST_F(SettingTest, UnsavedEditsAreDroppedWhenAnotherWindowIsActivated)
{
    State().UserName = "Anna";
    State().TutorMailbox = "lin";
    auto* s = Open();
    Type(Box("Text2"), "Bob");
    Type(Box("Text1"), "wang");
    Type(Box("Text4"), "1.2.3.4");
    Type(Box("Text3"), "99");
    auto* other = Forms::Load(QStringLiteral("Begin1"));
    other->Show();
    Activate(other);
    EXPECT_EQ(Box("Text2")->text(), "Anna");
    EXPECT_EQ(Box("Text1")->text(), "lin");
    EXPECT_EQ(Box("Text4")->text(), "");
    EXPECT_EQ(Box("Text3")->text(), "1980");
    for (const char* b : {"Command1", "Command2", "Command3"}) {
        SCOPED_TRACE(b);
        EXPECT_FALSE(Button(b)->isEnabled());
    }
    EXPECT_EQ(State().UserName, "Anna");
    (void)s;
}

TEST_F(SettingTest, UnsavedEditsSurviveOurOwnMessageBoxAndFileDialog)
{
    State().UserName = "Anna";
    auto* s = Open();
    Type(Box("Text2"), "Bob");
    Type(Box("Text4"), "1.2.3");
    // While the warning is up, a window that is not a form of the program is active.
    QWidget box;
    m_boxes->OnShow([&](const MsgBox::Shown&) {
        box.show();
        Activate(&box);
    });
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ASSERT_EQ(m_boxes->Texts(), QStringList{"Input a correct IP, please!"});
    EXPECT_TRUE(box.isActiveWindow());
    box.hide();
    Activate(s);
    EXPECT_EQ(Box("Text2")->text(), "Bob");
    EXPECT_TRUE(Button("Command3")->isEnabled());

    FileDialog::Recorder dialog;
    QTest::mouseClick(Button("Command4"), Qt::LeftButton);
    EXPECT_EQ(dialog.Shown(), 1);
    EXPECT_EQ(Box("Text2")->text(), "Bob");
    EXPECT_FALSE(QFile::exists(Path("Record/backgroundpath.txt")));
}

TEST_F(SettingTest, APictureBecomesTheBackdropAndIsRememberedOnlyWhenItLoads)
{
    Forms::Load(QStringLiteral("Background"));
    auto* backdrop = Forms::Control<QLabel>(QStringLiteral("Background"), QStringLiteral("Image1"));
    ASSERT_NE(backdrop, nullptr);
    const qint64 before = backdrop->pixmap().cacheKey();
    Open();
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(Path("garden.bmp")));
    // Each of these is refused at once, without a word: none may hold the window (a FIFO nobody
    // writes to), and the picture after them is still taken.
    WriteFile("notapicture.jpg", "text, not a picture");
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.jpg")).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(Path("folder.jpg")));
    // A good picture whose file runs on past the bound, sparse so it costs no disk.
    ASSERT_TRUE(QFile::copy(Path("garden.bmp"), Path("huge.bmp")));
    ASSERT_TRUE(QFile::resize(Path("huge.bmp"), Picture::MaxFileBytes + 1));
    FileDialog::Recorder dialog;
    for (const char* refused : {"notapicture.jpg", "pipe.jpg", "folder.jpg", "huge.bmp"}) {
        SCOPED_TRACE(refused);
        dialog.Answer(Path(QLatin1String(refused)));
        QTest::mouseClick(Button("Command4"), Qt::LeftButton);
        EXPECT_FALSE(QFile::exists(Path("Record/backgroundpath.txt")));
        EXPECT_EQ(backdrop->pixmap().cacheKey(), before);
    }
    dialog.Answer(Path("garden.bmp"));
    QTest::mouseClick(Button("Command4"), Qt::LeftButton);
    EXPECT_EQ(ReadFile("Record/backgroundpath.txt"), Path("garden.bmp").toLocal8Bit() + "\r\n");
    EXPECT_EQ(backdrop->pixmap().size(), QSize(4, 4));
    EXPECT_FALSE(backdrop->isHidden());
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

namespace {
// Sets an environment variable for one test and puts the old value back.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvironmentValue()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// Whether a Qt name filter ("Description (p1 p2)") lists the file, matched as the file
// dialog matches on Linux: case-sensitively, as the file system is.
bool Lists(const QStringList& qtFilters, const QString& fileName)
{
    for (const QString& filter : qtFilters) {
        const int open = filter.lastIndexOf(QLatin1Char('('));
        const QString patterns = filter.mid(open + 1, filter.size() - open - 2);
        for (const QString& pattern : patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (QRegularExpression::fromWildcard(pattern, Qt::CaseSensitive).match(fileName).hasMatch())
                return true;
    }
    return false;
}
} // namespace

TEST_F(SettingTest, ThePictureDialogListsPicturesInAnyCaseFromThePicturesFolder)
{
    const EnvironmentValue home("HOME", QFile::encodeName(Path("home")));
    const EnvironmentValue config("XDG_CONFIG_HOME", QByteArray());
    ASSERT_TRUE(QDir().mkpath(Path("home")));
    Open();
    FileDialog::Recorder dialog;
    QTest::mouseClick(Button("Command4"), Qt::LeftButton);
    EXPECT_EQ(dialog.LastFolder(), QDir::homePath()) << "no pictures folder: the home folder";

    ASSERT_TRUE(QDir().mkpath(Path("home/Pictures")));
    QTest::mouseClick(Button("Command4"), Qt::LeftButton);
    EXPECT_EQ(dialog.LastFolder(), Path("home/Pictures"));
    EXPECT_EQ(dialog.Shown(), 2);

    const QStringList filters = FileDialog::QtNameFilters(dialog.LastFilter());
    ASSERT_EQ(filters.size(), 1);
    EXPECT_TRUE(filters[0].startsWith(QStringLiteral("Picture Files (")));
    const struct {
        const char* name;
        bool listed;
    } cases[] = {
        {"garden.jpg", true}, {"CAMERA.JPG", true}, {"Mixed.Jpg", true}, {"shot.png", true}, {"SHOT.PNG", true},
        {"old.bmp", true}, {"OLD.BMP", true}, {"anim.gif", true}, {"notes.txt", false}, {"photo.jpg.txt", false},
        {"jpg", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Lists(filters, QString::fromLatin1(c.name)), c.listed);
    }
}

TEST_F(SettingTest, UninstallAsksFirstAndOnYesHidesPanelAndMenu)
{
    auto* menu = Forms::Load<Begin>();
    menu->Show();
    auto* s = Open();
    m_boxes->Answer(MsgBox::No);
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    const MsgBox::Shown& q = m_boxes->Boxes()[0];
    EXPECT_EQ(q.text, "Do you want to uninstall Velmora 2007 ?");
    EXPECT_EQ(q.title, "Attention");
    EXPECT_EQ(q.buttons, MsgBox::YesNo);
    EXPECT_EQ(q.icon, MsgBox::Information);
    EXPECT_EQ(q.def, MsgBox::DefaultSecond);
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Uninstall")));
    EXPECT_TRUE(s->isVisible());

    auto* main = Forms::Load(QStringLiteral("Background"));
    m_boxes->Answer(MsgBox::Yes);
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    Form* uninstall = Forms::Find(QStringLiteral("Uninstall"));
    ASSERT_NE(uninstall, nullptr);
    EXPECT_TRUE(uninstall->isVisible());
    EXPECT_EQ(uninstall->Owner(), main);
    EXPECT_FALSE(s->isVisible());
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(SettingTest, ABackdropOptionIsSavedAtOnceAndOnlyWhileThePanelIsVisible)
{
    WriteFile("Record/Setting.vmq", QByteArray::fromHex("0000" "0a00" "0000" "0000" "0200" "5000"));
    Forms::Load(QStringLiteral("Background"));
    auto* s = Open();
    QTest::mouseClick(C<QRadioButton>("Option1(1)"), Qt::LeftButton);
    EXPECT_EQ(ReadFile("Record/Setting.vmq").toHex(), QByteArray("0100" "0a00" "0000" "0000" "0200" "5000"));
    QTest::mouseClick(C<QRadioButton>("Option1(2)"), Qt::LeftButton);
    EXPECT_EQ(ReadFile("Record/Setting.vmq").toHex(), QByteArray("0200" "0a00" "0000" "0000" "0200" "5000"));
    s->Hide();
    C<QRadioButton>("Option1(0)")->click();
    EXPECT_EQ(ReadFile("Record/Setting.vmq").toHex(), QByteArray("0200" "0a00" "0000" "0000" "0200" "5000"));
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(SettingTest, ASettingsFileThatCannotBeOpenedReadsAsZerosAndASetWritesANewOne)
{
    QDir().mkpath(Path("Record/Setting.vmq"));
    Open();
    EXPECT_TRUE(C<QRadioButton>("Option1(0)")->isChecked());
    EXPECT_EQ(Box("Text4")->text(), "");
    EXPECT_EQ(Box("Text3")->text(), "1980");
    Type(Box("Text4"), "10.0.0.3");
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ASSERT_EQ(m_boxes->Boxes().size(), 1) << "the folder kept aside, told once";
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Exclamation);
    EXPECT_TRUE(QFileInfo(Path("Record/Setting (kept 1).vmq")).isDir());
    EXPECT_EQ(ReadFile("Record/Setting.vmq").toHex(), QByteArray("0000" "0a00" "0000" "0000" "0300" "bc07"));
}
