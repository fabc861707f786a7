// The string class: storage, appending and Format, checked against the C runtime where they share conversions.
#include "foundation/CL_CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

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

TEST(CL_CStringTest, StorageCopyAndAppend) {
    CL_CString none;
    EXPECT_TRUE(none.IsNull());
    EXPECT_STREQ(none.GetString(), "");
    none.Append("");
    EXPECT_TRUE(none.IsNull()) << "an empty append leaves no storage";
    CL_CString a(32);
    a.Append("xy");
    CL_CString b(a);
    EXPECT_EQ(b.GetCapacity(), 32u);
    a.GetBuffer()[0] = 'Q';
    EXPECT_STREQ(b.GetString(), "xy") << "copies are deep";
    b = b;
    b.Append(b);
    b.Append(b.GetString() + 3);
    EXPECT_STREQ(b.GetString(), "xyxyy");
    std::string expected = b.GetString();
    for (int i = 0; i < 1000; ++i, expected += "0123456789") b.Append("0123456789");
    EXPECT_EQ(b.GetString(), expected);
    EXPECT_EQ(b.GetLength(), static_cast<int>(expected.size()));
    b = none;
    EXPECT_TRUE(b.IsNull());
}

// The conversions the library adds to the C runtime's, and the report and message shapes.
TEST(CL_CStringTest, FormatOwnConversions) {
    const std::pair<std::string, const char*> cases[] = {
        {Fmt("%wd", int64_t{-9223372036854775807LL - 1}), "-9223372036854775808"},
        {Fmt("%wu|%wX", uint64_t{18446744073709551615ULL}, uint64_t{0xfedcba9876543210ULL}),
         "18446744073709551615|FEDCBA9876543210"},
        {Fmt("%d %wd %d", 1, int64_t{4294967296LL}, 3), "1 4294967296 3"},
        {Fmt("%s|%8s|", static_cast<const char*>(nullptr), static_cast<const char*>(nullptr)), "(null)|  (null)|"},
        {Fmt("%b|%08b|%#B|%-6b|", 5u, 5u, 5u, 6u), "101|00000101|0B101|110   |"},
        {Fmt("%wb", uint64_t{1} << 40), "10000000000000000000000000000000000000000"},
        {Fmt("%p|%#P|%12p|", reinterpret_cast<void*>(0x1234), reinterpret_cast<void*>(0xabc),
             reinterpret_cast<void*>(0x1)),
         "00001234|0X00000ABC|    00000001|"},
        {Fmt("%d%%|%q|100%", 50), "50%|%q|100%"},
        {Fmt("%3c|%-3c|", 'x', 'y'), "  x|y  |"},
        {Fmt("[%s] : %d\r\n", "frame rate", 24), "[frame rate] : 24\r\n"},
        {Fmt("abc%-5"), "abc%-5"},
        {Fmt("abc%w"), "abc%w"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.first, c.second);
}

// For the conversions the C runtime shares, the results must be the C runtime's.
TEST(CL_CStringTest, FormatAgreesWithPrintf) {
    for (const char* f : {"", "-", "+", " ", "0", "#", "-+", "#0", " 0"}) {
        for (const char* wp : {"", "5", ".3", "12.10"}) {
            for (char letter : {'d', 'u', 'x', 'X'}) {
                const std::string format = std::string("<%") + f + wp + letter + ">";
                const std::string wide = std::string("<%") + f + wp + "w" + letter + ">";
                const std::string ll = std::string("<%") + f + wp + "ll" + letter + ">";
                for (int v : {0, 1, -1, 255, INT_MIN, INT_MAX}) {
                    ASSERT_EQ(Fmt(format.c_str(), v), Printf(format.c_str(), v)) << format << " " << v;
                    const long long v64 = v * 3000000007LL;
                    ASSERT_EQ(Fmt(wide.c_str(), v64), Printf(ll.c_str(), v64)) << wide << " " << v;
                }
            }
        }
    }
    for (const char* f : {"%s", "%-10s|", "%8.3s|", "%.0s|"}) EXPECT_EQ(Fmt(f, "abcdef"), Printf(f, "abcdef")) << f;
    for (const char* f : {"%f", "%#.0f", "%-12.4f|", "%+012.2f", "%e", "%15.3e"}) {
        for (double v : {0.0, -0.5, 1.0 / 3.0, 1e300, -2.5e-7}) EXPECT_EQ(Fmt(f, v), Printf(f, v)) << f << " " << v;
    }
}

TEST(CL_CStringTest, FormatReplacesAndMayUseItsOwnText) {
    CL_CString s("previous text");
    s.Format("%s-%s", s.GetString(), "x");
    EXPECT_STREQ(s.GetString(), "previous text-x");
    const std::string longText(5000, 'z');
    s.Format("<%s>", longText.c_str());
    EXPECT_EQ(std::string(s.GetString()), "<" + longText + ">");
}

}  // namespace
