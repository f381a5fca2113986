#pragma once
// The rules of the everyday-sentences tool, without a window: the topic list, the keyword
// search over the sentence table, keyword cleaning and the length messages, the syllable of
// a character in a shown sentence, the search history and the checks before "Ask us".

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "AppState.h"

namespace Sentences {

inline const QString SorryText = QStringLiteral("Sorry 对不起.");
inline const QString KeywordHint = QStringLiteral("It is better to search what you want to speak.");
inline const QString AskPrompt =
    QStringLiteral("If there is no the sentence that you need in the database, you can ask us here.");

// The category list: item 0 "You can select a category.", then the twenty topics.
QStringList TopicCaptions();

// A topic caption cut at its first run of two blanks: the number and Chinese name, and the
// English name (trimmed).
struct CaptionParts {
    QString Head;
    QString English;
};
CaptionParts SplitCaption(const QString& caption);

// The 1-based table positions of topic item's sentences (Source = 91 + item), looked for in
// first..last only; the walk stops at the first other sentence once one was found, since a
// topic's sentences stand together. Nothing when last is 0.
QVector<int> TopicRows(const QVector<SentenceRecord>& table, int first, int last, int item);

// Keeps a character unless it is ASCII 33-64, 91-93 or 123-125, or one of the twenty
// full-width marks; blanks, letters, ^ _ ` ~ and Chinese characters stay.
QString StripKeywordPunctuation(const QString& text);

// Keywords of a cleaned, trimmed text: a blank followed by another character starts the next
// keyword, so two blanks in a row give an empty keyword. Blanks are never part of one.
QStringList SplitKeywords(const QString& text);

// The message that stops a one-keyword search that is too short, or empty.
QString KeywordLengthMessage(const QString& text, const QStringList& keywords);

// English when the text begins with a letter A-Z or a-z; Chinese otherwise.
bool IsEnglishSearch(const QString& text);

// One listed sentence: its 1-based table position and the text shown for it.
struct Hit {
    int Position;
    QString Text;
};

// Every sentence 1..count of table, in table order, in which all keywords hold: an English
// keyword stands after or before a blank of the English text (without regard to case), a
// Chinese keyword anywhere in the Chinese text. Sentences whose English holds "<<<" are never
// listed. progress(k) is called after each sentence.
QList<Hit> Search(const QVector<SentenceRecord>& table, int count, const QString& text,
    const std::function<void(int)>& progress = {});

// The index (1-based) of a Chinese-line character's syllable: the length of the first p
// characters of chinese without the punctuation StripPunctuation removes.
int SyllableIndexAt(const QString& chinese, int p);

// Adds text at the end of history unless an entry equals it exactly (case counts); true when
// it was added.
bool AddSearchHistory(QStringList& history, const QString& text);

// The reason "Ask us" refuses to send, or empty when the mail may go.
QString AskUsProblem(const QString& tutorMailbox, const QString& userName, const QString& text);
// The subject of the question mail.
QString AskUsSubject(const QString& userName);

} // namespace Sentences
