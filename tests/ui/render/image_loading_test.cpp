// Decoding, the image cache and image descriptors: premultiplication, masks, colour images,
// descriptor keys and skin numbers, a control's values for one draw, the process's colour
// adjustment, loading from the resource folder and from the program's skin archive.
#include "tests/ui/installer_module.h"
#include "tests/ui/render/canvas.h"
#include "ui/core/attribute_values.h"
#include "ui/render/image_cache.h"
#include "ui/render/image_decoder.h"
#include "ui/render/image_descriptor.h"
#include "ui/render/resource_files.h"
#include "ui/render/resource_settings.h"

#include "archive/zip_reader.h"

#include <gtest/gtest.h>

using namespace SkinUI;
using namespace SkinUITest;

namespace {

// Serves files from a fresh temporary folder through the resource settings.
class ResourceFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSkinArchive(L"", false);
        m_folder = makeTempFolder();
        SetResourceFolder(m_folder);
    }
    void TearDown() override
    {
        SetResourceFolder(L"");
        SetColorAdjustment(ColorAdjustment());
    }

    void writePng(const std::wstring& name, uint32_t argb)
    {
        writeFile(m_folder + name, encodePng(3, 2, [argb](int, int) { return argb; }));
    }

    std::wstring m_folder;
    BasicRenderContext m_context;
};

}  // namespace

TEST(ImageDecoding, PixelsArePremultipliedAndTheMaskMakesExactMatchesTransparent)
{
    auto opaque = makeImage(2, 1, [](int x, int) { return x == 0 ? 0xFF102030 : 0xFFFF00FF; });
    ASSERT_TRUE(opaque);
    EXPECT_FALSE(opaque->hasAlpha);
    EXPECT_EQ(opaque->dib.pixels[0], 0xFF102030u);
    EXPECT_EQ(opaque->width(), 2);
    EXPECT_EQ(opaque->height(), 1);

    auto translucent = makeImage(1, 1, [](int, int) { return 0x80FF4020; });
    EXPECT_TRUE(translucent->hasAlpha);
    EXPECT_EQ(translucent->dib.pixels[0], 0x80802010u) << "each channel times alpha / 255";

    auto masked = makeImage(
        2, 1, [](int x, int) { return x == 0 ? 0xFF102030 : 0xFFFF00FF; }, 0xFFFF00FF);
    EXPECT_TRUE(masked->hasAlpha);
    EXPECT_EQ(masked->dib.pixels[0], 0xFF102030u);
    EXPECT_EQ(masked->dib.pixels[1], 0u);
}

