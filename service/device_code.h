// The device code: 32 lower-case hex digits that identify one run of the installer in the
// service's telemetry, derived from the system tick count at first use.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>

// The device code of this process: computed on the first call (safe when several threads make
// that first call at once, all get the same value) and returned unchanged afterwards.
std::string currentDeviceCode();

// The device code for a given tick count: MD5 in hex of the salt followed by the count written
// as a signed 32-bit decimal (counts from 2^31 on therefore carry a "-").
std::string deviceCodeForTickCount(std::uint32_t tickCount);

// A device code fixed on first use: the first get() reads the tick source once and computes
// the code; every call, concurrent first calls included, returns that one value. The process's
// code is one of these over the system tick count; tests give a source of their own.
class DeviceCodeOnce {
public:
    using TickSource = std::function<std::uint32_t()>;

    explicit DeviceCodeOnce(TickSource ticks) : ticks_(std::move(ticks)) {}

    const std::string& get();

private:
    TickSource ticks_;
    std::once_flag computed_;
    std::string code_;
};
