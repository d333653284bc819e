// The computed shadow done the slow, obvious way: the round kernel stamped on every pixel of
// every row's shrunk extent, each pixel keeping the largest alpha. The reference the fast
// function is checked against (and timed against by the shadow benchmark).
#pragma once

#include "ui/window/shadow_bitmap.h"

#include <cstdint>
#include <vector>

namespace SkinUITest {

// The shadow bitmap's pixels (ComputedShadowSize words, row 0 at the top); empty when that
// size is empty. Stamps are clipped to the bitmap; pixels over the window are 0.
std::vector<uint32_t> NaiveShadow(const SkinUI::WindowShape& shape, const SkinUI::ShadowLook& look);

}  // namespace SkinUITest
