#include "foundation/CL_CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using PRIVATE_LIBRARY::CL_CString;

template <class... Args>
std::string Fmt(const char* format, Args... args) {
    CL_CString s;
    s.Format(format, args...);
    return s.GetString();
}

template <class... Args>
std::string Printf(const char* format, Args... args) {
    char buffer[512];
    std::snprintf(buffer, sizeof(buffer), format, args...);
    return buffer;
}

TEST(CL_CStringTest, ConstructionAndStorage) {
    CL_CString none;
    EXPECT_TRUE(none.IsNull());
    EXPECT_EQ(none.GetBuffer(), nullptr);
    EXPECT_STREQ(none.GetString(), "");
    EXPECT_EQ(none.GetLength(), 0);
    EXPECT_EQ(none.GetCapacity(), 0u);

    CL_CString sized(16);
    EXPECT_FALSE(sized.IsNull());
    EXPECT_EQ(sized.GetCapacity(), 16u);
    EXPECT_STREQ(sized.GetString(), "");

    CL_CString negative(-3);
    EXPECT_TRUE(negative.IsNull());

    CL_CString text("abc");
    EXPECT_EQ(text.GetCapacity(), 4u);
    EXPECT_STREQ(text.GetString(), "abc");

    CL_CString fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(fromNull.IsNull());
}

struct SetCase {
    const char* before;
    const char* text;
    int maxLength;
    int result;
    const char* after;  // null: no storage afterwards
};

TEST(CL_CStringTest, SetTable) {
    const SetCase cases[] = {
        {nullptr, "abcdef", 3, 3, "abc"},
        {nullptr, "abcdef", -1, 6, "abcdef"},
        {nullptr, "abcdef", 6, 6, "abcdef"},
        {nullptr, "abcdef", 100, 6, "abcdef"},
        {nullptr, "abcdef", 1, 1, "a"},
        {"old", nullptr, 3, 0, "old"},
        {"old", nullptr, 0, 0, "old"},
        {"old", "abcdef", 0, 0, nullptr},
        {nullptr, "", -1, 0, ""},
        {"old", "", 5, 0, ""},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(std::string(c.text ? c.text : "(null)") + " max " + std::to_string(c.maxLength));
        CL_CString s;
        if (c.before) s = c.before;
        EXPECT_EQ(s.Set(c.text, c.maxLength), c.result);
        if (c.after == nullptr) {
            EXPECT_TRUE(s.IsNull());
        } else {
            EXPECT_STREQ(s.GetString(), c.after);
            if (c.text != nullptr) {
                EXPECT_EQ(s.GetCapacity(), std::string(c.after).size() + 1);
            }
        }
    }
}

TEST(CL_CStringTest, SetFromOwnBuffer) {
    CL_CString s("abcdef");
    EXPECT_EQ(s.Set(s.GetString() + 2, 3), 3);
    EXPECT_STREQ(s.GetString(), "cde");
}

TEST(CL_CStringTest, CopyKeepsCapacityAndIsDeep) {
    CL_CString a(32);
    a.Append("xy");
    CL_CString b(a);
    EXPECT_EQ(b.GetCapacity(), a.GetCapacity());
    EXPECT_STREQ(b.GetString(), "xy");
    EXPECT_NE(a.GetBuffer(), b.GetBuffer());
    a.GetBuffer()[0] = 'Q';
    EXPECT_STREQ(b.GetString(), "xy");

    CL_CString c("something longer");
    c = a;
    EXPECT_EQ(c.GetCapacity(), 32u);
    EXPECT_STREQ(c.GetString(), "Qy");

    c = *&c;
    EXPECT_STREQ(c.GetString(), "Qy");

    CL_CString empty;
    c = empty;
    EXPECT_TRUE(c.IsNull());
}

TEST(CL_CStringTest, AppendCases) {
    CL_CString s;
    s.Append("");
    EXPECT_TRUE(s.IsNull()) << "an empty append leaves no storage";
    s.Append(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.IsNull());
    s.Append("ab");
    s.Append(CL_CString("cd"));
    EXPECT_STREQ(s.GetString(), "abcd");
    s.Append(s);
    EXPECT_STREQ(s.GetString(), "abcdabcd");
    s.Append(s.GetString() + 6);
    EXPECT_STREQ(s.GetString(), "abcdabcdcd");
    std::string expected = s.GetString();
    for (int i = 0; i < 1000; ++i) {
        s.Append("0123456789");
        expected += "0123456789";
    }
    EXPECT_EQ(std::string(s.GetString()), expected);
    EXPECT_EQ(s.GetLength(), static_cast<int>(expected.size()));
}

struct CutCase {
    int n;
    const char* left;
    const char* right;
};

