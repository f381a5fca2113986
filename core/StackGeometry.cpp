#include "StackGeometry.h"

#include <algorithm>

namespace {

// The heights of the windows above and below, grown into the room the work area leaves.
void Grow(const StackRequest& request, StackPlaces& places)
{
    places.AboveHeights = request.Above;
    places.BelowHeights = request.Below;
    float total = request.TaskHeight;
    for (float h : request.Above + request.Below)
        total += h + request.Pixel;
    float most = 0;
    for (float g : request.AboveGrowth + request.BelowGrowth)
        most += std::max(g, 0.0f);
    const float room = request.WorkHeight - 2 * kStackRaise - total;
    if (room <= 0 || most <= 0)
        return;
    const float share = std::min(1.0f, room / most);
    for (qsizetype i = 0; i < places.AboveHeights.size() && i < request.AboveGrowth.size(); ++i)
        places.AboveHeights[i] += std::max(request.AboveGrowth[i], 0.0f) * share;
    for (qsizetype i = 0; i < places.BelowHeights.size() && i < request.BelowGrowth.size(); ++i)
        places.BelowHeights[i] += std::max(request.BelowGrowth[i], 0.0f) * share;
}

} // namespace

StackPlaces PlaceStack(const StackRequest& request)
{
    StackPlaces places;
    Grow(request, places);
    float aboveSum = 0;
    for (float h : places.AboveHeights)
        aboveSum += h;
    float belowSum = 0;
    for (float h : places.BelowHeights)
        belowSum += h;

    const float centred = request.CentringWidth < 0 ? request.TaskWidth : request.CentringWidth;
    places.Left = (request.ScreenWidth - centred) / 2;
    places.TaskTop = (request.ScreenHeight - request.TaskHeight - aboveSum - belowSum) / 2 + aboveSum;
    if (request.Raised)
        places.TaskTop -= kStackRaise;

    // Upwards from the task window: each window ends one pixel above the next one's top.
    places.AboveTops.resize(places.AboveHeights.size());
    float nextTop = places.TaskTop;
    for (qsizetype i = places.AboveHeights.size() - 1; i >= 0; --i) {
        nextTop = nextTop - places.AboveHeights[i] - request.Pixel;
        places.AboveTops[i] = nextTop;
    }
    // Downwards: each window starts one pixel below the bottom of the one before.
    float bottom = places.TaskTop + request.TaskHeight;
    for (float h : places.BelowHeights) {
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

StackOuterSize OuterSizeInStack(const StackWindowShape& shape)
{
    const float width = shape.OwnWidth > 0 ? shape.OwnWidth : shape.Width;
    const float height = shape.OwnHeight > 0 ? shape.OwnHeight : shape.Height;
    // The frame's sides and title bar as they are now; a window not shown yet has none.
    return {width + std::max(shape.FrameWidth - shape.Width, 0.0f), height + std::max(shape.FrameHeight - shape.Height, 0.0f)};
}
