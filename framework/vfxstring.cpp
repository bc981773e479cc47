#include "vfxstring.h"
#include "vfxapp.h"
#include <stdio.h>
#include <string.h>
#include <ctype.h>

CString CString::Left(int n) const
{
    if (n <= 0) return CString();
    return CString(m_s.substr(0, (size_t)n));
}

CString CString::Right(int n) const
{
    if (n <= 0) return CString();
    if (n >= GetLength()) return *this;
    return CString(m_s.substr(m_s.size() - (size_t)n));
}

CString CString::Mid(int first) const
{
    if (first < 0) first = 0;
    if (first >= GetLength()) return CString();
    return CString(m_s.substr((size_t)first));
}

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (count <= 0 || first >= GetLength()) return CString();
    return CString(m_s.substr((size_t)first, (size_t)count));
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || start >= GetLength()) return -1;
    size_t p = m_s.find(ch, (size_t)start);
    return p == std::string::npos ? -1 : (int)p;
}

int CString::Find(const char* psz, int start) const
{
    if (!psz || start < 0 || start > GetLength()) return -1;
    size_t p = m_s.find(psz, (size_t)start);
    return p == std::string::npos ? -1 : (int)p;
}

int CString::ReverseFind(char ch) const
{
    size_t p = m_s.rfind(ch);
    return p == std::string::npos ? -1 : (int)p;
}

int CString::Replace(const char* pszOld, const char* pszNew)
{
    if (!pszOld || !*pszOld) return 0;
    std::string from(pszOld), to(pszNew ? pszNew : "");
    int count = 0;
    size_t pos = 0;
    while ((pos = m_s.find(from, pos)) != std::string::npos) {
        m_s.replace(pos, from.size(), to);
        pos += to.size();
        ++count;
    }
    return count;
}

int CString::Replace(char chOld, char chNew)
{
    int count = 0;
    for (auto& c : m_s)
        if (c == chOld) { c = chNew; ++count; }
    return count;
}

CString& CString::MakeLower()
{
    if (!m_s.empty()) CharLowerBuffA(&m_s[0], (DWORD)m_s.size());
    return *this;
}

CString& CString::MakeUpper()
{
    if (!m_s.empty()) CharUpperBuffA(&m_s[0], (DWORD)m_s.size());
    return *this;
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_s.size() && isspace((unsigned char)m_s[i])) ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_s.size();
    while (n > 0 && isspace((unsigned char)m_s[n - 1])) --n;
    m_s.resize(n);
    return *this;
}

CString& CString::Trim() { TrimRight(); return TrimLeft(); }

void CString::FormatV(const char* pszFormat, va_list args)
{
    if (!pszFormat) { m_s.clear(); return; }
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) { m_s.clear(); return; }
    std::string out((size_t)n + 1, '\0');
    vsnprintf(&out[0], out.size(), pszFormat, args);
    out.resize((size_t)n);
    m_s.swap(out);
}

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormat(const char* pszFormat, ...)
{
    CString add;
    va_list args;
    va_start(args, pszFormat);
    add.FormatV(pszFormat, args);
    va_end(args);
    m_s += add.m_s;
}

BOOL CString::LoadString(UINT nID)
{
    char buf[1024];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buf, (int)sizeof(buf));
    if (n <= 0) { m_s.clear(); return FALSE; }
    m_s.assign(buf, (size_t)n);
    return TRUE;
}

char* CString::GetBuffer(int nMinLength)
{
    if (nMinLength < 0) nMinLength = 0;
    // The terminator an API writes after nMinLength characters lands on the
    // string's own terminating byte.
    if ((int)m_s.size() < nMinLength) m_s.resize((size_t)nMinLength);
    return &m_s[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0) {
        size_t n = strnlen(m_s.c_str(), m_s.size());
        m_s.resize(n);
    } else if ((size_t)nNewLength <= m_s.size()) {
        m_s.resize((size_t)nNewLength);
    }
}

// The conversion specifications of a printf pattern, each reduced to its
// flags, width, precision, length and conversion letter ("%%" skipped).
static std::vector<std::string> FormatSpecs(const char* p)
{
    std::vector<std::string> specs;
    if (!p) return specs;
    while (*p) {
        if (*p != '%') { ++p; continue; }
        ++p;
        if (*p == '%') { ++p; continue; }
        std::string spec;
        while (*p && strchr("-+ #0123456789.*hlLqjzt", *p)) spec += *p++;
        if (!*p) { specs.push_back(spec + "?"); break; }
        spec += *p++;
        specs.push_back(spec);
    }
    return specs;
}

bool FormatSpecsMatch(const char* pszEnglish, const char* pszTranslated)
{
    return FormatSpecs(pszEnglish) == FormatSpecs(pszTranslated);
}
