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

// A string without storage reads as "", also after an empty append; copies are deep; appends and Format may
// take the string's own text.
TEST(CL_CStringTest, StorageCopyAndAppend) {
    CL_CString none, a(32);
    none.Append("");
    EXPECT_STREQ(none.GetString(), "");
    a.Append("xy");
    CL_CString b(a);
    a.Append("Q");
    b = b;
    b.Append(b);
    b.Append(b.GetString() + 3);
    std::string expected = "xyxyy";
    for (int i = 0; i < 1000; ++i, expected += "0123456789") b.Append("0123456789");
    EXPECT_EQ(b.GetString(), expected);
    EXPECT_EQ(b.GetLength(), static_cast<int>(expected.size()));
    b = none;
    EXPECT_STREQ(b.GetString(), "");
    b.Format("%s-%s", "previous text", "x");
    b.Format("%s-%s", b.GetString(), std::string(5000, 'z').c_str());
    EXPECT_EQ(std::string(b.GetString()), "previous text-x-" + std::string(5000, 'z'));
}

// The conversions the library adds to the C runtime's, and the report and message shapes.
TEST(CL_CStringTest, FormatOwnConversions) {
    const std::pair<std::string, const char*> cases[] = {
        {Fmt("%wd", int64_t{-9223372036854775807LL - 1}), "-9223372036854775808"},
        {Fmt("%wu|%wX", uint64_t{18446744073709551615ULL}, uint64_t{0xfedcba9876543210ULL}),
         "18446744073709551615|FEDCBA9876543210"},
        {Fmt("%d %wd %d", 1, int64_t{4294967296LL}, 3), "1 4294967296 3"},
        {Fmt("%s|%8s|", static_cast<const char*>(nullptr), static_cast<const char*>(nullptr)), "(null)|  (null)|"},
        {Fmt("%d%%|%q|100%", 50), "50%|%q|100%"},
        {Fmt("[%s] : %d\r\n", "frame rate", 24), "[frame rate] : 24\r\n"},
        {Fmt("abc%-5"), "abc%-5"},
        {Fmt("abc%w"), "abc%w"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.first, c.second);
}

// For the conversions the C runtime shares, the results must be the C runtime's.
TEST(CL_CStringTest, FormatAgreesWithPrintf) {
    char want[512];
    for (const char* f : {"", "-", "+", " ", "0", "#", "-+", "#0", " 0"}) {
        for (const char* wp : {"", "5", ".3", "12.10"}) {
            for (char letter : {'d', 'u', 'x', 'X'}) {
                const std::string format = std::string("<%") + f + wp + letter + ">";
                const std::string wide = std::string("<%") + f + wp + "w" + letter + ">";
                const std::string ll = std::string("<%") + f + wp + "ll" + letter + ">";
                for (int v : {0, 1, -1, 255, INT_MIN, INT_MAX}) {
                    std::snprintf(want, sizeof want, format.c_str(), v);
                    ASSERT_EQ(Fmt(format.c_str(), v), want) << format << " " << v;
                    std::snprintf(want, sizeof want, ll.c_str(), v * 3000000007LL);
                    ASSERT_EQ(Fmt(wide.c_str(), v * 3000000007LL), want) << wide << " " << v;
                }
            }
        }
    }
    for (const char* f : {"%s", "%-10s|", "%8.3s|", "%.0s|"}) {
        std::snprintf(want, sizeof want, f, "abcdef");
        EXPECT_EQ(Fmt(f, "abcdef"), want) << f;
    }
    for (const char* f : {"%f", "%.1f", "%-12.3f|", "%+08.1f", "%7.3f", "%#.0f"}) {
        for (double v : {0.0, -0.5, 1.0 / 3.0, 0.05, 1e300, -2.5e-7}) {
            std::snprintf(want, sizeof want, f, v);
            EXPECT_EQ(Fmt(f, v), want) << f << " " << v;
        }
    }
}

}  // namespace
