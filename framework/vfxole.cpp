#include "vfxole.h"
#include <new>
#include <stdio.h>

AFX_BSTR_ALLOC g_pfnSysAllocStringLen = ::SysAllocStringLen;

BOOL CMemoryException::GetErrorMessage(char* buf, UINT nMax) const
{
    if (!buf || nMax == 0) return FALSE;
    lstrcpynA(buf, "Out of memory.", (int)nMax);
    return TRUE;
}

BOOL COleException::GetErrorMessage(char* buf, UINT nMax) const
{
    if (!buf || nMax == 0) return FALSE;
    snprintf(buf, nMax, "OLE error 0x%08lX.", (unsigned long)m_sc);
    return TRUE;
}

void AfxThrowMemoryException()
{
    throw new CMemoryException;
}

void AfxThrowOleException(SCODE sc)
{
    if (sc == E_OUTOFMEMORY) AfxThrowMemoryException();
    throw new COleException(sc);
}

CComBSTR::CComBSTR(const char* pszAnsi)
{
    if (!pszAnsi) pszAnsi = "";
    int n = ::MultiByteToWideChar(CP_THREAD_ACP, 0, pszAnsi, -1, nullptr, 0);
    if (n <= 0) AfxThrowMemoryException();
    m_str = g_pfnSysAllocStringLen(nullptr, (UINT)(n - 1));
    if (!m_str) AfxThrowMemoryException();
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, pszAnsi, -1, m_str, n);
}

CComBSTR::CComBSTR(const CComBSTR& other)
{
    if (other.m_str) {
        m_str = g_pfnSysAllocStringLen(other.m_str, other.Length());
        if (!m_str) AfxThrowMemoryException();
    }
}

CComBSTR& CComBSTR::operator=(const CComBSTR& other)
{
    if (this != &other) {
        CComBSTR copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CComBSTR& CComBSTR::operator=(CComBSTR&& other) noexcept
{
    if (this != &other) {
        ::SysFreeString(m_str);
        m_str = other.m_str;
        other.m_str = nullptr;
    }
    return *this;
}

bool CComBSTR::Equal(BSTR a, BSTR b)
{
    UINT na = ::SysStringLen(a), nb = ::SysStringLen(b);
    return na == nb && (na == 0 || memcmp(a, b, na * sizeof(OLECHAR)) == 0);
}

CString CComBSTR::ToAnsi(BSTR b)
{
    int nw = (int)::SysStringLen(b);
    if (nw == 0) return CString();
    int n = ::WideCharToMultiByte(CP_THREAD_ACP, 0, b, nw, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return CString();
    CString s;
    char* p = s.GetBuffer(n + 1);
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, b, nw, p, n, nullptr, nullptr);
    s.ReleaseBuffer(n);
    return s;
}

CComVariant::CComVariant(const char* pszAnsi)
{
    ::VariantInit(this);
    CComBSTR b(pszAnsi);
    vt = VT_BSTR;
    bstrVal = b.m_str;
    b.m_str = nullptr;
}
