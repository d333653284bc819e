// libFuzzer entry point for the codec's readers of outside input: the Base64 decoder and
// decryptPayload must accept any bytes, and what the decoder reads must encode back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "service/base64.h"
#include "service/payload_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    decryptPayload(text);

    const std::string bytes = base64Decode(text);
    const std::string encoded =
        base64Encode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (base64Decode(encoded) != bytes) std::abort();

    if (decryptPayload(encryptPayload(text)) != text.substr(0, text.find('\0'))) std::abort();
    return 0;
}
