// Strings, collections and the printf-pattern guard.
#include "vfx.h"
#include <gtest/gtest.h>

TEST(CStringTest, FormatHasNoLengthLimitAndSlicesAreBounded)
{
    CString big;
    big.Format("%s|%d", std::string(5000, 'x').c_str(), 42);
    EXPECT_EQ(big.GetLength(), 5003);
    EXPECT_EQ(big.Right(3), "|42");

    CString s("hello");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Left(99), "hello");
    EXPECT_EQ(s.Mid(10), "");
    EXPECT_EQ(s.Mid(-3, 2), "he");
    EXPECT_EQ(s.Mid(3, 99), "lo");
    EXPECT_EQ(s.Right(0), "");
    EXPECT_EQ(s.GetAt(5), '\0');
    EXPECT_EQ(s.Find('l'), 2);
    EXPECT_EQ(s.Find('l', 3), 3);
    EXPECT_EQ(s.Find('z'), -1);
    EXPECT_EQ(s.Find("lo"), 3);
    EXPECT_EQ(s.ReverseFind('l'), 3);
}

TEST(CStringTest, ReplaceAndCase)
{
    CString s("a\\nb\\tc\\n");
    EXPECT_EQ(s.Replace("\\n", "\n"), 2);
    EXPECT_EQ(s, "a\nb\\tc\n");
    EXPECT_EQ(s.Replace("", "x"), 0);
    CString t("MiXeD");
    EXPECT_EQ(t.MakeLower(), "mixed");
    EXPECT_EQ(CString("English").CompareNoCase("english"), 0);
}

TEST(CStringTest, BufferRoundTrip)
{
    CString s;
    char* p = s.GetBuffer(16);
    strcpy(p, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "abc");
    p = s.GetBuffer(10);
    memcpy(p, "0123456789", 10);
    s.ReleaseBuffer(4);
    EXPECT_EQ(s, "0123");
}

TEST(FormatSpecsTest, TranslatedPatternMustKeepConversionsInOrder)
{
    EXPECT_TRUE(FormatSpecsMatch("%d minutes until next %s...", "Noch %d Minuten bis zur %s..."));
    EXPECT_TRUE(FormatSpecsMatch("100%% done %d", "%d fertig, 100%%"));
    EXPECT_FALSE(FormatSpecsMatch("%d minutes until next %s...", "%s bis %d"));
    EXPECT_FALSE(FormatSpecsMatch("%d minutes", "%s Minuten"));
    EXPECT_FALSE(FormatSpecsMatch("%d minutes", "%d %d Minuten"));
    EXPECT_FALSE(FormatSpecsMatch("%d minutes", "Minuten"));
    EXPECT_FALSE(FormatSpecsMatch("%02d", "%2d"));
    EXPECT_FALSE(FormatSpecsMatch("%d", "%d %"));
}

TEST(CMapStringToStringTest, ExactKeysAndIteration)
{
    CMapStringToString map;
    map.SetAt("Pause", "Pause (de)");
    map.SetAt("pause", "klein");
    map.SetAt("", "empty key");
    map.SetAt("Pause", "second wins");
    CString v;
    ASSERT_TRUE(map.Lookup("Pause", v));
    EXPECT_EQ(v, "second wins");
    ASSERT_TRUE(map.Lookup("pause", v));
    EXPECT_EQ(v, "klein");
    EXPECT_FALSE(map.Lookup("PAUSE", v));
    EXPECT_EQ(map.GetCount(), 3);
    int seen = 0;
    CString k;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, k, v);
        ++seen;
    }
    EXPECT_EQ(seen, 3);
    map.RemoveAll();
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}
