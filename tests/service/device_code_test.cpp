// currentDeviceCode: the salted tick count digest, fixed once per process even under a race.
#include "service/device_code.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(DeviceCodeTest, DigestsTheSaltAndTheCountAsASigned32BitNumber)
{
    EXPECT_EQ(deviceCodeForTickCount(0), "aa48f3c2c2c67f210b3c057c1ec1977d");
    EXPECT_EQ(deviceCodeForTickCount(0x7fffffff), "ac8187168700f7d1d45503aa561a7f67");
    EXPECT_EQ(deviceCodeForTickCount(0x80000000), "a2886c3087d5b992fdda92d860d34133");
    EXPECT_EQ(deviceCodeForTickCount(0xffffffff), "c25ff8dca6d5221056e495aae2a87ab0");
}

// Each test case runs in a process of its own, so this is the process's first use.
TEST(DeviceCodeTest, ConcurrentFirstUsesAllSeeOneValueThatStaysFixed)
{
    constexpr int kThreads = 8;
    std::vector<std::string> codes(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&codes, i] { codes[i] = currentDeviceCode(); });
    for (std::thread& thread : threads) thread.join();

    const std::string code = currentDeviceCode();
    ASSERT_EQ(code.size(), 32u);
    EXPECT_EQ(code.find_first_not_of("0123456789abcdef"), std::string::npos) << code;
    for (const std::string& seen : codes) EXPECT_EQ(seen, code);
    EXPECT_EQ(currentDeviceCode(), code);
}
