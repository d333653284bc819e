// "AlphaBlend" and "GradientFill" of msimg32.dll, looked up once at run time from the system
// folder. Either may be missing; callers then use their own blend or banded gradient.
#pragma once

#include <windows.h>

namespace SkinUI {

using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                         BLENDFUNCTION);
using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The system functions, or null when msimg32 lacks them or they are switched off.
AlphaBlendFunction SystemAlphaBlend();
GradientFillFunction SystemGradientFill();

// Switches the system functions off (or on again) so that the fallbacks can be exercised.
// For tests and benchmarks; call on the user interface thread only.
void DisableSystemBlending(bool disabled);

}  // namespace SkinUI
