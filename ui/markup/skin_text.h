// The bytes of a skin file as wide text: UTF-8, UTF-16 or the system's ANSI code page, each
// with its byte-order mark dropped.
//
// Wide text is UTF-16 where wchar_t has 16 bits (Windows) and UTF-32 elsewhere, so a
// character outside the basic plane is two code units on Windows and one natively; text
// within the basic plane is the same everywhere.
#pragma once

#include <cstddef>
#include <string>

namespace SkinUI {

// How the bytes of a skin are written; the numbers are the ones callers pass.
enum class SkinEncoding {
    Utf8 = 0,   // a leading EF BB BF mark is dropped
    Utf16 = 1,  // FF FE: little-endian, FE FF: big-endian, the mark dropped; no mark reads as
                // little-endian; an odd last byte is dropped
    Ansi = 2,   // the system's ANSI code page on Windows; Latin-1 elsewhere (tests, fuzzing)
};

// Converts `length` bytes at `bytes` (may be null when `length` is 0) to wide text. Never
// fails: a sequence that is not valid in the encoding (a stray UTF-8 byte, a lone UTF-16
// surrogate) becomes U+FFFD. A NUL byte or unit is kept; it is the markup reader that ends
// the text there.
std::wstring DecodeSkinBytes(const unsigned char* bytes, std::size_t length, SkinEncoding encoding);

}  // namespace SkinUI
