// Base64 (standard alphabet, "=" padding) encoder and the decoder with the service's stop rules.
#pragma once

#include <cstddef>
#include <string>

// Encodes count bytes at bytes (which may be null when count is 0) as Base64 text: 4 characters
// per 3 bytes, a last group of 1 or 2 bytes padded with "==" or "=", no line breaks.
std::string base64Encode(const unsigned char* bytes, size_t count);

// Decodes text into bytes (held in the returned string). Reading stops at the first "=" and at
// the first character outside A-Z, a-z, 0-9, "+" and "/" (whitespace included); the rest is
// ignored. A last incomplete group of r characters gives r - 1 bytes, so one leftover character
// gives nothing. Never fails: text with nothing decodable gives an empty string.
std::string base64Decode(const std::string& text);
