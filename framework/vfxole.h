// vfx OLE Automation values: CMemoryException, COleException, CComBSTR,
// CSimpleArray, CComVariant.
//
// Texts cross between the program's single-byte strings and BSTRs in the
// thread's code page (CP_THREAD_ACP) both ways. A NULL BSTR is the empty text.
#pragma once
#include "vfxfile.h"
#include <oleauto.h>
#include <vector>

class CMemoryException : public CException {
public:
    BOOL GetErrorMessage(char* buf, UINT nMax) const override;
};

class COleException : public CException {
public:
    explicit COleException(SCODE sc) : m_sc(sc) {}
    BOOL GetErrorMessage(char* buf, UINT nMax) const override;
    SCODE m_sc;
};

// Throws a new-allocated CMemoryException*.
[[noreturn]] void AfxThrowMemoryException();
// Throws CMemoryException* for E_OUTOFMEMORY, else COleException* with sc.
[[noreturn]] void AfxThrowOleException(SCODE sc);

// The allocator behind every CComBSTR (SysAllocStringLen); tests replace it
// to reach the out-of-memory path.
typedef BSTR (WINAPI* AFX_BSTR_ALLOC)(const OLECHAR* p, UINT n);
extern AFX_BSTR_ALLOC g_pfnSysAllocStringLen;

// An owning BSTR.
class CComBSTR {
public:
    CComBSTR() {}
    // From single-byte text; throws CMemoryException* when it cannot be built.
    explicit CComBSTR(const char* pszAnsi);
    CComBSTR(const CComBSTR& other);
    CComBSTR(CComBSTR&& other) noexcept : m_str(other.m_str) { other.m_str = nullptr; }
    CComBSTR& operator=(const CComBSTR& other);
    CComBSTR& operator=(CComBSTR&& other) noexcept;
    ~CComBSTR() { ::SysFreeString(m_str); }

    unsigned Length() const { return ::SysStringLen(m_str); }
    // Equal code unit by code unit (exact, case-sensitive).
    bool operator==(const CComBSTR& other) const { return Equal(m_str, other.m_str); }
    bool operator!=(const CComBSTR& other) const { return !(*this == other); }
    static bool Equal(BSTR a, BSTR b);
    // The text in the thread's code page.
    CString ToAnsi() const { return ToAnsi(m_str); }
    static CString ToAnsi(BSTR b);

    BSTR m_str = nullptr;
};

// A small growable array.
template <class T>
class CSimpleArray {
public:
    int GetSize() const { return (int)m_a.size(); }
    BOOL Add(const T& t) { m_a.push_back(t); return TRUE; }
    BOOL Add(T&& t) { m_a.push_back(std::move(t)); return TRUE; }
    BOOL InsertAt(int i, const T& t)
    {
        if (i < 0 || i > GetSize()) return FALSE;
        m_a.insert(m_a.begin() + i, t);
        return TRUE;
    }
    BOOL RemoveAt(int i)
    {
        if (i < 0 || i >= GetSize()) return FALSE;
        m_a.erase(m_a.begin() + i);
        return TRUE;
    }
    void RemoveAll() { m_a.clear(); }
    int Find(const T& t) const
    {
        for (int i = 0; i < GetSize(); ++i)
            if (m_a[(size_t)i] == t) return i;
        return -1;
    }
    T& operator[](int i) { return m_a[(size_t)i]; }
    const T& operator[](int i) const { return m_a[(size_t)i]; }
private:
    std::vector<T> m_a;
};

// A VARIANT cleared with the object.
class CComVariant : public VARIANT {
public:
    CComVariant() { ::VariantInit(this); }
    explicit CComVariant(int n) { ::VariantInit(this); vt = VT_I4; lVal = n; }
    // A VT_BSTR from single-byte text; throws CMemoryException*.
    explicit CComVariant(const char* pszAnsi);
    ~CComVariant() { ::VariantClear(this); }
    CComVariant(const CComVariant&) = delete;
    CComVariant& operator=(const CComVariant&) = delete;
    HRESULT Clear() { return ::VariantClear(this); }
};
