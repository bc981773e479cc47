#include "vfxstring.h"
#include "vfxapp.h"
#include <limits.h>
#include <new>
#include <stdio.h>
#include <ctype.h>
#include <utility>

// The first occurrence of pat (n > 0 characters) in [from, end), or NULL.
static const char* Search(const char* from, const char* end, const char* pat, int n)
{
    for (const char* q = from; end - q >= n; ++q) {
        q = (const char*)memchr(q, pat[0], (size_t)(end - q - n + 1));
        if (!q) break;
        if (memcmp(q, pat, (size_t)n) == 0) return q;
    }
    return nullptr;
}

// a + b characters, failing as an allocation would beyond what int counts.
static int Sum(int a, long long b)
{
    if (a + b > INT_MAX - 1) throw std::bad_alloc();
    return (int)(a + b);
}

CString::CString(char ch, int nRepeat)
{
    if (nRepeat <= 0) return;
    Reserve(nRepeat);
    memset(m_p, ch, (size_t)nRepeat);
    SetLength(nRepeat);
}

CString& CString::operator=(CString&& s) noexcept
{
    if (this != &s) {
        delete[] m_p;
        m_p = s.m_p;
        m_n = s.m_n;
        m_cap = s.m_cap;
        s.Forget();
    }
    return *this;
}

bool operator<(const CString& a, const CString& b)
{
    int n = a.m_n < b.m_n ? a.m_n : b.m_n;
    int c = n ? memcmp(a.m_p, b.m_p, (size_t)n) : 0;
    return c < 0 || (c == 0 && a.m_n < b.m_n);
}

void CString::Reserve(int n)
{
    if (m_p && n <= m_cap) return;
    char* q = new char[(size_t)n + 1];
    if (m_n) memcpy(q, m_p, (size_t)m_n);
    q[m_n] = '\0';
    delete[] m_p;
    m_p = q;
    m_cap = n;
}

void CString::Assign(const char* p, int n)
{
    if (n > m_cap) {
        // The old buffer may hold p: fill the new one before freeing it.
        char* q = new char[(size_t)n + 1];
        memcpy(q, p, (size_t)n);
        delete[] m_p;
        m_p = q;
        m_cap = n;
    } else if (n) {
        memmove(m_p, p, (size_t)n);
    }
    SetLength(n);
}

void CString::Append(const char* p, int n)
{
    if (n <= 0) return;
    int need = Sum(m_n, n);
    if (need > m_cap) {
        // Doubling keeps a run of appends linear; p may be in the old buffer.
        int cap = m_cap <= (INT_MAX - 1) / 2 && 2 * m_cap > need ? 2 * m_cap : need;
        if (cap < 15) cap = 15;
        char* q = new char[(size_t)cap + 1];
        if (m_n) memcpy(q, m_p, (size_t)m_n);
        memcpy(q + m_n, p, (size_t)n);
        delete[] m_p;
        m_p = q;
        m_cap = cap;
    } else {
        memmove(m_p + m_n, p, (size_t)n);
    }
    SetLength(need);
}

CString CString::Concat(const char* a, int na, const char* b, int nb)
{
    CString r;
    r.Reserve(Sum(na, nb));
    if (na) memcpy(r.m_p, a, (size_t)na);
    if (nb) memcpy(r.m_p + na, b, (size_t)nb);
    r.SetLength(na + nb);
    return r;
}

CString CString::Left(int n) const
{
    if (n <= 0) return CString();
    return CString(m_p, n < m_n ? n : m_n);
}

CString CString::Right(int n) const
{
    if (n <= 0) return CString();
    if (n >= m_n) return *this;
    return CString(m_p + m_n - n, n);
}

CString CString::Mid(int first) const
{
    if (first < 0) first = 0;
    if (first >= m_n) return CString();
    return CString(m_p + first, m_n - first);
}

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (count <= 0 || first >= m_n) return CString();
    int avail = m_n - first;
    return CString(m_p + first, count < avail ? count : avail);
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || start >= m_n) return -1;
    const char* q = (const char*)memchr(m_p + start, ch, (size_t)(m_n - start));
    return q ? (int)(q - m_p) : -1;
}

int CString::Find(const char* psz, int start) const
{
    if (!psz || start < 0 || start > m_n) return -1;
    if (!*psz) return start;
    const char* q = Search(m_p + start, m_p + m_n, psz, Len(psz));
    return q ? (int)(q - m_p) : -1;
}

int CString::ReverseFind(char ch) const
{
    for (int i = m_n - 1; i >= 0; --i)
        if (m_p[i] == ch) return i;
    return -1;
}