TEST(ImageDecoding, ColourImagesAndUnreadableBytes)
{
    auto color = DecodeImage(L"#80FF0000", kColorImageType, 0);
    ASSERT_TRUE(color);
    EXPECT_EQ(color->width(), 1);
    EXPECT_EQ(color->dib.pixels[0], 0x80800000u);
    EXPECT_TRUE(color->hasAlpha);
    EXPECT_EQ(DecodeImage(L"FF00FF00", kColorImageType, 0)->dib.pixels[0], 0xFF00FF00u);

    const unsigned char garbage[] = {0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_FALSE(DecodeImageBytes(garbage, sizeof(garbage), 0));
    EXPECT_FALSE(DecodeImageBytes(nullptr, 0, 0));
    std::vector<unsigned char> png = encodePng(4, 4, [](int, int) { return 0xFFFFFFFF; });
    EXPECT_FALSE(DecodeImageBytes(png.data(), png.size() / 2, 0)) << "a truncated file";
    EXPECT_FALSE(DecodeImage(L"", nullptr, 0));
}

TEST(ImageDescriptorParsing, KeysAreReadUntilTheListEnds)
{
    ImageDescriptor d =
        ParseImageDescriptor(L"file='bg.png' dest='1,2,30,40' source='0,0,8,9' corner='4,4,4,4' "
                             L"mask='#FFFF00FF' fade='128' hole='true' "
                             L"xtiled='true' ytiled='false' hsl='true' other='x'");
    EXPECT_EQ(d.name, L"bg.png");
    EXPECT_FALSE(d.type);
    EXPECT_EQ(d.dest.right, 30);
    EXPECT_EQ(d.source.bottom, 9);
    EXPECT_EQ(d.corner.left, 4);
    EXPECT_EQ(d.mask, 0xFFFF00FFu);
    EXPECT_EQ(d.fade, 128);
    EXPECT_TRUE(d.hole);
    EXPECT_TRUE(d.xTiled);
    EXPECT_FALSE(d.yTiled);
    EXPECT_TRUE(d.hsl);

    EXPECT_EQ(ParseImageDescriptor(L"update_bg.png").name, L"update_bg.png");
    EXPECT_EQ(ParseImageDescriptor(L"corner='2,2,2,2'").name, L"corner='2,2,2,2'")
        << "no name key: all is the name";
    EXPECT_EQ(*ParseImageDescriptor(L"res='101' restype='PNG'").type, L"PNG");
    EXPECT_EQ(*ParseImageDescriptor(L"restype='PNG' res='101'").type, L"PNG");
    EXPECT_EQ(*ParseImageDescriptor(L"res='a.png'").type, L"") << "no restype: an empty type";
    EXPECT_EQ(*ParseImageDescriptor(L"color='#FF00FF00'").type, kColorImageType);
    EXPECT_FALSE(ParseImageDescriptor(L"file='a.png' restype='PNG'").type)
        << "restype only counts for res";
    EXPECT_EQ(ParseImageDescriptor(L"file='a.png' fade=''").fade, 255)
        << "empty values are skipped";
    EXPECT_EQ(ParseImageDescriptor(L"file='a.png'fade='7'").fade, 255)
        << "no space after the quote ends the list";
    EXPECT_EQ(ParseImageDescriptor(L"file='a.png'  fade='7'").fade, 7);
    EXPECT_EQ(ParseImageDescriptor(L"file='a.png' fade='7").fade, 255)
        << "an unclosed value ends the list";
    EXPECT_EQ(ParseImageDescriptor(L"file = 'a.png'").name, L"a.png");
}

TEST(SkinNumbers, AreClampedWhereTheyAreRead)
{
    RECT huge = ParseRect(L"2,2,2147483647,2147483647");
    EXPECT_EQ(huge.left, 2);
    EXPECT_EQ(huge.right, kSkinNumberLimit);
    EXPECT_EQ(huge.bottom, kSkinNumberLimit);
    RECT beyond = ParseRect(L"-99999999999999999999,-100001,100000,-5");
    EXPECT_EQ(beyond.left, -kSkinNumberLimit) << "beyond the range of long too";
    EXPECT_EQ(beyond.top, -kSkinNumberLimit);
    EXPECT_EQ(beyond.right, 100000);
    EXPECT_EQ(beyond.bottom, -5);
    EXPECT_EQ(ParseInt(L"4294967296"), kSkinNumberLimit);
    EXPECT_EQ(ParseInt(L"-4294967296"), -kSkinNumberLimit);
    EXPECT_EQ(ParseInt(L"x", 7), 7);
    EXPECT_EQ(ParseImageDescriptor(L"file='a' corner='2147483647,0,0,0'").corner.left,
              kSkinNumberLimit);
}

TEST(SkinNumbers, AHugeTiledDestinationDrawsTheControlAndStops)
{
    // Added to the control's position these numbers would wrap; tiled in 1x1 tiles they
    // would be 2^62 tiles. Clamped, the image tiles the control from the dest's corner on.
    BasicRenderContext context;
    ImageDrawInfo info;
    info.SetDescriptor(L"color='#FF00FF00' dest='2,2,2147483647,2147483647' xtiled='true' "
                       L"ytiled='true'");
    Canvas canvas(100, 100);
    RECT control = {5, 5, 60, 60};
    EXPECT_TRUE(DrawImageDescriptor(canvas.dc(), context, control, canvas.rect(), info));
    EXPECT_TRUE(sameColor(canvas.pixel(7, 7), 0x00FF00, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(59, 59), 0x00FF00, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(6, 30), 0x000000, 0)) << "left of the dest";
    EXPECT_TRUE(sameColor(canvas.pixel(60, 30), 0x000000, 0)) << "right of the control";
}

TEST_F(ResourceFolderTest, BareNameAndKeyListLoadTheSameCachedImage)
{
    writePng(L"update_bg.png", 0xFF00FF00);
    ImageDrawInfo bare, keyed;
    bare.SetDescriptor(L"update_bg.png");
    keyed.SetDescriptor(L"file='update_bg.png'");
    EXPECT_TRUE(DrawImageDescriptor(nullptr, m_context, RECT{}, RECT{}, bare));
    EXPECT_TRUE(DrawImageDescriptor(nullptr, m_context, RECT{}, RECT{}, keyed));
    ASSERT_TRUE(bare.image);
    EXPECT_EQ(bare.image, keyed.image);
    EXPECT_EQ(keyed.values.source.right, 3) << "an unset source becomes the whole image";
    EXPECT_EQ(keyed.values.source.bottom, 2);

    Canvas canvas(10, 10);
    EXPECT_TRUE(
        DrawImageDescriptor(canvas.dc(), m_context, RECT{0, 0, 10, 10}, canvas.rect(), keyed));
    EXPECT_TRUE(sameColor(canvas.pixel(9, 9), 0x00FF00, 0));

    ImageDrawInfo placed;
    placed.SetDescriptor(L"file='update_bg.png' dest='2,2,4,4'");
    canvas.fill(0xFF000000);
    EXPECT_TRUE(
        DrawImageDescriptor(canvas.dc(), m_context, RECT{0, 0, 10, 10}, canvas.rect(), placed));
    EXPECT_TRUE(sameColor(canvas.pixel(3, 3), 0x00FF00, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(5, 5), 0x000000, 0)) << "dest limits the image";
}

TEST_F(ResourceFolderTest, TheControlsValuesForADrawReplaceTheDescriptorsFromTheFirstDraw)
{
    // Five 2-pixel strips, as a five-state image: red, green, blue, white, grey.
    const uint32_t strips[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF808080};
    writeFile(m_folder + L"strips.png",
              encodePng(10, 2, [&](int x, int) { return strips[x / 2]; }));
    ImageDrawInfo info;
    info.SetDescriptor(L"file='strips.png' dest='0,0,20,20' source='0,0,2,2' fade='60'");
    Canvas canvas(20, 20);

    // The first draw (which loads the image) already takes the control's strip, destination
    // and alpha.
    ImageDrawOverrides blueStrip;
    blueStrip.source = RECT{4, 0, 6, 2};
    blueStrip.dest = RECT{0, 0, 5, 20};
    blueStrip.fade = 255;
    EXPECT_TRUE(
        DrawImageDescriptor(canvas.dc(), m_context, canvas.rect(), canvas.rect(), info, blueStrip));
    EXPECT_TRUE(sameColor(canvas.pixel(2, 10), 0x0000FF, 0)) << "strip 2, opaque";
    EXPECT_TRUE(sameColor(canvas.pixel(6, 10), 0x000000, 0)) << "the control's destination";

    // Without values of the control the descriptor's own apply: strip 0, dest, fade 60.
    canvas.fill(0xFF000000);
    EXPECT_TRUE(DrawImageDescriptor(canvas.dc(), m_context, canvas.rect(), canvas.rect(), info));
    EXPECT_TRUE(sameColor(canvas.pixel(15, 15), 0x3C0000, 2)) << "red at 60/255";

    // Each value replaces only its own: here the alpha, with the descriptor's strip.
    ImageDrawOverrides opaque;
    opaque.fade = 255;
    canvas.fill(0xFF000000);
    EXPECT_TRUE(
        DrawImageDescriptor(canvas.dc(), m_context, canvas.rect(), canvas.rect(), info, opaque));
    EXPECT_TRUE(sameColor(canvas.pixel(15, 15), 0xFF0000, 0));
    EXPECT_EQ(info.values.source.right, 2) << "drawing leaves the descriptor's values alone";
    EXPECT_EQ(info.values.fade, 60);

    // A source beyond the image is cut to it.
    ImageDrawOverrides past;
    past.source = RECT{8, 0, 40, 40};
    past.fade = 255;
    canvas.fill(0xFF000000);
    EXPECT_TRUE(
        DrawImageDescriptor(canvas.dc(), m_context, canvas.rect(), canvas.rect(), info, past));
    EXPECT_TRUE(sameColor(canvas.pixel(19, 19), 0x808080, 0)) << "the last strip, stretched";
}

TEST_F(ResourceFolderTest, CachedImagesAreSharedAndReplacedInPlace)
{
    ImageCache shared;
    ImageCache own(&shared);
    writePng(L"a.png", 0xFF0000FF);
    ImageInfo* sharedImage = own.CacheImage(L"a.png", nullptr, 0, false, true);
    ASSERT_TRUE(sharedImage);
    EXPECT_EQ(own.CachedImage(L"a.png"), sharedImage) << "own cache falls back to the shared one";
    EXPECT_EQ(own.CachedImageOrLoad(L"a.png", nullptr, 0, false), sharedImage) << "no second load";

    ImageInfo* first = own.CacheImage(L"b.png", kColorImageType, 0, false);
    ImageInfo* second = own.CacheImage(L"b.png", kColorImageType, 0, false);
    EXPECT_EQ(first, second)
        << "a replaced image keeps its address for the draw infos pointing at it";
    EXPECT_FALSE(own.CacheImage(L"b.png", nullptr, 0, false)) << "a failed load";
    EXPECT_EQ(own.CachedImage(L"b.png"), first) << "leaves the image in place";

    own.ClearImages(true);
    EXPECT_FALSE(own.CachedImage(L"a.png"));
}

TEST_F(ResourceFolderTest, ColourAdjustmentIsOneSettingForEveryCacheOfTheProcess)
{
    ImageCache shared;
    ImageCache window(&shared);
    writePng(L"hsl.png", 0xFFFF0000);
    writePng(L"plain.png", 0xFFFF0000);
    ImageInfo* sharedImage = window.CacheImage(L"#FFFF0000", kColorImageType, 0, true, true);
    ImageInfo* earlier = window.CacheImage(L"hsl.png", nullptr, 0, true);
    ImageInfo* plain = window.CacheImage(L"plain.png", nullptr, 0, false);
    ASSERT_TRUE(sharedImage && earlier && plain);

    ColorAdjustment adjustment;
    adjustment.enabled = true;
    adjustment.hue = 300;
    SetColorAdjustment(adjustment);
    EXPECT_EQ(CurrentColorAdjustment().hue, 300);
    EXPECT_EQ(earlier->dib.pixels[0], 0xFF00FF00u) << "a window's image, loaded before";
    EXPECT_EQ(sharedImage->dib.pixels[0], 0xFF00FF00u) << "the shared cache's";
    EXPECT_EQ(plain->dib.pixels[0], 0xFFFF0000u) << "an image not loaded as adjustable";

    ImageCache laterWindow(&shared);
    ImageInfo* later = laterWindow.CacheImage(L"hsl.png", nullptr, 0, true);
    ASSERT_TRUE(later);
    EXPECT_TRUE(later->usesHSL);
    EXPECT_EQ(later->dib.pixels[0], 0xFF00FF00u) << "another window's cache, recoloured on load";

    SetColorAdjustment(ColorAdjustment());
    for (ImageInfo* image : {sharedImage, earlier, later})
        EXPECT_EQ(image->dib.pixels[0], 0xFFFF0000u) << "and back when the adjustment is off";
}

TEST_F(ResourceFolderTest, MissingFileFailsOnEveryCallWithoutReloadingUntilTheDescriptorIsSetAgain)
{
    ImageDrawInfo info;
    info.SetDescriptor(L"file='later.png'");
    EXPECT_FALSE(DrawImageDescriptor(nullptr, m_context, RECT{}, RECT{}, info));
    EXPECT_TRUE(info.loadAttempted);
    writePng(L"later.png", 0xFFFFFFFF);
    EXPECT_FALSE(DrawImageDescriptor(nullptr, m_context, RECT{}, RECT{}, info)) << "not retried";
    EXPECT_TRUE(info.SetDescriptor(L"file='later.png'"));
    EXPECT_TRUE(DrawImageDescriptor(nullptr, m_context, RECT{}, RECT{}, info))
        << "the same descriptor set again retries a failed load";
    ImageInfo* loaded = info.image;
    EXPECT_FALSE(info.SetDescriptor(L"file='later.png'")) << "unchanged and loaded: kept";
    EXPECT_EQ(info.image, loaded);
    EXPECT_TRUE(info.SetDescriptor(L"later.png"));
    EXPECT_FALSE(info.image) << "a new descriptor is loaded again on its next use";
    EXPECT_TRUE(DrawImageDescriptor(nullptr, m_context, RECT{}, RECT{}, info));

    ImageDrawInfo empty;
    EXPECT_FALSE(DrawImageDescriptor(nullptr, m_context, RECT{}, RECT{}, empty));
}

TEST_F(ResourceFolderTest, ResourceWithoutTypeFallsBackToTheFileOfThatName)
{
    // No resource has an empty type; the name is then read as a file path of its own.
    writePng(L"direct.png", 0xFF0000FF);
    ImageDrawInfo info;
    info.SetDescriptor(L"res='" + m_folder + L"direct.png'");
    EXPECT_TRUE(DrawImageDescriptor(nullptr, m_context, RECT{}, RECT{}, info));
    ASSERT_TRUE(info.image);
    EXPECT_EQ(info.image->dib.pixels[0], 0xFF0000FFu);
    EXPECT_EQ(info.image->resourceType, L"");

    ImageDrawInfo color;
    color.SetDescriptor(L"color='#FFFF0000'");
    EXPECT_TRUE(DrawImageDescriptor(nullptr, m_context, RECT{}, RECT{}, color));
    EXPECT_EQ(color.image->dib.pixels[0], 0xFFFF0000u);
}

TEST_F(ResourceFolderTest, AnEmptyFileInTheFolderFallsBackToTheFileOfThatName)
{
    // An empty file holds no image: the name is then read as a path of its own (here relative
    // to the current folder).
    writeFile(m_folder + L"empty.png", {});
    std::wstring elsewhere = makeTempFolder();
    writeFile(elsewhere + L"empty.png", encodePng(1, 1, [](int, int) { return 0xFF00FF00u; }));
    wchar_t current[MAX_PATH];
    DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.c_str()));
    auto image = DecodeImage(L"empty.png", nullptr, 0);
    SetCurrentDirectoryW(current);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->dib.pixels[0], 0xFF00FF00u);
}

