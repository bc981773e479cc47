// Painting the alert windows again and again leaves no GDI object behind:
// the handle table is finite, so a paint that loses one stops drawing
// before the last of 20,000 paints, and the pixels show it.
#include "alerts/AlertTestFrame.h"
#include "alerts/AlertLayout.h"
#include "alerts/LockDlg.h"
#include <string>

namespace {

const int kPaints = 20000;

// Fills the process's GDI handle table but for a few thousand entries while
// it lives (Wine's table holds about 65,000, more than 20,000 paints could
// use up with one lost object each).
class GdiHeadroom {
public:
    explicit GdiHeadroom(size_t free)
    {
        for (HPEN p; m_pens.size() < 200000 && (p = ::CreatePen(PS_SOLID, 1, RGB(1, 2, 3))) != nullptr;)
            m_pens.push_back(p);
        for (size_t i = 0; i < free && !m_pens.empty(); ++i) {
            ::DeleteObject(m_pens.back());
            m_pens.pop_back();
        }
    }
    ~GdiHeadroom()
    {
        for (HPEN p : m_pens) ::DeleteObject(p);
    }
    size_t Taken() const { return m_pens.size(); }
    // How many objects can still be made (counted up to `limit`).
    static size_t Free(size_t limit)
    {
        std::vector<HPEN> probe;
        for (HPEN p; probe.size() < limit && (p = ::CreatePen(PS_SOLID, 1, RGB(3, 2, 1))) != nullptr;)
            probe.push_back(p);
        for (HPEN p : probe) ::DeleteObject(p);
        return probe.size();
    }

private:
    std::vector<HPEN> m_pens;
};

// One small monitor: the lock's bar and its dimming window cost little to
// paint.
class SmallDisplay : public CDisplays {
public:
    SmallDisplay() { SetDisplays(this); }
    ~SmallDisplay() override { SetDisplays(nullptr); }
    BOOL GetWorkArea(RECT* rc) override
    {
        *rc = RECT{ 0, 0, 400, 280 };
        return TRUE;
    }
    void ListMonitors(std::vector<MonitorArea>& out) override { out = { { { 0, 0, 400, 300 }, { 0, 0, 400, 280 } } }; }
};

class AlertPaint : public AlertTest {
protected:
    SmallDisplay display;
    HWND ShowLock()
    {
        g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_SCREEN_LOCK;
        frame->ShowAlert(BREAK_SHORT);
        if (!frame->m_pLockDlg) return nullptr;
        HWND lock = frame->m_pLockDlg->m_hWnd;
        ::KillTimer(lock, TIMER_LOCK_COUNTDOWN);   // the countdown would change the caption
        return lock;
    }
};

// The client area as it is on the screen.
std::vector<DWORD> Snapshot(HWND h)
{
    RECT rc;
    ::GetClientRect(h, &rc);
    HDC dc = ::GetDC(h);
    std::vector<DWORD> pixels = CapturePixels(dc, 0, 0, rc.right, rc.bottom);
    if (dc) ::ReleaseDC(h, dc);
    return pixels;
}

// One whole paint of the window itself: its background and its own drawing
// (the controls on it are the system's).
void Paint(HWND h) { ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

// Paints the window 20,000 times with the handle table all but full: the
// paints must leave as many free entries as they found, and the picture
// after the last paint must be the one after the first, pixel for pixel.
// Before the last paint the window is filled with a colour of its own, so
// that a paint that no longer draws cannot pass for one that does.
void ExpectPaintsKeepDrawing(HWND h, const char* what)
{
    ASSERT_TRUE(::IsWindow(h)) << what;
    Paint(h);
    const std::vector<DWORD> first = Snapshot(h);
    ASSERT_FALSE(first.empty()) << what;
    GdiHeadroom headroom(3000);
    ASSERT_GT(headroom.Taken(), 1000u) << what;
    const size_t freeBefore = GdiHeadroom::Free(4000);
    for (int i = 1; i < kPaints; ++i) Paint(h);
    const size_t freeAfter = GdiHeadroom::Free(4000);
    EXPECT_GE(freeAfter + 20, freeBefore) << what << ": GDI objects lost by " << kPaints << " paints";
    HDC dc = ::GetDC(h);
    ASSERT_NE(dc, nullptr) << what;
    RECT rc;
    ::GetClientRect(h, &rc);
    ::SetDCBrushColor(dc, RGB(255, 0, 255));
    ::FillRect(dc, &rc, (HBRUSH)::GetStockObject(DC_BRUSH));
    ::ReleaseDC(h, dc);
    Paint(h);
    const std::vector<DWORD> last = Snapshot(h);
    ASSERT_EQ(last.size(), first.size()) << what;
    size_t differing = 0;
    for (size_t i = 0; i < first.size(); ++i) differing += first[i] != last[i];
    EXPECT_EQ(differing, 0u) << what << ": pixels that differ after " << kPaints << " paints";
}

}  // namespace

TEST_F(AlertPaint, Slider)
{
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_SLIDER;
    frame->ShowAlert(BREAK_SHORT);
    ExpectPaintsKeepDrawing(OpenAlert(), "slider");
    frame->CloseAlerts();
}

TEST_F(AlertPaint, MessageWindow)
{
    g_breakSettings.aBreaks[BREAK_SHORT].nAlertType = ALERT_MESSAGE_BOX;
    frame->ShowAlert(BREAK_SHORT);
    ExpectPaintsKeepDrawing(OpenAlert(), "message window");
    frame->CloseAlerts();
}

TEST_F(AlertPaint, ScreenLockAndItsDimming)
{
    HWND lock = ShowLock();
    ASSERT_NE(lock, nullptr);
    ExpectPaintsKeepDrawing(lock, "screen lock");
    int dimming = 0;
    for (HWND h : OwnedWindows(lock)) {
        char cls[96] = "";
        ::GetClassNameA(h, cls, sizeof(cls));
        if (strcmp(cls, CBlackPainter::ClassName()) != 0) continue;
        ExpectPaintsKeepDrawing(h, "dimming window");
        ++dimming;
    }
    EXPECT_EQ(dimming, 1);
    frame->CloseAlerts();
}