int CString::Replace(const char* pszOld, const char* pszNew)
{
    if (!pszOld || !*pszOld) return 0;
    // Either text may lie in this string: the result is built apart from it.
    const int nOld = Len(pszOld), nNew = pszNew ? Len(pszNew) : 0;
    const char* end = m_p + m_n;
    int count = 0;
    for (const char* q = m_p; (q = Search(q, end, pszOld, nOld)) != nullptr; q += nOld) ++count;
    if (!count) return 0;
    CString out;
    const int n = Sum(m_n, (long long)count * (nNew - nOld));
    out.Reserve(n);
    char* w = out.m_p;
    const char* r = m_p;
    for (const char* q; (q = Search(r, end, pszOld, nOld)) != nullptr; r = q + nOld) {
        memcpy(w, r, (size_t)(q - r));
        w += q - r;
        if (nNew) memcpy(w, pszNew, (size_t)nNew);
        w += nNew;
    }
    memcpy(w, r, (size_t)(end - r));
    out.SetLength(n);
    *this = std::move(out);
    return count;
}

int CString::Replace(char chOld, char chNew)
{
    int count = 0;
    for (int i = 0; i < m_n; ++i)
        if (m_p[i] == chOld) { m_p[i] = chNew; ++count; }
    return count;
}

CString& CString::MakeLower()
{
    if (m_n) CharLowerBuffA(m_p, (DWORD)m_n);
    return *this;
}

CString& CString::MakeUpper()
{
    if (m_n) CharUpperBuffA(m_p, (DWORD)m_n);
    return *this;
}

CString& CString::TrimLeft()
{
    int i = 0;
    while (i < m_n && isspace((unsigned char)m_p[i])) ++i;
    if (i) {
        memmove(m_p, m_p + i, (size_t)(m_n - i));
        SetLength(m_n - i);
    }
    return *this;
}

CString& CString::TrimRight()
{
    int n = m_n;
    while (n > 0 && isspace((unsigned char)m_p[n - 1])) --n;
    SetLength(n);
    return *this;
}

CString& CString::Trim() { TrimRight(); return TrimLeft(); }

void CString::FormatV(const char* pszFormat, va_list args)
{
    if (!pszFormat) { Empty(); return; }
    // An argument may be this string's own text: format apart from it. Most
    // texts fit the first try.
    char buf[256];
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(buf, sizeof(buf), pszFormat, copy);
    va_end(copy);
    if (n < 0) { Empty(); return; }
    if (n < (int)sizeof(buf)) { Assign(buf, n); return; }
    CString out;
    out.Reserve(n);
    vsnprintf(out.m_p, (size_t)n + 1, pszFormat, args);
    out.SetLength(n);
    *this = std::move(out);
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
    Append(add.m_p, add.m_n);
}

BOOL CString::LoadString(UINT nID)
{
    char buf[1024];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buf, (int)sizeof(buf));
    if (n <= 0) { Empty(); return FALSE; }
    Assign(buf, n);
    return TRUE;
}

char* CString::GetBuffer(int nMinLength)
{
    if (nMinLength < m_n) nMinLength = m_n;
    Reserve(nMinLength);
    // The terminator an API writes after nMinLength characters lands on the
    // string's own terminating byte.
    if (nMinLength > m_n) {
        memset(m_p + m_n, 0, (size_t)(nMinLength - m_n));
        SetLength(nMinLength);
    }
    return m_p;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (!m_p) return;
    if (nNewLength < 0)
        SetLength((int)strnlen(m_p, (size_t)m_n));
    else if (nNewLength <= m_n)
        SetLength(nNewLength);
}

// The next conversion specification of a printf pattern at or after p
// ("%%" skipped): its flags, width, precision and length as [*pSpec,
// *pSpec + *pLen), its conversion letter ('?' when the pattern ends first).
// NULL when there is none.
static const char* NextSpec(const char* p, const char** pSpec, int* pLen, char* pConv)
{
    if (!p) return nullptr;
    while (*p) {
        if (*p != '%') { ++p; continue; }
        ++p;
        if (*p == '%') { ++p; continue; }
        *pSpec = p;
        while (*p && strchr("-+ #0123456789.*hlLqjzt", *p)) ++p;
        *pLen = (int)(p - *pSpec);
        *pConv = *p ? *p++ : '?';
        return p;
    }
    return nullptr;
}

bool FormatSpecsMatch(const char* pszEnglish, const char* pszTranslated)
{
    const char* a = pszEnglish;
    const char* b = pszTranslated;
    for (;;) {
        const char *sa = nullptr, *sb = nullptr;
        int na = 0, nb = 0;
        char ca = 0, cb = 0;
        a = NextSpec(a, &sa, &na, &ca);
        b = NextSpec(b, &sb, &nb, &cb);
        if (!a || !b) return !a && !b;
        if (na != nb || ca != cb || memcmp(sa, sb, (size_t)na) != 0) return false;
    }
}
