// vfx files: CException, CFileException, CFile, CStdioFile.
#pragma once
#include "vfxstring.h"
#include <stdio.h>

class CException {
public:
    virtual ~CException() {}
    void Delete() { delete this; }
    virtual BOOL GetErrorMessage(char* buf, UINT nMax) const;
    // Shows the error in a message box (through AfxMessageBox).
    int ReportError(UINT nType = MB_OK, UINT nMessageID = 0) const;
};

class CFileException : public CException {
public:
    enum { none = 0, genericException, fileNotFound, badPath, accessDenied, endOfFile, diskFull };
    CFileException(int cause = none, LONG osError = 0, const char* fileName = nullptr)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}
    BOOL GetErrorMessage(char* buf, UINT nMax) const override;
    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

// A C runtime stream. Open returns FALSE on failure; the constructor that
// takes a path throws CFileException (new-allocated) like the reads do.
class CFile {
public:
    enum OpenFlags {
        modeRead = 0x0000, modeWrite = 0x0001, modeReadWrite = 0x0002,
        modeCreate = 0x1000, modeNoTruncate = 0x2000,
        typeText = 0x4000, typeBinary = 0x8000,
        shareDenyNone = 0x0040
    };
    CFile() {}
    virtual ~CFile() { if (m_fp) fclose(m_fp); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual BOOL Open(const char* path, UINT flags, CFileException* pError = nullptr);
    virtual void Close();
    bool IsOpen() const { return m_fp != nullptr; }
    UINT Read(void* buf, UINT n);
    void Write(const void* buf, UINT n);
protected:
    FILE* m_fp = nullptr;
    CString m_strFileName;
};

class CStdioFile : public CFile {
public:
    CStdioFile() {}
    CStdioFile(const char* path, UINT flags);   // throws CFileException*
    BOOL Open(const char* path, UINT flags, CFileException* pError = nullptr) override;
    // Reads at most nMax - 1 characters up to and including a line feed;
    // NULL at the end of the file. Throws CFileException* on a read error.
    char* ReadString(char* buf, UINT nMax);
    // Reads one whole line without its line break; FALSE at the end.
    BOOL ReadString(CString& line);
    void WriteString(const char* psz);
};

// Whole files, through the system's file calls (so the sharing is the
// system's: others may read and write the file meanwhile).
//   AfxWriteWholeFile    the bytes over the file in place (made when
//                        missing); TRUE when the disk took them all
//   AfxReadWholeFile     a file of at most nMax bytes; FALSE when it cannot
//                        be read or is longer
//   AfxReplaceWholeFile  the bytes written beside the file (its path with
//                        ".tmp"), read back, and moved into its place in one
//                        step: a crash, a kill or a full disk meanwhile
//                        leaves the old file as it was. pfnMove (NULL:
//                        MoveFileExA replacing) is where tests stop a save.
BOOL AfxWriteWholeFile(const char* pszPath, const void* pData, DWORD nBytes);
BOOL AfxReadWholeFile(const char* pszPath, CString& data, DWORD nMax);
enum AfxReplaceResult {
    AFX_FILE_REPLACED,
    AFX_FILE_NOT_WRITTEN,    // the file beside it could not be made or read back whole
    AFX_FILE_NOT_REPLACED,   // it was, but could not take the old one's place
};
AfxReplaceResult AfxReplaceWholeFile(const char* pszPath, const void* pData, DWORD nBytes,
                                     BOOL (*pfnMove)(const char* pszFrom, const char* pszTo) = nullptr);
