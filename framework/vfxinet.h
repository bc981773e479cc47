// vfx internet: CInternetException, CInternetSession, CInternetFile.
//
// A thin layer over WinINet for reading a web address. Failures are thrown
// as new-allocated CInternetException pointers (catch, then Delete()).
#pragma once
#include "vfxfile.h"
#include <wininet.h>

class CInternetException : public CException {
public:
    explicit CInternetException(DWORD dwError, DWORD_PTR dwContext = 0)
        : m_dwError(dwError), m_dwContext(dwContext) {}
    // The system's text for the error (WinINet's own texts included), or
    // its number when the system has none.
    BOOL GetErrorMessage(char* buf, UINT nMax) const override;
    DWORD m_dwError;
    DWORD_PTR m_dwContext;
};

// Throws a new CInternetException for dwError, or for the thread's last
// error when dwError is 0.
[[noreturn]] void AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError = 0);

// An open request: the answer is read from it. Closed by its destructor.
class CInternetFile {
public:
    CInternetFile(HINTERNET hFile, const char* pszUrl, DWORD_PTR dwContext)
        : m_hFile(hFile), m_strUrl(pszUrl), m_dwContext(dwContext) {}
    virtual ~CInternetFile() { Close(); }
    CInternetFile(const CInternetFile&) = delete;
    CInternetFile& operator=(const CInternetFile&) = delete;

    void Close();
    // Reads up to n bytes; 0 at the end of the answer. Throws on an error.
    UINT Read(void* buf, UINT n);
    // Reads at most nMax - 1 characters up to and including a line feed and
    // terminates them; NULL at the end of the answer. Throws on an error.
    char* ReadString(char* buf, UINT nMax);

    HINTERNET m_hFile;
    CString m_strUrl;
    DWORD_PTR m_dwContext;

private:
    BYTE m_buf[1024];
    UINT m_nPos = 0, m_nLen = 0;
};

class CInternetSession {
public:
    // InternetOpen; throws CInternetException* when it fails.
    explicit CInternetSession(const char* pszAgent = nullptr, DWORD_PTR dwContext = 1,
                              DWORD dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG, const char* pszProxyName = nullptr,
                              const char* pszProxyBypass = nullptr, DWORD dwFlags = 0);
    virtual ~CInternetSession() { Close(); }
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    void Close();
    // Sends the request for an http or https address: a new CInternetFile
    // that the caller deletes; NULL for any other kind of address. Throws
    // CInternetException* when the request fails.
    CInternetFile* OpenURL(const char* pszUrl, DWORD_PTR dwContext = 1, DWORD dwFlags = INTERNET_FLAG_TRANSFER_ASCII,
                           const char* pszHeaders = nullptr, DWORD dwHeadersLength = 0);

    HINTERNET m_hSession = nullptr;
    DWORD_PTR m_dwContext;
};
