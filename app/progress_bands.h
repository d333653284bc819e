// What the download window shows for a download's progress: the bar's value and where the
// four moving pictures go, by the band the percentage falls in. Portable and pure.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

enum class Picture { Game, Video, Screen, Audio };

struct PictureRect {
    int left, top, right, bottom;  // client coordinates of the download window
};

struct PictureMove {
    Picture picture;
    PictureRect rect;
};

// One update of the download window: the bar's value and up to two picture moves, applied in
// order.
struct ProgressFrame {
    int percent = 0;
    std::array<PictureMove, 2> moves{};
    int moveCount = 0;
};

// The percentage of `received` of `total` bytes, truncated toward zero (above 100 when more
// arrives than announced). Nothing when the total is 0 (nothing announced).
std::optional<int> progressPercent(std::uint64_t received, std::uint64_t total);

// The frame for percentage p: 0-24 moves game, 25-49 game and video, 50-74 video and screen,
// 75-100 screen and audio; p above 100 (or below 0) moves nothing.
ProgressFrame progressFrame(int percent);

// Where the download window puts the pictures before any progress.
PictureRect restPosition(Picture picture);
