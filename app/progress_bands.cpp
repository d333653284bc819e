// The progress bands of the download window's four pictures.
#include "app/progress_bands.h"

#include <algorithm>
#include <limits>

namespace {

// Each picture rises one pixel per percent during its own quarter from its rest position,
// then, during the next quarter, is drawn from 50 pixels above its rest position downward.
struct Band {
    int first, last;
    PictureMove (*moves[2])(int p);
};

PictureMove gameRising(int p)
{
    return {Picture::Game, {225, 105 - p, 369, 201 - p}};
}
PictureMove gameFalling(int p)
{
    return {Picture::Game, {225, p + 30, 369, p + 126}};
}
PictureMove videoRising(int p)
{
    return {Picture::Video, {450, 123 - p, 546, 219 - p}};
}
PictureMove videoFalling(int p)
{
    return {Picture::Video, {450, p - 2, 546, p + 94}};
}
PictureMove screenRising(int p)
{
    return {Picture::Screen, {645, 148 - p, 765, 244 - p}};
}
PictureMove screenFalling(int p)
{
    return {Picture::Screen, {645, p - 27, 765, p + 69}};
}
PictureMove audioRising(int p)
{
    return {Picture::Audio, {870, 173 - p, 945, 274 - p}};
}

const Band kBands[] = {
    {0, 24, {gameRising, nullptr}},
    {25, 49, {gameFalling, videoRising}},
    {50, 74, {videoFalling, screenRising}},
    {75, 100, {screenFalling, audioRising}},
};

}  // namespace

std::optional<int> progressPercent(std::uint64_t received, std::uint64_t total)
{
    if (total == 0) return std::nullopt;
    // received * 100 cannot overflow for any body a 64-bit length can announce in practice;
    // a larger count is capped rather than wrapped.
    const std::uint64_t capped =
        std::min<std::uint64_t>(received, std::numeric_limits<std::uint64_t>::max() / 100);
    const std::uint64_t percent = capped * 100 / total;
    return static_cast<int>(std::min<std::uint64_t>(percent, std::numeric_limits<int>::max()));
}

ProgressFrame progressFrame(int percent)
{
    ProgressFrame frame;
    frame.percent = percent;
    for (const Band& band : kBands) {
        if (percent < band.first || percent > band.last) continue;
        for (const auto move : band.moves)
            if (move) frame.moves[static_cast<std::size_t>(frame.moveCount++)] = move(percent);
    }
    return frame;
}

PictureRect restPosition(Picture picture)
{
    switch (picture) {
    case Picture::Game: return {225, 105, 369, 201};
    case Picture::Video: return {450, 98, 546, 194};
    case Picture::Screen: return {645, 98, 765, 194};
    case Picture::Audio: return {870, 98, 945, 199};
    }
    return {};
}
