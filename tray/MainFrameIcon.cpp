// The main frame's tray icon: the first icon, balloons and the drawing.
#include "engine/MainFrame.h"
#include "tray/TrayNotifyIcon.h"
#include "services/Translator.h"
#include "app/Settings.h"
#include "res/resource.h"

BOOL CMainFrame::CreateDefaultIcon()
{
    CString tip = g_translator.Translate("Kestrabel");
    if (!g_trayIcon.CreateFromBitmap(this, IDR_TRAY_MENU, tip, &m_bmpIcon, WM_TRAY_NOTIFY, IDR_TRAY_MENU, TRUE)) {
        CString text = CString("CreateDefaultIcon: ") + g_translator.Translate("Failed to create tray icon");
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    return TRUE;
}

void CMainFrame::ShowBalloon(const CString& text)
{
    (void)text;
}

CString CMainFrame::DrawTrayIcon()
{
    RECT r = { 0, 0, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON) };
    m_dcIcon.FillRect(&r, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    CString number;
    number.Format("%d", m_nMinutesLeft);
    m_dcIcon.SetBkMode(TRANSPARENT);
    m_dcIcon.SetTextColor(RGB(0, 255, 0));
    m_dcIcon.SelectObject(&m_fontIcon);
    m_dcIcon.DrawText(number, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    return CString();
}

void CMainFrame::UpdateTrayIcon()
{
    if (!g_trayIcon.m_bCreated && !CreateDefaultIcon()) return;
    DrawTrayIcon();
    g_trayIcon.SetIconFromBitmap(&m_bmpIcon);
}

void CMainFrame::UpdateIconFont()
{
    LOGFONTA lf = g_trayLogFont;
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    m_fontIcon.DeleteObject();
    m_fontIcon.CreateFontIndirect(&lf);
    UpdateTrayIcon();
}

// The shell's taskbar was created anew (the shell restarted): the icon is
// gone with it and is added again.
LRESULT CMainFrame::OnTaskbarCreated(WPARAM, LPARAM)
{
    g_trayIcon.m_bCreated = FALSE;
    UpdateTrayIcon();
    return 0;
}
