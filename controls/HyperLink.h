// CHyperLink: a static text control turned into a web link (link colours, a
// hand cursor, a tooltip with the target; a click or Space opens it).
#pragma once
#include "vfx.h"

#define HLOPT_UNDERLINE       0x01
#define HLOPT_HOVER_COLOUR    0x02
#define HLOPT_FIT_TO_TEXT     0x04
#define HLOPT_OPEN_ON_PRESS   0x08
#define HLOPT_FOCUS_ON_CLICK  0x10
#define HLOPT_NO_HAND_CURSOR  0x20
#define HLOPT_NO_FOCUS_COLOUR 0x40

const COLORREF kLinkColour = RGB(0, 0, 255);
const COLORREF kVisitedColour = RGB(128, 0, 128);
const COLORREF kFocusColour = RGB(0, 128, 128);
const COLORREF kHoverColour = RGB(255, 0, 0);

// The hand cursor shared by every link; loaded once, never destroyed.
extern HCURSOR g_hHandCursor;
void LoadHandCursor();
// Where LoadHandCursor finds the Windows folder; tests point it elsewhere.
typedef UINT(WINAPI* PFN_GETWINDOWSDIRECTORYA)(LPSTR, UINT);
extern PFN_GETWINDOWSDIRECTORYA g_pfnGetWindowsDirectoryA;

// The text colour of a link in the given state.
COLORREF LinkTextColour(bool hover, bool focus, bool visited, DWORD options);
// What the tooltip shows after a new target: the target before its first
// "?", or the whole target when it has none or starts with one.
CString LinkTipText(const CString& target);
// The window rectangle (parent coordinates) that fits a text of the given
// extent into a static of this style; border is the window size less the
// client size.
RECT FitLinkRect(const RECT& window, SIZE border, SIZE text, DWORD style);
// The explanation of a failed open's shell code.
CString LinkOpenErrorText(int code);

class CHyperLink : public CStatic {
public:
    CHyperLink() {}
    ~CHyperLink() override;

    void SetLinkTarget(const CString& target);
    void SetLinkFont(CFont* pFont);
    void OpenTarget();
    void ShowOpenError(int code);
    void FitToText();
    void ResetTool();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PreSubclassWindow() override;

    int m_bFocus = 0;
    int m_bHover = 0;
    int m_bVisited = 0;
    DWORD m_dwOptions = HLOPT_UNDERLINE | HLOPT_FIT_TO_TEXT | HLOPT_FOCUS_ON_CLICK;
    CString m_strTarget;
    CFont m_font;
    CToolTipCtrl m_toolTip;
    // The left button went down on the link and has not come up since: only
    // such a release opens the target.
    bool m_bPressed = false;

protected:
    HBRUSH CtlColor(HDC hDC, UINT nCtlColor);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnSetFocus(HWND hOld);
    void OnKillFocus(HWND hNew);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT OnNcHitTest(CPoint point);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
