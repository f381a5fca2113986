#pragma once
// The surnames tool's fixed table: 190 surnames in their row order, each with its stored
// pinyin and its famous bearers. Plain data without Qt, so that the content check reads the
// very table the window shows.

#include <span>

struct SurnameData {
    const char* Surname; // UTF-8, one or two characters
    const char* Pinyin;  // numbered, with the tone dot ("zh.ao4", "s.i1 m.a3")
    const char* Bearers; // UTF-8, names joined by "、"; empty for none
};

std::span<const SurnameData> SurnameRows();
