// Shows the framework's dialogs for a screenshot. Run inside Wine's virtual
// desktop:
//
//   KS_DEMO=prompt|file|font|welcome|times|sound|tracking|misc|statistics|about [KS_DEMO_LONG=1]
//   wine64 explorer /desktop=shots,1024x768 dialogs_demo.exe
//
// prompt, file and font: a two-page test sheet, with the range prompt, the
// file dialog or the font dialog opened from its first page. welcome and the
// page names: the settings sheet on that page (KS_DEMO_LONG=1: in German). The
// program prints "SHOWN" and keeps the window for KS_DEMO_SECONDS (default
// 8) seconds.
#include "support/DialogTemplate.h"
#include "support/TestSupport.h"
#include "app/Settings.h"
#include "services/Translator.h"
#include "ui/SettingsSheet.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>

namespace {
std::string Env(const char* name, const char* def)
{
    const char* v = getenv(name);
    return v && *v ? v : def;
}

int s_seconds = 8;

// Ends whatever modal window is active once the screenshot had its time.
void CALLBACK EndActive(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HWND h = ::GetActiveWindow();
    if (h) ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
}

void Shown()
{
    printf("SHOWN\n");
    fflush(stdout);
    ::SetTimer(nullptr, 0, (UINT)s_seconds * 1000, EndActive);
}

enum { IDC_MINUTES = 1101 };

class CDemoPage : public CPropertyPage {
public:
    explicit CDemoPage(const DLGTEMPLATE* t) : CPropertyPage(t) {}
    int m_nMinutes = 20;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_MINUTES, m_nMinutes);
        DDV_MinMaxInt(pDX, m_nMinutes, 1, 60);
    }
};

class CDemoSheet : public CPropertySheet {
public:
    CDemoSheet() : CPropertySheet("Test sheet") {}
    std::string what;
    CDemoPage* first = nullptr;
    BOOL OnInitDialog() override
    {
        BOOL r = CPropertySheet::OnInitDialog();
        PostMessage(WM_APP);
        return r;
    }
    LRESULT OnShow(WPARAM, LPARAM)
    {
        if (what == "prompt") {
            ::SetDlgItemTextA(first->m_hWnd, IDC_MINUTES, "75");
            Shown();
            SendMessage(PSM_SETCURSEL, 1);   // refused: the prompt shows
        } else if (what == "file") {
            CFileDialog dlg(TRUE, "wav", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                            "Sounds (*.wav)|*.wav|All files (*.*)|*.*|", first);
            Shown();
            dlg.DoModal();
        } else {
            LOGFONTA lf = {};
            lf.lfHeight = -11;
            strcpy(lf.lfFaceName, "Tahoma");
            CFontDialog dlg(&lf, CF_SCREENFONTS | CF_NOVERTFONTS, nullptr, first);
            Shown();
            dlg.DoModal();
        }
        PostMessage(PSM_PRESSBUTTON, PSBTN_CANCEL);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDemoSheet, CPropertySheet)
    ON_MESSAGE(WM_APP, OnShow)
END_MESSAGE_MAP()

DialogTemplate PageTemplate(const char* caption)
{
    DialogTemplate t(caption, 210, 120, WS_CHILD | WS_CAPTION | WS_DISABLED);
    t.Add(DialogTemplate::Static, -1, "Minutes between breaks (1 to 60):", 8, 10, 120, 10)
     .Add(DialogTemplate::Edit, IDC_MINUTES, "", 132, 8, 40, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL);
    return t;
}
}

TEST(DialogsDemo, Show)
{
    std::string what = Env("KS_DEMO", "prompt");
    s_seconds = atoi(Env("KS_DEMO_SECONDS", "8").c_str());
    if (Env("KS_DEMO_LONG", "0") == "1") {
        g_translator.SetDirectory((ProgramFolder() + "Languages").c_str());
        g_translator.Load("German");
    }
    if (what == "twice") {
        // The first run's sheet, then the one a click opens.
        ::SetTimer(nullptr, 0, 1500, EndActive);
        RunSettingsSheetModal(nullptr, 0, TRUE);
        printf("first done\n");
        ::SetTimer(nullptr, 0, 1500, EndActive);
        RunSettingsSheetModal(nullptr, 0, FALSE);
        printf("second done\n");
        return;
    }
    static const char* const kPages[] = { "times", "sound", "tracking", "misc", "statistics", "about" };
    int page = -1;
    for (int i = 0; i < 6; ++i)
        if (what == kPages[i]) page = i;
    if (what == "welcome" || page >= 0) {
        g_firstRun = false;
        // The sheet shows for the screenshot, then the timer cancels it.
        struct Starter {
            static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) { ::KillTimer(nullptr, id); Shown(); }
        };
        ::SetTimer(nullptr, 0, 1500, Starter::Tick);
        RunSettingsSheetModal(nullptr, page < 0 ? 0 : page, what == "welcome");
        return;
    }
    DialogTemplate a = PageTemplate("Breaks"), b = PageTemplate("Sounds");
    CDemoPage first(a.Get()), second(b.Get());
    CDemoSheet sheet;
    sheet.what = what;
    sheet.first = &first;
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.DoModal();
}
