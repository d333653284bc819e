// currentDeviceCode: the salted tick count digest, fixed once per process even under a race.
#include "service/device_code.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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

// Every read of this tick source gives a new count, and the first read is slow, so a first
// use that is not guarded (check, then compute) lets the other threads read counts of their own
// and produce other codes.
TEST(DeviceCodeTest, ConcurrentFirstUsesReadTheTickSourceOnce)
{
    std::atomic<int> reads{0};
    DeviceCodeOnce deviceCode([&reads] {
        const int read = ++reads;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return static_cast<std::uint32_t>(read * 1000);
    });

    constexpr int kThreads = 8;
    std::atomic<bool> go{false};
    std::vector<std::string> codes(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            while (!go) std::this_thread::yield();
            codes[i] = deviceCode.get();
        });
    }
    go = true;
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(reads, 1);
    for (const std::string& seen : codes) EXPECT_EQ(seen, deviceCodeForTickCount(1000));
    EXPECT_EQ(deviceCode.get(), deviceCodeForTickCount(1000));
}
