#pragma once
// The related-expressions list below the typing task, the read-aloud task and the new-words
// review: words related to the one the task window is working on (the rows are RelatedRows'),
// each spoken when its row is clicked.
//
// Who calls whom: the review fills it with Common02, the read-after engine of the text window
// with Common04 (and empties it at the end of the text), the typing task with Common03
// through RelatedExpressionsHook(). While the typing task runs, a click hands the focus back
// to it.

#include <QList>
#include <QPair>

#include "Form.h"
#include "RelatedExpressions.h"

class ListView;
struct RelatedRow;

class Expressions_Related : public Form, public RelatedExpressionsFill {
    Q_OBJECT
public:
    Expressions_Related();

    // The new-words review: at most 20 entries related to word; english is its meaning.
    void Common02(const QString& word, const QString& english);
    // The typing task: at most 10 entries that contain word.
    void Common03(QString& word, bool showPinyin) override;
    // The read-after engine: the word's own entry, then (for a whole word) up to nine more.
    void Common04(const QString& word, bool showPinyin, int entry, bool fromLesson, bool wholeWord);
    // The end of the read-after text: every row removed, RowCount 0.
    void ClearRows();

    // Rows after the last fill.
    qint16 RowCount{0};
    // Row n's {source kind, source number} (1-based n); {0, 0} for a row that does not exist.
    QPair<qint16, qint16> RowSource(int n) const { return m_rowSource.value(n - 1); }
    // False from the start of a fill until a row has been added.
    bool ListReady{false};

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_Resize() override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void Fill(const QList<RelatedRow>& rows);
    void ListView1_Click();
    // False when the row does not exist.
    bool SpeakRow(int row);
    void FocusTypingTask();

    ListView* ListView1{nullptr};
    QList<QPair<qint16, qint16>> m_rowSource;
};
