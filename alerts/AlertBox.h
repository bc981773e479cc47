// The ordinary alert windows: their base CAlertBox, the slider beside the
// tray (CSmallMsg) and the rounded translucent message window
// (CMessengerDlg); CScreenSnapshot, the screen beneath a window; and the
// texts and text boxes they share with the screen lock.
#pragma once
#include "vfx.h"
#include "app/Messages.h"

// Closes a micro-break's slider or message window after the micro-break.
#define TIMER_ALERT_CLOSE ((UINT_PTR)0x164809)

// The longest alert message shown; a longer one is cut.
const int kMaxAlertText = 1023;
// How the alert messages are laid out: words wrap, a word too long for a
// line is broken, "&" is shown as it is (the message statics have the
// matching styles SS_EDITCONTROL and SS_NOPREFIX).
const UINT kAlertTextFormat = DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;

// What the screen showed under a window before it appeared, so that a
// window that draws itself translucent shows the desktop through it on
// every system (a composing desktop does not hand a window the pixels
// beneath it).
class CScreenSnapshot {
public:
    // Copies the screen's pixels of rc (screen coordinates); FALSE when it cannot.
    BOOL Take(const RECT& rc);
    // Draws the copy with its top-left corner at (x, y); FALSE when there is none.
    BOOL Draw(HDC hdc, int x, int y) const;
    BOOL IsTaken() const { return m_bmp.GetSafeHandle() != nullptr; }
    CBitmap m_bmp;
    SIZE m_size = { 0, 0 };
};

// The window of the frame behind an alert: hWndFrame, or the application's
// main window when none was named; NULL when there is none or when it is
// not a window of this thread.
HWND AlertFrameWindow(HWND hWndFrame);
// Tells the frame behind an alert that the alert's window hWnd is being
// destroyed, so that it forgets the window at once.
void NotifyAlertGone(HWND hWndFrame, HWND hWnd);

// The size a text box needs for text drawn with the font selected into hdc
// and format (DT_WORDBREAK...): box itself when the text fits; else first
// taller, up to maxHeight, then wider, up to maxWidth.
SIZE FitTextBox(HDC hdc, const char* text, UINT format, SIZE box, int maxWidth, int maxHeight);

// Drawing and geometry shared by the alert windows and the lock: the
// warning strip along the top of a client area; an icon of the resources
// at a size; a child's rectangle in its parent's client coordinates; the
// work area (the screen when it cannot be read).
void DrawWarningTape(HDC hdc, const RECT& client);
void DrawResourceIcon(HDC hdc, UINT id, int size, int x, int y);
CRect ChildRect(HWND hParent, HWND hChild);
CRect WorkArea();

// The texts of the alerts, translated and bounded: the message window's
// and slider's message, and the balloon's text.
CString GetAlertMessage(int kind);
CString GetBalloonText(int kind);

class CAlertBox : public CDialog {
public:
    CAlertBox(UINT nIDTemplate, CWnd* pParentWnd);
    ~CAlertBox() override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    // Enter, Escape and Alt+F4 close the alert as a click does.
    void OnOK() override { RequestClose(); }
    void OnCancel() override { RequestClose(); }

    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    CString GetMessageText() const;
    void RequestClose();

    int m_nKind = -1;
    UINT_PTR m_nTimer = 0;
    // The frame that opened the alert: asked to close it (it does so only
    // while the alert is its open one), and told when the window goes.
    HWND m_hWndFrame = nullptr;
    DECLARE_MESSAGE_MAP()
};

class CSmallMsg : public CAlertBox {
public:
    explicit CSmallMsg(CWnd* pParentWnd);
    BOOL OnInitDialog() override;
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);

    CStatic m_stMessage;
    CStatic m_stTitle;
    CFont m_fontMessage;
    CFont m_fontTitle;
    RECT m_rcClose = { 0, 0, 0, 0 };
    DWORD m_dwShowFlags = 0;
    DWORD m_dwHideFlags = 0;
    DECLARE_MESSAGE_MAP()

protected:
    void BindControls();
    // Makes the window (and the message) larger when the message needs it.
    void FitMessage();
};

class CMessengerDlg : public CAlertBox {
public:
    explicit CMessengerDlg(CWnd* pParentWnd);
    BOOL OnInitDialog() override;
    void OnKillFocus(HWND hNew);
    void OnPaint();
    BOOL OnEraseBkgnd(HDC hdc);

    // The screen under the window when it appeared.
    CScreenSnapshot m_snapshot;
    DECLARE_MESSAGE_MAP()

protected:
    void BindControls() {}
    // Makes the window taller (and wider) when the message needs it.
    void FitMessage();
};

// The fonts the message window draws with.
void CreateMessengerFonts(CFont& title, CFont& message);
// The message's rectangle in the message window's client area.
RECT MessengerTextRect(const RECT& client, int titleHeight);
