// Property items without a list: display texts, commits, bounds, ownership,
// actions, drawing.
#include "ControlsTestSupport.h"
#include <gtest/gtest.h>
#include <limits.h>
#include <memory>

namespace {
using ItemPtr = std::unique_ptr<IProperty>;

const char* const kAlertTypes[] = {"Balloon Tooltip", "Slider Box", "Message Box", nullptr};
}

TEST(PropertyTimeItem, DisplayTexts)
{
    struct Case { int unit; int value; const char* word; const char* text; } cases[] = {
        {TIMEUNIT_MINUTES, 20, nullptr, "20 minute(s)"},
        {TIMEUNIT_SECONDS, 16, nullptr, "16 second(s)"},
        {TIMEUNIT_HOURS, 2, nullptr, "2 hour(s)"},
        {TIMEUNIT_HOURS_MINUTES, 90, nullptr, "1:30 hour(s)"},
        {TIMEUNIT_HOURS_MINUTES, 5, nullptr, "0:05 hour(s)"},
        {TIMEUNIT_HOURS_MINUTES, 1440, nullptr, "24:00 hour(s)"},
        {TIMEUNIT_HOURS_MINUTES, -90, nullptr, "-1:30 hour(s)"},
        {TIMEUNIT_HOURS_MINUTES, -30, nullptr, "-0:30 hour(s)"},
        {TIMEUNIT_HOURS_MINUTES, INT_MIN, nullptr, "-35791394:08 hour(s)"},
        {TIMEUNIT_TEXT, 3, "breaks", "3 breaks"},
        {5, 7, nullptr, "7 "},
    };
    for (const Case& c : cases) {
        ItemPtr p(c.word ? CreateTimeItemWithUnit("Once every", c.value, c.word, 1)
                         : CreateTimeItem("Once every", c.value, c.unit, 1));
        ASSERT_TRUE(p);
        EXPECT_EQ(DisplayText(p.get()), c.text) << c.value;
        EXPECT_EQ(p->GetDisplayTextLength(), (int)strlen(c.text)) << c.value;
    }
}

TEST(PropertyTimeItem, UnitWordsAreTranslatedAtEveryDisplay)
{
    ItemPtr p(CreateTimeItemWithUnit("Once every", 3, "breaks", 302));
    EXPECT_EQ(DisplayText(p.get()), "3 breaks");
    {
        Dictionary de("breaks", "Pausen");
        EXPECT_EQ(DisplayText(p.get()), "3 Pausen");
        Dictionary min("minute(s)", "Minute(n)");
        ItemPtr m(CreateTimeItem("Once every", 20, TIMEUNIT_MINUTES, 201));
        EXPECT_EQ(DisplayText(m.get()), "20 Minute(n)");
    }
    EXPECT_EQ(DisplayText(p.get()), "3 breaks");
}

TEST(PropertyTimeItem, CommitsFromTheEditor)
{
    struct Case { int unit; const char* text; BOOL ok; int stored; } cases[] = {
        {TIMEUNIT_MINUTES, "35 minute(s)", TRUE, 35},
        {TIMEUNIT_MINUTES, "", FALSE, 20},
        {TIMEUNIT_MINUTES, "abc", FALSE, 20},
        {TIMEUNIT_MINUTES, "99999999999", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, "1:30 hour(s)", TRUE, 90},
        {TIMEUNIT_HOURS_MINUTES, "2", TRUE, 120},
        {TIMEUNIT_HOURS_MINUTES, "1:5", TRUE, 65},
        {TIMEUNIT_HOURS_MINUTES, "0:00", TRUE, 0},
        {TIMEUNIT_HOURS_MINUTES, "1:", TRUE, 60},
        {TIMEUNIT_HOURS_MINUTES, "1:75", TRUE, 135},
        {TIMEUNIT_HOURS_MINUTES, "35791394:07", TRUE, INT_MAX},
        {TIMEUNIT_HOURS_MINUTES, "35791394:08", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, "99999999999", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, "", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, "abc", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, ":30", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, " 1:30", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, "1:-5", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, "1:+5", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, "1:\t 30 hour(s)", TRUE, 90},
        {TIMEUNIT_HOURS_MINUTES, "1: -5", FALSE, 20},
        // '9' + 0x80 and a sign-extended 0xB2 ('2' with the high bit) are no digits.
        {TIMEUNIT_HOURS_MINUTES, "\xB9:30", FALSE, 20},
        {TIMEUNIT_HOURS_MINUTES, "1:\xB2", TRUE, 60},
    };
    EditStub edit;
    for (const Case& c : cases) {
        ItemPtr p(CreateTimeItem("Daily work limit", 20, c.unit, 402));
        edit.Set(c.text);
        EXPECT_EQ(p->SetValueFromWindow(edit.hwnd), c.ok) << c.text;
        EXPECT_EQ(ValueI4(p.get()), c.stored) << c.text;
    }
}

