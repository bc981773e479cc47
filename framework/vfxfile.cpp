#include "vfxfile.h"
#include "vfxapp.h"
#include <errno.h>

BOOL CException::GetErrorMessage(char* buf, UINT nMax) const
{
    if (buf && nMax) lstrcpynA(buf, "An unknown error occurred.", (int)nMax);
    return TRUE;
}

int CException::ReportError(UINT nType, UINT nMessageID) const
{
    char buf[512];
    if (!GetErrorMessage(buf, sizeof(buf))) {
        CString s;
        if (nMessageID) s.LoadString(nMessageID);
        lstrcpynA(buf, s.IsEmpty() ? "An unknown error occurred." : (const char*)s, sizeof(buf));
    }
    return AfxMessageBox(buf, nType);
}

BOOL CFileException::GetErrorMessage(char* buf, UINT nMax) const
{
    if (!buf || !nMax) return FALSE;
    const char* what = "An unexpected file error occurred";
    switch (m_cause) {
    case fileNotFound: what = "was not found"; break;
    case badPath: what = "contains an invalid path"; break;
    case accessDenied: what = "could not be accessed"; break;
    case endOfFile: what = "ended unexpectedly"; break;
    case diskFull: what = "could not be written: the disk is full"; break;
    default: break;
    }
    CString s;
    if (m_cause == genericException || m_cause == none)
        s.Format("An error occurred while accessing %s.", m_strFileName.IsEmpty() ? "a file" : (const char*)m_strFileName);
    else
        s.Format("%s %s.", m_strFileName.IsEmpty() ? "A file" : (const char*)m_strFileName, what);
    lstrcpynA(buf, s, (int)nMax);
    return TRUE;
}

static int CauseFromErrno(int e)
{
    switch (e) {
    case ENOENT: return CFileException::fileNotFound;
    case EACCES: return CFileException::accessDenied;
    case EINVAL: return CFileException::badPath;
    case ENOSPC: return CFileException::diskFull;
    default: return CFileException::genericException;
    }
}

static const char* ModeString(UINT flags, bool text)
{
    bool write = (flags & (CFile::modeWrite | CFile::modeReadWrite)) != 0;
    bool create = (flags & CFile::modeCreate) != 0;
    bool keep = (flags & CFile::modeNoTruncate) != 0;
    if (!write) return text ? "rt" : "rb";
    if (flags & CFile::modeReadWrite) {
        if (create && !keep) return text ? "w+t" : "w+b";
        return text ? "r+t" : "r+b";
    }
    if (create && keep) return text ? "at" : "ab";
    return text ? "wt" : "wb";
}

BOOL CFile::Open(const char* path, UINT flags, CFileException* pError)
{
    Close();
    if (!path || !*path) {
        if (pError) { pError->m_cause = CFileException::badPath; pError->m_strFileName = path; }
        return FALSE;
    }
    m_fp = fopen(path, ModeString(flags, false));
    if (!m_fp) {
        if (pError) { pError->m_cause = CauseFromErrno(errno); pError->m_lOsError = errno; pError->m_strFileName = path; }
        return FALSE;
    }
    m_strFileName = path;
    return TRUE;
}

void CFile::Close()
{
    if (m_fp) { fclose(m_fp); m_fp = nullptr; }
}

UINT CFile::Read(void* buf, UINT n)
{
    if (!m_fp || !buf || !n) return 0;
    size_t got = fread(buf, 1, n, m_fp);
    if (got < n && ferror(m_fp)) throw new CFileException(CFileException::genericException, errno, m_strFileName);
    return (UINT)got;
}

void CFile::Write(const void* buf, UINT n)
{
    if (!m_fp || !buf || !n) return;
    if (fwrite(buf, 1, n, m_fp) != n) throw new CFileException(CFileException::diskFull, errno, m_strFileName);
}

CStdioFile::CStdioFile(const char* path, UINT flags)
{
    CFileException e;
    if (!Open(path, flags, &e)) throw new CFileException(e);
}

