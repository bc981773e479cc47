// Small helpers over the shell and the system: the program's version text
// and the box that shows the system's text for the last error.
#pragma once
#include "vfx.h"

// The program's own file version ("3.1.0.0"), "2.X.X.X" when it cannot be read.
CString GetProgramVersion();
// The file version of any file: the "FileVersion" text of its US English
// string block without blanks and tabs, commas made dots; "2.X.X.X" when
// the file has none.
CString GetFileVersionText(const char* pszPath);

// A message box without owner, caption "Kestrabel": the caller's text and
// ":\n" (when the text is not empty), then the system's text for the thread's
// last error, or its number when the system has no text for it.
void ShowLastError(const char* pszText, UINT nFlags);
