// encryptPayload / decryptPayload: agreement with an independent AES-128-CBC, round trips and
// the lenient decoding rules for cut, foreign and badly padded input.
#include "service/payload_codec.h"

#include <gtest/gtest.h>

#include "service/aes.h"
#include "service/base64.h"

namespace {

// The service's key and initialisation vector (the same 16 ASCII characters).
constexpr unsigned char kKey[] = "3E7A1D94C05B28F6";

// Base64 of plain (a whole number of blocks) encrypted as is, without any padding added.
std::string rawPayload(const std::string& plain)
{
    std::string cipher(plain.size(), '\0');
    AES aes;
    aes.makeKey(kKey, kKey, 16, 16);
    aes.encrypt(reinterpret_cast<const unsigned char*>(plain.data()),
                reinterpret_cast<unsigned char*>(&cipher[0]), plain.size(), AES::CBC);
    return base64Encode(reinterpret_cast<const unsigned char*>(cipher.data()), cipher.size());
}

}  // namespace

// Expected texts made with: printf '%s' TEXT | openssl enc -aes-128-cbc -K <hex key> -iv <hex key>
// | base64
TEST(PayloadCodecTest, EncryptsLikeAStandardAes128CbcWithPkcs7)
{
    EXPECT_EQ(encryptPayload(""), "jdoSqnt4cp7piYmk3SNrNg==");
    EXPECT_EQ(encryptPayload("{\"deviceCode\":\"x\"}"),
              "9VLgmZ2eU8wz1OqwNxl9YWJ6wc061xjFpxSI9q5gekU=");
    EXPECT_EQ(encryptPayload("0123456789abcdef"), "UFT7hXYmlDIcEvw7ebNlvlAsMpsKt4f9fdj96cXp04k=")
        << "a whole block of text gets a whole block of padding";
    EXPECT_EQ(encryptPayload("same"), encryptPayload("same")) << "every message starts from the IV";
}

TEST(PayloadCodecTest, DecryptUndoesEncryptForTextsWithoutZeroBytes)
{
    std::string text;
    for (int length = 0; length <= 70; ++length) {
        ASSERT_EQ(decryptPayload(encryptPayload(text)), text) << "length " << length;
        text += static_cast<char>(1 + (length * 37) % 255);
    }
    const std::string record = "{\"downloadUrl\":\"http://example.test/"
                               "\xe5\xae\x89\xe8\xa3\x85.exe\",\"currVersion\":\"1.2\"}";
    EXPECT_EQ(decryptPayload(encryptPayload(record)), record);
    EXPECT_EQ(decryptPayload(encryptPayload(std::string("abc\0def", 7))), "abc")
        << "a 0 byte ends the text";
}

TEST(PayloadCodecTest, UnusableInputDecryptsToEmptyText)
{
    EXPECT_EQ(decryptPayload(""), "");
    EXPECT_EQ(decryptPayload("="), "");
    EXPECT_EQ(decryptPayload(" " + encryptPayload("hello")), "");
    // Decoded lengths that are not whole blocks: a cut payload and plain Base64 text.
    const std::string whole = encryptPayload("0123456789abcdef0123");
    EXPECT_EQ(decryptPayload(whole.substr(0, 30)), "");
    EXPECT_EQ(decryptPayload("aGVsbG8="), "") << "plain Base64 of 'hello' is not passed through";
    std::string escaped = rawPayload(std::string(47, 'a') + '\x01');
    escaped.insert(escaped.size() / 2, "\\");
    EXPECT_EQ(decryptPayload(escaped), "");
}

TEST(PayloadCodecTest, PaddingCheckIsLenient)
{
    const std::string sixteen(16, '\x10');
    EXPECT_EQ(decryptPayload(rawPayload("abcdefghijklmnop" + sixteen)), "abcdefghijklmnop");
    EXPECT_EQ(decryptPayload(rawPayload("abcdefghijklmnop" + std::string(15, 'x') + '\x10')), "")
        << "a padding of 16 with only one 0x10";
    EXPECT_EQ(decryptPayload(rawPayload("abcdefghijklmno\x10")), "");
    EXPECT_EQ(decryptPayload(rawPayload("abcdefghijkl" + std::string(20, '\x14'))), "abcdefghijkl")
        << "padding longer than a block is accepted";
    EXPECT_EQ(decryptPayload(rawPayload(std::string(32, '\x20'))), "")
        << "padding of the whole buffer";
    EXPECT_EQ(decryptPayload(rawPayload("abcdefghijklmnop" + std::string(15, '\x03') + '\x03')),
              "abcdefghijklmnop" + std::string(13, '\x03'));
}

TEST(PayloadCodecTest, LastBytesOutsideThePaddingRangeAreKept)
{
    EXPECT_EQ(decryptPayload(rawPayload(std::string("hello world") + std::string(5, '\0'))),
              "hello world");
    EXPECT_EQ(decryptPayload(rawPayload("abcdefghijklmno\x85")), "abcdefghijklmno\x85");
    EXPECT_EQ(decryptPayload(rawPayload("abcdefghijklmno\xff")), "abcdefghijklmno\xff");
    EXPECT_EQ(decryptPayload(rawPayload("abcdefghijklmno\x7f")), "abcdefghijklmno\x7f")
        << "p above n";
    EXPECT_EQ(decryptPayload(rawPayload(std::string("abc\0efghijklmno\x01", 16))), "abc");
}
