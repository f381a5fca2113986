#pragma once
// The list view in report mode: columns with a header and a width in twips, rows of an item
// text (column 0) and sub-items (columns 1..), counted from 1 as the old control counted its
// ListItems, one selected row, Click and ensure-visible. Rows keep the order they were added
// in (no sorting); the whole row is selected.

#include <QString>
#include <QTreeWidget>

class ListView : public QTreeWidget {
    Q_OBJECT
public:
    // Width of a column added without one.
    static constexpr double DefaultColumnWidth = 1440;

    explicit ListView(QWidget* parent = nullptr);

    // ColumnHeaders.Add: a column at the right end. Returns the column's index (0 for the item
    // text). Without a width the column is DefaultColumnWidth wide, or as wide as its heading
    // needs when that is more. With a width (twips) the column keeps it, and a heading that
    // does not fit it at the list's font is drawn in a font small enough to fit; a width of 0
    // hides the column.
    int AddColumn(const QString& header);
    int AddColumn(const QString& header, double width);
    QString ColumnHeader(int column) const;
    double ColumnWidth(int column) const;

    // ListItems.Add: a row at the end with its item text; returns its 1-based index.
    int AddItem(const QString& text);
    // Many rows at the end at once, each its item text and sub-items in column order (texts
    // beyond the last column are dropped): the list takes them in one insertion, where a row
    // added and then filled column by column is announced to the view at every step.
    void AddItems(const QList<QStringList>& rows);
    int ItemCount() const { return topLevelItemCount(); }
    // ListItems.Clear: every row removed, nothing selected; the next rows show from the top.
    void ClearItems();

    // Item text (column 0) and sub-items (columns 1..) of row item (1-based); texts of rows or
    // columns that do not exist read as "", and writing them does nothing.
    QString ItemText(int item) const;
    QString SubItem(int item, int column) const;
    void SetSubItem(int item, int column, const QString& text);

    // SelectedItem: the selected row (1-based), 0 when none. Selecting 0 (or a row that does
    // not exist) clears the selection. Selecting fires no Click.
    int SelectedItem() const;
    void SetSelectedItem(int item);
    // Scrolls row item into view.
    void EnsureVisible(int item);
    // True when row item lies wholly inside the visible part of the list.
    bool IsItemVisible(int item) const;

signals:
    // A mouse click on the list (after the row under the pointer is selected).
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QTreeWidgetItem* Row(int item) const;
    int AppendColumn(const QString& header, int pixels);
    // Pixels a heading needs at font: its text and the style's margins on both sides.
    int HeadingWidth(const QString& text, const QFont& font) const;
    // Gives a heading the largest font, up to the list's, that fits its column's width; a
    // column's resize refits its own heading, a change of the list's font or style every one.
    void FitHeading(int column);
    void FitHeadings();
};
