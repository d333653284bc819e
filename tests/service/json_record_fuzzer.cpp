// libFuzzer entry point for JsonRecord, the reader of the service's answers: any bytes parse
// into at least one token, every token is a slice of the input, lookups pair a token with the
// next one, and a written value (the input, and every token read from it) comes out byte for
// byte.
#include "service/json_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The record {"v":"value"} with the value exactly as given.
bool echoesByteForByte(const std::string& value)
{
    JsonRecord written;
    written.add("v").setString(value);
    return written.serialize(1) == "{\"v\":\"" + value + "\"}";
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

    if (!echoesByteForByte(text)) std::abort();
    for (const std::string& token : tokens) {
        if (!echoesByteForByte(token)) std::abort();
    }
    return 0;
}
