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

// The failure paths of the standard containers. The C++ library keeps all
// its throw helpers in one object, which through std::length_error's message
// brings both of the library's string implementations along (some 80 KB of
// the program). These definitions stand in for the helpers the program's
// containers call, so that object is never linked: a use of any other helper
// fails the link with a duplicate definition rather than growing the program
// unnoticed. A container asked to outgrow the address space is out of memory.
#include <new>
#include <bits/functexcept.h>
namespace std {
void __throw_bad_alloc()
{
    throw bad_alloc();
}
void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}
void __throw_length_error(const char*)
{
    throw bad_alloc();
}
}
