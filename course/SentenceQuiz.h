#pragma once
// Sentence finding without its window: each lesson line made into a three-choice question,
// either by sound (the spoken line's Chinese among two copies with two characters swapped) or
// by meaning (its English among two English sentences of the whole course), and the rich text
// of the question and of the correction. FindSentence walks the lines and shows these.

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

#include "AppState.h"
#include "QuizRules.h"

// Option 0, 1, 2 is "A", "B", "C" (any other option "C").
// The Chinese line with its number replaced by the option's letter: "2.你好" -> "B.你好".
QString LetterOptionText(const QString& text, int option);
// "A) ", "B) " or "C) " before text.
QString OptionPrefix(const QString& text, int option);
// The part after the first "." (the whole text when it holds none).
QString SentenceText(const QString& text);

// text with two different Chinese characters swapped, the pair drawn evenly among every such
// pair with one draw; nothing when text holds no two different Chinese characters.
std::optional<QString> SwapTwoCharacters(const QString& text, const QuizDraw& draw);

// An English sentence of pool for a wrong option: never one holding "<<" and never the right
// answer itself. Empty when the pool holds no such sentence.
QString RandomPoolSentence(const QVector<SentenceRecord>& pool, const QString& rightEnglish, const QuizDraw& draw);

struct QuizQuestion {
    bool Asked{false}; // false: the line is skipped
    bool Sound{false}; // a sound question, else a meaning question
    int Correct{0};    // the option that holds the right answer
    std::array<QString, 3> Options;
};

// The question of one lesson line: the right option's place, the kind (a draw below one half
// asks by sound), then the wrong options. A heading is never asked; a sound question is not
// asked of a line with fewer than four Chinese characters or without two different ones to
// swap.
QuizQuestion MakeQuestion(const SentenceRecord& line, const QVector<SentenceRecord>& pool, const QuizDraw& draw);

// The wrong option with every character after its letter that differs from the right option
// in square brackets: "B.好[你][好]吗" style.
QString MarkSwapped(const QString& option, const QString& right);

// The RTF documents appended to the quiz's text box, in order.
QStringList QuestionRtf(const SentenceRecord& line, const QuizQuestion& question);
QStringList CorrectionRtf(const SentenceRecord& line, const QuizQuestion& question);

// The quiz says this when a wrong option is chosen.
QString WrongFeedback();
