#pragma once
// The local dictionary's query over the course vocabulary (State().WordText, WordPinyin,
// WordSource): what kind of query a word is, and which entries it finds, in table order.
//
// SearchVocabularyLinear is the definition: it walks the table entry by entry. The
// VocabularyIndex answers the same from lists built once after the vocabulary is loaded,
// so a query costs the few entries it may find instead of the whole table.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

struct AppState;

enum class QueryKind { LessonNumber, Pinyin, English, Chinese };

struct VocabularyQuery {
    QueryKind Kind{QueryKind::Chinese};
    // The word as searched; a lesson query holds the whole part of the number ("03" -> "3",
    // "12.7" -> "12"), which the search hands back to its caller.
    QString Word;
    // Lesson queries: the whole part of the number, any size (outside 1..91 nothing is found).
    double Lesson{0};
};

// True when the whole text reads as a number: blanks around it, a sign, digits with at most
// one decimal point, an exponent ("3", " 3", "03", "3.9", "-2", "1e2", ".5").
bool ReadsAsNumber(const QString& text, double* value = nullptr);

// The kind of a word, tested in this order: last character a digit and the whole word a
// number (lesson number); last character a digit (numbered pinyin); first character a Latin
// letter (English); anything else (Chinese).
VocabularyQuery ClassifyQuery(const QString& word);

// The matching entries (1-based, in table order) by walking the whole table:
// - lesson n: the leading lesson entries (source kind 1) of lesson n;
// - pinyin: " " + the word with blank runs collapsed + " " within " " + the entry's pinyin
//   without dots and marks + " ", ignoring case (whole syllables);
// - English: " word " or " word;" within the entry's English (blank at each end), ignoring
//   case (whole words and phrases);
// - Chinese: exact: the entry's word equals it ignoring case; otherwise it occurs, ignoring
//   case, in the entry's word without brackets and the marks ？！，.
QVector<int> SearchVocabularyLinear(const AppState& s, const VocabularyQuery& query, bool exact);

// The same answers from lists built once over the loaded vocabulary. Candidates come from
// keys (the first characters after each blank, the characters of each Chinese word); each
// candidate is then checked by the rule above, so the index never changes an answer.
class VocabularyIndex {
public:
    // Builds the lists over the vocabulary as it stands.
    void Build(const AppState& s);
    // True while the vocabulary is the one the lists were built over. The vocabulary is
    // written only by the loading step (and erased at exit), so its count and its storage
    // tell a new table from the old.
    bool Follows(const AppState& s) const;
    QVector<int> Search(const AppState& s, const VocabularyQuery& query, bool exact) const;

private:
    struct Signature {
        qint16 Count{-1};
        const void* Words{nullptr};
        const void* Meanings{nullptr};
        const void* Pinyin{nullptr};
        const void* Kinds{nullptr};
        const void* Numbers{nullptr};
        bool operator==(const Signature&) const = default;
    };
    static Signature SignatureOf(const AppState& s);

    Signature m_signature;
    QStringList m_pinyin;  // " " + pinyin without dots and marks + " "
    QStringList m_chinese; // the word without brackets and marks
    // Keys of two and three folded characters after each blank, each as one number (the
    // length, then the units) -> entries, in table order.
    QHash<quint64, QVector<int>> m_englishKeys;
    QHash<quint64, QVector<int>> m_pinyinKeys;
    // Folded character -> entries whose stripped word holds it.
    QHash<char16_t, QVector<int>> m_chineseChars;
    // Hash of the folded word -> entries.
    QHash<size_t, QVector<int>> m_exact;
    // Lesson n (1..91) -> its leading lesson entries.
    QVector<QVector<int>> m_lessons;
};

// The search the dictionary runs: the index, rebuilt whenever the vocabulary is not the one it
// was built over.
class VocabularySearch {
public:
    QVector<int> Search(const AppState& s, const VocabularyQuery& query, bool exact);
    // Builds the index now (the dictionary window does it when it loads, after the tables).
    void Prepare(const AppState& s);

private:
    VocabularyIndex m_index;
};
