#pragma once
// The viewed lesson's two scripts, read once per lesson choice into the shared tables every
// study window of the lesson reads (State().LessonWords and LessonLines).

// Reads Lessons/Script/Lesson_<ViewedLesson>/icwp.vmq (new words: pinyin, Chinese and English
// lines per word) and lifr.vmq (text: pinyin, Chinese and English lines per group; a Chinese
// line whose first character is "#" makes a heading) under AppPath. Both tables are emptied
// first. Headings are numbered "1)", "2)", ... through the lesson; sentences "1.", "2.", ...
// starting again after each heading. One or two lines left over after the last whole group
// are ignored. A missing file leaves its table empty without a message; a broken one is
// reported by the coded-file reader and leaves its table empty too. LineBuffer is empty after.
void LoadLessonScript();
