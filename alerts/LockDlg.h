// The screen lock: CLockDlg, the bar across the bottom of the work area
// with Unlock and postpone, and CBlackPainter, the windows that dim every
// other part of every monitor's work area while it is open.
#pragma once
#include "vfx.h"
#include "alerts/AlertBox.h"

// The lock's one-second countdown.
#define TIMER_LOCK_COUNTDOWN ((UINT_PTR)0x10092007)

class CLockDlg : public CDialog {
public:
    explicit CLockDlg(CWnd* pParentWnd = nullptr);
    ~CLockDlg() override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    // Enter never closes the lock.
    void OnOK() override {}
    // Unlock (the cancel button): only while the Unlock button is enabled.
    void OnCancel() override;
    void OnPostpone();
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();
    void OnDestroy();
    // Alt+F4 and the system menu's Close are the cancel button's, no more.
    void OnClose() { OnCancel(); }

    void UpdatePostponeCaption();
    void UpdateCountdownCaption();

    CButton m_btnPostpone;
    CStatic m_stTitle;
    CStatic m_stText;
    CButton m_btnUnlock;
    CFont m_fontText;
    CFont m_fontTitle;
    int m_nCountdown = 0;
    int m_nKind = -1;
    bool m_bUnlockAllowed = false;
    bool m_bUnlockDelayed = false;
    bool m_bPostponeAllowed = false;
    bool m_bSecondPhase = false;
    UINT_PTR m_nTimer = 0;
    // The frame that opened the lock: it hears Unlock and postpone, and is
    // told when the window goes.
    HWND m_hWndFrame = nullptr;
    DECLARE_MESSAGE_MAP()

protected:
    void BindControls();
    // Bar across the bottom of the work area, buttons, dimming windows.
    void PlaceOverWorkArea();
    void PostResult(WPARAM wParam, LPARAM lParam);
};

// A half-transparent black window over part of a screen, owned by the lock.
class CBlackPainter : public CWnd {
public:
    ~CBlackPainter() override;
    void PostNcDestroy() override { delete this; }
    BOOL OnEraseBkgnd(HDC hdc);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);

    // Creates one over rc (screen coordinates), owned by pOwner, and shows
    // it; its window, or NULL when it could not be made.
    static HWND CreateOver(CWnd* pOwner, const RECT& rc);
    // The window class of every dimming window (registered on first use).
    static const char* ClassName();

    // What the screen showed beneath before the window came.
    CScreenSnapshot m_snapshot;
    DECLARE_MESSAGE_MAP()
};

