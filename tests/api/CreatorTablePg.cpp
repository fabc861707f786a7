// PG rows of the creator table: one item per segment, one start value per display set.
#include "support/CreatorTable.h"
#include "support/GraphicsBuilder.h"

namespace kiv_test {
namespace {

using namespace gfx;
constexpr auto kPg = kiv_comp::CKivCreator::ES_TYPE_PG;

// One epoch-start display set: PCS, WDS, PDS, ODS and END, then the end item, presented at 90000. An abort
// asked for in the second progress call is seen when the third item is written: three items stay.
const Bytes kSet = Cat({Pcs{1920, 1080, 4, 0, 2, false, 0, {{1, 0}}}.Build(), Wds({{0, 0, 0, 1000, 200}}),
                        Pds(0, 0, {}), Ods(1, 1000, 200, 100), End()});
const std::vector<KivItem> kItems = {{22, 22, 83604, 90000, 2}, {23, 13, 83604, 89437}, {20, 5, 83604, 83604},
                                     {21, 114, 83604, 84729, 0, 1, 1}, {128, 3, 84729, 84729}, {255, 0, 0, 93003}};

INSTANTIATE_TEST_SUITE_P(
    Pg, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"OneDisplaySet", kPg, kSet, {90000}, true, "", kItems},
        {"MoreSetsThanStarts", kPg, Cat({kSet, kSet}), {90000}, false,
         "The number of pts in start pts list and display set is not equal.", {kItems.begin(), kItems.end() - 1}},
        {"NegativeDts", kPg, kSet, {6000}, false, "\nA DTS value of first Segment is minus .(DTS = -396)", {}},
        {"PgAbort", kPg, kSet, {90000}, false, "abort end.", {kItems.begin(), kItems.begin() + 3}, 2},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
