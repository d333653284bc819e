// Base64 encoding and decoding over one shared alphabet.
#include "service/base64.h"

#include <array>
#include <cstdint>

namespace {

// Constant-initialised, so it is ready before any static constructor could need it.
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kNotInAlphabet = 0xff;

constexpr std::array<std::uint8_t, 256> makeDecodeTable()
{
    std::array<std::uint8_t, 256> table{};
    for (auto& value : table) value = kNotInAlphabet;
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    return table;
}

constexpr std::array<std::uint8_t, 256> kDecodeTable = makeDecodeTable();

// Number of leading characters of text that belong to the alphabet ("=" is not in it).
size_t decodableLength(const std::string& text)
{
    size_t length = 0;
    while (length < text.size() &&
           kDecodeTable[static_cast<unsigned char>(text[length])] != kNotInAlphabet) {
        ++length;
    }
    return length;
}

std::uint32_t sextet(const std::string& text, size_t index)
{
    return kDecodeTable[static_cast<unsigned char>(text[index])];
}

}  // namespace

std::string base64Encode(const unsigned char* bytes, size_t count)
{
    std::string text;
    text.reserve((count + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= count; i += 3) {
        const std::uint32_t group =
            (std::uint32_t{bytes[i]} << 16) | (std::uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
        text += kAlphabet[(group >> 18) & 0x3f];
        text += kAlphabet[(group >> 12) & 0x3f];
        text += kAlphabet[(group >> 6) & 0x3f];
        text += kAlphabet[group & 0x3f];
    }
    const size_t rest = count - i;
    if (rest == 0) return text;

    std::uint32_t group = std::uint32_t{bytes[i]} << 16;
    if (rest == 2) group |= std::uint32_t{bytes[i + 1]} << 8;
    text += kAlphabet[(group >> 18) & 0x3f];
    text += kAlphabet[(group >> 12) & 0x3f];
    text += rest == 2 ? kAlphabet[(group >> 6) & 0x3f] : '=';
    text += '=';
    return text;
}

std::string base64Decode(const std::string& text)
{
    const size_t length = decodableLength(text);
    std::string bytes;
    bytes.reserve(length / 4 * 3 + 2);
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        const std::uint32_t group = (sextet(text, i) << 18) | (sextet(text, i + 1) << 12) |
                                    (sextet(text, i + 2) << 6) | sextet(text, i + 3);
        bytes += static_cast<char>(group >> 16);
        bytes += static_cast<char>(group >> 8);
        bytes += static_cast<char>(group);
    }
    // A last group of r characters carries r - 1 whole bytes; the missing sextets count as zero.
    const size_t rest = length - i;
    if (rest < 2) return bytes;
    std::uint32_t group = (sextet(text, i) << 18) | (sextet(text, i + 1) << 12);
    if (rest == 3) group |= sextet(text, i + 2) << 6;
    bytes += static_cast<char>(group >> 16);
    if (rest == 3) bytes += static_cast<char>(group >> 8);
    return bytes;
}
