// Command-line options of the development install service.
#include "tools/dev_install_service/service_options.h"

#include <cerrno>
#include <cstdlib>
#include <map>

namespace {

std::optional<int> parseInt(const std::string& text, int min, int max)
{
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < min || value > max) return std::nullopt;
    return static_cast<int>(value);
}

std::optional<Fault> parseFault(const std::string& text)
{
    static const std::map<std::string, Fault> names = {
        {"none", Fault::None},
        {"refuse", Fault::Refuse},
        {"close", Fault::Close},
        {"302", Fault::Redirect},
        {"404", Fault::NotFound},
        {"500", Fault::ServerError},
        {"no-data", Fault::NoData},
        {"endless", Fault::Endless},
        {"stall", Fault::Stall},
        {"no-length", Fault::NoLength},
        {"chunked", Fault::Chunked},
        {"gzip", Fault::Gzip},
        {"not-a-program", Fault::NotProgram},
    };
    const auto it = names.find(text);
    if (it == names.end()) return std::nullopt;
    return it->second;
}

// Applies one "--name value" pair; returns false when the name or value is not valid.
bool applyOption(ServiceOptions& options, const std::string& name, const std::string& value)
{
    static const std::map<std::string, std::string ServiceOptions::*> texts = {
        {"--version", &ServiceOptions::currVersion},
        {"--download-url", &ServiceOptions::downloadUrl},
        {"--privacy-url", &ServiceOptions::privacyUrl},
        {"--agreement-url", &ServiceOptions::agreementUrl},
        {"--files", &ServiceOptions::filesDir},
        {"--request-log", &ServiceOptions::requestLog},
        {"--telemetry-log", &ServiceOptions::telemetryLog},
        {"--fault-path", &ServiceOptions::faultPath},
    };
    if (const auto it = texts.find(name); it != texts.end()) {
        options.*(it->second) = value;
        return true;
    }
    if (name == "--port") {
        const auto port = parseInt(value, 0, 65535);
        options.port = port.value_or(-1);
        return port.has_value();
    }
    if (name == "--fault-count") {
        const auto count = parseInt(value, 0, 1000000);
        options.faultCount = count.value_or(-1);
        return count.has_value();
    }
    if (name == "--fault") {
        const auto fault = parseFault(value);
        options.fault = fault.value_or(Fault::None);
        return fault.has_value();
    }
    return false;
}

}  // namespace

std::optional<ServiceOptions> parseServiceOptions(int argc, const char* const argv[],
                                                  std::string& error)
{
    ServiceOptions options;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            error = "missing value after " + name;
            return std::nullopt;
        }
        if (!applyOption(options, name, argv[i + 1])) {
            error = "bad option: " + name + " " + argv[i + 1];
            return std::nullopt;
        }
    }
    return options;
}

const char* serviceUsage()
{
    return "usage: dev_install_service [--port N] [--version V] [--download-url URL]\n"
           "         [--privacy-url URL] [--agreement-url URL] [--files DIR]\n"
           "         [--request-log FILE] [--telemetry-log FILE]\n"
           "         [--fault none|refuse|close|302|404|500|no-data|endless|stall|no-length|\n"
           "                  chunked|gzip|not-a-program]\n"
           "         [--fault-path PATH] [--fault-count N]\n"
           "Listens on 127.0.0.1 only (port 0 picks a free one and prints it); stops on SIGTERM.\n";
}
