#pragma once
// The viewed lesson's new words below the text window during text study: index, Chinese,
// tone-marked pinyin and English, with the numbered pinyin in a hidden column. Clicking a
// word speaks it (unless the shared player is playing) and selects it in the lesson text
// (where LessonWordFind says).

#include "Form.h"

class ListView;

class WordsPanel : public Form {
    Q_OBJECT
public:
    WordsPanel();

protected:
    void Form_Load() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_Resize() override;

private:
    void ListView1_Click();

    ListView* ListView1{nullptr};
};
