// The settings sheet's Tracking page: which activity counts, what the idle
// time does to the counter, and whether a screen lock waits for idle input.
#pragma once
#include "vfx.h"
#include "ui/SettingsSheet.h"

class CAdvancedPage : public CPageWithHelp {
public:
    CAdvancedPage();
    ~CAdvancedPage() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    // Shows the explanation or the missing-library note and enables the idle
    // and lock controls from the activity sources on offer.
    void UpdateControls();
    void OnControlChanged();
    void OnLockDelayChanged();

    CButton m_btnTrackMouseMove;
    CSpinButtonCtrl m_spinPauseDelay;
    CButton m_btnTrackMouse;
    CButton m_btnTrackKeyboard;
    CEdit m_editPauseDelay;
    int m_nPauseDelay;
    int m_bTrackKeyboard;
    int m_bTrackMouse;
    CSpinButtonCtrl m_spinLockDelay;
    CButton m_btnLockOnInactivity;
    int m_nLockDelay;
    int m_bLockOnInactivity;
    int m_bTrackMouseMove;
    // Set when OnInitDialog has finished: the texts that the first exchange
    // and the translation put into the edits are no change of the user's.
    bool m_bReady = false;
    DECLARE_MESSAGE_MAP()
};
