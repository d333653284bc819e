// Md5Hasher: the MD5 message digest (RFC 1321) over bytes fed in one or more pieces.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Md5Hasher {
public:
    using Digest = std::array<unsigned char, 16>;

    // Starts a fresh computation and feeds all bytes of bytes.
    explicit Md5Hasher(const std::string& bytes = std::string());

    // Feeds count more bytes (bytes may be null when count is 0).
    void update(const unsigned char* bytes, std::size_t count);
    void update(const std::string& bytes);

    // The MD5 of every byte fed so far. Does not end the computation: more bytes may follow.
    Digest digest() const;

    // digest() as 32 lower-case hexadecimal digits, high nibble first.
    std::string hexDigest() const;

private:
    void transform(const unsigned char* block);

    std::uint32_t state_[4];
    std::uint64_t bitCount_ = 0;
    unsigned char buffer_[64] = {};
};
