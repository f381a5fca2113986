#include "ListView.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionHeader>
#include <algorithm>

#include "Twips.h"

namespace {
// The tree lays its rows out anew after every new list and has its header do the same, which
// repaints the headings although neither their number nor their widths changed: this header
// lays itself out again only when the number of columns changed. Its sections follow every
// other change (widths, texts, fonts) by themselves.
class ListHeader : public QHeaderView {
public:
    explicit ListHeader(QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
        // As the tree's own header is set up.
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    void doItemsLayout() override
    {
        if (model() && count() > 0 && count() == model()->columnCount(rootIndex()))
            return;
        QHeaderView::doItemsLayout();
    }
};
} // namespace

ListView::ListView(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeader(new ListHeader(this));
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    connect(header(), &QHeaderView::sectionResized, this, [this](int column) { FitHeading(column); });
}

int ListView::AddColumn(const QString& header)
{
    return AppendColumn(header, std::max(Twips::ToPixelsX(DefaultColumnWidth), HeadingWidth(header, this->header()->font())));
}

int ListView::AddColumn(const QString& header, double width)
{
    return AppendColumn(header, std::max(1, Twips::ToPixelsX(width)));
}

int ListView::AppendColumn(const QString& header, int pixels)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    headerItem()->setText(column, header);
    // A width the new section already has announces no resize: its heading is fitted here.
    if (columnWidth(column) == pixels)
        FitHeading(column);
    else
        setColumnWidth(column, pixels);
    return column;
}

int ListView::HeadingWidth(const QString& text, const QFont& font) const
{
    // The style's own measure of a header section, for the font the heading is drawn in.
    QStyleOptionHeader option;
    option.initFrom(header());
    option.orientation = Qt::Horizontal;
    option.text = text;
    option.fontMetrics = QFontMetrics(font);
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header()).width();
}

void ListView::FitHeading(int column)
{
    // Below this the heading could not be read anyway: it is clipped instead.
    constexpr int SmallestPixels = 6;
    const QFont listFont = header()->font();
    QTreeWidgetItem* head = headerItem();
    const int width = columnWidth(column);
    const QString text = head->text(column);
    if (width <= 1 || HeadingWidth(text, listFont) <= width) {
        head->setData(column, Qt::FontRole, QVariant());
        return;
    }
    // Narrower letters first, then smaller ones: the heading keeps as much height as it can.
    QFont fitted = listFont;
    bool fits = false;
    for (int pixels = QFontInfo(listFont).pixelSize(); pixels >= SmallestPixels && !fits; --pixels) {
        fitted.setPixelSize(pixels);
        for (int stretch : {100, 87, 75}) {
            fitted.setStretch(stretch);
            if ((fits = HeadingWidth(text, fitted) <= width))
                break;
        }
    }
    head->setFont(column, fitted);
}

void ListView::FitHeadings()
{
    for (int column = 0; column < columnCount(); ++column)
        FitHeading(column);
}

void ListView::changeEvent(QEvent* e)
{
    QTreeWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        FitHeadings();
}

QString ListView::ColumnHeader(int column) const
{
    return column >= 0 && column < columnCount() ? headerItem()->text(column) : QString();
}

double ListView::ColumnWidth(int column) const
{
    return column >= 0 && column < columnCount() ? Twips::FromPixelsX(columnWidth(column)) : 0;
}

int ListView::AddItem(const QString& text)
{
    auto* row = new QTreeWidgetItem;
    row->setText(0, text);
    addTopLevelItem(row);
    return topLevelItemCount();
}

void ListView::AddItems(const QList<QStringList>& rows)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    const int columns = std::max(1, columnCount());
    for (const QStringList& texts : rows) {
        auto* row = new QTreeWidgetItem;
        for (int column = 0; column < std::min<int>(columns, int(texts.size())); ++column)
            row->setText(column, texts[column]);
        items.append(row);
    }
    addTopLevelItems(items);
}

void ListView::ClearItems()
{
    // The rows go in one removal; clear() would reset the whole model, which also repaints
    // the column headers although they stay as they are.
    if (const int rows = topLevelItemCount())
        model()->removeRows(0, rows);
    clearSelection();
    // The removal keeps the scroll offset: the next list would open where this one was
    // scrolled, its first rows above the view.
    scrollToTop();
}

QTreeWidgetItem* ListView::Row(int item) const
{
    return item >= 1 && item <= topLevelItemCount() ? topLevelItem(item - 1) : nullptr;
}

QString ListView::ItemText(int item) const
{
    const QTreeWidgetItem* row = Row(item);
    return row ? row->text(0) : QString();
}

QString ListView::SubItem(int item, int column) const
{
    const QTreeWidgetItem* row = Row(item);
    return row && column >= 1 && column < columnCount() ? row->text(column) : QString();
}

void ListView::SetSubItem(int item, int column, const QString& text)
{
    if (QTreeWidgetItem* row = Row(item); row && column >= 1 && column < columnCount())
        row->setText(column, text);
}

int ListView::SelectedItem() const
{
    const QList<QTreeWidgetItem*> rows = selectedItems();
    return rows.isEmpty() ? 0 : indexOfTopLevelItem(rows.first()) + 1;
}

void ListView::SetSelectedItem(int item)
{
    QTreeWidgetItem* row = Row(item);
    if (!row) {
        clearSelection();
        return;
    }
    setCurrentItem(row);
    row->setSelected(true);
}

void ListView::EnsureVisible(int item)
{
    if (QTreeWidgetItem* row = Row(item))
        scrollToItem(row, QAbstractItemView::EnsureVisible);
}

bool ListView::IsItemVisible(int item) const
{
    const QTreeWidgetItem* row = Row(item);
    if (!row)
        return false;
    const QRect r = visualItemRect(row);
    return r.isValid() && viewport()->rect().contains(r.topLeft()) && r.bottom() <= viewport()->rect().bottom();
}

void ListView::mouseReleaseEvent(QMouseEvent* e)
{
    QTreeWidget::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton)
        emit Click();
}
