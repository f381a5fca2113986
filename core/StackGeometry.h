#pragma once
// Where the windows of a study or tool stack go: one column of windows, one pixel apart, the
// task (or tool) window centred across the screen and the summed heights centred down it.
// Windows above and below the task window are left-aligned with it whatever their widths.
// A stack whose top would lie above the work area's top is moved down until its top window's
// frame is inside, so its title bar can be reached; nothing else is clamped: a stack taller
// than the screen reaches beyond its bottom edge.
//
// Windows that may grow (the dictionaries) take the room a tall work area leaves before the
// stack is placed: together at most what fills the work area less twice the raise (the
// raised stack still starts inside it), each in proportion to the most it may grow.
//
// All values are twips in single precision, as the stacks were always computed; callers read
// the screen and the window sizes anew at every opening.

#include <QList>

struct StackRequest {
    float ScreenWidth{0};
    float ScreenHeight{0};
    float Pixel{15}; // the screen's vertical twips per pixel: the gap between two windows
    float TaskWidth{0};
    float TaskHeight{0};
    // The width centred across the screen; below 0 the task window's own width. (The writing
    // pad centres the dictionary's width, which it shares with the samples beside it.)
    float CentringWidth{-1};
    QList<float> Above; // heights of the windows above the task window, top to bottom
    QList<float> Below; // heights of the windows below it, top to bottom
    bool Raised{true};  // the whole stack 260 twips above the centre
    float WorkTop{0};   // the work area's top: no window of the stack starts above it
    // The most each window above and below may grow, in the order of Above and Below (a
    // missing entry grows nothing), and the work area's height they grow into (0: none grows).
    QList<float> AboveGrowth{};
    QList<float> BelowGrowth{};
    float WorkHeight{0};
};

struct StackPlaces {
    float Left{0}; // every window of the stack
    float TaskTop{0};
    QList<float> AboveTops;    // in the order of StackRequest::Above
    QList<float> BelowTops;    // in the order of StackRequest::Below
    QList<float> AboveHeights; // the heights they were placed with, grown where they may
    QList<float> BelowHeights;
};

inline constexpr float kStackRaise = 260;

StackPlaces PlaceStack(const StackRequest& request);

// A window of a stack as it stands when a stack is placed (twips): the client size the program
// gave it, and its client and outer (framed) sizes now, whatever the learner has done to it
// since (maximised it, made it larger, dragged it off the screen).
struct StackWindowShape {
    float OwnWidth{0}; // 0: the program gave it no size of its own; its present size serves
    float OwnHeight{0};
    float Width{0};
    float Height{0};
    float FrameWidth{0}; // the outer size now; as large as the client while it has no frame yet
    float FrameHeight{0};
};
struct StackOuterSize {
    float Width{0};
    float Height{0};
};

// The outer size a stack places a window at: its own size with the frame round it, never the
// size the learner left it at (a maximised dictionary would push the stack off the screen).
StackOuterSize OuterSizeInStack(const StackWindowShape& shape);
