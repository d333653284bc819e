// Result texts, short buffers and the most recent result.
#include <cstring>

#include <gtest/gtest.h>

#include "archive/zip_reader.h"
#include "archive/zip_result.h"

namespace {

TEST(ZipResultTest, FormatsTextsIntoBuffersOfAnySize)
{
    char buffer[64];
    EXPECT_EQ(formatZipMessage(ResultNotFound, buffer, sizeof buffer), 29u);
    EXPECT_STREQ(buffer, "File not found in the zipfile");
    EXPECT_EQ(formatZipMessage(0x12345, buffer, sizeof buffer), 23u);
    EXPECT_STREQ(buffer, "unknown zip result code");
    formatZipMessage(ResultDuplicateHandle, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Culdn't duplicate handle");
    formatZipMessage(ResultInflateError, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Zip-bug: an internal error during flation");

    // A short buffer gets what fits and a terminator; the length is still the full one.
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_EQ(formatZipMessage(ResultNotFound, buffer, 5), 29u);
    EXPECT_STREQ(buffer, "File");
    EXPECT_EQ(buffer[5], 'z');
    EXPECT_EQ(formatZipMessage(ResultNotFound, buffer, 1), 29u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(formatZipMessage(ResultNotFound, nullptr, 0), 29u);
    buffer[0] = 'z';
    EXPECT_EQ(formatZipMessage(ResultNotFound, buffer, 0), 29u);
    EXPECT_EQ(buffer[0], 'z');
}

TEST(ZipResultTest, MostRecentResultFollowsEveryOperation)
{
    char buffer[64];
    EXPECT_EQ(closeZip(nullptr), ResultBadArguments);
    formatZipMessage(ResultMostRecent, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Caller: faulty arguments");
    EXPECT_EQ(openZip("not a zip at all, far too short", 31, ZipMemory), nullptr);
    EXPECT_EQ(lastZipResult(), ResultNoEndRecord);
    EXPECT_EQ(formatZipMessage(ResultMostRecent, buffer, sizeof buffer), 23u);
}

}  // namespace
