// AES: known answers for every key and block length, the modes, chaining across calls and the
// cases in which the cipher must leave the output alone.
#include "service/aes.h"

#include <gtest/gtest.h>

#include "codec_test_util.h"

namespace {

// Runs one whole-buffer operation on a freshly keyed cipher and returns the output as hex.
std::string runCipher(bool encrypting, const std::string& keyHex, const std::string& ivHex,
                      int blockLength, const std::string& inputHex, int mode)
{
    const Bytes key = bytesFromHex(keyHex);
    const Bytes iv = bytesFromHex(ivHex);
    const Bytes input = bytesFromHex(inputHex);
    Bytes output(input.size());
    AES aes;
    aes.makeKey(key.data(), iv.empty() ? nullptr : iv.data(), static_cast<int>(key.size()),
                blockLength);
    if (encrypting) {
        aes.encrypt(input.data(), output.data(), input.size(), mode);
    } else {
        aes.decrypt(input.data(), output.data(), input.size(), mode);
    }
    return hexFromBytes(output);
}

struct KnownAnswer {
    const char* key;
    int blockLength;
    const char* plain;
    const char* cipher;
};

void expectBothWays(const KnownAnswer& answer, const char* iv, int mode)
{
    SCOPED_TRACE(std::string("key ") + answer.key + " block " + std::to_string(answer.blockLength));
    EXPECT_EQ(runCipher(true, answer.key, iv, answer.blockLength, answer.plain, mode),
              answer.cipher);
    EXPECT_EQ(runCipher(false, answer.key, iv, answer.blockLength, answer.cipher, mode),
              answer.plain);
}

const char* const kSp800Iv = "000102030405060708090a0b0c0d0e0f";
const char* const kSp800Plain = "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
                                "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710";
const char* const kSp800Key128 = "2b7e151628aed2a6abf7158809cf4f3c";
const char* const kSp800Key256 = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";

}  // namespace

TEST(AesTest, MatchesFips197KnownAnswersForEveryKeyLength)
{
    const char* plain = "00112233445566778899aabbccddeeff";
    const KnownAnswer answers[] = {
        {"000102030405060708090a0b0c0d0e0f", 16, plain, "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {"000102030405060708090a0b0c0d0e0f1011121314151617", 16, plain,
         "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", 16, plain,
         "8ea2b7ca516745bfeafc49904b496089"},
        {kSp800Key128, 16, "3243f6a8885a308d313198a2e0370734", "3925841d02dc09fbdc118597196a0b32"},
    };
    for (const KnownAnswer& answer : answers) expectBothWays(answer, "", AES::ECB);
}

TEST(AesTest, CbcAndCfbMatchSp80038aVectors)
{
    expectBothWays({kSp800Key128, 16, kSp800Plain,
                    "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
                    "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7"},
                   kSp800Iv, AES::CBC);
    expectBothWays({kSp800Key128, 16, kSp800Plain,
                    "3b3fd92eb72dad20333449f8e83cfb4ac8a64537a0b3a93fcde3cdad9f1ce58b"
                    "26751f67a3cbb140b1808cf187a4f4dfc04b05357c5d1c0eeac4c66f9ff7f2e6"},
                   kSp800Iv, AES::CFB);
}

// Expected values from the byte-wise reference in aes_reference.py.
TEST(AesTest, WideRijndaelBlocksMatchTheReferenceCipher)
{
    const char* key16 = "000102030405060708090a0b0c0d0e0f";
    const char* key24 = "000102030405060708090a0b0c0d0e0f1011121314151617";
    const char* key32 = "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f";
    const char* plain24 = "8091a2b3c4d5e6f708192a3b4c5d6e7f90a1b2c3d4e5f607";
    const char* plain32 = "8091a2b3c4d5e6f708192a3b4c5d6e7f90a1b2c3d4e5f60718293a4b5c6d7e8f";
    const KnownAnswer answers[] = {
        {key16, 24, plain24, "5736520a88c5a902d904affa24f8af7f9c6f57e1a8912fd7"},
        {key24, 24, plain24, "9b634550a659f619dddb405ecb39aec15709328301bfd43e"},
        {key32, 24, plain24, "a77fd56219dbee1ada811a192a70eb0e9fbfaa143bf87210"},
        {key16, 32, plain32, "8b4858ac12bb5a3154fe51971695b889aac515dbb0d485596add76a1a1d561f0"},
        {key24, 32, plain32, "f66110867bf81a630b850c48856ba9fbfb58e403fd0dc01b60d08681c3f7c74c"},
        {key32, 32, plain32, "5f99707ab6471530221056259bd3da83ed3ee9713b96af67564e39d8dd34b9cd"},
    };
    for (const KnownAnswer& answer : answers) expectBothWays(answer, "", AES::ECB);
}