TEST(CL_CStringTest, LeftAndRightTable) {
    const CutCase cases[] = {
        {0, "", ""}, {1, "a", "f"}, {3, "abc", "def"}, {6, "abcdef", "abcdef"},
        {7, "abcdef", "abcdef"}, {-1, "abcdef", ""}, {-100, "abcdef", ""},
    };
    const CL_CString s("abcdef");
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_STREQ(s.Left(c.n).GetString(), c.left);
        EXPECT_STREQ(s.Right(c.n).GetString(), c.right);
    }
    EXPECT_STREQ(s.GetString(), "abcdef");
    const CL_CString none;
    EXPECT_STREQ(none.Left(3).GetString(), "");
    EXPECT_STREQ(none.Right(3).GetString(), "");
}

struct FindCase {
    const char* text;  // null: no storage
    const char* sub;
    int start;
    int direction;
    int result;
};

TEST(CL_CStringTest, FindTable) {
    const FindCase cases[] = {
        {"xxabxxab", "ab", 10, 1, 6},
        {"xxabxxab", "ab", -5, 0, 2},
        {"xxabxxab", "ab", 0, 0, 2},
        {"xxabxxab", "ab", 2, 0, 2},
        {"xxabxxab", "ab", 3, 0, 6},
        {"xxabxxab", "ab", 7, 0, -1},
        {"xxabxxab", "ab", 6, 1, 6},
        {"xxabxxab", "ab", 5, 1, 2},
        {"xxabxxab", "ab", 1, 1, -1},
        {"xxabxxab", "ab", -1, 1, -1},
        {"xxabxxab", "xx", 100, 1, 4},
        {"xxabxxab", "ab", 0, 2, -1},
        {"xxabxxab", "ab", 0, -1, -1},
        {"ab", "abc", 0, 0, -1},
        {"ab", "abc", 5, 1, -1},
        {"abc", "abc", 0, 0, 0},
        {"abc", "abc", 9, 1, 0},
        {"aaaa", "aa", 1, 0, 1},
        {"aaaa", "aa", 9, 1, 2},
        {nullptr, "a", 0, 0, -1},
        {nullptr, "", 0, 0, -1},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(std::string(c.text ? c.text : "(none)") + " / " + c.sub + " start " + std::to_string(c.start) +
                     " dir " + std::to_string(c.direction));
        CL_CString s;
        if (c.text) s = c.text;
        EXPECT_EQ(s.Find(c.sub, c.start, c.direction), c.result);
    }
    EXPECT_EQ(CL_CString("abc").Find(nullptr, 0, 0), -1);
}

TEST(CL_CStringTest, ClearAndReserve) {
    CL_CString s("abc");
    s.Clear();
    EXPECT_TRUE(s.IsNull());
    s = "abc";
    s.Reserve(10);
    EXPECT_EQ(s.GetCapacity(), 10u);
    EXPECT_STREQ(s.GetString(), "");
    s.Reserve(0);
    EXPECT_TRUE(s.IsNull());
}

struct FormatCase {
    std::string got;
    const char* expected;
};

TEST(CL_CStringTest, FormatOwnConversions) {
    const int64_t big = 4294967296LL;
    const FormatCase cases[] = {
        {Fmt("%wd", big), "4294967296"},
        {Fmt("%wd", int64_t{-9223372036854775807LL - 1}), "-9223372036854775808"},
        {Fmt("%wu", uint64_t{18446744073709551615ULL}), "18446744073709551615"},
        {Fmt("%wx", uint64_t{0x123456789abcdefULL}), "123456789abcdef"},
        {Fmt("%wX", uint64_t{0xfedcba9876543210ULL}), "FEDCBA9876543210"},
        {Fmt("%5.2f", 3.14159), " 3.14"},
        {Fmt("%f", 2.5), "2.500000"},
        {Fmt("%e", 12345.678), "1.234568e+04"},
        {Fmt("%-8.1f|", -1.25), "-1.2    |"},
        {Fmt("%+010.3f", 3.14159), "+00003.142"},
        {Fmt("%s", static_cast<const char*>(nullptr)), "(null)"},
        {Fmt("%8s|", static_cast<const char*>(nullptr)), "  (null)|"},
        {Fmt("%b", 5u), "101"},
        {Fmt("%B", 0u), "0"},
        {Fmt("%08b", 5u), "00000101"},
        {Fmt("%#b", 5u), "0b101"},
        {Fmt("%#B", 5u), "0B101"},
        {Fmt("%-6b|", 6u), "110   |"},
        {Fmt("%b", 0xffffffffu), "11111111111111111111111111111111"},
        {Fmt("%wb", uint64_t{1} << 40), "10000000000000000000000000000000000000000"},
        {Fmt("%p", reinterpret_cast<void*>(0x1234)), "00001234"},
        {Fmt("%P", reinterpret_cast<void*>(0xabc)), "00000ABC"},
        {Fmt("%#p", reinterpret_cast<void*>(0x1234)), "0x00001234"},
        {Fmt("%#P", reinterpret_cast<void*>(0xabc)), "0X00000ABC"},
        {Fmt("%12p|", reinterpret_cast<void*>(0x1)), "    00000001|"},
        {Fmt("%p", reinterpret_cast<void*>(0x123456789aULL)), "123456789a"},
        {Fmt("%d%%", 50), "50%"},
        {Fmt("%%d"), "%d"},
        {Fmt("100%"), "100%"},
        {Fmt("%q|%d", 7), "%q|7"},
        {Fmt("%c%c%c", 'a', 'b', 'c'), "abc"},
        {Fmt("%3c|%-3c|", 'x', 'y'), "  x|y  |"},
        {Fmt("[%s] : %d\r\n", "Frame Rate", 24), "[Frame Rate] : 24\r\n"},
        {Fmt("%s : %s", "a", "b"), "a : b"},
        {Fmt("File can not open.(%s)", "/x/y.es"), "File can not open.(/x/y.es)"},
        {Fmt("no conversions"), "no conversions"},
        {Fmt(""), ""},
        {Fmt("%d %wd %d", 1, int64_t{2}, 3), "1 2 3"},
        {Fmt("%ld|%lld|%zu", 5L, -6LL, size_t{7}), "5|-6|7"},
        {Fmt("%hd|%hhu", 70000, 300), "4464|44"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].got, cases[i].expected);
    }
}

