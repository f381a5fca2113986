#pragma once
// The on-line dictionary's look-up road without its window: widening, the cache, one request
// per miss, and the reading of the page that answers it.
//
// Who calls whom: the window (DictionaryOnline) calls Common01 and shows what the view
// methods hand it; the WebPage reports the page's progress and completion here. A look-up
// supersedes the one before: a navigation still loading is aborted, and only the page of the
// current navigation is read, against the query that navigation was started for.

#include <QObject>
#include <QString>

#include "OnlineCache.h"

class WebPage;

// What the look-up asks of the window.
class OnlineView {
public:
    virtual ~OnlineView() = default;
    // Shows an RTF document in the result box; returns the box's plain text afterwards.
    virtual QString ShowResult(const QString& rtf) = 0;
    // Loading: the progress bar shown and the search box disabled; idle: bar hidden, box enabled.
    virtual void SetLoading(bool loading) = 0;
    virtual void SetProgress(int value) = 0;
    virtual int Progress() const = 0;
    virtual void AddSearchHistory(const QString& word) = 0;
    virtual void SetSearchText(const QString& text) = 0;
    // Caret to the start of the result box.
    virtual void CaretToStart() = 0;
};

class OnlineLookup : public QObject {
    Q_OBJECT
public:
    enum Outcome { FromCache, Requested };

    OnlineLookup(OnlineView& view, WebPage& page, QObject* parent = nullptr);

    // Looks word up (charIndex and followingText as the selection look-up hands them, 0 and
    // "" when there are none); leaves the text looked up in LastQuery.
    Outcome Common01(const QString& word, int charIndex, const QString& followingText);

    QString LastQuery() const { return m_lastQuery; }
    void SetLastQuery(const QString& query) { m_lastQuery = query; }
    // "Smartly": whole-word widening through the character's phrases.
    bool Smartly() const { return m_smartly; }
    void SetSmartly(bool on) { m_smartly = on; }
    bool Loading() const { return m_navigation != 0; }

    OnlineCache& Cache() { return m_cache; }
    QString SourceLabel() const { return m_sourceLabel; }

private:
    void ProgressChange(qint64 progress, qint64 progressMax);
    void DocumentComplete(int navigation);
    void Abandon();

    OnlineView& m_view;
    WebPage& m_page;
    QString m_sourceLabel;
    OnlineCache m_cache;
    QString m_lastQuery;
    bool m_smartly{true};
    // The navigation being loaded (0 when none) and the query it was started for.
    int m_navigation{0};
    QString m_navigationQuery;
};