TEST(AesTest, ChainCarriesOverFromOneCallToTheNextUntilReKeyed)
{
    const Bytes key = bytesFromHex(kSp800Key128);
    const Bytes iv = bytesFromHex(std::string(kSp800Iv) + kSp800Iv);  // enough for 32-byte blocks
    for (int blockLength : {16, 32}) {
        for (int mode : {AES::CBC, AES::CFB}) {
            SCOPED_TRACE("block " + std::to_string(blockLength) + " mode " + std::to_string(mode));
            const Bytes plain = bytesFromHex(kSp800Plain);
            const size_t half = plain.size() / 2;
            Bytes whole(plain.size()), pieces(plain.size()), again(plain.size());
            AES aes;
            aes.makeKey(key.data(), iv.data(), 16, blockLength);
            aes.encrypt(plain.data(), whole.data(), plain.size(), mode);
            aes.makeKey(key.data(), iv.data(), 16, blockLength);
            aes.encrypt(plain.data(), pieces.data(), half, mode);
            aes.encrypt(plain.data() + half, pieces.data() + half, half, mode);
            EXPECT_EQ(pieces, whole);

            aes.makeKey(key.data(), iv.data(), 16, blockLength);
            aes.decrypt(whole.data(), again.data(), half, mode);
            aes.decrypt(whole.data() + half, again.data() + half, half, mode);
            EXPECT_EQ(again, plain);
        }
    }
}

TEST(AesTest, InPlaceOperationGivesTheSameResultAsSeparateBuffers)
{
    const Bytes key = bytesFromHex(kSp800Key256);
    const Bytes iv = bytesFromHex(kSp800Iv);
    const Bytes plain = bytesFromHex(kSp800Plain);
    for (int mode : {AES::ECB, AES::CBC, AES::CFB}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        AES aes;
        aes.makeKey(key.data(), iv.data(), 32, 16);
        Bytes separate(plain.size());
        aes.encrypt(plain.data(), separate.data(), plain.size(), mode);
        aes.makeKey(key.data(), iv.data(), 32, 16);
        Bytes buffer = plain;
        aes.encrypt(buffer.data(), buffer.data(), buffer.size(), mode);
        EXPECT_EQ(buffer, separate);
        aes.makeKey(key.data(), iv.data(), 32, 16);
        aes.decrypt(buffer.data(), buffer.data(), buffer.size(), mode);
        EXPECT_EQ(buffer, plain);
    }
}

TEST(AesTest, UnknownModeBehavesAsEcb)
{
    const std::string ecb = runCipher(true, kSp800Key128, kSp800Iv, 16, kSp800Plain, AES::ECB);
    EXPECT_EQ(runCipher(true, kSp800Key128, kSp800Iv, 16, kSp800Plain, 7), ecb);
    EXPECT_EQ(runCipher(false, kSp800Key128, kSp800Iv, 16, ecb, -1), kSp800Plain);
}

TEST(AesTest, UnusableKeysAndLengthsLeaveTheOutputUntouched)
{
    const Bytes key = bytesFromHex("000102030405060708090a0b0c0d0e0f1011121314151617");
    const Bytes plain(32, 0x41);
    const Bytes untouched(32, 0xee);
    auto encryptWith = [&](AES& aes, size_t n) {
        Bytes out = untouched;
        aes.encrypt(plain.data(), out.data(), n, AES::CBC);
        Bytes block = untouched;
        aes.encryptBlock(plain.data(), block.data());
        Bytes xored = untouched;
        aes.xorBlock(xored.data(), plain.data());
        return out == untouched && block == untouched && xored == untouched;
    };

    AES fresh;
    EXPECT_TRUE(encryptWith(fresh, 32)) << "no key yet";
    fresh.makeKey(key.data(), nullptr, 20, 16);
    EXPECT_TRUE(encryptWith(fresh, 32)) << "key length 20";
    fresh.makeKey(key.data(), nullptr, 16, 20);
    EXPECT_TRUE(encryptWith(fresh, 32)) << "block length 20";
    fresh.makeKey(nullptr, nullptr, 16, 16);
    EXPECT_TRUE(encryptWith(fresh, 32)) << "null key";

    AES keyed;
    keyed.makeKey(key.data(), nullptr, 16, 16);
    for (size_t n : {size_t{0}, size_t{15}, size_t{17}}) {
        Bytes out = untouched;
        keyed.encrypt(plain.data(), out.data(), n, AES::CBC);
        keyed.decrypt(plain.data(), out.data(), n, AES::CBC);
        EXPECT_EQ(out, untouched) << "n = " << n;
    }

    // A rejected re-key keeps the earlier key; a null chain means an all-zero chain.
    const std::string before = runCipher(true, "000102030405060708090a0b0c0d0e0f", "", 16,
                                         "00112233445566778899aabbccddeeff", AES::CBC);
    Bytes out(16);
    keyed.makeKey(key.data(), nullptr, 16, 16);
    keyed.makeKey(key.data() + 1, nullptr, 12, 16);
    keyed.encrypt(bytesFromHex("00112233445566778899aabbccddeeff").data(), out.data(), 16,
                  AES::CBC);
    EXPECT_EQ(hexFromBytes(out), before);
    EXPECT_EQ(before, "69c4e0d86a7b0430d8cdb78070b4c55a");
}
