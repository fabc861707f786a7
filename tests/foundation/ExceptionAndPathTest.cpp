#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "foundation/CL_CFilePath.h"
#include "foundation/CTsMuxException.h"
#include "foundation/ErrorClassification.h"

using PRIVATE_LIBRARY::CL_CFilePath;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::CTsMuxException;

namespace {

struct ClassifyCase {
    int errorNumber;
    int kind;
    int code;
};

TEST(ClassifyFileErrorTest, MapsErrnoAndKindToCode) {
    const ClassifyCase cases[] = {
        {ENOENT, ts_comp::kFileOperationOpen, 8},  {EEXIST, ts_comp::kFileOperationOpen, 9},
        {EACCES, ts_comp::kFileOperationOpen, 10}, {0, ts_comp::kFileOperationOpen, 10},
        {ENOENT, ts_comp::kFileOperationRead, 12}, {ENOSPC, ts_comp::kFileOperationRead, 12},
        {ENOSPC, ts_comp::kFileOperationWrite, 14}, {EBADF, ts_comp::kFileOperationWrite, 12},
        {ENOENT, ts_comp::kFileOperationFourth, 11}, {ENOENT, 7, 5},
        {ENOENT, 0, 5},                             {ENOENT, -1, 5},
    };
    for (const ClassifyCase& c : cases) {
        SCOPED_TRACE("errno " + std::to_string(c.errorNumber) + " kind " + std::to_string(c.kind));
        EXPECT_EQ(ts_comp::ClassifyFileError(c.errorNumber, c.kind), c.code);
    }
}

std::string MessageOf(const CTsMuxException& e) {
    CL_CString out;
    e.GetErrorMessage(out);
    return out.GetString() ? out.GetString() : "";
}

TEST(CTsMuxExceptionTest, KeepsCodeMessageAndBothTexts) {
    CTsMuxException e(15, CL_CString("The es file is short."), "src.cpp", 42, "a.ac3", "detail");
    EXPECT_EQ(e.GetErrorCode(), 15);
    EXPECT_EQ(MessageOf(e), "The es file is short.");
    EXPECT_STREQ(e.GetFileName(), "a.ac3");
    EXPECT_STREQ(e.GetDetail(), "detail");
    EXPECT_EQ(e.GetLine(), 42);
}

TEST(CTsMuxExceptionTest, TextsOfMoreThan258CharactersAreNotCopiedAtAll) {
    const struct {
        size_t length;
        bool kept;
    } cases[] = {{1, true}, {257, true}, {258, true}, {259, false}, {400, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        CTsMuxException e(10, CL_CString("m"), "s", 1, text.c_str(), text.c_str());
        EXPECT_EQ(std::string(e.GetFileName()), c.kept ? text : "");
        EXPECT_EQ(std::string(e.GetDetail()), c.kept ? text : "");
    }
}

TEST(CTsMuxExceptionTest, NullAndEmptyTextsLeaveTheArraysEmpty) {
    CTsMuxException e(6, CL_CString("\nstart pts is not set."), "s", 1, nullptr, nullptr);
    EXPECT_STREQ(e.GetFileName(), "");
    EXPECT_STREQ(e.GetDetail(), "");
    CTsMuxException abort(0, CL_CString("abort end."), "s", 1, "", "");
    EXPECT_STREQ(abort.GetFileName(), "");
    EXPECT_EQ(MessageOf(abort), "abort end.");
}

TEST(CTsMuxExceptionTest, CopyKeepsEverything) {
    CTsMuxException e(13, CL_CString("\nwrite error. (file name = x."), "s", 7, "f", "d");
    CTsMuxException copy(e);
    EXPECT_EQ(copy.GetErrorCode(), 13);
    EXPECT_EQ(MessageOf(copy), MessageOf(e));
    EXPECT_STREQ(copy.GetFileName(), "f");
    EXPECT_STREQ(copy.GetDetail(), "d");
}

TEST(CL_CFilePathTest, Normalises) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:/es//a.ac3", "C:/es/a.ac3"},
        {"C:\\es\\\\a.ac3", "C:/es/a.ac3"},
        {"./out/", "./out"},
        {"//x", "//x"},
        {"/a//b/", "/a/b"},
        {"a/../b/./c", "a/../b/./c"},
        {"", ""},
        {"C:", "C:"},
        {"plain", "plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        CL_CFilePath path(c.in);
        EXPECT_STREQ(path.GetString() ? path.GetString() : "", c.out);
        CL_CString out;
        CL_CFilePath::Normalize(c.in, out);
        EXPECT_STREQ(out.GetString() ? out.GetString() : "", c.out);
    }
}

TEST(CL_CFilePathTest, NullGivesEmptyText) {
    CL_CFilePath path;
    path.SetPath(nullptr);
    EXPECT_STREQ(path.GetString() ? path.GetString() : "", "");
}

}  // namespace
