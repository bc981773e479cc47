// Property sheets: a two-page sheet (and a third page never shown) run
// modally and steered from inside its own loop.
#include "support/DialogTemplate.h"
#include "support/TestSupport.h"
#include <gtest/gtest.h>

namespace {
enum { IDC_VALUE = 1101 };
const UINT WM_SCRIPT = WM_APP + 1;
const UINT_PTR TIMER_END = 9;

DialogTemplate PageTemplate(const char* caption)
{
    DialogTemplate t(caption, 180, 90, WS_CHILD | WS_CAPTION | WS_DISABLED);
    t.Add(DialogTemplate::Static, -1, "Minutes:", 8, 10, 40, 10)
     .Add(DialogTemplate::Edit, IDC_VALUE, "", 50, 8, 50, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL);
    return t;
}

class CTestPage : public CPropertyPage {
public:
    explicit CTestPage(const DLGTEMPLATE* t) : CPropertyPage(t) { m_psp.dwFlags |= PSP_HASHELP; }
    int m_nValue = 10;
    bool m_bVetoLeave = false, m_bRefuseApply = false;
    int applied = 0, helps = 0, inits = 0;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_VALUE, m_nValue);
        DDV_MinMaxInt(pDX, m_nValue, 1, 60);
    }
    BOOL OnInitDialog() override { ++inits; return CPropertyPage::OnInitDialog(); }
    BOOL OnKillActive() override { return m_bVetoLeave ? FALSE : CPropertyPage::OnKillActive(); }
    BOOL OnApply() override { ++applied; return m_bRefuseApply ? FALSE : CPropertyPage::OnApply(); }
    void OnHelp() { ++helps; }
    HWND Edit() const { return ::GetDlgItem(m_hWnd, IDC_VALUE); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestPage, CPropertyPage)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

