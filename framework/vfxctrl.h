// vfx controls: CStatic, CButton.
//
// Thin views of the system's control classes: a dialog binds one to its
// control with SubclassDlgItem; every method is one message to the control.
#pragma once
#include "vfxwnd.h"

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON hIcon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)SendMessage(STM_GETICON); }
};

class CButton : public CWnd {
public:
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, (WPARAM)nCheck); }
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    void SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, (WPARAM)bHighlight); }
    // Sends the click the user would make (BN_CLICKED to the parent).
    void Click() { SendMessage(BM_CLICK); }
};
