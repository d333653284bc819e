// Md5Hasher: block transform, buffering of partial blocks and the final padding.
#include "service/md5.h"

#include <cstring>

namespace {

// floor(|sin(i + 1)| * 2^32) for i = 0 .. 63.
constexpr std::uint32_t kSineTable[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

// Left rotations per step: four per round, repeated over the round's 16 steps.
constexpr int kRotations[4][4] = {
    {7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

std::uint32_t rotateLeft(std::uint32_t value, int count)
{
    return (value << count) | (value >> (32 - count));
}

std::uint32_t loadLittleEndian(const unsigned char* bytes)
{
    return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
           (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
}

}  // namespace

Md5Hasher::Md5Hasher(const std::string& bytes)
    : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476}
{
    update(bytes);
}

void Md5Hasher::update(const std::string& bytes)
{
    update(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void Md5Hasher::update(const unsigned char* bytes, std::size_t count)
{
    if (count == 0) return;
    std::size_t buffered = static_cast<std::size_t>((bitCount_ / 8) % 64);
    bitCount_ += static_cast<std::uint64_t>(count) * 8;

    if (buffered != 0) {
        const std::size_t take = count < 64 - buffered ? count : 64 - buffered;
        std::memcpy(buffer_ + buffered, bytes, take);
        buffered += take;
        bytes += take;
        count -= take;
        if (buffered < 64) return;
        transform(buffer_);
    }
    for (; count >= 64; bytes += 64, count -= 64) transform(bytes);
    if (count != 0) std::memcpy(buffer_, bytes, count);
}

void Md5Hasher::transform(const unsigned char* block)
{
    std::uint32_t words[16];
    for (int i = 0; i < 16; ++i) words[i] = loadLittleEndian(block + 4 * i);

    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int step = 0; step < 64; ++step) {
        const int round = step / 16;
        std::uint32_t mixed = 0;
        int wordIndex = 0;
        switch (round) {
        case 0:
            mixed = (b & c) | (~b & d);
            wordIndex = step;
            break;
        case 1:
            mixed = (d & b) | (~d & c);
            wordIndex = (5 * step + 1) % 16;
            break;
        case 2:
            mixed = b ^ c ^ d;
            wordIndex = (3 * step + 5) % 16;
            break;
        default:
            mixed = c ^ (b | ~d);
            wordIndex = (7 * step) % 16;
            break;
        }
        const std::uint32_t sum = a + mixed + kSineTable[step] + words[wordIndex];
        a = d;
        d = c;
        c = b;
        b += rotateLeft(sum, kRotations[round][step % 4]);
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

// Pads a copy of the computation, so the hasher itself can keep accepting bytes.
Md5Hasher::Digest Md5Hasher::digest() const
{
    Md5Hasher finished = *this;
    const std::uint64_t messageBits = bitCount_;
    unsigned char padding[72] = {0x80};
    const std::size_t buffered = static_cast<std::size_t>((messageBits / 8) % 64);
    const std::size_t padLength = buffered < 56 ? 56 - buffered : 120 - buffered;
    for (int i = 0; i < 8; ++i)
        padding[padLength + i] = static_cast<unsigned char>(messageBits >> (8 * i));
    finished.update(padding, padLength + 8);

    Digest result;
    for (int i = 0; i < 16; ++i)
        result[i] = static_cast<unsigned char>(finished.state_[i / 4] >> (8 * (i % 4)));
    return result;
}

std::string Md5Hasher::hexDigest() const
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(32);
    for (unsigned char byte : digest()) {
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0x0f];
    }
    return text;
}