class CTestSheet : public CPropertySheet {
public:
    CTestSheet() : CPropertySheet("Test sheet") {}
    std::function<void(CTestSheet*)> script;
    int ncCalc = 0, ncCalcBeforeInit = -1, ncPaints = 0, moves = 0, destroys = 0;
    BOOL OnInitDialog() override
    {
        BOOL r = CPropertySheet::OnInitDialog();
        ncCalcBeforeInit = ncCalc;
        PostMessage(WM_SCRIPT);
        return r;
    }
    LRESULT OnScript(WPARAM, LPARAM) { if (script) script(this); return 0; }
    LRESULT OnNcCalcSize(WPARAM w, LPARAM l) { ++ncCalc; return DefWindowProc(WM_NCCALCSIZE, w, l); }
    LRESULT OnNcPaint(WPARAM w, LPARAM l) { ++ncPaints; return DefWindowProc(WM_NCPAINT, w, l); }
    void OnMove(int, int) { ++moves; }
    void OnDestroy() { ++destroys; }
    void OnTimer(UINT_PTR id) { if (id == TIMER_END) { KillTimer(id); Press(PSBTN_CANCEL); } }
    void Press(int button) { SendMessage(PSM_PRESSBUTTON, (WPARAM)button); }
    BOOL Select(int page) { return (BOOL)SendMessage(PSM_SETCURSEL, (WPARAM)page); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestSheet, CPropertySheet)
    ON_MESSAGE(WM_SCRIPT, OnScript)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_WM_MOVE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
END_MESSAGE_MAP()

class SheetTest : public ::testing::Test {
protected:
    DialogTemplate tplA = PageTemplate("First"), tplB = PageTemplate("Second"), tplC = PageTemplate("Never");
    CTestPage a{ tplA.Get() }, b{ tplB.Get() }, c{ tplC.Get() };
    CTestSheet sheet;
    MessageBoxRecorder boxes;
    void SetUp() override
    {
        sheet.AddPage(&a);
        sheet.AddPage(&b);
        sheet.AddPage(&c);
        sheet.m_psh.dwFlags |= PSH_HASHELP;
    }
};

// A frame standing in for the main frame, with its tick.
class CTickFrame : public CFrameWnd {
public:
    int ticks = 0;
    void OnTimer(UINT_PTR) { ++ticks; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTickFrame, CFrameWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// Watches for a common dialog opening over the sheet: notes its owner and
// cancels it.
HWND s_commonOwner;
HWND s_sheetWnd;
// The dialog is looked for among this thread's visible windows, not as the
// active window: on a display without a window manager the activation may
// stay with the sheet.
void CALLBACK CloseCommonDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    for (HWND h : ThreadWindows("#32770")) {
        if (h == s_sheetWnd || !::IsWindowVisible(h)) continue;
        ::KillTimer(nullptr, id);
        s_commonOwner = ::GetWindow(h, GW_OWNER);
        ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
        return;
    }
}
}

TEST_F(SheetTest, TypedValueIsTakenAndARefusedOneKeepsThePage)
{
    bool stayedOnRange = false, stayedOnText = false;
    bool focusOnEdit = false;
    sheet.script = [&](CTestSheet* s) {
        ::SetWindowTextA(a.Edit(), "75");
        s->Select(1);
        stayedOnRange = s->GetActivePage() == &a;
        focusOnEdit = ::GetFocus() == a.Edit();
        ::SetWindowTextA(a.Edit(), "ten");
        s->Select(1);
        stayedOnText = s->GetActivePage() == &a;
        ::SetWindowTextA(a.Edit(), "42");
        s->Select(1);
        EXPECT_EQ(s->GetActivePage(), &b);
        s->Press(PSBTN_OK);
    };
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(stayedOnRange);
    EXPECT_TRUE(stayedOnText);
    EXPECT_TRUE(focusOnEdit);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Enter an integer between 1 and 60.");
    EXPECT_EQ(boxes.boxes[1].text, "Enter an integer.");
    EXPECT_EQ(a.m_nValue, 42);
    EXPECT_EQ(b.m_nValue, 10);
}

TEST_F(SheetTest, HelpReachesTheActivePageAndApplyEveryCreatedOne)
{
    sheet.SetActivePage(1);
    sheet.script = [&](CTestSheet* s) {
        EXPECT_EQ(s->GetActivePage(), &b);
        s->Press(PSBTN_HELP);
        s->Select(0);
        a.SetModified();
        s->Press(PSBTN_APPLYNOW);
        s->Press(PSBTN_CANCEL);
    };
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(b.helps, 1);
    EXPECT_EQ(a.helps, 0);
    EXPECT_EQ(a.applied, 1);
    EXPECT_EQ(b.applied, 1);
    EXPECT_EQ(c.applied, 0);
    EXPECT_EQ(c.inits, 0);
}

TEST_F(SheetTest, PageVetoesAreKept)
{
    LONG_PTR leaveAnswer = 0;
    bool runningAfterRefusedApply = false;
    int step = 0;
    sheet.script = [&](CTestSheet* s) {
        if (++step == 1) {
            a.m_bVetoLeave = true;
            s->Select(1);
            leaveAnswer = ::GetWindowLongPtrA(a.m_hWnd, DWLP_MSGRESULT);
            EXPECT_EQ(s->GetActivePage(), &a);
            a.m_bVetoLeave = false;
            a.m_bRefuseApply = true;
            s->Press(PSBTN_OK);
            s->PostMessage(WM_SCRIPT);   // reached only while the sheet runs on
            return;
        }
        runningAfterRefusedApply = true;
        a.m_bRefuseApply = false;
        s->Press(PSBTN_OK);
    };
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(leaveAnswer, TRUE);
    EXPECT_TRUE(runningAfterRefusedApply);
    EXPECT_EQ(a.applied, 2);
}

TEST_F(SheetTest, SheetWindowIsBoundFromCreationAndTheFrameTicksOn)
{
    CTickFrame* frame = new CTickFrame;
    ASSERT_TRUE(frame->Create(nullptr, "ticks", WS_OVERLAPPEDWINDOW));
    frame->SetTimer(1, 20);
    sheet.EnableStackedTabs(FALSE);
    LONG_PTR tabStyle = TCS_MULTILINE;
    sheet.script = [&](CTestSheet* s) {
        tabStyle = ::GetWindowLongPtrA(s->GetTabControl(), GWL_STYLE);
        s->SetWindowPos(nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        s->SetTimer(TIMER_END, 300);
    };
    sheet.DoModal();
    EXPECT_GT(sheet.ncCalcBeforeInit, 0);
    EXPECT_GT(sheet.ncPaints, 0);
    EXPECT_GT(sheet.moves, 0);
    EXPECT_EQ(sheet.destroys, 1);
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_FALSE(tabStyle & TCS_MULTILINE);
    EXPECT_GE(frame->ticks, 5);
    frame->DestroyWindow();
}

TEST_F(SheetTest, BoxesAndCommonDialogsFromAPageAreOwnedByTheSheet)
{
    HWND hSheet = nullptr, pageBoxOwnerRoot = nullptr, fileOwner = nullptr, fontOwner = nullptr;
    INT_PTR fileResult = 0, fontResult = 0;
    sheet.script = [&](CTestSheet* s) {
        hSheet = s_sheetWnd = s->m_hWnd;
        AfxMessageBox("From the page");
        a.MessageBox("Also from the page");
        pageBoxOwnerRoot = ::GetAncestor(boxes.boxes.back().owner, GA_ROOT);

        // Runs a common dialog until it is found and cancelled: its owner.
        auto ownerOf = [](auto& dialog, INT_PTR& result) {
            s_commonOwner = nullptr;
            UINT_PTR t = ::SetTimer(nullptr, 0, 100, CloseCommonDialog);
            result = dialog.DoModal();
            ::KillTimer(nullptr, t);
            return s_commonOwner;
        };
        CFileDialog file(TRUE, "txt", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                         "Text files (*.txt)|*.txt|All files (*.*)|*.*|", &a);
        fileOwner = ownerOf(file, fileResult);
        LOGFONTA lf = {};
        lf.lfHeight = -13;
        strcpy(lf.lfFaceName, "Tahoma");
        CFontDialog font(&lf, CF_SCREENFONTS | CF_NOVERTFONTS, nullptr, &a);
        fontOwner = ownerOf(font, fontResult);
        s->Press(PSBTN_CANCEL);
    };
    sheet.DoModal();
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].owner, hSheet);
    EXPECT_EQ(pageBoxOwnerRoot, hSheet);
    EXPECT_EQ(fileResult, IDCANCEL);
    EXPECT_EQ(fileOwner, hSheet);
    EXPECT_EQ(fontResult, IDCANCEL);
    EXPECT_EQ(fontOwner, hSheet);
}
