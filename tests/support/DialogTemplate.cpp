#include "support/DialogTemplate.h"

void DialogTemplate::Text(const char* s)
{
    for (; *s; ++s) m_words.push_back((BYTE)*s);
    m_words.push_back(0);
}

void DialogTemplate::Align()
{
    if (m_words.size() % 2) m_words.push_back(0);
}

static void PushDword(std::vector<WORD>& w, DWORD d)
{
    w.push_back(LOWORD(d));
    w.push_back(HIWORD(d));
}

DialogTemplate::DialogTemplate(const char* caption, short cx, short cy, DWORD style)
{
    PushDword(m_words, style | DS_SETFONT);
    PushDword(m_words, 0);
    m_words.push_back(0);                        // item count, counted by Add
    for (short v : { (short)0, (short)0, cx, cy }) m_words.push_back((WORD)v);
    m_words.push_back(0);                        // no menu
    m_words.push_back(0);                        // the dialog class
    Text(caption);
    m_words.push_back(8);
    Text("MS Shell Dlg");
}

DialogTemplate& DialogTemplate::Add(Kind kind, int id, const char* text, short x, short y, short cx,
                                    short cy, DWORD style)
{
    Align();
    PushDword(m_words, style | WS_CHILD | WS_VISIBLE);
    PushDword(m_words, 0);
    for (short v : { x, y, cx, cy }) m_words.push_back((WORD)v);
    m_words.push_back((WORD)id);
    m_words.push_back(0xFFFF);
    m_words.push_back(kind);
    Text(text);
    m_words.push_back(0);                        // no creation data
    ++m_words[4];
    return *this;
}
