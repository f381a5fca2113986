// What every kind of box the program builds takes from a paste: nothing from an empty offer
// or a picture (Qt's own multi-line boxes end the program there), a text's first line in a
// one-line box, and no more than the box holds of 50 million characters. The learner then
// goes on typing in the same box.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "ComboBox.h"
#include "ControlKit.h"
#include "RichTextBox.h"
#include "RtfDocument.h"
#include "TestSupport.h"
#include "TextBoxes.h"

namespace {

constexpr int LineLength = 32767; // the line edits' own length, which the boxes keep

const QString TwoLines = QStringLiteral("ni hao\nzai jian");

// 50 million characters, in one line or in lines of 50.
const QString& OneLong()
{
    static const QString text(50'000'000, QLatin1Char('a'));
    return text;
}
const QString& LongLines()
{
    static const QString text = (QString(49, QLatin1Char('a')) + QLatin1Char('\n')).repeated(1'000'000);
    return text;
}

// A box as the tests drive it: where its keys go, its text (line breaks as \n), and a text set
// with a selection.
struct Box {
    QWidget* keys{nullptr};
    std::function<QString()> text;
    std::function<void(const QString&, int, int)> select;
};

enum class Kind { TextBox, Combo, PlainText, RichText };

Box Make(Kind kind, QWidget* host)
{
    switch (kind) {
    case Kind::TextBox:
    case Kind::Combo: {
        QLineEdit* line = nullptr;
        if (kind == Kind::TextBox) {
            line = Kit::TextBox(host, QStringLiteral("Text1"), {0, 0, 3000, 400});
        } else {
            line = (new ComboBox(host))->lineEdit();
        }
        return {line, [line] { return line->text(); }, [line](const QString& t, int start, int length) {
                    line->setText(t);
                    line->setSelection(start, length);
                }};
    }
    case Kind::PlainText: {
        auto* box = new PlainTextBox(host);
        return {box, [box] { return box->toPlainText(); }, [box](const QString& t, int start, int length) {
                    box->setPlainText(t);
                    QTextCursor c = box->textCursor();
                    c.setPosition(start);
                    c.setPosition(start + length, QTextCursor::KeepAnchor);
                    box->setTextCursor(c);
                }};
    }
    case Kind::RichText: {
        auto* box = new RichTextBox(host);
        return {box, [box] { return box->Text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")); },
            [box](const QString& t, int start, int length) {
                box->SetText(t);
                box->SetSelStart(start);
                box->SetSelLength(length);
            }};
    }
    }
    return {};
}

QMimeData* Offer(const QString& kind)
{
    auto* data = new QMimeData;
    if (kind == QLatin1String("picture")) {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        data->setImageData(picture);
    } else if (kind == QLatin1String("two lines")) {
        data->setText(TwoLines);
    } else if (kind == QLatin1String("50 MB in one line")) {
        data->setText(OneLong());
    } else if (kind == QLatin1String("50 MB in lines")) {
        data->setText(LongLines());
    }
    return data;
}

// The context menu's Paste, as the learner picks it: nothing when it is disabled.
void PasteByMenu(QWidget* keys)
{
    QWidget* target = keys;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(keys))
        target = area->viewport();
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(target, &e);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions())
        if (action->text().startsWith(QLatin1String("&Paste")))
            action->trigger();
    menu->close();
}

enum class Way { CtrlV, ShiftInsert, Menu };

void Paste(const Box& box, Way way)
{
    if (way == Way::CtrlV)
        QTest::keyClick(box.keys, Qt::Key_V, Qt::ControlModifier);
    else if (way == Way::ShiftInsert)
        QTest::keyClick(box.keys, Qt::Key_Insert, Qt::ShiftModifier);
    else
        PasteByMenu(box.keys);
}

class PasteTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_host = std::make_unique<QWidget>();
        m_host->resize(600, 300);
        m_host->show();
    }
    void TearDown() override
    {
        QApplication::clipboard()->clear();
        m_host.reset();
        AppFixture::TearDown();
    }
    std::unique_ptr<QWidget> m_host;
};

