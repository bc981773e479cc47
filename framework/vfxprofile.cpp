// The INI file of the profile, written by the application itself: a batch of
// values reaches the file in one replacement of the whole file, so that it
// holds either what it held or all of the new values, whatever happens
// during the write, and everything else in it stays as it was.
#include "vfxapp.h"
#include "vfxfile.h"

// A settings file is a few kilobytes; a larger one is not ours to rewrite.
static const DWORD kMaxProfileBytes = 1024 * 1024;

static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text between first and last with the blanks at both ends cut.
static CString Trimmed(const char* first, const char* last)
{
    while (first < last && IsBlank(*first)) ++first;
    while (last > first && IsBlank(last[-1])) --last;
    return CString(first, (int)(last - first));
}

void SetIniValue(CString& text, const char* section, const char* entry, const char* value)
{
    const char* s = text.GetString();
    const int n = text.GetLength();
    int sectionEnd = -1;    // where a new key of the section goes
    int keyLine = -1, keyNext = -1;
    bool inSection = false;
    for (int line = 0; line < n;) {
        int next = line;
        while (next < n && s[next] != '\n') ++next;
        int end = next > line && s[next - 1] == '\r' ? next - 1 : next;
        if (next < n) ++next;
        const char* p = s + line;
        while (p < s + end && IsBlank(*p)) ++p;
        if (p < s + end && *p == '[') {
            if (inSection) break;   // the end of the first section of that name
            const char* close = (const char*)memchr(p, ']', (size_t)(s + end - p));
            inSection = close && Trimmed(p + 1, close).CompareNoCase(section) == 0;
            if (inSection) sectionEnd = next;
        } else if (inSection) {
            const char* eq = (const char*)memchr(p, '=', (size_t)(s + end - p));
            if (eq && Trimmed(p, eq).CompareNoCase(entry) == 0) {
                keyLine = line;
                keyNext = next;
                break;
            }
            if (p < s + end) sectionEnd = next;   // after the section's last line that is not blank
        }
        line = next;
    }
    CString newLine;
    if (value) newLine = CString(entry) + "=" + value + "\r\n";
    if (keyLine >= 0) {
        // The key's line with its line break; a last line without one gets none.
        if (value && keyNext == n && (n == 0 || s[n - 1] != '\n')) newLine = newLine.Left(newLine.GetLength() - 2);
        text = text.Left(keyLine) + newLine + text.Mid(keyNext);
        return;
    }
    if (!value) return;
    if (sectionEnd < 0) {
        // A new section at the end, after a line break of its own.
        if (n > 0 && s[n - 1] != '\n') text += "\r\n";
        text += CString("[") + section + "]\r\n" + newLine;
        return;
    }
    CString before = text.Left(sectionEnd);
    if (!before.IsEmpty() && before[before.GetLength() - 1] != '\n') before += "\r\n";
    text = before + newLine + text.Mid(sectionEnd);
}

