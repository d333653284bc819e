// Md5Hasher: the RFC 1321 test suite and feeding in pieces.
#include "service/md5.h"

#include <gtest/gtest.h>

TEST(Md5Test, MatchesTheRfc1321Suite)
{
    const std::pair<std::string, std::string> suite[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [message, digest] : suite)
        EXPECT_EQ(Md5Hasher(message).hexDigest(), digest) << message;
}

// Splits around the 56- and 64-byte boundaries where the padding takes one or two blocks.
TEST(Md5Test, FeedingInPiecesGivesTheDigestOfTheWhole)
{
    std::string message;
    for (int i = 0; i < 200; ++i) message += static_cast<char>(i * 7);
    for (size_t length :
         {size_t{55}, size_t{56}, size_t{63}, size_t{64}, size_t{65}, size_t{200}}) {
        const std::string whole = message.substr(0, length);
        const Md5Hasher::Digest expected = Md5Hasher(whole).digest();
        for (size_t split = 0; split <= length; ++split) {
            Md5Hasher pieces(whole.substr(0, split));
            const Md5Hasher::Digest early =
                pieces.digest();  // a digest does not end the computation
            pieces.update(whole.substr(split));
            ASSERT_EQ(pieces.digest(), expected) << "length " << length << " split " << split;
            ASSERT_EQ(Md5Hasher(whole.substr(0, split)).digest(), early);
        }
    }
    EXPECT_EQ(Md5Hasher(std::string(1, '\0')).hexDigest(), "93b885adfe0da089cdf634904fd59f71");
}
