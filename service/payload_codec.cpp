// encryptPayload / decryptPayload: padding, the cipher call with the shared key, Base64.
#include "service/payload_codec.h"

#include <cstring>
#include <vector>

#include "service/aes.h"
#include "service/base64.h"

namespace {

constexpr int kBlockLength = 16;

// The service holds the same two values: the 16 ASCII codes as written, not decoded from hex.
constexpr unsigned char kPayloadKey[] = "3E7A1D94C05B28F6";
constexpr unsigned char kPayloadIv[] = "3E7A1D94C05B28F6";
static_assert(sizeof kPayloadKey == kBlockLength + 1 && sizeof kPayloadIv == kBlockLength + 1,
              "AES-128 key and IV are 16 bytes");

// Every message starts from the initialisation vector, hence a fresh cipher per call.
void keyPayloadCipher(AES& cipher)
{
    cipher.makeKey(kPayloadKey, kPayloadIv, kBlockLength, kBlockLength);
}

// Lenient PKCS#7 check over the n decrypted bytes: see decryptPayload in the header.
void stripPadding(std::vector<unsigned char>& plain, size_t n)
{
    const int padding = static_cast<signed char>(plain[n - 1]);
    if (padding < 1 || static_cast<size_t>(padding) > n) return;
    for (size_t i = n - static_cast<size_t>(padding); i < n; ++i) {
        if (plain[i] != padding) {
            std::memset(plain.data(), 0, n);
            return;
        }
    }
    std::memset(plain.data() + n - padding, 0, static_cast<size_t>(padding));
}

}  // namespace

std::string encryptPayload(const std::string& text)
{
    const size_t n = text.size();
    const size_t paddedLength = (n / kBlockLength + 1) * kBlockLength;
    std::vector<unsigned char> buffer(paddedLength, static_cast<unsigned char>(paddedLength - n));
    std::memcpy(buffer.data(), text.data(), n);

    AES cipher;
    keyPayloadCipher(cipher);
    cipher.encrypt(buffer.data(), buffer.data(), paddedLength, AES::CBC);
    return base64Encode(buffer.data(), paddedLength);
}

std::string decryptPayload(const std::string& base64Text)
{
    const std::string cipherText = base64Decode(base64Text);
    const size_t n = cipherText.size();
    // A cut or foreign text is not a payload: its bytes must not pass as plaintext.
    if (n == 0 || n % kBlockLength != 0) return std::string();

    // One spare 0 byte ends the text even when the plaintext holds none.
    std::vector<unsigned char> plain(n + 1, 0);
    AES cipher;
    keyPayloadCipher(cipher);
    cipher.decrypt(reinterpret_cast<const unsigned char*>(cipherText.data()), plain.data(), n,
                   AES::CBC);
    stripPadding(plain, n);
    return std::string(reinterpret_cast<const char*>(plain.data()));
}
