#include "QuizRules.h"

#include <algorithm>
#include <cmath>

#include "Clock.h"

QuizDraw QuizDraws()
{
    return [] {
        Random::Randomize();
        return Random::Rnd();
    };
}

int DrawIndex(const QuizDraw& draw, int n)
{
    if (n < 1)
        return 1;
    return std::clamp(static_cast<int>(std::floor(draw() * n)) + 1, 1, n);
}

int DrawSlot(const QuizDraw& draw, int n) { return DrawIndex(draw, n) - 1; }

int QuizRate(int right, int wrong)
{
    const qint64 total = qint64(right) + wrong;
    if (right <= 0 || total <= 0)
        return 0;
    // Exactly, in integers: percent = floor(right * 100 / total), then the remainder decides.
    const qint64 scaled = qint64(right) * 100;
    qint64 percent = scaled / total;
    const qint64 twice = 2 * (scaled % total);
    if (twice > total || (twice == total && percent % 2 == 1))
        ++percent;
    return static_cast<int>(percent);
}
