// vfx frames: CFrameWnd.
#pragma once
#include "vfxwnd.h"

class CFrameWnd : public CWnd {
public:
    static const RECT rectDefault;
    CFrameWnd() {}
    BOOL Create(const char* lpszClassName, const char* lpszWindowName,
                DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CWnd* pParentWnd = nullptr, const char* lpszMenuName = nullptr,
                DWORD dwExStyle = 0, void* pContext = nullptr);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // Commands go to the view (the child AFX_IDW_PANE_FIRST), then to the
    // frame's own map, then to the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra) override;
    CWnd* GetActiveView() const;
    void PostNcDestroy() override { delete this; }
    // Popup menus opened by this frame get their items enabled and checked
    // by the update rules; items with no handler at all are disabled.
    BOOL m_bAutoMenuEnable = TRUE;

    void OnClose();
    void OnEndSession(BOOL bEnding);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(HWND hOld);
    void OnInitMenuPopup(HMENU hPopup, UINT nIndex, BOOL bSysMenu);
    DECLARE_MESSAGE_MAP()
};
