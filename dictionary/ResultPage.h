#pragma once
// Reading the web dictionary service's result page: a character scan over the page body's
// HTML with a handful of fixed markers of the service's page (not an HTML parser), turned
// into the program's own entry layouts.
//
// Markers, searched ignoring case: "The page cannot be displayed" (no connection), "Are you
// looking for:" and "Sorry, word not found!" (no entry), "Result of Pin1 Yin1 search:" with
// links ending in "</a>" up to "</table>" (a word list for a pinyin query), "<big>"..."</big>"
// (the meanings), "Examples:" up to "</table>" (example lines split at "<br>"), and
// "pronounce>"..."</span>" (a Chinese word's pronunciation in numeric character entities).

#include <QString>

// The short notices that stand instead of a result: no connection, no entry, and an entry
// the result box will not show (past ResultTextLimit, or more than the box lays out).
extern const char* const CannotFindServerText; // "Cannot find server!"
extern const char* const NotFoundText;         // "Sorry, it is not found."
extern const char* const TooLargeText;         // "Sorry, the entry is too large to show."

// The RTF document to show for a page body read against query. Empty when the page's
// structure cannot be followed (a word-list link without its end, an entity naming no
// character): the box is then emptied and nothing is cached. A page whose result would pass
// ResultTextLimit is answered as too large to show.
QString HtmlToRtf(const QString& html, const QString& query, const QString& sourceLabel);

// One example line as an RTF fragment: a line holding Chinese characters in the Chinese style
// after chineseIndent blanks, any other in the English style after englishIndent blanks.
QString ExampleLineRtf(const QString& line, int chineseIndent, int englishIndent);
