// Streams of every kind through the exported creator: result, host text and the items written.
#include "support/CreatorTable.h"
#include "support/RecordingNotice.h"

namespace kiv_test {
namespace {

TEST_P(CreatorTable, ResultTextAndItems) {
    const CreatorRow& row = GetParam();
    TempDir dir;
    const std::string es = dir.Write("in.es", row.stream), kiv = dir.File(row.kivName);
    RecordingNotice notice(row.abortAfter);
    kiv_comp::CKivCreator creator;
    EXPECT_EQ(creator.CreateKiv(row.type, es.c_str(), kiv.c_str(), row.startPts, row.abortAfter < 0 ? nullptr : &notice), row.result);
    EXPECT_EQ(creator.GetLastErrorMessage(), row.message);
    EXPECT_EQ(ReadKiv(kiv).items, row.items);
}

}  // namespace
}  // namespace kiv_test
