// PG rows of the creator table: one item per segment, one start value per display set.
#include "support/CreatorTable.h"
#include "support/GraphicsBuilder.h"

namespace kiv_test {
namespace {

using namespace gfx;
constexpr auto kPg = kiv_comp::CKivCreator::ES_TYPE_PG;

// PCS, WDS, PDS, ODS and END of one epoch-start display set presented at 90000.
const std::vector<KivItem> kSet = {{22, 22, 83604, 90000, 2},     {23, 13, 83604, 89437}, {20, 5, 83604, 83604},
                                   {21, 114, 83604, 84729, 0, 1, 1}, {128, 3, 84729, 84729}};
std::vector<KivItem> WithEnd(std::vector<KivItem> items, uint64_t pts) {
    items.push_back({255, 0, 0, pts});
    return items;
}

Bytes Epochs(int count) {
    Pcs pcs;
    pcs.objects = {{1, 0}};
    Bytes b;
    for (int i = 0; i < count; ++i) {
        Append(b, pcs.Build());
        Append(b, Wds({{0, 0, 0, 1000, 200}}));
        Append(b, Pds(0, 0, {}));
        Append(b, Ods(1, 1000, 200, 100));
        Append(b, End());
    }
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Pg, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"OneDisplaySet", kPg, Epochs(1), {90000}, true, "", WithEnd(kSet, 93003)},
        {"MoreSetsThanStarts", kPg, Epochs(2), {90000}, false,
         "The number of pts in start pts list and display set is not equal.", kSet},
        {"NegativeDts", kPg, Epochs(1), {6000}, false, "\nA DTS value of first Segment is minus .(DTS = -396)", {}},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
