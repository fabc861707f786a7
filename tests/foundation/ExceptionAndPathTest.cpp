// Error classification, the texts an exception keeps, and path normalisation.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "foundation/CL_CFilePath.h"
#include "foundation/CTsMuxException.h"
#include "foundation/ErrorClassification.h"

namespace {

using PRIVATE_LIBRARY::CL_CFilePath;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::CTsMuxException;

TEST(ClassifyFileErrorTest, MapsErrnoAndOperationToCode) {
    const int cases[][3] = {  // errno, operation, code
        {ENOENT, 1, 8},  {EEXIST, 1, 9},  {EACCES, 1, 10}, {0, 1, 10},      {ENOENT, 2, 12}, {ENOSPC, 2, 12},
        {ENOSPC, 3, 14}, {EBADF, 3, 12},  {ENOENT, 4, 11}, {ENOSPC, 4, 11}, {ENOENT, 7, 5},  {ENOENT, 0, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(ts_comp::ClassifyFileError(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
}

// File name and detail are kept up to 258 characters each, independently; longer ones not at all.
TEST(CTsMuxExceptionTest, KeepsTextsUpTo258Characters) {
    const std::string s258(258, 'b'), s259(259, 'c');
    const std::string cases[][4] = {  // name, detail, the name kept, the detail kept
        {s258, s258, s258, s258}, {s259, "x", "", "x"}, {"a.ac3", s259, "a.ac3", ""}, {"", "", "", ""}};
    for (const auto& c : cases) {
        const CTsMuxException e(10, CL_CString("m"), "Es", 1, c[0].c_str(), c[1].c_str());
        EXPECT_EQ(std::string(e.GetFileName()) + "|" + e.GetDetail(), c[2] + "|" + c[3]);
    }
    CTsMuxException copy(0, CL_CString("abort end."), nullptr, 1, nullptr, nullptr);
    EXPECT_EQ(std::string(copy.GetFileName()) + "|" + copy.GetSourceFile(), "|");
    const CTsMuxException original(13, CL_CString("\nwrite error. (file name = x."), "Kiv", 77, s258.c_str(), "disk");
    copy = CTsMuxException(original);
    CL_CString message;
    copy.GetErrorMessage(message);
    EXPECT_EQ(std::string(message.GetString()) + "|" + std::to_string(copy.GetErrorCode()) + "|" + std::to_string(copy.GetLine()) +
                  "|" + copy.GetDetail() + "|" + copy.GetFileName(), "\nwrite error. (file name = x.|13|77|disk|" + s258);
}

// Separators join with "/", repeated ones collapse except a leading run; a drive keeps no separator after it.
TEST(CL_CFilePathTest, Normalises) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:/es//a.ac3", "C:/es/a.ac3"}, {"C:\\es\\\\a.ac3", "C:/es/a.ac3"}, {"./out/", "./out"},
        {"//x", "//x"},                  {"\\\\server\\f", "//server/f"},     {"///", "///"},
        {"a//b\\\\c///", "a/b/c"},       {"a/../b/./c", "a/../b/./c"},       {"", ""},
        {"C:/", "C:"},                   {"C://x", "C:/x"},                   {"C:x\\y", "C:/x/y"},
    };
    for (const auto& c : cases) {
        const CL_CFilePath path(c.first);
        EXPECT_STREQ(path.GetString(), c.second) << c.first;
        CL_CString out("stale");
        CL_CFilePath::Normalize(c.first, out);
        EXPECT_STREQ(out.GetString(), c.second) << c.first;
        EXPECT_STREQ(CL_CFilePath(path).GetString(), c.second) << "copies normalise to the same text";
    }
    EXPECT_STREQ(CL_CFilePath(nullptr).GetString(), "");
}

}  // namespace
