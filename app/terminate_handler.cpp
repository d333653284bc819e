// What ends the installer if an exception is ever left uncaught (its code catches them all):
// the process stops at once, as the C++ runtime's default handler does after it prints the
// exception's demangled type to the standard error stream. This GUI program has no such
// stream, and the default handler brings the runtime's whole name demangler with it (about
// 46 KB of the shipped program); defining the handler here keeps that out of the link.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

}  // namespace __gnu_cxx