namespace {

// Loads the installer executable as data and makes its skin archive ("ZIPRES" 101) the
// process's; whatever a test asserts, the process-wide settings are restored afterwards and
// the archive bytes outlive their use.
class SkinArchiveImages : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetSkinArchive(L"", false);
        SetResourceModule(nullptr);
        if (m_module) FreeLibrary(m_module);
    }

    HMODULE m_module = nullptr;
    std::optional<Bytes> m_archive;
};

}  // namespace

TEST_F(SkinArchiveImages, EveryImageOfTheInstallersEmbeddedArchiveDecodes)
{
    m_module = LoadInstallerAsData();
    ASSERT_TRUE(m_module) << "the installer is built beside the tests";
    SetResourceModule(m_module);
    m_archive = ReadProgramResource(L"101", L"ZIPRES");
    ASSERT_TRUE(m_archive);
    std::optional<Bytes> byLeadingDigits = ReadProgramResource(L"101.zip", L"ZIPRES");
    EXPECT_TRUE(byLeadingDigits && *byLeadingDigits == *m_archive)
        << "a name beginning with digits names the resource of that number";
    EXPECT_FALSE(ReadProgramResource(L"65637", L"ZIPRES"))
        << "a number beyond the 16-bit ids is a name, not cut down to 101";
    SetSkinArchive(m_archive->data(), static_cast<unsigned>(m_archive->size()));
    ASSERT_TRUE(OpenSkinArchive());
    EXPECT_EQ(SkinArchiveName(), L"membuffer");

    ZipEntry count;
    ASSERT_EQ(getZipItem(OpenSkinArchive(), -1, &count), ResultOk);
    int images = 0;
    for (int32_t i = 0; i < count.index; ++i) {
        ZipEntry entry;
        ASSERT_EQ(getZipItem(OpenSkinArchive(), i, &entry), ResultOk);
        std::wstring name = entry.name;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, L".png") != 0) continue;
        auto image = DecodeImage(name, nullptr, 0);
        EXPECT_TRUE(image) << std::string(name.begin(), name.end());
        ++images;
    }
    EXPECT_GE(images, 19);
    auto background = DecodeImage(L"UPDATE_BG.PNG", nullptr, 0);
    ASSERT_TRUE(background) << "entries are found ignoring case";
    EXPECT_EQ(background->width(), 2996);
    EXPECT_EQ(background->height(), 1484);
    EXPECT_FALSE(DecodeImage(L"no_such_image.png", nullptr, 0));
}
