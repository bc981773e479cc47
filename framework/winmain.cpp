// The process entry point of a vfx program.
#include "vfxapp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return AfxWinMain(hInstance);
}

// What runs when an exception finds no handler: the process ends at once.
// The C++ library's own handler describes the exception on a console this
// program does not have, and brings the whole name demangler along; this
// definition stands in for it at the link.
#include <cstdlib>
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}
