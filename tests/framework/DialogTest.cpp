// Dialogs: data exchange with its prompts, a modal dialog that stays open
// on a refused value, and a notification's answer.
#include "support/DialogTemplate.h"
#include "support/TestSupport.h"
#include <gtest/gtest.h>

namespace {
enum { IDC_NUMBER = 1001, IDC_COUNT, IDC_NAME, IDC_FLAG, IDC_CHOICE, IDC_BOUND };
const UINT WM_PROBE = WM_APP + 5;
const UINT LISTNOTIFY_VETO = (UINT)-3002;

DialogTemplate MakeTemplate()
{
    DialogTemplate t("Data exchange", 200, 120);
    t.Add(DialogTemplate::Edit, IDC_NUMBER, "", 10, 10, 60, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL)
     .Add(DialogTemplate::Edit, IDC_COUNT, "", 10, 26, 60, 12, WS_BORDER | WS_TABSTOP)
     .Add(DialogTemplate::Edit, IDC_NAME, "", 10, 42, 120, 12, WS_BORDER | WS_TABSTOP)
     .Add(DialogTemplate::Button, IDC_FLAG, "Flag", 10, 58, 60, 12, BS_AUTOCHECKBOX | WS_TABSTOP)
     .Add(DialogTemplate::ComboBox, IDC_CHOICE, "", 10, 74, 80, 60, CBS_DROPDOWNLIST | WS_TABSTOP)
     .Add(DialogTemplate::Static, IDC_BOUND, "bound", 100, 10, 40, 12, SS_NOTIFY)
     .Add(DialogTemplate::Button, IDOK, "OK", 140, 100, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP);
    return t;
}

// A control that counts the probes reaching its object.
class CCountingStatic : public CWnd {
public:
    int probes = 0;
    LRESULT OnProbe(WPARAM, LPARAM) { ++probes; return 7; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCountingStatic, CWnd)
    ON_MESSAGE(WM_PROBE, OnProbe)
END_MESSAGE_MAP()

class CExchangeDlg : public CDialog {
public:
    int m_nNumber = 5;
    UINT m_nCount = 3;
    CString m_strName = "first";
    int m_bFlag = 1;
    int m_nChoice = 1;
    CCountingStatic m_bound;
    bool m_bThrow = false;
    std::function<void(CExchangeDlg*)> m_script;
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (m_bThrow) throw 1;
        DDX_Control(pDX, IDC_BOUND, m_bound);
        DDX_Text(pDX, IDC_NUMBER, m_nNumber);
        DDV_MinMaxInt(pDX, m_nNumber, 1, 60);
        DDX_Text(pDX, IDC_COUNT, m_nCount);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDX_Check(pDX, IDC_FLAG, m_bFlag);
        DDX_CBIndex(pDX, IDC_CHOICE, m_nChoice);
    }
    BOOL OnInitDialog() override
    {
        for (const char* s : { "zero", "one", "two" })
            ::SendDlgItemMessageA(m_hWnd, IDC_CHOICE, CB_ADDSTRING, 0, (LPARAM)s);
        CDialog::OnInitDialog();
        if (m_script) PostMessage(WM_APP);
        return TRUE;
    }
    LRESULT OnScript(WPARAM, LPARAM) { m_script(this); return 0; }
    void OnVeto(NMHDR*, LRESULT* pResult) { *pResult = TRUE; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
    ON_MESSAGE(WM_APP, OnScript)
    ON_NOTIFY(LISTNOTIFY_VETO, IDC_BOUND, OnVeto)
END_MESSAGE_MAP()

CString Translated(const char* s)
{
    CString t(s);
    if (t == "Enter an integer between %1 and %2.") return "Zahl von %1 bis %2 eingeben.";
    return t;
}

class DataExchangeTest : public ::testing::Test {
protected:
    DialogTemplate tpl = MakeTemplate();
    CExchangeDlg dlg;
    MessageBoxRecorder boxes;
    void SetUp() override
    {
        ASSERT_TRUE(dlg.CreateIndirect(tpl.Get()));
    }
    void TearDown() override { if (dlg.m_hWnd) dlg.DestroyWindow(); }
    void Type(int id, const char* text) { ::SetDlgItemTextA(dlg.m_hWnd, id, text); }
};
}

TEST_F(DataExchangeTest, MembersShowAndComeBack)
{
    // OnInitDialog showed the members.
    EXPECT_EQ(dlg.GetDlgItem(IDC_NUMBER).GetWindowText(), "5");
    EXPECT_EQ(dlg.GetDlgItem(IDC_NAME).GetWindowText(), "first");
    EXPECT_EQ(::IsDlgButtonChecked(dlg.m_hWnd, IDC_FLAG), 1u);
    EXPECT_EQ(::SendDlgItemMessageA(dlg.m_hWnd, IDC_CHOICE, CB_GETCURSEL, 0, 0), 1);

    Type(IDC_NUMBER, " 60 ");
    Type(IDC_COUNT, "4000000000");
    Type(IDC_NAME, "second");
    ::CheckDlgButton(dlg.m_hWnd, IDC_FLAG, BST_UNCHECKED);
    ::SendDlgItemMessageA(dlg.m_hWnd, IDC_CHOICE, CB_SETCURSEL, 2, 0);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_nNumber, 60);
    EXPECT_EQ(dlg.m_nCount, 4000000000u);
    EXPECT_EQ(dlg.m_strName, "second");
    EXPECT_EQ(dlg.m_bFlag, 0);
    EXPECT_EQ(dlg.m_nChoice, 2);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(DataExchangeTest, RefusedValuesPromptFocusAndKeepTheMembers)
{
    Scoped translate(g_pfnTranslateHook, Translated);
    struct Case { const char* number; const char* count; const char* prompt; };
    const Case cases[] = {
        { "abc", "1", "Enter an integer." },
        { "", "1", "Enter an integer." },
        { "12abc", "1", "Enter an integer." },
        { "99999999999", "1", "Enter an integer." },
        { "0", "1", "Zahl von 1 bis 60 eingeben." },
        { "61", "1", "Zahl von 1 bis 60 eingeben." },
        { "-5", "1", "Zahl von 1 bis 60 eingeben." },
        { "30", "-1", "Enter an integer." },          // UINT refuses a sign
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        boxes.boxes.clear();
        dlg.m_nNumber = 5;
        dlg.m_strName = "kept";
        Type(IDC_NUMBER, c.number);
        Type(IDC_COUNT, c.count);
        Type(IDC_NAME, "changed");
        ::SetFocus(dlg.GetDlgItem(IDC_NAME).m_hWnd);
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, c.prompt);
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg.m_hWnd, c.count[0] == '-' ? IDC_COUNT : IDC_NUMBER));
        EXPECT_EQ(dlg.m_strName, "kept");   // the exchange stopped at the refusal
    }
}

