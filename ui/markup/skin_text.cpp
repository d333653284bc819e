// Decoding of skin bytes; see skin_text.h. The UTF-8 and UTF-16 decoders are our own so that
// every platform reads a skin alike; only the ANSI code page needs the system.
#include "ui/markup/skin_text.h"

#ifdef _WIN32
#include <windows.h>

#include <climits>
#endif

namespace SkinUI {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// Appends one code point as UTF-16 units where wchar_t has 16 bits, else as itself.
void AppendCodePoint(std::wstring& text, char32_t c)
{
    if (sizeof(wchar_t) == 2 && c > 0xFFFF) {
        c -= 0x10000;
        text.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
        text.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
        return;
    }
    text.push_back(static_cast<wchar_t>(c));
}

bool HasPrefix(const unsigned char* bytes, std::size_t length, const char* mark, std::size_t size)
{
    if (length < size) return false;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != static_cast<unsigned char>(mark[i])) return false;
    }
    return true;
}

// The length of the UTF-8 sequence led by `lead` and the range its second byte must lie in
// (which excludes overlong forms, surrogates and values past U+10FFFF); 0 for a byte that
// leads no sequence.
struct Utf8Lead {
    int length;
    unsigned char secondMin;
    unsigned char secondMax;
};

Utf8Lead Utf8LeadOf(unsigned char lead)
{
    if (lead < 0x80) return {1, 0, 0};
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// Decodes the multi-byte sequence led by bytes[i] into `out`: the character, or one U+FFFD for
// a broken sequence's valid beginning. Returns where decoding goes on: the first byte that does
// not belong to the sequence.
std::size_t DecodeUtf8Sequence(const unsigned char* bytes, std::size_t length, std::size_t i,
                               std::wstring& out)
{
    const Utf8Lead lead = Utf8LeadOf(bytes[i]);
    if (lead.length == 0) {
        AppendCodePoint(out, kReplacement);
        return i + 1;
    }
    char32_t c = bytes[i] & (0x7F >> lead.length);
    std::size_t next = i + 1;
    int read = 1;
    for (; read < lead.length && next < length; ++read, ++next) {
        const unsigned char min = read == 1 ? lead.secondMin : 0x80;
        const unsigned char max = read == 1 ? lead.secondMax : 0xBF;
        if (bytes[next] < min || bytes[next] > max) break;
        c = (c << 6) | (bytes[next] & 0x3F);
    }
    AppendCodePoint(out, read == lead.length ? c : kReplacement);
    return next;
}

// Runs of ASCII, which is nearly all of a skin, are widened in a tight loop into a buffer
// sized for the worst case (one unit per byte); the rest goes through DecodeUtf8Sequence.
std::wstring DecodeUtf8(const unsigned char* bytes, std::size_t length)
{
    std::size_t i = HasPrefix(bytes, length, "\xEF\xBB\xBF", 3) ? 3 : 0;
    std::wstring text(length - i, L'\0');
    wchar_t* const start = &text[0];
    wchar_t* out = start;
    std::wstring sequence;  // the units of one multi-byte sequence
    while (i < length) {
        while (i < length && bytes[i] < 0x80) *out++ = static_cast<wchar_t>(bytes[i++]);
        if (i == length) break;
        sequence.clear();
        i = DecodeUtf8Sequence(bytes, length, i, sequence);
        for (wchar_t unit : sequence) *out++ = unit;  // never more units than bytes
    }
    text.resize(static_cast<std::size_t>(out - start));
    return text;
}

std::wstring DecodeUtf16(const unsigned char* bytes, std::size_t length)
{
    bool bigEndian = false;
    std::size_t i = 0;
    if (HasPrefix(bytes, length, "\xFF\xFE", 2)) {
        i = 2;
    } else if (HasPrefix(bytes, length, "\xFE\xFF", 2)) {
        bigEndian = true;
        i = 2;
    }
    auto unitAt = [&](std::size_t at) -> char32_t {
        return bigEndian ? (bytes[at] << 8) | bytes[at + 1] : bytes[at] | (bytes[at + 1] << 8);
    };
    std::wstring text;
    text.reserve(length / 2);
    for (; i + 1 < length; i += 2) {
        const char32_t unit = unitAt(i);
        if (!IsSurrogate(unit)) {
            AppendCodePoint(text, unit);
            continue;
        }
        const bool pairs =
            unit < 0xDC00 && i + 3 < length && unitAt(i + 2) >= 0xDC00 && unitAt(i + 2) <= 0xDFFF;
        if (!pairs) {
            AppendCodePoint(text, kReplacement);
            continue;
        }
        AppendCodePoint(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
        i += 2;
    }
    return text;
}

#ifdef _WIN32

// Bytes that are no character of the code page become the code page's default character.
// A block past INT_MAX bytes, beyond what the system converts in one call, gives no text.
std::wstring DecodeAnsi(const unsigned char* bytes, std::size_t length)
{
    if (length == 0 || length > INT_MAX) return {};
    const char* narrow = reinterpret_cast<const char*>(bytes);
    const int narrowLength = static_cast<int>(length);
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, narrow, narrowLength, nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring text(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow, narrowLength, text.data(), wideLength);
    return text;
}

#else

std::wstring DecodeAnsi(const unsigned char* bytes, std::size_t length)
{
    return std::wstring(bytes, bytes + length);
}

#endif

}  // namespace

std::wstring DecodeSkinBytes(const unsigned char* bytes, std::size_t length, SkinEncoding encoding)
{
    if (length == 0) return {};
    if (encoding == SkinEncoding::Utf16) return DecodeUtf16(bytes, length);
    if (encoding == SkinEncoding::Ansi) return DecodeAnsi(bytes, length);
    return DecodeUtf8(bytes, length);
}

}  // namespace SkinUI
