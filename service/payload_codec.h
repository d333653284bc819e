// The install service's payload form: AES-128-CBC with the built-in key and initialisation
// vector, PKCS#7 padding, Base64 text. Both wrappers keep no state and may run on any thread.
#pragma once

#include <string>

// Pads text (1 to 16 bytes of PKCS#7), encrypts it from the initialisation vector afresh and
// returns the Base64 text of the ciphertext. Equal texts always give equal results.
std::string encryptPayload(const std::string& text);

// Undoes encryptPayload. Never fails: an input that decodes to nothing or to a length that is
// not a whole number of 16-byte blocks gives the empty text. The padding check is lenient: a
// last byte p from 1 to the decrypted length strips p trailing bytes equal to p, and any
// mismatch among them gives the empty text; a last byte of 0 or 0x80 to 0xFF leaves the bytes
// as they are. The result ends before the first 0 byte of the plaintext.
std::string decryptPayload(const std::string& base64Text);
