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

TEST(CStringTest, ReplaceScansLeftToRightWithoutRescanningWhatItPutIn)
{
    struct Row { const char* text; const char* from; const char* to; int count; const char* result; };
    const Row rows[] = {
        {"aaaaa", "aa", "b", 2, "bba"},        // overlapping occurrences
        {"xax", "x", "xyz", 2, "xyzaxyz"},      // grows past the buffer
        {"a--b--", "--", "", 2, "ab"},          // shrinks
        {"aXa", "a", "aa", 2, "aaXaa"},         // the pattern in its replacement
        {"abc", "abcd", "z", 0, "abc"},         // longer than the text
        {"", "a", "b", 0, ""},
    };
    for (const Row& r : rows) {
        CString s(r.text);
        EXPECT_EQ(s.Replace(r.from, r.to), r.count) << r.text << " " << r.from;
        EXPECT_EQ(s, r.result) << r.text << " " << r.from;
    }
    CString s("abcabc");
    EXPECT_EQ(s.Replace((const char*)s + 3, "x"), 2);     // pattern read from the string itself
    EXPECT_EQ(s, "xx");
}

TEST(CStringTest, OwnTextAsSourceAndGrowthKeepContents)
{
    CString s("abc");
    s = s;
    s += s;
    EXPECT_EQ(s, "abcabc");
    s = (const char*)s + s.Find('c');   // its own tail
    EXPECT_EQ(s, "cabc");
    s.Format("%s-%s", (const char*)s, (const char*)s);
    EXPECT_EQ(s, "cabc-cabc");
    s = s + s;
    EXPECT_EQ(s, "cabc-cabccabc-cabc");

    CString grown("q");
    for (int i = 1; i < 1000; ++i)
        grown += (const char*)grown + grown.GetLength() - 1;   // its own last character
    EXPECT_EQ(grown, CString('q', 1000));
    for (int n : {255, 256, 257}) {   // around the first formatting attempt's size
        CString f;
        f.Format("%s", std::string((size_t)n, 'f').c_str());
        f.AppendFormat("%d", 7);
        EXPECT_EQ(f.GetLength(), n + 1);
        EXPECT_EQ(f.Right(2), "f7");
    }

    CString nul("a\0b", 3);
    EXPECT_EQ(nul.GetLength(), 3);
    EXPECT_NE(nul, "a");
    EXPECT_EQ(nul.Find('b'), 2);
    EXPECT_TRUE(CString("a") < nul);
    char* p = nul.GetBuffer(8);
    EXPECT_EQ(memcmp(p, "a\0b\0\0\0\0\0\0", 9), 0);   // kept, then NULs to the terminator
    nul.ReleaseBuffer();
    EXPECT_EQ(nul, "a");
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
