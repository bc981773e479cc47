// vfx strings: CString, CStringArray.
//
// Single-byte strings in the system code page, as the program's texts are.
// A thin class over std::string with the operations the program uses.
#pragma once
#include <windows.h>
#include <stdarg.h>
#include <string>
#include <vector>

class CString {
public:
    CString() {}
    CString(const char* psz) : m_s(psz ? psz : "") {}
    CString(const char* p, int n) : m_s(p ? p : "", p && n > 0 ? (size_t)n : 0) {}
    CString(char ch, int nRepeat = 1) : m_s(nRepeat > 0 ? (size_t)nRepeat : 0, ch) {}
    CString(const std::string& s) : m_s(s) {}

    int GetLength() const { return (int)m_s.size(); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    operator const char*() const { return m_s.c_str(); }
    const char* GetString() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    char GetAt(int i) const { return (i >= 0 && i < GetLength()) ? m_s[(size_t)i] : '\0'; }
    void SetAt(int i, char ch) { if (i >= 0 && i < GetLength()) m_s[(size_t)i] = ch; }
    char operator[](int i) const { return GetAt(i); }

    CString& operator=(const char* psz) { m_s = psz ? psz : ""; return *this; }
    CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
    CString& operator+=(const char* psz) { if (psz) m_s += psz; return *this; }
    CString& operator+=(char ch) { m_s += ch; return *this; }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
    friend CString operator+(const CString& a, char b) { return CString(a.m_s + b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
    friend bool operator==(const char* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

    int Compare(const char* psz) const { return strcmp(m_s.c_str(), psz ? psz : ""); }
    int CompareNoCase(const char* psz) const { return lstrcmpiA(m_s.c_str(), psz ? psz : ""); }

    CString Left(int n) const;
    CString Right(int n) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    int Find(char ch, int start = 0) const;
    int Find(const char* psz, int start = 0) const;
    int ReverseFind(char ch) const;
    int Replace(const char* pszOld, const char* pszNew);
    int Replace(char chOld, char chNew);
    CString& MakeLower();
    CString& MakeUpper();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();

    // printf-style formatting; the result has no length limit.
    void Format(const char* pszFormat, ...);
    void FormatV(const char* pszFormat, va_list args);
    void AppendFormat(const char* pszFormat, ...);
    // Loads a string resource of the program; FALSE (and empty) when missing.
    BOOL LoadString(UINT nID);

    // Direct access for API calls that fill a buffer.
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::string m_s;
};

class CStringArray {
public:
    int GetSize() const { return (int)m_a.size(); }
    int GetCount() const { return (int)m_a.size(); }
    int Add(const CString& s) { m_a.push_back(s); return (int)m_a.size() - 1; }
    const CString& GetAt(int i) const { return m_a[(size_t)i]; }
    CString& ElementAt(int i) { return m_a[(size_t)i]; }
    const CString& operator[](int i) const { return m_a[(size_t)i]; }
    CString& operator[](int i) { return m_a[(size_t)i]; }
    void RemoveAll() { m_a.clear(); }
    void RemoveAt(int i) { if (i >= 0 && i < GetSize()) m_a.erase(m_a.begin() + i); }
private:
    std::vector<CString> m_a;
};

// Formats with a translated pattern only when its conversions are the same,
// in the same order, as the English pattern's; otherwise with the English one.
// Used wherever a translated text serves as a printf pattern.
bool FormatSpecsMatch(const char* pszEnglish, const char* pszTranslated);
