#pragma once
// The start-up loading of the course tables: a preparation step and four loading steps, run in
// this order by the loading window (LoadData), each reporting to its caption and progress bar.
//
// Missing course and record files are skipped silently; a coded file that exists but cannot
// be read is reported by the coded-file reader and loading goes on; a record file that exists
// but cannot be read leaves its value empty (or ends that step with what it loaded), and one
// refused is kept aside with a word to the learner (KeepRefusedRecord).

#include <QString>

// Where a step shows how far it has come: the loading window, or a recorder in tests.
// Steps are numbered 1 to 4 as their captions are.
class LoadProgress {
public:
    virtual ~LoadProgress() = default;
    virtual void SetMaximum(int step, int maximum) = 0;
    virtual int Maximum(int step) const = 0;
    virtual int Value(int step) const = 0;
    virtual void SetValue(int step, int value) = 0;
    virtual void SetCaption(int step, const QString& text) = 0;
    // Lets the window repaint while a step runs.
    virtual void ProcessEvents() = 0;
};

// The on-line table holds one entry less than the others.
constexpr int OnlineTableLimit = 32766;

// Counts the dialogue scripts (an unbroken run Spoken/Script1.vmq, Script2.vmq, ...) and
// returns the count; sets the maxima of steps 1 and 2, gives LessonTitles its 91 entries and
// reads TutorMailbox and UserName from the Record folder (the last line, blanks trimmed).
qint16 LoadSettingsFiles(LoadProgress& progress);

// Step 1: the vocabulary (lesson new words, then the extra vocabulary files).
void LoadWordTable(LoadProgress& progress);

// Step 2: the sentences of the lesson texts (with the lesson titles), of the topic scripts and
// of the spokenScriptCount dialogue scripts.
void LoadSentenceTable(LoadProgress& progress, qint16 spokenScriptCount);

// Step 3: the character table from the character files.
void LoadCharacterTable(LoadProgress& progress);

// Step 4: the cache of words looked up on-line (Record/wangci.txt), each word also brought
// into the character table.
void LoadOnlineWords(LoadProgress& progress);

// All five in order, as the loading window runs them.
void LoadCourseTables(LoadProgress& progress);

// Erases the course-wide tables the steps fill (WordText, WordPinyin, WordSource,
// SentenceTable, CharacterTable, OnlineWordTable, in that order) and zeroes their counts and
// the character look-up index with them, so that nothing that fills a table again goes on
// from a stale count. The lesson titles are kept.
void EraseCourseTables();
