#include "services/Translator.h"
#include <stdarg.h>

CTranslator::CTranslator()
    : m_map(10), m_strExtension(".lang")
{
    char dir[MAX_PATH] = "";
    DWORD n = ::GetCurrentDirectoryA(MAX_PATH, dir);
    if (n > 0 && n < MAX_PATH) m_strDirectory = dir;
}

BOOL FileExists(const char* pszPath)
{
    if (!pszPath) return FALSE;
    DWORD attr = ::GetFileAttributesA(pszPath);
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CTranslator::SetDirectory(const char* pszDirectory)
{
    if (!pszDirectory || !::PathIsDirectoryA(pszDirectory)) return FALSE;
    m_strDirectory = pszDirectory;
    return TRUE;
}

static void Unescape(CString& s)
{
    s.Replace("\\n", "\n");
    s.Replace("\\t", "\t");
}

void CTranslator::ParseLine(const char* line)
{
    CString s(line);
    if (s.GetLength() < 2 || s[0] == '#') return;
    while (s.GetLength() > 2) {
        char last = s[s.GetLength() - 1];
        if (last != '\n' && last != '\r') break;
        s = s.Left(s.GetLength() - 1);
    }
    int eq = s.Find('=');
    if (eq < 0) return;
    CString key = s.Left(eq);
    CString value = s.Mid(eq + 1);
    if (value.IsEmpty()) return;
    Unescape(key);
    Unescape(value);
    m_map.SetAt(key, value);
}

BOOL CTranslator::Load(const char* pszLanguage)
{
    m_strLanguage.Empty();
    m_map.RemoveAll();
    CString name(pszLanguage);
    if (name.IsEmpty() || name.CompareNoCase("English") == 0) return TRUE;

    // Folder, name and extension must fit one path; a longer one counts as
    // a missing file.
    char path[MAX_PATH];
    if (m_strDirectory.GetLength() + name.GetLength() + m_strExtension.GetLength() + 2 > MAX_PATH - 1)
        return FALSE;
    if (!::PathCombineA(path, m_strDirectory, name)) return FALSE;
    CString file = CString(path) + m_strExtension;
    if (file.GetLength() >= MAX_PATH || !FileExists(file)) return FALSE;

    try {
        CStdioFile f(file, CFile::modeRead | CFile::typeText);
        char buf[512];
        while (f.ReadString(buf, sizeof(buf)))
            ParseLine(buf);
        f.Close();
    } catch (CFileException* e) {
        e->ReportError(MB_OK);
        e->Delete();
        return FALSE;
    }
    m_strLanguage = name;
    return TRUE;
}

BOOL CTranslator::LoadDefault()
{
    char name[MAX_PATH] = "";
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, name, MAX_PATH) <= 0) name[0] = '\0';
    name[MAX_PATH - 1] = '\0';
    return Load(name);
}

CString CTranslator::Translate(const char* pszText) const
{
    CString value;
    if (m_map.Lookup(pszText ? pszText : "", value)) return value;
    return CString(pszText);
}

static BOOL CALLBACK TranslateChild(HWND hWnd, LPARAM lParam)
{
    CTranslator* t = (CTranslator*)lParam;
    if (!t) return FALSE;
    char text[512];
    int n = ::GetWindowTextA(hWnd, text, (int)sizeof(text));
    if (n <= 0) return TRUE;
    text[sizeof(text) - 1] = '\0';
    CString value;
    if (t->m_map.Lookup(text, value)) ::SetWindowTextA(hWnd, value);
    return TRUE;
}

BOOL CTranslator::TranslateWindow(CWindow wnd)
{
    if (!wnd.m_hWnd) return TRUE;
    CString text, value;
    wnd.GetWindowText(text);
    if (m_map.Lookup(text, value)) wnd.SetWindowText(value);
    ::EnumChildWindows(wnd.m_hWnd, TranslateChild, (LPARAM)this);
    return TRUE;
}

BOOL CTranslator::TranslateMenu(CMenu* pMenu)
{
    if (!pMenu || !pMenu->m_hMenu) return TRUE;
    for (int i = pMenu->GetMenuItemCount() - 1; i >= 0; --i) {
        if (CMenu* sub = pMenu->GetSubMenu(i)) {
            TranslateMenu(sub);
            continue;
        }
        CString text, value;
        pMenu->GetMenuString((UINT)i, text, MF_BYPOSITION);
        // Only the text changes: the id, the default item and the check
        // and grey states stay as they are.
        if (!text.IsEmpty() && m_map.Lookup(text, value))
            pMenu->SetMenuItemText((UINT)i, value, TRUE);
    }
    return TRUE;
}

CString FormatTranslated(const char* pszEnglish, ...)
{
    CString pattern = g_translator.Translate(pszEnglish);
    if (!FormatSpecsMatch(pszEnglish, pattern)) pattern = pszEnglish;
    CString result;
    va_list args;
    va_start(args, pszEnglish);
    result.FormatV(pattern, args);
    va_end(args);
    return result;
}
