#include "vfxcoll.h"

BOOL CMapStringToString::Lookup(const char* key, CString& rValue) const
{
    auto it = m_map.find(CString(key));
    if (it == m_map.end()) return FALSE;
    rValue = it->second;
    return TRUE;
}

const CString* CMapStringToString::PLookup(const char* key) const
{
    auto it = m_map.find(CString(key));
    return it == m_map.end() ? nullptr : &it->second;
}

// A position is the 1-based index of the next entry.
POSITION CMapStringToString::GetStartPosition() const
{
    return m_map.empty() ? nullptr : (POSITION)(INT_PTR)1;
}

void CMapStringToString::GetNextAssoc(POSITION& pos, CString& rKey, CString& rValue) const
{
    INT_PTR i = (INT_PTR)pos - 1;
    auto it = m_map.begin();
    std::advance(it, i);
    rKey = it->first;
    rValue = it->second;
    pos = (i + 1 < (INT_PTR)m_map.size()) ? (POSITION)(i + 2) : nullptr;
}
