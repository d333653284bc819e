// A shadow drawn from a skin image of the installer's own archive: the window grown by the
// padding, the image's corners kept, its centre left out; a missing image is refused.
#include "tests/ui/installer_module.h"
#include "tests/ui/window/shadow_window_fixture.h"
#include "ui/render/image_decoder.h"
#include "ui/render/resource_files.h"
#include "ui/render/resource_settings.h"

#include <climits>
#include <optional>
#include <string>

using namespace SkinUI;
using namespace SkinUITest;

namespace {

// The installer built beside the tests lends its skin archive ("ZIPRES" 101) to the process;
// the settings are restored afterwards.
class ShadowImageTest : public ShadowWindowTest {
protected:
    void SetUp() override
    {
        ShadowWindowTest::SetUp();
        m_module = LoadInstallerAsData();
        ASSERT_TRUE(m_module) << "the installer is built beside the tests";
        SetResourceModule(m_module);
        m_archive = ReadProgramResource(L"101", L"ZIPRES");
        ASSERT_TRUE(m_archive);
        SetSkinArchive(m_archive->data(), static_cast<unsigned>(m_archive->size()));
    }
    void TearDown() override
    {
        SetSkinArchive(L"", false);
        SetResourceModule(nullptr);
        if (m_module) FreeLibrary(m_module);
        ShadowWindowTest::TearDown();
    }

    HMODULE m_module = nullptr;
    std::optional<Bytes> m_archive;
};

}  // namespace

TEST_F(ShadowImageTest, TheImageFramesTheWindowGrownByThePaddingWithItsCornersKept)
{
    ParentWindow parent(300, 200, 200, 150);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(parent.get()));
    const RECT padding = {10, 8, 12, 14};
    const RECT corners = {20, 20, 20, 20};
    EXPECT_FALSE(shadow.SetImage(L"no_such_shadow.png", padding, corners));
    EXPECT_FALSE(shadow.SetImage(L"", padding, corners));
    ASSERT_EQ(Pushed().size(), 1u) << "a refused image changes nothing";

    ASSERT_TRUE(shadow.SetImage(L"checkboxnormal.png", padding, corners));
    ASSERT_EQ(Pushed().size(), 2u);
    const PushedBitmap& pushed = Pushed().back();
    EXPECT_EQ(pushed.size.cx, 222);
    EXPECT_EQ(pushed.size.cy, 172);
    EXPECT_EQ(pushed.place.x, 290) << "the parent's left - the left padding";
    EXPECT_EQ(pushed.place.y, 192);

    const auto image = DecodeImage(L"checkboxnormal.png", nullptr, 0);
    ASSERT_TRUE(image);
    const int iw = image->width(), ih = image->height();
    auto imageAt = [&](int x, int y) { return image->dib.pixels[static_cast<size_t>(y) * iw + x]; };
    int drawnCornerPixels = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(pushed.at(x, y), imageAt(x, y)) << "top-left corner " << x << "," << y;
            ASSERT_EQ(pushed.at(202 + x, 152 + y), imageAt(iw - 20 + x, ih - 20 + y))
                << "bottom-right corner " << x << "," << y;
            drawnCornerPixels += imageAt(x, y) != 0;
        }
    }
    EXPECT_GT(drawnCornerPixels, 0) << "the corner is not empty, so the check means something";
    for (int y = 20; y < 152; y += 7)
        for (int x = 20; x < 202; x += 7)
            ASSERT_EQ(pushed.at(x, y), 0u) << "centre " << x << "," << y;
    int drawnEdgePixels = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 202; ++x) drawnEdgePixels += pushed.at(x, y) != 0;
    EXPECT_GT(drawnEdgePixels, 0) << "the top edge, stretched";

    ASSERT_TRUE(shadow.SetImage(L"checkboxnormal.png", {-150, 0, -50, 0}, corners));
    ASSERT_TRUE(shadow.SetImage(L"checkboxnormal.png", {0, 0, LONG_MAX, LONG_MAX}, corners));
    EXPECT_EQ(Pushed().size(), 2u) << "no update when the padding leaves no width, or too much";
    ASSERT_TRUE(shadow.SetImage(L"checkboxnormal.png", padding, corners));
    EXPECT_FALSE(shadow.SetImage(L"no_such_shadow.png", {}, {}));
    SetWindowPos(parent.get(), nullptr, 350, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(parent.get(), WM_EXITSIZEMOVE, 0, 0);
    ASSERT_EQ(Pushed().size(), 4u);
    EXPECT_EQ(Pushed().back().size.cx, 222) << "the previous image stays";
    EXPECT_EQ(Pushed().back().place.x, 340);
    EXPECT_EQ(WindowRectOf(ShadowWindowOf(parent.get())).top, 252);
}
