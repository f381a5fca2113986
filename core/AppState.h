#pragma once
// The system's shared variables, gathered in one object reached through State(). Names are
// the system's own. Tests start from a fresh one with ResetState().
//
// Each area keeps its variables in its own block below; 16-bit counts and flags stay qint16
// (True = -1) because other windows compare against those exact values.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// --- course tables: record types (filled at start by the loading window) --------------------
// The tables below are 0-based containers of the system's 1-based lists: entry k is [k - 1].

// One sentence of the course (lesson texts, topic and dialogue scripts).
struct SentenceRecord {
    QString Pinyin; // numbered pinyin
    QString Chinese;
    QString English;
    qint16 Source{0}; // 1..91 lesson, 92..111 topic script (91 + n), 112.. dialogue script (111 + n)
};

// One pronunciation of a character, as the sound and display code needs it.
struct CharacterReading {
    QString Letter;         // first letter of Syllable: the sound folder
    QString DottedSyllable; // numbered pinyin without the tone digit, dot before the tone vowel
    QString Syllable;       // DottedSyllable without its dot
    QString Tone;           // "0".."4"; "0" also when the reading had no digit
    QString SoundTone;      // tone of the sound file: "1" for "0", empty when there was no digit
    QString MarkTone;       // the digit, empty when there was none
};

// One character with its readings and the longer words that begin with it, each stored
// without that first character.
struct CharacterRecord {
    QString Character;
    QVector<CharacterReading> Readings;
    QStringList Phrases;
    qint16 ReadingCount() const { return qint16(Readings.size()); }
    qint16 PhraseCount() const { return qint16(Phrases.size()); }
};

// One cached on-line look-up: the query and the stored result ("#" for line breaks).
struct OnlineWord {
    QString Word;
    QString Entry;
};

// The records are made of Qt's implicitly shared values, which move by a plain memory copy:
// tables of them then grow without moving each field separately.
Q_DECLARE_TYPEINFO(SentenceRecord, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(CharacterReading, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(CharacterRecord, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(OnlineWord, Q_RELOCATABLE_TYPE);

// Where each character's first record stands in CharacterTable; kept in step with the table
// by the character-table code (CharacterTable.h), never touched elsewhere.
struct CharacterIndex {
    QHash<QString, int> First; // character -> 1-based index of its first record
    qsizetype Covered{0};      // records 1..Covered are indexed
    // The table as the index last saw it: a shallow copy sharing the table's records, so that
    // any change made to the table gives it records of its own, which the index notices.
    QVector<CharacterRecord> Seen;
    qint16 SeenCount{0};
};

// Two rows of strings with 1-based columns, as the old two-dimensional string arrays were.
// Reading outside the columns gives an empty string; Redim keeps the contents.
class StringGrid2 {
public:
    int Columns() const { return static_cast<int>(m_rows[0].size()) - 1; }
    void Redim(int columns);
    void Erase() { Redim(0); }
    QString At(int row, int column) const;
    void Set(int row, int column, const QString& value);

private:
    QVector<QString> m_rows[2]{QVector<QString>(1), QVector<QString>(1)};
};

struct AppState {
    // --- start-up and shell -------------------------------------------------------------
    QString AppPath;            // application folder, always ending in "/"
    qint16 CurrentActivity{-1}; // -1 starting, 0 course panel, 1..8 tasks, 10 Assistants, 11..18 tools, 20 settings, 30 About
    qint16 TaskbarHeight{0};    // twips below the work area
    bool InstallRequested{false}; // --install: the installer road from any drive

    // --- sound ----------------------------------------------------------------------------
    qint16 SoundOwner{0};
    QString CurrentTone;
    // The syllable queue (also filled by the number reader with its sound codes): row 0 holds
    // the tone digit as written, row 1 the file name part; columns 1..SyllableQueueCount.
    StringGrid2 SyllableQueue;
    qint16 SyllableQueueCount{0};
    qint16 SyllableQueuePos{0};

    // --- coded course files ---------------------------------------------------------------
    QStringList LineBuffer; // 0-based here; LineCount == LineBuffer.size()
    qint16 LineCount{0};

    // --- pinyin ---------------------------------------------------------------------------
    QStringList SplitSyllables; // 0-based result of SplitNumberedPinyin

    // --- progress -------------------------------------------------------------------------
    qint16 CurrentLesson{0};
    qint16 CurrentStep{0};
    qint16 ViewedLesson{0};

    // --- the viewed lesson's scripts (loaded by the course panel for ViewedLesson) ----------
    // New words, column first as the old table was: [0] Chinese, [1] English, [2] numbered
    // pinyin; word k (1-based) is [column][k - 1].
    std::array<QStringList, 3> LessonWords;
    qint16 LessonWordCount{0};
    // The text: Chinese is "j." + sentence or "k)" + heading; Source 1 sentence, 0 heading.
    QVector<SentenceRecord> LessonLines;
    qint16 LessonLineCount{0};

    // --- flags the local dictionary reads while a task window is open (True = -1) ---------
    qint16 QuizOpen{0};           // hides the example sentences (fill-in and sentence quizzes)
    qint16 VocabularyTestOpen{0}; // picks the viewed lesson's hit first (vocabulary test)

    // --- learner's records ----------------------------------------------------------------
    QString UserName;
    QString TutorMailbox;

    // --- course tables (loading window) ---------------------------------------------------
    // Vocabulary: [0] Chinese word, [1] English meanings with one blank before and after.
    std::array<QStringList, 2> WordText;
    // [0] source kind (1 lesson, 2 extra vocabulary file), [1] lesson or file number.
    std::array<QVector<qint16>, 2> WordSource;
    QStringList WordPinyin;
    qint16 WordCount{0};        // set once the whole vocabulary is loaded
    qint16 WordCountCopy{0};    // always equal to WordCount
    qint16 LessonEntryCount{0}; // entries 1..LessonEntryCount come from the lessons
    QVector<SentenceRecord> SentenceTable;
    qint16 SentenceCount{0};
    qint16 SpokenFirstSentence{0}; // index range of the topic-script sentences
    qint16 SpokenLastSentence{0};
    QStringList LessonTitles; // 91 entries, lesson n at [n - 1]
    QVector<CharacterRecord> CharacterTable;
    qint16 CharacterCount{0};
    CharacterIndex CharacterLookup;
    QVector<OnlineWord> OnlineWordTable;
    qint16 OnlineWordCount{0};
};

AppState& State();
void ResetState();

// The application folder: the executable's folder, or VELMORA_APPPATH when set. Always ends in "/".
QString DefaultAppPath();
