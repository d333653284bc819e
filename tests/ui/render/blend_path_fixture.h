// Runs a test once with the system AlphaBlend/GradientFill and once with the own fallbacks.
#pragma once

#include "ui/render/msimg32_functions.h"

#include <gtest/gtest.h>

namespace SkinUITest {

class BothBlendPaths : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { SkinUI::DisableSystemBlending(GetParam()); }
    void TearDown() override { SkinUI::DisableSystemBlending(false); }
};

inline std::string blendPathName(const ::testing::TestParamInfo<bool>& info)
{
    return info.param ? "OwnFallback" : "SystemMsimg32";
}

}  // namespace SkinUITest
