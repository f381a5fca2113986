#pragma once
// The system's shared variables, gathered in one object reached through State(). Names are
// the system's own. Tests start from a fresh one with ResetState().
//
// Each area keeps its variables in its own block below; 16-bit counts and flags stay qint16
// (True = -1) because other windows compare against those exact values.

#include <QString>
#include <QStringList>
#include <QVector>

struct AppState {
    // --- start-up and shell -------------------------------------------------------------
    QString AppPath;            // application folder, always ending in "/"
    qint16 CurrentActivity{-1}; // -1 starting, 0 course panel, 1..8 tasks, 10 Assistants, 11..18 tools, 20 settings, 30 About
    qint16 TaskbarHeight{0};    // twips below the work area

    // --- sound ----------------------------------------------------------------------------
    qint16 SoundOwner{0};
    QString CurrentTone;

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
