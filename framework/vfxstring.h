// vfx strings: CString, CStringArray.
//
// Single-byte strings in the system code page, as the program's texts are.
// A CString owns one heap buffer: its characters, which may include NULs
// (the length is kept, not searched for), then a terminating NUL. An empty
// string that never held text owns no buffer. A failed allocation throws
// std::bad_alloc and leaves the string as it was.
#pragma once
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <vector>

class CString {
public:
    CString() {}
    CString(const char* psz) { Assign(psz, psz ? Len(psz) : 0); }
    CString(const char* p, int n) { Assign(p, p && n > 0 ? n : 0); }
    CString(char ch, int nRepeat = 1);
    CString(const CString& s) { Assign(s.m_p, s.m_n); }
    CString(CString&& s) noexcept : m_p(s.m_p), m_n(s.m_n), m_cap(s.m_cap) { s.Forget(); }
    ~CString() { delete[] m_p; }

    int GetLength() const { return m_n; }
    bool IsEmpty() const { return m_n == 0; }
    void Empty() { SetLength(0); }
    operator const char*() const { return GetString(); }
    const char* GetString() const { return m_p ? m_p : ""; }
    char GetAt(int i) const { return (i >= 0 && i < m_n) ? m_p[i] : '\0'; }
    void SetAt(int i, char ch) { if (i >= 0 && i < m_n) m_p[i] = ch; }
    char operator[](int i) const { return GetAt(i); }

    CString& operator=(const CString& s) { Assign(s.m_p, s.m_n); return *this; }
    CString& operator=(CString&& s) noexcept;
    CString& operator=(const char* psz) { Assign(psz, psz ? Len(psz) : 0); return *this; }
    CString& operator+=(const CString& s) { Append(s.m_p, s.m_n); return *this; }
    CString& operator+=(const char* psz) { if (psz) Append(psz, Len(psz)); return *this; }
    CString& operator+=(char ch) { Append(&ch, 1); return *this; }
    friend CString operator+(const CString& a, const CString& b) { return Concat(a.m_p, a.m_n, b.m_p, b.m_n); }
    friend CString operator+(const CString& a, const char* b) { return Concat(a.m_p, a.m_n, b, b ? Len(b) : 0); }
    friend CString operator+(const char* a, const CString& b) { return Concat(a, a ? Len(a) : 0, b.m_p, b.m_n); }
    friend CString operator+(const CString& a, char b) { return Concat(a.m_p, a.m_n, &b, 1); }
    // Equality and order take every character, embedded NULs too; Compare
    // and CompareNoCase stop at the first NUL, as the C library does.
    friend bool operator==(const CString& a, const CString& b) { return a.Equals(b.m_p, b.m_n); }
    friend bool operator==(const CString& a, const char* b) { return a.Equals(b, b ? Len(b) : 0); }
    friend bool operator==(const char* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b);

    int Compare(const char* psz) const { return strcmp(GetString(), psz ? psz : ""); }
    int CompareNoCase(const char* psz) const { return lstrcmpiA(GetString(), psz ? psz : ""); }

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

    // Direct access for API calls that fill a buffer: room for nMinLength
    // characters and a terminator; the length grows to nMinLength (new
    // characters NUL) until ReleaseBuffer sets it.
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    static int Len(const char* psz) { return (int)strlen(psz); }
    static CString Concat(const char* a, int na, const char* b, int nb);
    void Forget() { m_p = nullptr; m_n = m_cap = 0; }
    // Room for n characters and the terminator; keeps the text.
    void Reserve(int n);
    void SetLength(int n) { m_n = n; if (m_p) m_p[n] = '\0'; }
    // p may point into this string's own buffer.
    void Assign(const char* p, int n);
    void Append(const char* p, int n);
    bool Equals(const char* p, int n) const { return m_n == n && (n == 0 || memcmp(m_p, p, (size_t)n) == 0); }

    char* m_p = nullptr;
    int m_n = 0;      // characters, without the terminator
    int m_cap = 0;    // characters the buffer holds, without the terminator
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
