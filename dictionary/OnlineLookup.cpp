#include "OnlineLookup.h"

#include "AppState.h"
#include "OnlineRules.h"
#include "ResultPage.h"
#include "TextFilters.h"
#include "WebPage.h"

OnlineLookup::OnlineLookup(OnlineView& view, WebPage& page, QObject* parent)
    : QObject(parent)
    , m_view(view)
    , m_page(page)
    , m_sourceLabel(OnlineService::SourceLabel())
    , m_cache(m_sourceLabel)
{
    connect(&m_page, &WebPage::ProgressChange, this, &OnlineLookup::ProgressChange);
    connect(&m_page, &WebPage::DocumentComplete, this,
        [this](int navigation, const QString&) { DocumentComplete(navigation); });
}

OnlineLookup::Outcome OnlineLookup::Common01(const QString& word, int charIndex, const QString& followingText)
{
    m_lastQuery = CollapseSpaces(WidenQuery(word, charIndex, followingText, m_smartly));
    m_view.SetProgress(0);

    const int hit = FindOnlineWord(m_lastQuery);
    if (hit > 0) {
        // A page still loading for an earlier word would overwrite this result.
        Abandon();
        m_view.SetLoading(false);
        m_view.ShowResult(CachedResultRtf(State().OnlineWordTable.at(hit - 1), m_lastQuery, m_sourceLabel));
        m_view.AddSearchHistory(m_lastQuery);
        m_view.CaretToStart();
        return FromCache;
    }

    m_view.SetLoading(true);
    m_navigationQuery = m_lastQuery;
    m_navigation = m_page.Navigate(OnlineService::SearchAddress(OnlineService::ServiceAddress(), m_lastQuery));
    return Requested;
}

void OnlineLookup::Abandon()
{
    if (m_navigation == 0)
        return;
    m_page.Stop();
    m_navigation = 0;
    m_navigationQuery.clear();
}

void OnlineLookup::ProgressChange(qint64 progress, qint64 progressMax)
{
    if (m_navigation == 0)
        return;
    m_view.SetProgress(ProgressBarValue(progress, progressMax, m_view.Progress()));
}

void OnlineLookup::DocumentComplete(int navigation)
{
    if (navigation != m_navigation || m_navigation == 0)
        return;
    const QString query = m_navigationQuery;
    m_navigation = 0;
    m_navigationQuery.clear();

    m_view.SetProgress(0);
    const QString html = m_page.BodyHtml();
    if (!html.isEmpty()) {
        const QString rtf = HtmlToRtf(html, query, m_sourceLabel);
        if (rtf.contains(QLatin1String(CannotFindServerText), Qt::CaseInsensitive)) {
            m_view.ShowResult(rtf);
            m_view.SetSearchText(query);
        } else {
            const QString shown = m_view.ShowResult(rtf);
            // A notice is no result, even for a query it begins with ("sorry").
            if (!query.isEmpty() && !shown.contains(QLatin1String(NotFoundText), Qt::CaseInsensitive)
                && !shown.contains(QLatin1String(TooLargeText), Qt::CaseInsensitive)
                && shown.startsWith(query, Qt::CaseInsensitive)) {
                m_view.AddSearchHistory(query);
                m_cache.AddCacheEntry(query, shown);
            }
        }
        m_view.CaretToStart();
    }
    m_view.SetLoading(false);
}
