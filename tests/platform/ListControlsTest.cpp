#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "ComboBox.h"
#include "ListView.h"
#include "TestSupport.h"
#include "Twips.h"

namespace {

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_list.resize(400, 120);
        m_list.AddColumn(QStringLiteral("Index"));
        m_list.AddColumn(QStringLiteral("Chinese"), 2160);
        m_list.AddColumn(QStringLiteral("English"));
    }

    void Fill(int rows)
    {
        for (int k = 1; k <= rows; ++k) {
            const int item = m_list.AddItem(QString::number(k));
            m_list.SetSubItem(item, 1, QStringLiteral("c%1").arg(k));
            m_list.SetSubItem(item, 2, QStringLiteral("e%1").arg(k));
        }
    }

    ListView m_list;
};

TEST_F(ListViewTest, ColumnsKeepTheirHeadersAndTwipWidths)
{
    EXPECT_EQ(m_list.columnCount(), 3);
    EXPECT_EQ(m_list.ColumnHeader(1), u"Chinese"_qs);
    EXPECT_NEAR(m_list.ColumnWidth(1), 2160, Twips::PerPixelX());
    EXPECT_NEAR(m_list.ColumnWidth(2), ListView::DefaultColumnWidth, Twips::PerPixelX());
    EXPECT_EQ(m_list.ColumnHeader(3), QString());
}

// What the style needs for a heading in the font it is drawn in (the list's, or its own).
int HeadingNeeds(const ListView& list, int column)
{
    const QVariant own = list.headerItem()->data(column, Qt::FontRole);
    QStyleOptionHeader option;
    option.initFrom(list.header());
    option.text = list.ColumnHeader(column);
    option.fontMetrics = QFontMetrics(own.isValid() ? own.value<QFont>() : list.header()->font());
    return list.style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), list.header()).width();
}

TEST(ListViewHeadings, EveryHeadingShowsWholeAndGivenWidthsStay)
{
    struct Case {
        const char* header;
        double width; // twips; 0: none given
    };
    const Case cases[] = {{"Index", 390}, {"Chinese", 1560}, {"Pinyin", 2210}, {"Index  序号", 0}, {"English  英语", 0},
        {"Related sentences ", 8100}};
    ListView list;
    list.resize(600, 200);
    for (const Case& c : cases)
        c.width > 0 ? list.AddColumn(QString::fromUtf8(c.header), c.width) : list.AddColumn(QString::fromUtf8(c.header));
    for (const QFont& font : {QFont(QStringLiteral("Noto Sans"), 9), QFont(QStringLiteral("Noto Sans CJK SC"), 12)}) {
        list.setFont(font);
        for (int column = 0; column < list.columnCount(); ++column) {
            const Case& c = cases[column];
            SCOPED_TRACE(std::string(c.header) + " at " + std::to_string(font.pointSize()) + " pt");
            if (c.width > 0)
                EXPECT_NEAR(list.ColumnWidth(column), c.width, Twips::PerPixelX());
            else
                EXPECT_GE(list.ColumnWidth(column), ListView::DefaultColumnWidth - Twips::PerPixelX());
            EXPECT_LE(HeadingNeeds(list, column), list.columnWidth(column));
        }
    }
}

TEST_F(ListViewTest, ItemsCountFromOneAndTextsOutsideTheListReadEmpty)
{
    Fill(3);
    struct Case {
        int item, column;
        const char* text;
    };
    const Case cases[] = {{1, 0, "1"}, {3, 0, "3"}, {2, 1, "c2"}, {2, 2, "e2"}, {0, 0, ""}, {4, 1, ""}, {1, 3, ""},
        {1, -1, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.item) + "," + std::to_string(c.column));
        EXPECT_EQ(c.column == 0 ? m_list.ItemText(c.item) : m_list.SubItem(c.item, c.column), QString::fromLatin1(c.text));
    }
    m_list.SetSubItem(9, 1, QStringLiteral("nowhere"));
    EXPECT_EQ(m_list.ItemCount(), 3);
    m_list.ClearItems();
    EXPECT_EQ(m_list.ItemCount(), 0);
    EXPECT_EQ(m_list.SelectedItem(), 0);
    EXPECT_EQ(m_list.AddItem(QStringLiteral("again")), 1);
}

TEST_F(ListViewTest, RowsAddedAtOnceFollowTheRowsThereAndDropTextsBeyondTheColumns)
{
    Fill(1);
    m_list.AddItems({{QStringLiteral("2"), QStringLiteral("c2"), QStringLiteral("e2"), QStringLiteral("beyond")},
        {QStringLiteral("3")}});
    ASSERT_EQ(m_list.ItemCount(), 3);
    EXPECT_EQ(m_list.SubItem(2, 2), u"e2"_qs);
    EXPECT_EQ(m_list.ItemText(3), u"3"_qs);
    EXPECT_EQ(m_list.SubItem(3, 1), QString());
    EXPECT_EQ(m_list.SubItem(2, 3), QString());
}