TEST_F(DataExchangeTest, ControlIsBoundOnceAndExceptionsStayInside)
{
    for (int i = 0; i < 3; ++i) {
        Type(IDC_NUMBER, "7");
        EXPECT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_TRUE(dlg.UpdateData(FALSE));
    }
    HWND hBound = ::GetDlgItem(dlg.m_hWnd, IDC_BOUND);
    EXPECT_EQ(dlg.m_bound.m_hWnd, hBound);
    EXPECT_EQ(::SendMessageA(hBound, WM_PROBE, 0, 0), 7);
    EXPECT_EQ(dlg.m_bound.probes, 1);

    dlg.m_bThrow = true;
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ(boxes.boxes.size(), 1u);   // reported, not thrown
    dlg.m_bThrow = false;
}

TEST_F(DataExchangeTest, NotificationVetoReachesTheSender)
{
    // A custom (negative) code from a child, answered by the dialog's map.
    NMHDR hdr = { ::GetDlgItem(dlg.m_hWnd, IDC_BOUND), IDC_BOUND, LISTNOTIFY_VETO };
    ::SetWindowLongPtrA(dlg.m_hWnd, DWLP_MSGRESULT, 0);
    EXPECT_EQ(::SendMessageA(dlg.m_hWnd, WM_NOTIFY, IDC_BOUND, (LPARAM)&hdr), TRUE);
    EXPECT_EQ(::GetWindowLongPtrA(dlg.m_hWnd, DWLP_MSGRESULT), TRUE);
}

TEST(ModalDialogTest, RefusedValueKeepsTheDialogOpenAndOwnsThePrompt)
{
    MessageBoxRecorder boxes;
    DialogTemplate tpl = MakeTemplate();
    CExchangeDlg dlg;
    bool openAfterRefusal = false;
    HWND hDlg = nullptr;
    dlg.m_script = [&](CExchangeDlg* d) {
        hDlg = d->m_hWnd;
        ::SetDlgItemTextA(d->m_hWnd, IDC_NUMBER, "75");
        d->SendMessage(WM_COMMAND, IDOK, 0);
        openAfterRefusal = ::IsWindow(d->m_hWnd) != FALSE;
        ::SetDlgItemTextA(d->m_hWnd, IDC_NUMBER, "12");
        d->SendMessage(WM_COMMAND, IDOK, 0);
    };
    dlg.InitModalIndirect(tpl.Get());
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(openAfterRefusal);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Enter an integer between 1 and 60.");
    EXPECT_EQ(boxes.boxes[0].owner, hDlg);
    EXPECT_EQ(dlg.m_nNumber, 12);
}
