// CChildView: the empty client view of the hidden main frame.
#pragma once
#include "vfx.h"

class CChildView : public CWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