namespace {
// The file's text as the editing sees it: its bytes for a file in the
// system's code page; UTF-8 for a file that says it is UTF-8 or UTF-16 by its
// first bytes, into which the program's texts are converted.
enum IniEncoding { INI_ANSI, INI_UTF8, INI_UTF16 };
const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16Mark[] = "\xFF\xFE";

CString Convert(const char* p, int n, UINT fromCodePage, UINT toCodePage)
{
    if (n <= 0) return CString();
    int wide = ::MultiByteToWideChar(fromCodePage, 0, p, n, nullptr, 0);
    std::vector<WCHAR> w((size_t)(wide > 0 ? wide : 1));
    wide = ::MultiByteToWideChar(fromCodePage, 0, p, n, w.data(), wide);
    int bytes = wide > 0 ? ::WideCharToMultiByte(toCodePage, 0, w.data(), wide, nullptr, 0, nullptr, nullptr) : 0;
    CString out;
    if (bytes > 0) {
        ::WideCharToMultiByte(toCodePage, 0, w.data(), wide, out.GetBuffer(bytes), bytes, nullptr, nullptr);
        out.ReleaseBuffer(bytes);
    }
    return out;
}

IniEncoding Decode(const CString& raw, CString& text)
{
    const char* p = raw.GetString();
    int n = raw.GetLength();
    if (n >= 3 && memcmp(p, kUtf8Mark, 3) == 0) {
        text = raw.Mid(3);
        return INI_UTF8;
    }
    if (n >= 2 && memcmp(p, kUtf16Mark, 2) == 0) {
        int chars = (n - 2) / 2;
        int bytes = ::WideCharToMultiByte(CP_UTF8, 0, (const WCHAR*)(p + 2), chars, nullptr, 0, nullptr, nullptr);
        text.Empty();
        if (bytes > 0) {
            ::WideCharToMultiByte(CP_UTF8, 0, (const WCHAR*)(p + 2), chars, text.GetBuffer(bytes), bytes, nullptr, nullptr);
            text.ReleaseBuffer(bytes);
        }
        return INI_UTF16;
    }
    text = raw;
    return INI_ANSI;
}

CString Encode(const CString& text, IniEncoding encoding)
{
    if (encoding == INI_UTF8) return CString(kUtf8Mark) + text;
    if (encoding == INI_ANSI) return text;
    int chars = text.IsEmpty() ? 0 : ::MultiByteToWideChar(CP_UTF8, 0, text, text.GetLength(), nullptr, 0);
    CString out(kUtf16Mark, 2);
    if (chars > 0) {
        char* p = out.GetBuffer(2 + chars * 2);
        ::MultiByteToWideChar(CP_UTF8, 0, text, text.GetLength(), (WCHAR*)(p + 2), chars);
        out.ReleaseBuffer(2 + chars * 2);
    }
    return out;
}

// The file a profile name stands for: a bare name lives in the Windows
// folder, as the system's profile functions have it.
CString ProfilePath(const char* name)
{
    if (!name || !*name) return CString();
    if (strchr(name, '\\') || strchr(name, '/') || strchr(name, ':')) return CString(name);
    char dir[MAX_PATH];
    UINT n = ::GetWindowsDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return CString();
    return CString(dir) + "\\" + name;
}
}

void CWinApp::BeginProfileWrites()
{
    ++m_nProfileBatch;
}

BOOL CWinApp::EndProfileWrites()
{
    if (m_nProfileBatch > 0 && --m_nProfileBatch > 0) return TRUE;
    std::vector<ProfileEdit> edits;
    edits.swap(m_profileEdits);
    if (edits.empty()) return TRUE;
    CString path = ProfilePath(m_pszProfileName);
    if (path.IsEmpty()) return FALSE;
    CString raw;
    // A file that is there but cannot be read whole is left alone.
    if (!AfxReadWholeFile(path, raw, kMaxProfileBytes) && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return FALSE;
    CString text;
    IniEncoding encoding = Decode(raw, text);
    for (const ProfileEdit& e : edits) {
        if (encoding == INI_ANSI) {
            SetIniValue(text, e.section, e.entry, e.remove ? nullptr : e.value.GetString());
            continue;
        }
        CString section = Convert(e.section, e.section.GetLength(), CP_ACP, CP_UTF8);
        CString entry = Convert(e.entry, e.entry.GetLength(), CP_ACP, CP_UTF8);
        CString value = Convert(e.value, e.value.GetLength(), CP_ACP, CP_UTF8);
        SetIniValue(text, section, entry, e.remove ? nullptr : value.GetString());
    }
    CString out = Encode(text, encoding);
    if (out == raw) return TRUE;
    if (AfxReplaceWholeFile(path, out.GetString(), (DWORD)out.GetLength()) != AFX_FILE_REPLACED) return FALSE;
    // The system's profile functions may keep the old file's contents: they
    // read the new file from now on.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
    return TRUE;
}

BOOL CWinApp::WriteIniValue(const char* pszSection, const char* pszEntry, const char* pszValue)
{
    if (!pszSection || !pszEntry) return FALSE;
    ProfileEdit e;
    e.section = pszSection;
    e.entry = pszEntry;
    e.remove = pszValue == nullptr;
    if (pszValue) e.value = pszValue;
    BeginProfileWrites();
    m_profileEdits.push_back(e);
    return EndProfileWrites();
}
