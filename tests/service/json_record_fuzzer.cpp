// libFuzzer entry point for JsonRecord, the reader of the service's answers: any bytes parse
// into at least one token, every token is a slice of the input, lookups pair a token with the
// next one, and a written value unescapes back to exactly the input.
#include "service/json_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    JsonRecord record;
    record.parse(text);
    const auto& tokens = record.tokens();
    if (tokens.empty()) std::abort();
    for (const std::string& token : tokens) {
        if (text.find(token) == std::string::npos) std::abort();
    }
    if (tokens.size() > 1 && record.get(tokens[0], "") != tokens[1]) std::abort();

    JsonRecord written;
    written.add("v").setString(text);
    const std::string json = written.serialize(1);
    const std::string prefix = "{\"v\":\"";
    if (json.compare(0, prefix.size(), prefix) != 0 || json.size() < prefix.size() + 2 ||
        unescape(json.substr(prefix.size(), json.size() - prefix.size() - 2)) != text)
        std::abort();
    return 0;
}
