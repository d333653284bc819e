// Opening the service's agreement and privacy addresses in the user's browser.
#pragma once

#include <string>

// True for an "http://" or "https://" address (scheme in any letter case) that holds no
// space, control character or double quote: such a character never belongs in an address
// and would let the text break out of the browser's command line.
bool isWebAddress(const std::string& address);

// Hands a web address (UTF-8) to the user's default browser through the shell's "open" verb,
// with no owner window. Anything else is ignored, since the shell would run a program or
// open a file named by the text. Nothing is reported either way.
void openWebAddress(const std::string& address);
