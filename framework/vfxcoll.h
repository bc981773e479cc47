// vfx collections: CMapStringToString.
#pragma once
#include "vfxstring.h"
#include <map>

typedef void* POSITION;

// String-to-string map with exact, case-sensitive keys.
class CMapStringToString {
public:
    explicit CMapStringToString(int nBlockSize = 10) { (void)nBlockSize; }
    int GetCount() const { return (int)m_map.size(); }
    int GetSize() const { return (int)m_map.size(); }
    bool IsEmpty() const { return m_map.empty(); }
    BOOL Lookup(const char* key, CString& rValue) const;
    const CString* PLookup(const char* key) const;
    void SetAt(const char* key, const char* value) { m_map[CString(key)] = CString(value); }
    CString& operator[](const char* key) { return m_map[CString(key)]; }
    BOOL RemoveKey(const char* key) { return m_map.erase(CString(key)) > 0; }
    void RemoveAll() { m_map.clear(); }
    // Iteration: pos = GetStartPosition(); while (pos) GetNextAssoc(pos, k, v);
    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& pos, CString& rKey, CString& rValue) const;
private:
    std::map<CString, CString> m_map;
};
