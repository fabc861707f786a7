// IG row of the creator table: one item per segment; the composition file lies in the temp folder ("./").
#include "support/CreatorTable.h"
#include "support/GraphicsBuilder.h"

namespace kiv_test {
namespace {

using namespace gfx;

// Button 1 shows object 1 and, selected, object 2 (200 x 100 each): drawing 113 + decode wait 450.
INSTANTIATE_TEST_SUITE_P(
    Ig, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"IgOneDisplaySet", kiv_comp::CKivCreator::ES_TYPE_IG,
         Menu{{MenuPage({{1, {Btn(1, 1, 2)}}}, 1)}, {{1, 200, 100}, {2, 200, 100}}}.Build(), {90000}, true, "",
         {{24, 89, 89437, 90000, 0, 1, 1}, {20, 10, 89437, 89437}, {21, 24, 89437, 89662, 0, 1, 1},
          {21, 24, 89662, 89887, 0, 1, 1}, {128, 3, 89887, 89887}, {255, 0, 0, 93003}}},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
