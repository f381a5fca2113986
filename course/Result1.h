#pragma once
// The result list of the fill-in exercise ("Kyes and Results"), below Exercise3: one row per
// blank with its right character and the verdict. After grading, clicking a row selects that
// blank in the exercise and speaks its character.

#include <QVector>

#include "Form.h"

class ListView;

class Result1 : public Form {
    Q_OBJECT
public:
    Result1();

    // Fills the list from the exercise's blanks (called by the grading).
    void Common01();
    // Removes every row (the exercise starts anew).
    void Clear();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyUp(int& keyCode, int shift) override;
    void Form_Resize() override;

private:
    void ListView1_Click();

    ListView* ListView1{nullptr};
    // Each blank's character in CharacterTable (blank i at [i - 1]), 0 when it has none.
    QVector<int> BlankCharIndex;
};