// For the conversions the C runtime shares, the results must be the C runtime's.
TEST(CL_CStringTest, FormatIntegersAgreeWithPrintf) {
    const char* flags[] = {"", "-", "+", " ", "0", "#", "-+", "+0", "#0", "-#", " 0", "-0", "+ "};
    const char* widths[] = {"", "1", "5", "12"};
    const char* precisions[] = {"", ".0", ".3", ".10"};
    const char letters[] = {'d', 'u', 'x', 'X'};
    const int values[] = {0, 1, -1, 42, 255, INT_MIN, INT_MAX, -123456};
    int compared = 0;
    for (const char* f : flags) {
        for (const char* w : widths) {
            for (const char* p : precisions) {
                for (char letter : letters) {
                    const std::string format = std::string("<%") + f + w + p + letter + ">";
                    for (int v : values) {
                        SCOPED_TRACE(format + " " + std::to_string(v));
                        ASSERT_EQ(Fmt(format.c_str(), v), Printf(format.c_str(), v));
                        const std::string wide = std::string("<%") + f + w + p + "w" + letter + ">";
                        const std::string ll = std::string("<%") + f + w + p + "ll" + letter + ">";
                        const long long v64 = static_cast<long long>(v) * 3000000007LL;
                        ASSERT_EQ(Fmt(wide.c_str(), v64), Printf(ll.c_str(), v64));
                        ++compared;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 1000);
}

TEST(CL_CStringTest, FormatTextAndFloatAgreeWithPrintf) {
    const char* formats[] = {"%s", "%10s", "%-10s|", "%.2s", "%8.3s|", "%-8.0s|", "%.10s"};
    for (const char* f : formats) {
        SCOPED_TRACE(f);
        EXPECT_EQ(Fmt(f, "abcdef"), Printf(f, "abcdef"));
    }
    const char* floats[] = {"%f", "%.0f", "%#.0f", "%12.4f", "%-12.4f|", "%+f", "% f", "%012.2f", "%e", "%.2e", "%15.3e"};
    const double values[] = {0.0, -0.5, 1.0 / 3.0, 1e20, -2.5e-7, 123456789.125};
    for (const char* f : floats) {
        for (double v : values) {
            SCOPED_TRACE(std::string(f) + " " + std::to_string(v));
            EXPECT_EQ(Fmt(f, v), Printf(f, v));
        }
    }
    EXPECT_EQ(Fmt("%f", 1e300).size(), Printf("%f", 1e300).size());
    EXPECT_EQ(Fmt("%f", 1e300), Printf("%f", 1e300));
}

TEST(CL_CStringTest, FormatReplacesAndMayUseItsOwnText) {
    CL_CString s("previous text");
    s.Format("%s-%s", s.GetString(), "x");
    EXPECT_STREQ(s.GetString(), "previous text-x");
    s.Format("%d", 7);
    EXPECT_STREQ(s.GetString(), "7");
    EXPECT_EQ(s.GetCapacity(), 2u);
    const std::string longText(5000, 'z');
    s.Format("<%s>", longText.c_str());
    EXPECT_EQ(std::string(s.GetString()), "<" + longText + ">");
}

TEST(CL_CStringTest, FormatCutOffDirective) {
    EXPECT_EQ(Fmt("abc%-5"), "abc%-5");
    EXPECT_EQ(Fmt("abc%w"), "abc%w");
}

}  // namespace