TEST(PropertyItemBounds, DisplayTextNeverWritesPastTheBuffer)
{
    const std::string longWord(300, 'w');
    ItemPtr minutes(CreateTimeItem("x", 123456, TIMEUNIT_MINUTES, 1));
    ItemPtr longUnit(CreateTimeItemWithUnit("x", 5, "breaks", 1));
    VARIANT v = Integer(123456);
    ItemPtr edit(CreateEditItem("x", &v, 1));
    ItemPtr list(CreateListItem("x", kAlertTypes, 1, 1));
    Dictionary huge("breaks", longWord.c_str());
    struct Case { IProperty* item; int size; BOOL ok; std::string text; } cases[] = {
        {minutes.get(), 0, FALSE, ""},
        {minutes.get(), 1, TRUE, ""},
        {minutes.get(), 4, TRUE, "123"},
        {minutes.get(), 17, TRUE, "123456 minute(s)"},
        {edit.get(), 0, FALSE, ""},
        {edit.get(), 4, TRUE, "123"},
        {edit.get(), 7, TRUE, "123456"},
        {list.get(), 0, FALSE, ""},
        {list.get(), 4, TRUE, "Sli"},
        {list.get(), 11, TRUE, "Slider Box"},
        {longUnit.get(), 400, TRUE, ("5 " + longWord).substr(0, 199)},
    };
    for (const Case& c : cases) {
        std::vector<char> buf((size_t)c.size + 8, '#');
        EXPECT_EQ(c.item->GetDisplayText(buf.data(), c.size), c.ok) << c.size;
        if (c.size > 0) {
            EXPECT_EQ(std::string(buf.data()), c.text) << c.size;
        }
        size_t written = c.size > 0 ? c.text.size() + 1 : 0;
        for (size_t i = written; i < buf.size(); ++i) ASSERT_EQ(buf[i], '#') << c.size << " at " << i;
    }
    EXPECT_EQ(longUnit->GetDisplayTextLength(), 199);
    EXPECT_FALSE(minutes->GetDisplayText(nullptr, 10));
}

TEST(PropertyEditItem, FirstValueFixesTheType)
{
    EditStub edit;
    VARIANT i4 = Integer(20), ui4 = Integer(20, VT_UI4);
    CComVariant text("Take a break");
    struct Case { const VARIANT* first; const char* commit; BOOL ok; const char* shown; } cases[] = {
        {&i4, "35", TRUE, "35"},
        {&i4, "35abc", FALSE, "20"},
        {&i4, "", FALSE, "20"},
        {&ui4, "-5", FALSE, "20"},
        {&text, "35abc", TRUE, "35abc"},
        {&text, "", TRUE, ""},
    };
    for (const Case& c : cases) {
        ItemPtr p(CreateEditItem("Message", c.first, 105));
        edit.Set(c.commit);
        EXPECT_EQ(p->SetValueFromWindow(edit.hwnd), c.ok) << c.commit;
        EXPECT_EQ(DisplayText(p.get()), c.shown) << c.commit;
    }
}

TEST(PropertyItemOwnership, FailuresInsideTheFactoriesLeaveNoItem)
{
    int live = CProperty::LiveCount();
    VARIANT bad;
    ::VariantInit(&bad);
    bad.vt = 0x7FFF;
    EXPECT_EQ(CreateEditItem("x", &bad, 1), nullptr);
    EXPECT_EQ(CProperty::LiveCount(), live);

    {
        Scoped noBstr(g_pfnSysAllocStringLen, [](const OLECHAR*, UINT) WINAPI -> BSTR { return nullptr; });
        EXPECT_EQ(CreateListItem("x", kAlertTypes, 0, 1), nullptr);
        EXPECT_EQ(CreateBooleanItem("x", true, 1), nullptr);
    }
    EXPECT_EQ(CProperty::LiveCount(), live);

    // An out value that cannot be cleared is refused, the item's value kept.
    ItemPtr p(CreateTimeItem("x", 5, TIMEUNIT_MINUTES, 1));
    EXPECT_FALSE(p->GetValue(&bad));
    EXPECT_EQ(bad.vt, 0x7FFF);
    EXPECT_FALSE(p->GetValue(nullptr));
    EXPECT_EQ(ValueI4(p.get()), 5);
}

