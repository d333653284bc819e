// Command-line options of the development install service.
#include "tools/dev_install_service/service_options.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <sstream>

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

// A comma-separated list of byte counts ("1000,250000").
std::optional<std::vector<std::uint64_t>> parseCounts(const std::string& text)
{
    std::vector<std::uint64_t> counts;
    std::istringstream items(text);
    for (std::string item; std::getline(items, item, ',');) {
        char* end = nullptr;
        errno = 0;
        const unsigned long long count = std::strtoull(item.c_str(), &end, 10);
        if (item.empty() || item[0] == '-' || errno != 0 || *end != '\0') return std::nullopt;
        counts.push_back(count);
    }
    if (counts.empty()) return std::nullopt;
    return counts;
}

// "SEED,COUNT": COUNT answers cut at points drawn from a generator seeded with SEED.
bool applyRandomCuts(ServiceOptions& options, const std::string& value)
{
    const auto numbers = parseCounts(value);
    if (!numbers || numbers->size() != 2 || (*numbers)[1] > 1000) return false;
    options.cutSeed = (*numbers)[0];
    options.randomCuts = static_cast<int>((*numbers)[1]);
    return true;
}

template <typename Enum>
bool applyName(Enum& target, const std::map<std::string, Enum>& names, const std::string& value)
{
    const auto it = names.find(value);
    if (it == names.end()) return false;
    target = it->second;
    return true;
}

// The options of served files; false when `name` is not one of them or the value is bad.
bool applyFileOption(ServiceOptions& options, const std::string& name, const std::string& value)
{
    if (name == "--ranges")
        return applyName(options.ranges,
                         {{"bytes", RangeSupport::Bytes},
                          {"none", RangeSupport::None},
                          {"416", RangeSupport::Refuse},
                          {"mismatch", RangeSupport::Mismatch}},
                         value);
    if (name == "--validators")
        return applyName(options.validators,
                         {{"both", Validators::Both},
                          {"last-modified", Validators::LastModified},
                          {"none", Validators::None}},
                         value);
    if (name == "--cut-after") {
        const auto counts = parseCounts(value);
        options.cutAfter = counts.value_or(std::vector<std::uint64_t>());
        return counts.has_value();
    }
    if (name == "--random-cuts") return applyRandomCuts(options, value);
    if (name == "--replace-with") {
        options.replaceWith = value;
        return !value.empty();
    }
    if (name == "--replace-after") {
        const auto count = parseInt(value, 0, 1000000);
        options.replaceAfter = count.value_or(-1);
        return count.has_value();
    }
    if (name == "--rate") {
        const auto kibPerSecond = parseInt(value, 1, 1 << 20);
        options.rate = static_cast<std::uint64_t>(kibPerSecond.value_or(0)) * 1024;
        return kibPerSecond.has_value();
    }
    return false;
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
    return applyFileOption(options, name, value);
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
           "         [--ranges bytes|none|416|mismatch] [--validators both|last-modified|none]\n"
           "         [--cut-after N[,N...]] [--random-cuts SEED,COUNT]\n"
           "         [--replace-with FILE --replace-after N] [--rate KIB_PER_SECOND]\n"
           "Listens on 127.0.0.1 only (port 0 picks a free one and prints it); stops on SIGTERM.\n"
           "Served files: the i-th answer carrying a file ends after the i-th --cut-after count\n"
           "of body bytes, the next COUNT at random points; --replace-with moves FILE over the\n"
           "requested file once N file requests were answered (new content, new validators);\n"
           "--rate sends file bodies no faster than that.\n";
}
