#pragma once
// The system's shared variables, gathered in one object reached through State(). Names are
// the system's own. Tests start from a fresh one with ResetState().
//
// Each area keeps its variables in its own block below; 16-bit counts and flags stay qint16
// (True = -1) because other windows compare against those exact values.

#include <QString>
#include <QStringList>
#include <QVector>

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

    // --- learner's records ----------------------------------------------------------------
    QString UserName;
    QString TutorMailbox;
};

AppState& State();
void ResetState();

// The application folder: the executable's folder, or VELMORA_APPPATH when set. Always ends in "/".
QString DefaultAppPath();