TEST(PropertyItemOwnership, CollapsedCategoryDeletesItsHiddenRows)
{
    int live = CProperty::LiveCount();
    auto* cat = new CCategoryProperty("Short Breaks", 200);
    cat->m_children.Add(CreateTimeItem("Once every", 20, TIMEUNIT_MINUTES, 201));
    cat->m_children.Add(CreateBooleanItem("Enable unlocking", true, 204));
    cat->m_children.Add(nullptr);
    cat->m_bExpanded = 0;
    EXPECT_EQ(CProperty::LiveCount(), live + 3);
    delete cat;
    EXPECT_EQ(CProperty::LiveCount(), live);
}

TEST(PropertyListItem, ChoosesByTextOrIndex)
{
    CComVariant second("Slider Box"), other("slider box"), none("Screen Lock");
    VARIANT seven = Integer(7), minus = Integer(-1), two = Integer(2), three = Integer(3);
    struct Case { const VARIANT* v; BOOL ok; int index; } cases[] = {
        {&second, TRUE, 1}, {&other, FALSE, 0}, {&none, FALSE, 0},
        {&seven, TRUE, 0}, {&two, TRUE, 2}, {&three, TRUE, 0}, {&minus, TRUE, -1},
    };
    for (const Case& c : cases) {
        ItemPtr p(CreateListItem("Alert type", kAlertTypes, 2, 104));
        EXPECT_EQ(p->SetValue(c.v), c.ok);
        EXPECT_EQ(ValueI4(p.get()), c.index);
    }
    const char* const twins[] = {"Same", "Same", nullptr};
    ItemPtr t(CreateListItem("x", twins, 1, 1));
    CComVariant same("Same");
    EXPECT_TRUE(t->SetValue(&same));
    EXPECT_EQ(ValueI4(t.get()), 0);
    // A NULL BSTR is the empty text: it matches an empty entry only.
    const char* const withEmpty[] = {"A", "", nullptr};
    ItemPtr e(CreateListItem("x", withEmpty, 0, 1));
    VARIANT nullText;
    ::VariantInit(&nullText);
    nullText.vt = VT_BSTR;
    nullText.bstrVal = nullptr;
    EXPECT_TRUE(e->SetValue(&nullText));
    EXPECT_EQ(ValueI4(e.get()), 1);
}

TEST(PropertyListItem, IndexOutOfRangeShowsNothingAndMakesNoEditor)
{
    ListStub list;
    ItemPtr seven(CreateListItem("Alert type", kAlertTypes, 7, 104));
    EXPECT_EQ(ValueI4(seven.get()), 0);
    ItemPtr none(CreateListItem("Alert type", kAlertTypes, -1, 104));
    EXPECT_EQ(ValueI4(none.get()), -1);
    EXPECT_EQ(DisplayText(none.get()), "<none>");
    EXPECT_EQ(none->GetDisplayTextLength(), 0);
    RECT rc = {0, 0, 100, 16};
    int editors = PropertyEditorLiveCount();
    EXPECT_EQ(none->CreateEditor(list.hwnd, &rc), nullptr);
    EXPECT_EQ(PropertyEditorLiveCount(), editors);
    ItemPtr noTexts(CreateListItem("x", nullptr, 2, 1));
    EXPECT_EQ(ValueI4(noTexts.get()), -1);
}

