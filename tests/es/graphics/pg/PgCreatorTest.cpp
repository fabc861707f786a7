// PG streams through the exported creator: dispatch, success and the messages the host sees.
#include <gtest/gtest.h>

#include <string>

#include "KivCreator.h"
#include "support/GraphicsBuilder.h"
#include "support/TempDir.h"

using namespace kiv_test::gfx;
using kiv_test::TempDir;

namespace {

Bytes Epoch() {
    Pcs pcs;
    pcs.objects = {{1, 0}};
    Bytes b = pcs.Build();
    Append(b, Wds({{0, 0, 0, 1000, 200}}));
    Append(b, Pds(0, 0, {}));
    Append(b, Ods(1, 1000, 200, 100));
    Append(b, End());
    return b;
}

TEST(PgCreator, CreatesAndReportsFailures) {
    struct Case {
        const char* name;
        int sets;
        std::vector<uint32_t> starts;
        bool ok;
        const char* message;
    };
    const Case cases[] = {
        {"one set", 1, {90000}, true, ""},
        {"more sets than starts", 2, {90000}, false,
         "The number of pts in start pts list and display set is not equal."},
        {"negative dts", 1, {6000}, false, "\nA DTS value of first Segment is minus .(DTS = -396)"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Bytes stream;
        for (int i = 0; i < c.sets; ++i) Append(stream, Epoch());
        const std::string es = dir.Write("a.pgs", stream);
        kiv_comp::CKivCreator creator;
        EXPECT_EQ(creator.CreateKiv(kiv_comp::CKivCreator::ES_TYPE_PG, es.c_str(), dir.File("a.kiv").c_str(), c.starts,
                                    nullptr),
                  c.ok)
            << c.name;
        EXPECT_STREQ(creator.GetLastErrorMessage(), c.message) << c.name;
        if (c.ok) {
            const Bytes kiv = TempDir::Read(dir.File("a.kiv"));
            ASSERT_EQ(kiv.size(), 4u + 6 * 15) << c.name;
            EXPECT_EQ(Bytes(kiv.begin(), kiv.begin() + 4), Bytes({0, 0, 0, 3}));
            EXPECT_EQ(kiv[4 + 5 * 15], 0xFF);
        }
    }
}

}  // namespace