TEST_F(PasteTest, EveryBoxTakesOnlyWhatItHoldsAndTypingGoesOn)
{
    // Each box holds "kept" with "ep" selected; the paste goes over the selection, then "x" is
    // typed. Empty: what it then holds, where the selection stayed; else before the typing.
    const QString refused = QStringLiteral("kept");
    const QString full = QLatin1Char('k') + QString(LineLength - 2, QLatin1Char('a')) + QLatin1Char('t');
    const QString firstLine = QStringLiteral("kni haot");
    const QString firstLongLine = QLatin1Char('k') + QString(49, QLatin1Char('a')) + QLatin1Char('t');
    const QString someLines = QLatin1Char('k') + LongLines().left(LineLength - 2) + QLatin1Char('t');
    struct Case {
        const char* offer;
        Kind kind;
        QString pasted; // the text right after the paste
        QString typed;  // and after "x" is typed
    };
    const Case cases[] = {
        {"nothing", Kind::TextBox, refused, "kxt"},
        {"nothing", Kind::Combo, refused, "kxt"},
        {"nothing", Kind::PlainText, refused, "kxt"},
        {"nothing", Kind::RichText, refused, "kxt"},
        {"picture", Kind::TextBox, refused, "kxt"},
        {"picture", Kind::Combo, refused, "kxt"},
        {"picture", Kind::PlainText, refused, "kxt"},
        {"picture", Kind::RichText, refused, "kxt"},
        {"two lines", Kind::TextBox, firstLine, "kni haoxt"},
        {"two lines", Kind::Combo, firstLine, "kni haoxt"},
        {"two lines", Kind::PlainText, "kni hao\nzai jiant", "kni hao\nzai jianxt"},
        {"two lines", Kind::RichText, "kni hao\nzai jiant", "kni hao\nzai jianxt"},
        // A full line edit takes no more keys.
        {"50 MB in one line", Kind::TextBox, full, full},
        {"50 MB in one line", Kind::Combo, full, full},
        {"50 MB in one line", Kind::PlainText, full, full.chopped(1) + QStringLiteral("xt")},
        {"50 MB in one line", Kind::RichText, refused, "kxt"},
        {"50 MB in lines", Kind::TextBox, firstLongLine, firstLongLine.chopped(1) + QStringLiteral("xt")},
        {"50 MB in lines", Kind::Combo, firstLongLine, firstLongLine.chopped(1) + QStringLiteral("xt")},
        {"50 MB in lines", Kind::PlainText, someLines, someLines.chopped(1) + QStringLiteral("xt")},
        {"50 MB in lines", Kind::RichText, refused, "kxt"},
    };
    const char* kindNames[] = {"text box", "combo box", "plain text box", "rich-text box"};
    for (Way way : {Way::CtrlV, Way::ShiftInsert, Way::Menu}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.offer) + " into the " + kindNames[int(c.kind)] + " by "
                + (way == Way::CtrlV ? "Ctrl+V" : way == Way::ShiftInsert ? "Shift+Insert" : "the menu"));
            QWidget host(m_host.get());
            host.show();
            const Box box = Make(c.kind, &host);
            box.keys->show();
            box.keys->setFocus();
            box.select(refused, 1, 2);
            QApplication::clipboard()->setMimeData(Offer(QLatin1String(c.offer)));
            Paste(box, way);
            const QString pasted = box.text();
            EXPECT_EQ(pasted.size(), c.pasted.size());
            EXPECT_TRUE(pasted == c.pasted) << pasted.left(40).toStdString();
            QTest::keyClick(box.keys, Qt::Key_X);
            const QString typed = box.text();
            EXPECT_TRUE(typed == c.typed) << typed.right(40).toStdString();
        }
    }
}

TEST_F(PasteTest, ADropOnALineTakesItsFirstLine)
{
    QLineEdit* box = Kit::TextBox(m_host.get(), QStringLiteral("Text1"), {0, 0, 3000, 400});
    box->show();
    for (const QString& offered : {TwoLines, QStringLiteral("\nlater lines only")}) {
        SCOPED_TRACE(offered.toStdString());
        QMimeData data;
        data.setText(offered);
        // A drop goes to the box that took the drag's entry.
        QDragEnterEvent enter(box->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(QPointF(box->rect().center()), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
    }
    EXPECT_EQ(box->text(), QStringLiteral("ni hao"));
}

TEST_F(PasteTest, TheRichTextBoxTakesTheRichestOfferWithinItsFileBounds)
{
    // Beyond the bounds, a rich format gives way to the plain text offered with it; a plain
    // text beyond them, in bytes or in lines, is refused unread.
    const QByteArray largeRtf = "{\\rtf1 " + QByteArray(RichTextBox::MaxFileBytes, 'r') + "}";
    const QString largeHtml = QStringLiteral("<p>") + QString(RichTextBox::MaxFileBytes, QLatin1Char('h'));
    struct Case {
        const char* name;
        std::function<void(QMimeData*)> offer;
        QString taken;
    };
    const QString plain = QStringLiteral("plain");
    const Case cases[] = {
        {"RTF", [&](QMimeData* d) { d->setData(QStringLiteral("text/rtf"), "{\\rtf1 rich}"); d->setText(plain); },
            QStringLiteral("kricht")},
        {"RTF beyond the bound", [&](QMimeData* d) { d->setData(QStringLiteral("text/rtf"), largeRtf); d->setText(plain); },
            QStringLiteral("kplaint")},
        {"HTML beyond the bound", [&](QMimeData* d) { d->setHtml(largeHtml); d->setText(plain); },
            QStringLiteral("kplaint")},
        {"more line breaks than the files hold",
            [](QMimeData* d) { d->setText(QString(Rtf::MaxPieces + 1, QLatin1Char('\n'))); }, QStringLiteral("kept")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RichTextBox box(m_host.get());
        box.show();
        box.SetText(QStringLiteral("kept"));
        box.SetSelStart(1);
        box.SetSelLength(2);
        auto* data = new QMimeData;
        c.offer(data);
        QApplication::clipboard()->setMimeData(data);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box.Text(), c.taken);
    }
}

TEST(PasteFitting, ACutNeverSplitsACharacterOrPassesALineBreak)
{
    const QString face = QString::fromUtf8("a\xF0\x9F\x98\x80z"); // a, U+1F600 (two units), z
    struct Case {
        QString text;
        qsizetype room;
        bool oneLine;
        QString taken;
    };
    const Case cases[] = {
        {face, 2, false, QStringLiteral("a")},
        {face, 3, false, face.left(3)},
        {face, -5, false, QString()},
        {QStringLiteral("ab\r\ncd"), 100, true, QStringLiteral("ab")},
        {QStringLiteral("ab\rcd"), 100, true, QStringLiteral("ab")},
        {QStringLiteral("ab\r\ncd"), 100, false, QStringLiteral("ab\r\ncd")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " in " + std::to_string(c.room));
        EXPECT_EQ(FittingText(c.text, c.room, c.oneLine), c.taken);
    }
}

} // namespace
