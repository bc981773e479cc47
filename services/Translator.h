// CTranslator: English texts to the texts of the chosen language.
#pragma once
#include "vfx.h"

class CTranslator {
public:
    CTranslator();
    virtual ~CTranslator() {}
    BOOL SetDirectory(const char* pszDirectory);
    BOOL Load(const char* pszLanguage);
    BOOL LoadDefault();
    CString Translate(const char* pszText) const;
    BOOL TranslateWindow(CWindow wnd);
    BOOL TranslateWindow(CWnd* pWnd) { return pWnd ? TranslateWindow(CWindow(pWnd->m_hWnd)) : TRUE; }
    BOOL TranslateMenu(CMenu* pMenu);
    // One line of a language file (without further reading).
    void ParseLine(const char* line);

    CMapStringToString m_map;
    CString m_strExtension;
    CString m_strDirectory;
    CString m_strLanguage;
};

extern CTranslator g_translator;

// TRUE when the path exists and is not a folder.
BOOL FileExists(const char* pszPath);

// printf with the translated pattern of an English pattern, or with the
// English pattern itself when the translation's conversions differ from it.
CString FormatTranslated(const char* pszEnglish, ...);
