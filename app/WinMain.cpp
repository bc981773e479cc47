// Kestrabel.exe: the application object is the program; the framework's
// entry point runs it. The reference below links the program's globals in.
#include "app/Kestrabel.h"

CVantrelApp* g_pKestrabelApp = &theApp;
