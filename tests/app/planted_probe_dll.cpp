// A DLL that stands for one planted beside the installer by an attacker: it only has to exist.
#include <windows.h>

extern "C" __declspec(dllexport) int plantedProbe()
{
    return 42;
}