BOOL CStdioFile::Open(const char* path, UINT flags, CFileException* pError)
{
    Close();
    if (!path || !*path) {
        if (pError) { pError->m_cause = CFileException::badPath; pError->m_strFileName = path; }
        return FALSE;
    }
    bool text = (flags & typeBinary) == 0;
    m_fp = fopen(path, ModeString(flags, text));
    if (!m_fp) {
        if (pError) { pError->m_cause = CauseFromErrno(errno); pError->m_lOsError = errno; pError->m_strFileName = path; }
        return FALSE;
    }
    m_strFileName = path;
    return TRUE;
}

char* CStdioFile::ReadString(char* buf, UINT nMax)
{
    if (!m_fp || !buf || nMax < 2) return nullptr;
    char* p = fgets(buf, (int)nMax, m_fp);
    if (!p && ferror(m_fp)) throw new CFileException(CFileException::genericException, errno, m_strFileName);
    return p;
}

BOOL CStdioFile::ReadString(CString& line)
{
    line.Empty();
    char buf[256];
    bool any = false;
    while (ReadString(buf, sizeof(buf))) {
        any = true;
        size_t n = strlen(buf);
        if (n && buf[n - 1] == '\n') {
            buf[--n] = '\0';
            if (n && buf[n - 1] == '\r') buf[--n] = '\0';
            line += buf;
            return TRUE;
        }
        line += buf;
    }
    return any;
}

void CStdioFile::WriteString(const char* psz)
{
    if (!m_fp || !psz) return;
    if (fputs(psz, m_fp) < 0) throw new CFileException(CFileException::diskFull, errno, m_strFileName);
}

BOOL AfxWriteWholeFile(const char* path, const void* data, DWORD bytes)
{
    HANDLE h = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FALSE;
    DWORD written = 0;
    BOOL ok = (bytes == 0 || (::WriteFile(h, data, bytes, &written, nullptr) && written == bytes)) &&
              ::FlushFileBuffers(h);
    return ::CloseHandle(h) && ok;
}

BOOL AfxReadWholeFile(const char* path, CString& data, DWORD nMax)
{
    data.Empty();
    HANDLE h = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FALSE;
    DWORD high = 0, size = ::GetFileSize(h, &high);
    BOOL ok = size != INVALID_FILE_SIZE && high == 0 && size <= nMax;
    if (ok && size) {
        DWORD got = 0;
        char* p = data.GetBuffer((int)size);
        ok = ::ReadFile(h, p, size, &got, nullptr) && got == size;
        data.ReleaseBuffer(ok ? (int)size : 0);
    }
    ::CloseHandle(h);
    return ok;
}

static BOOL MoveReplacing(const char* from, const char* to)
{
    return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

AfxReplaceResult AfxReplaceWholeFile(const char* path, const void* data, DWORD bytes,
                                     BOOL (*pfnMove)(const char*, const char*))
{
    CString temp = CString(path) + ".tmp";
    if (!path || !*path || temp.GetLength() >= MAX_PATH) return AFX_FILE_NOT_WRITTEN;
    // What the disk holds is what counts, not what the writes answered: a
    // disk that ran full may have taken less and said otherwise.
    CString back;
    if (!AfxWriteWholeFile(temp, data, bytes) || !AfxReadWholeFile(temp, back, bytes) ||
        back.GetLength() != (int)bytes || (bytes && memcmp(back.GetString(), data, bytes) != 0)) {
        ::DeleteFileA(temp);
        return AFX_FILE_NOT_WRITTEN;
    }
    // A read-only file is not replaced, as the system's own writes would not
    // change it.
    DWORD attributes = ::GetFileAttributesA(path);
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly || !(pfnMove ? pfnMove : MoveReplacing)(temp, path)) {
        ::DeleteFileA(temp);
        return AFX_FILE_NOT_REPLACED;
    }
    return AFX_FILE_REPLACED;
}