TEST(PropertyListItem, DoubleClickProposesTheNextEntry)
{
    ListStub list;
    ItemPtr p(CreateListItem("Alert type", kAlertTypes, 2, 104));
    p->AttachToList(list.hwnd, nullptr);
    p->Activate(ITEMACTION_DBLCLICK, 0);
    ASSERT_EQ(list.log.size(), 1u);
    EXPECT_EQ(list.log[0].msg, (UINT)WM_PROPLIST_CHANGED);
    EXPECT_EQ(list.log[0].lParam, (LPARAM)p.get());
    EXPECT_EQ(list.log[0].vt, VT_I4);
    EXPECT_EQ(list.log[0].value, 3);
    EXPECT_EQ(ValueI4(p.get()), 0);  // 3 wrapped round
    for (UINT a : {ITEMACTION_SELECT, ITEMACTION_CLICK, ITEMACTION_TAB, ITEMACTION_TOGGLE}) p->Activate(a, 0);
    EXPECT_EQ(list.log.size(), 1u);
}

TEST(PropertyBooleanItem, YesNoTranslatedAndToggled)
{
    ListStub list;
    Dictionary ja("Yes", "Ja");
    ItemPtr p(CreateBooleanItem("Enabled?", true, 101));
    p->AttachToList(list.hwnd, nullptr);
    EXPECT_EQ(DisplayText(p.get()), "Ja");
    p->Activate(ITEMACTION_DBLCLICK, 0);
    EXPECT_EQ(DisplayText(p.get()), "No");
    p->SetEnabled(0);
    p->Activate(ITEMACTION_DBLCLICK, 0);
    EXPECT_EQ(DisplayText(p.get()), "No");
    EXPECT_EQ(list.log.size(), 1u);
    ItemPtr f(CreateBooleanItem("Enabled?", false, 101));
    EXPECT_EQ(DisplayText(f.get()), "No");
}

TEST(PropertyCategory, TogglesThroughTheListEvenDisabledAndHasNoValue)
{
    ListStub list;
    CCategoryProperty cat("Microbreaks", 100);
    cat.AttachToList(list.hwnd, nullptr);
    cat.SetEnabled(0);
    cat.Activate(ITEMACTION_CLICK, 0);
    cat.Activate(ITEMACTION_SELECT, 0);
    EXPECT_TRUE(list.log.empty());
    cat.Activate(ITEMACTION_TOGGLE, 0);
    cat.m_bExpanded = 0;
    cat.Activate(ITEMACTION_DBLCLICK, 0);
    cat.Activate(ITEMACTION_KEY, 0);
    ASSERT_EQ(list.log.size(), 3u);
    EXPECT_EQ(list.log[0].msg, (UINT)WM_PROPLIST_COLLAPSE);
    EXPECT_EQ(list.log[1].msg, (UINT)WM_PROPLIST_EXPAND);
    EXPECT_EQ(list.log[0].lParam, (LPARAM)(IProperty*)&cat);

    RECT rc = {0, 0, 50, 16};
    char buf[4] = "abc";
    VARIANT v = Integer(1);
    EXPECT_EQ(cat.CreateEditor(list.hwnd, &rc), nullptr);
    EXPECT_FALSE(cat.GetDisplayText(buf, 4));
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(cat.GetDisplayTextLength(), 0);
    EXPECT_FALSE(cat.SetValue(&v));
    EXPECT_FALSE(cat.GetValue(&v));
}

TEST(PropertyItem, EnabledOnlyByOneAndNamesTranslatedOnce)
{
    Dictionary de("Duration", "Dauer");
    ItemPtr p(CreateTimeItem("Duration", 16, TIMEUNIT_SECONDS, 103));
    EXPECT_STREQ(p->GetName(), "Dauer");
    struct { int in; int out; } cases[] = {{1, 1}, {2, 0}, {0, 0}, {-1, 0}};
    for (auto c : cases) {
        EXPECT_EQ(p->SetEnabled(c.in), c.out);
        EXPECT_EQ(p->IsEnabled(), c.out);
    }
    ItemPtr empty(CreateBooleanItem("", true, 1));
    EXPECT_STREQ(empty->GetName(), "");
}

