// ES file reader with no Varnel library reachable: which names go to Varnel, and the answers of a reader
// without a file. The reads themselves are checked in VarnelLoadedTest.cpp, for both kinds of file.
#include <gtest/gtest.h>

#include <string>

#include "foundation/CL_CString.h"
#include "input/CBinaryBuffer.h"
#include "input/CEsFileReader.h"
#include "input/CVarnelLibrary.h"
#include "support/TempDir.h"

namespace {

using ts_comp::es::CEsFileReader;

TEST(EsFileReader, VarnelPathsEndInUpperCaseVesAfterMoreThanThreeCharacters) {
    for (const char* path : {"a.VES", "xVES", "/d/VES"}) EXPECT_TRUE(CEsFileReader::IsVarnelPath(path)) << path;
    for (const char* path : {"VES", "a.ves", "a.VEs", "a.VES.bin", ""}) EXPECT_FALSE(CEsFileReader::IsVarnelPath(path));
    EXPECT_FALSE(CEsFileReader::IsVarnelPath(nullptr));
}

// Never opened, or Varnel missing for a .VES name: every query answers its empty value.
TEST(EsFileReader, WithoutAFile) {
    ASSERT_FALSE(ts_comp::es::CVarnelLibrary::Get().IsLoaded()) << "a libvarnel.so is on the loader path";
    kiv_test::TempDir dir;
    CEsFileReader never, varnel;
    EXPECT_FALSE(varnel.Open(dir.Write("a.VES", {1, 2, 3}).c_str()));
    EXPECT_STREQ(varnel.GetLastErrorText(), "");
    EXPECT_EQ(never.GetLastErrorText(), nullptr);
    for (CEsFileReader* r : {&never, &varnel}) {
        PRIVATE_LIBRARY::CL_CString name("junk");
        EXPECT_STREQ(r->GetFileName(name).GetString(), "");
        EXPECT_EQ(r->GetLastErrorNumber(), 0);
        EXPECT_FALSE(r->IsOpen());
        EXPECT_EQ(r->Tell(), 0);
        EXPECT_EQ(r->GetLength(), 0);
        EXPECT_FALSE(r->Rewind());
        EXPECT_FALSE(r->Seek(0, 0));
        uint8_t byte = 0;
        EXPECT_EQ(r->Read(&byte, 1), 0u);
        const uint8_t* data = nullptr;
        EXPECT_EQ(r->PeekBuffered(&data), 0u);
        EXPECT_EQ(r->Skip(5), 0u);
    }
    ts_comp::CBinaryBuffer bits;
    EXPECT_FALSE(bits.Open(dir.File("a.VES").c_str()));
}

}  // namespace
