#include "StackGeometry.h"

StackPlaces PlaceStack(const StackRequest& request)
{
    float aboveSum = 0;
    for (float h : request.Above)
        aboveSum += h;
    float belowSum = 0;
    for (float h : request.Below)
        belowSum += h;

    StackPlaces places;
    const float centred = request.CentringWidth < 0 ? request.TaskWidth : request.CentringWidth;
    places.Left = (request.ScreenWidth - centred) / 2;
    places.TaskTop = (request.ScreenHeight - request.TaskHeight - aboveSum - belowSum) / 2 + aboveSum;
    if (request.Raised)
        places.TaskTop -= kStackRaise;

    // Upwards from the task window: each window ends one pixel above the next one's top.
    places.AboveTops.resize(request.Above.size());
    float nextTop = places.TaskTop;
    for (qsizetype i = request.Above.size() - 1; i >= 0; --i) {
        nextTop = nextTop - request.Above[i] - request.Pixel;
        places.AboveTops[i] = nextTop;
    }
    // Downwards: each window starts one pixel below the bottom of the one before.
    float bottom = places.TaskTop + request.TaskHeight;
    for (float h : request.Below) {
        places.BelowTops.append(bottom + request.Pixel);
        bottom = places.BelowTops.last() + h;
    }

    // A stack reaching above the work area comes down as a whole.
    const float top = places.AboveTops.isEmpty() ? places.TaskTop : places.AboveTops.first();
    if (top < request.WorkTop) {
        const float down = request.WorkTop - top;
        places.TaskTop += down;
        for (float& t : places.AboveTops)
            t += down;
        for (float& t : places.BelowTops)
            t += down;
    }
    return places;
}
