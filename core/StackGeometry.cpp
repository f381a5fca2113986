#include "StackGeometry.h"

StackPlaces PlaceStack(const StackSpec& spec)
{
    float aboveSum = 0;
    for (float h : spec.Above)
        aboveSum += h;
    float belowSum = 0;
    for (float h : spec.Below)
        belowSum += h;

    StackPlaces places;
    const float centred = spec.CentringWidth < 0 ? spec.TaskWidth : spec.CentringWidth;
    places.Left = (spec.ScreenWidth - centred) / 2;
    places.TaskTop = (spec.ScreenHeight - spec.TaskHeight - aboveSum - belowSum) / 2 + aboveSum;
    if (spec.Raised)
        places.TaskTop -= kStackRaise;

    // Upwards from the task window: each window ends one pixel above the next one's top.
    places.AboveTops.resize(spec.Above.size());
    float nextTop = places.TaskTop;
    for (qsizetype i = spec.Above.size() - 1; i >= 0; --i) {
        nextTop = nextTop - spec.Above[i] - spec.Pixel;
        places.AboveTops[i] = nextTop;
    }
    // Downwards: each window starts one pixel below the bottom of the one before.
    float bottom = places.TaskTop + spec.TaskHeight;
    for (float h : spec.Below) {
        places.BelowTops.append(bottom + spec.Pixel);
        bottom = places.BelowTops.last() + h;
    }
    return places;
}
