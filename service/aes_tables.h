// Constant tables of the Rijndael cipher used by AES (aes.cpp): S-box and inverse S-box, the
// combined SubBytes/MixColumns lookups for encryption and decryption rounds, the inverse column
// mixing of round keys and the round constants.
//
// The tables are computed by the compiler from the field arithmetic of GF(2^8) with the
// polynomial x^8 + x^4 + x^3 + x + 1, so they hold exactly the standard values without
// thousands of hand-copied literals; the known-answer tests check them.
#pragma once

#include <array>
#include <cstdint>

namespace aes_tables {

using ByteTable = std::array<std::uint8_t, 256>;
using WordTable = std::array<std::uint32_t, 256>;

// Multiplication by x in GF(2^8).
constexpr std::uint8_t xtime(std::uint8_t a)
{
    return static_cast<std::uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1b : 0x00));
}

constexpr std::uint8_t gfMultiply(std::uint8_t a, std::uint8_t b)
{
    std::uint8_t product = 0;
    while (b != 0) {
        if (b & 1) product ^= a;
        a = xtime(a);
        b = static_cast<std::uint8_t>(b >> 1);
    }
    return product;
}

constexpr std::uint8_t rotateLeft8(std::uint8_t value, int shift)
{
    return static_cast<std::uint8_t>((value << shift) | (value >> (8 - shift)));
}

// Multiplicative inverse through powers of the generator 3 (the inverse of 0 is taken as 0),
// then the affine transformation.
constexpr ByteTable makeSBox()
{
    ByteTable power{};  // power[i] = 3^i
    ByteTable logarithm{};
    std::uint8_t value = 1;
    for (int i = 0; i < 255; ++i) {
        power[i] = value;
        logarithm[value] = static_cast<std::uint8_t>(i);
        value = gfMultiply(value, 3);
    }
    ByteTable sbox{};
    for (int x = 0; x < 256; ++x) {
        std::uint8_t inverse = 0;
        if (x != 0) inverse = power[(255 - logarithm[x]) % 255];
        sbox[x] =
            static_cast<std::uint8_t>(inverse ^ rotateLeft8(inverse, 1) ^ rotateLeft8(inverse, 2) ^
                                      rotateLeft8(inverse, 3) ^ rotateLeft8(inverse, 4) ^ 0x63);
    }
    return sbox;
}

constexpr ByteTable invertTable(const ByteTable& table)
{
    ByteTable inverse{};
    for (int x = 0; x < 256; ++x) inverse[table[x]] = static_cast<std::uint8_t>(x);
    return inverse;
}

constexpr std::uint32_t packWord(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    return (std::uint32_t{b0} << 24) | (std::uint32_t{b1} << 16) | (std::uint32_t{b2} << 8) | b3;
}

constexpr std::uint32_t rotateRight32(std::uint32_t word, int bytes)
{
    return bytes == 0 ? word : (word >> (8 * bytes)) | (word << (32 - 8 * bytes));
}

// The column a single byte b contributes to after MixColumns, as a big-endian word.
constexpr std::uint32_t mixColumn(std::uint8_t b)
{
    return packWord(gfMultiply(b, 2), b, b, gfMultiply(b, 3));
}

// The column a single byte b contributes to after InvMixColumns.
constexpr std::uint32_t inverseMixColumn(std::uint8_t b)
{
    return packWord(gfMultiply(b, 14), gfMultiply(b, 9), gfMultiply(b, 13), gfMultiply(b, 11));
}

// Table k is table 0 rotated right by k bytes: it serves the byte of row k.
constexpr WordTable makeEncryptionTable(const ByteTable& sbox, int row)
{
    WordTable table{};
    for (int x = 0; x < 256; ++x) table[x] = rotateRight32(mixColumn(sbox[x]), row);
    return table;
}

constexpr WordTable makeDecryptionTable(const ByteTable& inverseSbox, int row)
{
    WordTable table{};
    for (int x = 0; x < 256; ++x) table[x] = rotateRight32(inverseMixColumn(inverseSbox[x]), row);
    return table;
}

// Inverse column mixing of a round-key byte (no S-box): used to prepare decryption keys.
constexpr WordTable makeKeyMixTable(int row)
{
    WordTable table{};
    for (int x = 0; x < 256; ++x)
        table[x] = rotateRight32(inverseMixColumn(static_cast<std::uint8_t>(x)), row);
    return table;
}

// Enough round constants for the longest schedule: 15 rows of 8 words from a 4-word key.
constexpr std::array<std::uint8_t, 30> makeRoundConstants()
{
    std::array<std::uint8_t, 30> constants{};
    std::uint8_t value = 1;
    for (auto& constant : constants) {
        constant = value;
        value = xtime(value);
    }
    return constants;
}

inline constexpr ByteTable kSBox = makeSBox();
inline constexpr ByteTable kInverseSBox = invertTable(kSBox);
inline constexpr WordTable kTe0 = makeEncryptionTable(kSBox, 0);
inline constexpr WordTable kTe1 = makeEncryptionTable(kSBox, 1);
inline constexpr WordTable kTe2 = makeEncryptionTable(kSBox, 2);
inline constexpr WordTable kTe3 = makeEncryptionTable(kSBox, 3);
inline constexpr WordTable kTd0 = makeDecryptionTable(kInverseSBox, 0);
inline constexpr WordTable kTd1 = makeDecryptionTable(kInverseSBox, 1);
inline constexpr WordTable kTd2 = makeDecryptionTable(kInverseSBox, 2);
inline constexpr WordTable kTd3 = makeDecryptionTable(kInverseSBox, 3);
inline constexpr WordTable kU0 = makeKeyMixTable(0);
inline constexpr WordTable kU1 = makeKeyMixTable(1);
inline constexpr WordTable kU2 = makeKeyMixTable(2);
inline constexpr WordTable kU3 = makeKeyMixTable(3);
inline constexpr std::array<std::uint8_t, 30> kRoundConstants = makeRoundConstants();

// Row shift offsets for rows 1 to 3, indexed by (block length / 4 - 4) / 2: 4, 6 or 8 columns.
inline constexpr int kShiftOffsets[3][3] = {{1, 2, 3}, {1, 2, 3}, {1, 3, 4}};

static_assert(kSBox[0x00] == 0x63 && kSBox[0x53] == 0xed && kSBox[0xff] == 0x16, "S-box values");
static_assert(kTe0[0x00] == 0xc66363a5u, "first encryption table entry");
static_assert(kTd0[0x00] == 0x51f4a750u, "first decryption table entry");

}  // namespace aes_tables