TEST_F(ListViewTest, SelectionByCodeFiresNoClickAndAMouseClickSelectsThenClicks)
{
    Fill(3);
    QSignalSpy clicks(&m_list, &ListView::Click);
    m_list.SetSelectedItem(2);
    EXPECT_EQ(m_list.SelectedItem(), 2);
    m_list.SetSelectedItem(0);
    EXPECT_EQ(m_list.SelectedItem(), 0);
    EXPECT_EQ(clicks.count(), 0);

    m_list.show();
    int selectedAtClick = -1;
    QObject::connect(&m_list, &ListView::Click, [&] { selectedAtClick = m_list.SelectedItem(); });
    const QRect third = m_list.visualItemRect(m_list.topLevelItem(2));
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(selectedAtClick, 3);
}

TEST_F(ListViewTest, EnsureVisibleScrollsARowIntoView)
{
    Fill(60);
    m_list.show();
    EXPECT_TRUE(m_list.IsItemVisible(1));
    EXPECT_FALSE(m_list.IsItemVisible(50));
    m_list.SetSelectedItem(50);
    m_list.EnsureVisible(50);
    EXPECT_TRUE(m_list.IsItemVisible(50));
    EXPECT_FALSE(m_list.IsItemVisible(1));
}

TEST_F(ListViewTest, ARefilledListStartsAtItsTop)
{
    Fill(60);
    m_list.show();
    m_list.EnsureVisible(50);
    ASSERT_FALSE(m_list.IsItemVisible(1));
    m_list.ClearItems();
    Fill(60);
    EXPECT_TRUE(m_list.IsItemVisible(1));
    m_list.EnsureVisible(40);
    EXPECT_TRUE(m_list.IsItemVisible(40));
}

TEST(ComboBoxTest, TheListChangesOnlyByCodeAndNeverTakesOverTheText)
{
    ComboBox box;
    box.show();
    box.SetText(QStringLiteral("typed"));
    box.AddItem(QStringLiteral("first"), 0);
    EXPECT_EQ(box.Text(), u"typed"_qs);
    box.AddItem(QStringLiteral("top"), 0);
    box.AddItem(QStringLiteral("end"));
    EXPECT_EQ(box.ListCount(), 3);
    EXPECT_EQ(box.List(0), u"top"_qs);
    EXPECT_EQ(box.List(2), u"end"_qs);
    EXPECT_EQ(box.List(3), QString());

    // Enter and typing add nothing and complete nothing.
    box.SetText(QString());
    box.setFocus();
    QTest::keyClicks(box.lineEdit(), QStringLiteral("fi"));
    EXPECT_EQ(box.Text(), u"fi"_qs);
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(box.ListCount(), 3);
    EXPECT_EQ(box.Text(), u"fi"_qs);

    // Enter on a typed entry's text picks nothing from the list: the window's Enter acts once.
    QSignalSpy clicks(&box, &ComboBox::Click);
    box.SetText(QString());
    QTest::keyClicks(box.lineEdit(), QStringLiteral("end"));
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(box.Text(), u"end"_qs);
}

TEST(ComboBoxTest, PickingAnEntryClicksWithItsTextAndADoubleClickIsReported)
{
    ComboBox box;
    box.AddItem(QStringLiteral("go"));
    box.AddItem(QStringLiteral("好"));
    box.show();
    QString textAtClick;
    QObject::connect(&box, &ComboBox::Click, [&] { textAtClick = box.Text(); });
    box.showPopup();
    QAbstractItemView* list = box.view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
    EXPECT_EQ(textAtClick, u"好"_qs);

    box.SetText(QStringLiteral("two words"));
    QObject::connect(&box, &ComboBox::DblClick, [&] {
        box.SetSelStart(0);
        box.SetSelLength(int(box.Text().size()));
    });
    QTest::mouseDClick(box.lineEdit(), Qt::LeftButton, {}, QPoint(4, box.lineEdit()->height() / 2));
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 9);
}

TEST(ComboBoxTest, FocusIsRefusedWhileHidden)
{
    ComboBox box;
    EXPECT_FALSE(box.SetFocus());
    box.show();
    EXPECT_TRUE(box.SetFocus());
    box.setEnabled(false);
    EXPECT_FALSE(box.SetFocus());
}

} // namespace
