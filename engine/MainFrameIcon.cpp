// The main frame's tray icon: the first icon, balloons and the drawing of
// the minutes left with their colours, the pulse and the pause mark.
#include "engine/MainFrame.h"
#include "tray/TrayNotifyIcon.h"
#include "services/Translator.h"
#include "ui/Dashboard.h"
#include "app/Settings.h"
#include "res/resource.h"

// Brightness of the number during the last-minute pulse, in percent, one
// entry per 100 ms.
static const int kPulseBrightness[10] = { 86, 50, 0, 0, 50, 86, 100, 100, 100, 100 };

BOOL CMainFrame::CreateDefaultIcon()
{
    CString tip = g_translator.Translate("Kestrabel");
    if (!g_trayIcon.CreateFromBitmap(this, IDR_TRAY_MENU, tip, &m_bmpIcon, WM_TRAY_NOTIFY, IDR_TRAY_MENU, TRUE)) {
        // After "No" to "Try again?" the program is closing: no further box.
        if (!g_trayIcon.IsExitChosen()) {
            CString text = CString("CreateDefaultIcon: ") + g_translator.Translate("Failed to create tray icon");
            AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        }
        return FALSE;
    }
    return TRUE;
}

void CMainFrame::ShowBalloon(const CString& text)
{
    g_trayIcon.RemoveIcon();
    CString product = g_translator.Translate("Kestrabel");
    int interval = g_breakSettings.aBreaks[BREAK_SHORT].nInterval;
    UINT timeout = (UINT)SaturatingMultiply(interval < 0 ? 0 : interval, 60000);
    if (!g_trayIcon.CreateWithBalloonFromBitmap(this, IDR_TRAY_MENU, product, text, product, timeout, 2, &m_bmpIcon,
                                                WM_TRAY_NOTIFY, IDR_TRAY_MENU)
        && !g_trayIcon.IsAsking() && !g_trayIcon.IsExitChosen()) {
        CString msg = CString("ShowTooltip: ") + g_translator.Translate("Failed to create tray icon");
        AfxMessageBox(msg, MB_OK | MB_ICONSTOP);
    }
}

// A colour component from minutes: value * 512 / period, cut to 0..255.
static int ColourPart(int minutes, int period)
{
    double v = minutes * 512.0 / period;
    if (!(v > 0.0)) return 0;   // also NaN
    if (v >= 255.0) return 255;
    return (int)v;
}

CString CMainFrame::DrawTrayIcon()
{
    const int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    RECT r = { 0, 0, w, h };
    CString status;
    if (!m_dcIcon.m_hDC) return status;
    m_dcIcon.SetBkMode(TRANSPARENT);

    const int left = m_nMinutesLeft, period = m_nPeriodMinutes;
    if ((m_dwState & STATE_WORKING) || m_bScreenSaver || m_bSessionLocked) {
        int red = 0, green = 0;
        if (period != 0) {
            red = ColourPart(period - left, period);
            green = ColourPart(left, period);
        }
        if (m_nTimerPulse) {
            int percent = kPulseBrightness[(unsigned)g_pulseCount % 10];
            red = red * percent / 100;
            green = green * percent / 100;
        }
        m_dcIcon.SetTextColor(RGB(red, green, 0));
        m_dcIcon.FillRect(&r, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        CString next = g_translator.Translate(IsNextBreakLong() ? "long pause" : "pause");
        status = FormatTranslated("%d minutes until next %s...", left < 0 ? 0 : left, (const char*)next);
    } else {
        m_dcIcon.SetTextColor(RGB(255, 255, 255));
        m_dcIcon.FillSolidRect(&r, m_nCurrentBreak == BREAK_LONG ? RGB(0, 192, 0) : RGB(0, 127, 255));
        status = FormatTranslated("%d minutes left to rest...", left);
    }

    if (g_3dBorder)
        m_dcIcon.Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));

    CString number;
    number.Format("%d", left);
    // Every object goes back out of the context after use, so that the
    // font can be replaced and nothing stays selected when it is deleted.
    HGDIOBJ oldFont = m_dcIcon.SelectObject(&m_fontIcon);
    m_dcIcon.DrawText(number, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    if (oldFont) m_dcIcon.SelectObject(oldFont);

    if ((m_dwState & (STATE_PAUSED | STATE_AUTOPAUSED)) || g_modalOpen) {
        status = g_translator.Translate((m_dwState & STATE_AUTOPAUSED) ? "Auto-paused" : "Paused");
        const int hx = w / 2, hy = h / 2;
        m_dcIcon.FillSolidRect(hx, hy, w - hx, h - hy, RGB(255, 255, 0));
        CPen pen(PS_SOLID, hx / 5, RGB(0, 0, 0));
        HGDIOBJ oldPen = m_dcIcon.SelectObject(&pen);
        const int top = hy + hy / 5, bottom = hy + (4 * hy) / 5;
        m_dcIcon.MoveTo(hx + hx / 3, top);
        m_dcIcon.LineTo(hx + hx / 3, bottom);
        m_dcIcon.MoveTo(hx + (2 * hx) / 3, top);
        m_dcIcon.LineTo(hx + (2 * hx) / 3, bottom);
        if (oldPen) m_dcIcon.SelectObject(oldPen);
    }
    return status;
}

void CMainFrame::UpdateTrayIcon()
{
    if (!g_trayIcon.m_bCreated && !CreateDefaultIcon()) return;
    CString status = DrawTrayIcon();
    g_trayIcon.SetIconFromBitmap(&m_bmpIcon);
    SetDashboardStatus(status);
}

void CMainFrame::UpdateIconFont()
{
    LOGFONTA lf = g_trayLogFont;
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    m_fontIcon.DeleteObject();
    m_fontIcon.CreateFontIndirect(&lf);
    UpdateTrayIcon();
}

// The shell's taskbar was created anew (the shell restarted): the icon went
// with the old one and is added again.
LRESULT CMainFrame::OnTaskbarCreated(WPARAM, LPARAM)
{
    g_trayIcon.m_bCreated = FALSE;
    UpdateTrayIcon();
    return 0;
}
