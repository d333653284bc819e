// Base64: the standard vectors, the decoder's stop rules and round trips of every byte value.
#include "service/base64.h"

#include <gtest/gtest.h>

namespace {

std::string encodeText(const std::string& text)
{
    return base64Encode(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

}  // namespace

TEST(Base64Test, EncodesAndDecodesTheStandardVectors)
{
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(encodeText(plain), encoded);
        EXPECT_EQ(base64Decode(encoded), plain);
    }
    EXPECT_EQ(base64Encode(nullptr, 0), "");
    EXPECT_EQ(encodeText("\xfb\xff\xbf"), "+/+/");
}

TEST(Base64Test, DecoderStopsAtPaddingAndForeignCharacters)
{
    EXPECT_EQ(base64Decode("Zm9"), "fo") << "three characters give two bytes";
    EXPECT_EQ(base64Decode("Zm9vYmFy\nZm9v"), "foobar");
    EXPECT_EQ(base64Decode("Zm9v\nYmFy"), "foo") << "a line break stops reading";
    EXPECT_EQ(base64Decode("Zm9vY"), "foo") << "one leftover character gives nothing";
    EXPECT_EQ(base64Decode("Zg==Zm9v"), "f") << "nothing after the first '='";
    EXPECT_EQ(base64Decode("="), "");
    EXPECT_EQ(base64Decode(" Zm9v"), "");
    EXPECT_EQ(base64Decode("Zm9v-_"), "foo") << "URL-safe characters are foreign";
    EXPECT_EQ(base64Decode("Zm9vYm\\/y"), "foob") << "an escaped slash stops reading";
    EXPECT_EQ(base64Decode("Zm9v\xc3\xa9Zm9v"), "foo") << "bytes above 0x7f are foreign";
    EXPECT_EQ(base64Decode(std::string("Zm9v\0Zm9v", 9)), "foo");
}

TEST(Base64Test, EveryByteValueSurvivesARoundTripAtEveryLength)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(255 - i);
    for (size_t length = 0; length <= bytes.size(); ++length) {
        const std::string piece = bytes.substr(0, length);
        const std::string encoded = encodeText(piece);
        ASSERT_EQ(encoded.size(), (length + 2) / 3 * 4);
        ASSERT_EQ(base64Decode(encoded), piece) << "length " << length;
    }
}
