// Test helper: sends the installStart report and then the installEnd report (7 seconds of
// latency) for a version to a service URL, as the download window and worker do. The end
// report ends the process with exit code 0.
//   telemetry_probe.exe BASE_URL VERSION
#include "service/install_service.h"

#include <cstdio>
#include <ctime>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: telemetry_probe BASE_URL VERSION\n");
        return 2;
    }
    const std::string url = argv[1];
    const std::string version = argv[2];
    const auto end = static_cast<std::int32_t>(std::time(nullptr));
    reportInstallStart(version, url);
    reportInstallEnd(version, end, end - 7, url);
}
