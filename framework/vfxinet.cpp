#include "vfxinet.h"
#include <string.h>

BOOL CInternetException::GetErrorMessage(char* buf, UINT nMax) const
{
    if (!buf || !nMax) return FALSE;
    buf[0] = '\0';
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE hWinInet = ::GetModuleHandleA("wininet.dll");
    if (hWinInet) flags |= FORMAT_MESSAGE_FROM_HMODULE;
    DWORD n = ::FormatMessageA(flags, hWinInet, m_dwError, 0, buf, nMax, nullptr);
    if (n == 0 || n >= nMax) {
        char number[64];
        wsprintfA(number, "Internet error %lu.", (unsigned long)m_dwError);
        lstrcpynA(buf, number, (int)nMax);
    } else {
        buf[n] = '\0';
    }
    return TRUE;
}

void AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError)
{
    if (dwError == 0) dwError = ::GetLastError();
    throw new CInternetException(dwError, dwContext);
}

CInternetSession::CInternetSession(const char* pszAgent, DWORD_PTR dwContext, DWORD dwAccessType,
                                   const char* pszProxyName, const char* pszProxyBypass, DWORD dwFlags)
    : m_dwContext(dwContext)
{
    m_hSession = ::InternetOpenA(pszAgent, dwAccessType, pszProxyName, pszProxyBypass, dwFlags);
    if (!m_hSession) AfxThrowInternetException(dwContext);
}

void CInternetSession::Close()
{
    if (m_hSession) ::InternetCloseHandle(m_hSession);
    m_hSession = nullptr;
}

CInternetFile* CInternetSession::OpenURL(const char* pszUrl, DWORD_PTR dwContext, DWORD dwFlags,
                                         const char* pszHeaders, DWORD dwHeadersLength)
{
    if (!pszUrl || (_strnicmp(pszUrl, "http://", 7) != 0 && _strnicmp(pszUrl, "https://", 8) != 0)) return nullptr;
    if (!m_hSession) AfxThrowInternetException(dwContext, ERROR_INVALID_HANDLE);
    HINTERNET h = ::InternetOpenUrlA(m_hSession, pszUrl, pszHeaders, pszHeaders ? dwHeadersLength : 0, dwFlags,
                                     dwContext);
    if (!h) AfxThrowInternetException(dwContext);
    return new CInternetFile(h, pszUrl, dwContext);
}

void CInternetFile::Close()
{
    if (m_hFile) ::InternetCloseHandle(m_hFile);
    m_hFile = nullptr;
    m_nPos = m_nLen = 0;
}

UINT CInternetFile::Read(void* buf, UINT n)
{
    if (!m_hFile) AfxThrowInternetException(m_dwContext, ERROR_INVALID_HANDLE);
    BYTE* out = (BYTE*)buf;
    UINT got = 0;
    // What ReadString buffered comes first.
    if (m_nPos < m_nLen && n) {
        UINT take = m_nLen - m_nPos < n ? m_nLen - m_nPos : n;
        memcpy(out, m_buf + m_nPos, take);
        m_nPos += take;
        got = take;
    }
    while (got < n) {
        DWORD read = 0;
        if (!::InternetReadFile(m_hFile, out + got, n - got, &read)) AfxThrowInternetException(m_dwContext);
        if (read == 0) break;
        got += read;
    }
    return got;
}

char* CInternetFile::ReadString(char* buf, UINT nMax)
{
    if (!buf || nMax == 0) return nullptr;
    if (!m_hFile) AfxThrowInternetException(m_dwContext, ERROR_INVALID_HANDLE);
    UINT n = 0;
    while (n + 1 < nMax) {
        if (m_nPos == m_nLen) {
            DWORD read = 0;
            if (!::InternetReadFile(m_hFile, m_buf, sizeof(m_buf), &read)) AfxThrowInternetException(m_dwContext);
            m_nPos = 0;
            m_nLen = read;
            if (read == 0) break;
        }
        char ch = (char)m_buf[m_nPos++];
        buf[n++] = ch;
        if (ch == '\n') break;
    }
    buf[n] = '\0';
    return n ? buf : nullptr;
}