namespace {
// The drawing context a list would hand a row, on a canvas.
struct DrawFixture : ::testing::Test {
    MemoryCanvas canvas{200, 20};
    PropertyDrawContext ctx = {};
    HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    void SetUp() override
    {
        ctx.hdc = canvas.dc;
        ctx.rect = {0, 0, 200, 20};
        ctx.font = ctx.categoryFont = font;
        ctx.clrText = RGB(0, 0, 0);
        ctx.clrBack = RGB(255, 255, 255);
        ctx.clrSelText = RGB(255, 255, 255);
        ctx.clrSelBack = RGB(0, 0, 128);
        ctx.clrDisabled = RGB(128, 128, 128);
        ::SelectObject(canvas.dc, font);
        canvas.Fill(RGB(1, 2, 3));
    }
    // Colours found in the cell, besides the background at (0, 0).
    std::vector<COLORREF> InkColours(int right = 200)
    {
        std::vector<COLORREF> found;
        COLORREF back = canvas.Pixel(right - 1, 0);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < right; ++x) {
                COLORREF c = canvas.Pixel(x, y);
                if (c != back && std::find(found.begin(), found.end(), c) == found.end()) found.push_back(c);
            }
        return found;
    }
    // Renders text as DrawValue / DrawName would, for comparison.
    std::vector<DWORD> Reference(const char* text, UINT flags)
    {
        MemoryCanvas ref(200, 20);
        ref.Fill(RGB(255, 255, 255));
        ::SelectObject(ref.dc, font);
        ::SetBkMode(ref.dc, TRANSPARENT);
        RECT rc = ctx.rect;
        rc.left += 2;
        ::DrawTextA(ref.dc, text, -1, &rc, flags);
        return ref.Pixels(ctx.rect.right);
    }
};
}

TEST_F(DrawFixture, DisabledComesBeforeSelected)
{
    ItemPtr p(CreateTimeItem("Duration", 16, TIMEUNIT_SECONDS, 103));
    ctx.state = ODS_DISABLED | ODS_SELECTED;
    p->DrawName(&ctx);
    EXPECT_EQ(canvas.Pixel(199, 0), ctx.clrBack);
    auto ink = InkColours();
    EXPECT_NE(std::find(ink.begin(), ink.end(), ctx.clrDisabled), ink.end());
    EXPECT_EQ(std::find(ink.begin(), ink.end(), ctx.clrSelText), ink.end());
}

TEST_F(DrawFixture, GradientAndFlatCategories)
{
    CCategoryProperty cat("Microbreaks", 100);
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ctx.extStyle = LISTSTYLE_GRADIENT_CATEGORIES;
    ctx.state = ODS_SELECTED;
    cat.DrawName(&ctx);
    EXPECT_EQ(canvas.Pixel(0, 10), face);
    COLORREF right = canvas.Pixel(199, 10);
    EXPECT_LE(abs(GetRValue(right) - 255) + abs(GetGValue(right) - 255) + abs(GetBValue(right) - 255), 6);

    canvas.Fill(RGB(1, 2, 3));
    PropertyDrawContext flat = ctx;
    flat.extStyle = LISTSTYLE_FLAT_CATEGORIES | LISTSTYLE_GRADIENT_CATEGORIES;
    cat.DrawName(&flat);
    EXPECT_EQ(canvas.Pixel(199, 10), face);
    // The dotted frame: from x 1 to name width + 3, nothing of it beyond.
    SIZE sz;
    ::GetTextExtentPoint32A(canvas.dc, "Microbreaks", 11, &sz);
    int last = -1;
    for (int x = 0; x < 200; ++x)
        if (canvas.Pixel(x, 1) != face) last = x;
    EXPECT_EQ(last, sz.cx + 3);
    EXPECT_EQ(flat.clrBack, face);
    EXPECT_EQ(ctx.clrBack, RGB(255, 255, 255));  // the caller's own copy untouched
}

TEST_F(DrawFixture, LongValuesEndInAnEllipsisLongNamesNot)
{
    CComVariant longText("a value far too long for the narrow cell it is drawn in");
    ItemPtr p(CreateEditItem("a name far too long for the narrow cell it is drawn in", &longText, 1));
    ctx.rect = {0, 0, 80, 20};
    const UINT plain = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EDITCONTROL;
    canvas.Fill(RGB(255, 255, 255));
    p->DrawValue(&ctx);
    auto value = canvas.Pixels(ctx.rect.right);
    EXPECT_EQ(value, Reference("a value far too long for the narrow cell it is drawn in", plain | DT_END_ELLIPSIS));
    EXPECT_NE(value, Reference("a value far too long for the narrow cell it is drawn in", plain));
    canvas.Fill(RGB(255, 255, 255));
    p->DrawName(&ctx);
    EXPECT_EQ(canvas.Pixels(ctx.rect.right), Reference("a name far too long for the narrow cell it is drawn in", plain));
}
