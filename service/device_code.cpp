// currentDeviceCode: the salted MD5 of the millisecond tick count, fixed at first use.
#include "service/device_code.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#endif

#include "service/md5.h"

namespace {

constexpr char kDeviceCodeSalt[] = "mzta_RK";

// Milliseconds since the system started, wrapping at 2^32 like the Windows tick count.
std::uint32_t systemTickCount()
{
#ifdef _WIN32
    return GetTickCount();
#else
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
#endif
}

}  // namespace

std::string deviceCodeForTickCount(std::uint32_t tickCount)
{
    const auto signedCount = static_cast<std::int32_t>(tickCount);
    return Md5Hasher(kDeviceCodeSalt + std::to_string(signedCount)).hexDigest();
}

const std::string& DeviceCodeOnce::get()
{
    // The two report threads may both ask first; the tick count is read only once.
    std::call_once(computed_, [this] { code_ = deviceCodeForTickCount(ticks_()); });
    return code_;
}

std::string currentDeviceCode()
{
    static DeviceCodeOnce deviceCode(systemTickCount);
    return deviceCode.get();
}
