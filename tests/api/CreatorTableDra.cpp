// DRA rows of the creator table: frames of 64 bytes unless stated, sizes running to the next sync word,
// durations with the remainder dropped per frame; the host texts of the failures.
#include "support/CreatorTable.h"
#include "support/ItemText.h"
#include "support/DraBuilder.h"

namespace kiv_test {
namespace {

constexpr auto kDra = kiv_comp::CKivCreator::ES_TYPE_DRA;

// lead, then the frames, then tail.
std::vector<uint8_t> Stream(const std::vector<DraFrame>& frames, std::vector<uint8_t> tail = {}, std::vector<uint8_t> lead = {}) {
    for (const DraFrame& f : frames) f.AppendTo(lead);
    lead.insert(lead.end(), tail.begin(), tail.end());
    return lead;
}
const DraFrame k48{};                  // 8 blocks at 48 kHz: 1920 ticks
const DraFrame k44{0, 3, 7};           // 8 blocks at 44.1 kHz: 2089.8 ticks
DraFrame Sized(unsigned bytes, int numWord) { return {0, 3, 8, 2, 0, 0, 0, 0, 0, bytes, numWord}; }
std::vector<uint8_t> SyncThen(size_t n) {  // a sync word inside a frame's declared length
    std::vector<uint8_t> v = {0x7F, 0xFF};
    v.resize(n, 0x55);
    return v;
}

const std::vector<DraFrame> k1000s(size_t n) { return std::vector<DraFrame>(n, Sized(1000, -1)); }
std::string At48k(std::vector<unsigned> sizes) {  // items of these sizes 1920 ticks apart, then the end
    std::string items;
    for (size_t i = 0; i <= sizes.size(); ++i) items += (i < sizes.size() ? " 0:" + std::to_string(sizes[i]) + "@" : " E@") + std::to_string(1920 * i);
    return items;
}
std::vector<unsigned> With(std::vector<unsigned> sizes, size_t at, unsigned size) { return sizes[at] = size, sizes; }

INSTANTIATE_TEST_SUITE_P(
    Dra, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"At48k", kDra, Stream({k48, k48, k48, k48}), {1000}, true, "", Items("0:64@1000 0:64@2920 0:64@4840 0:64@6760 E@8680")},
        {"At44k1", kDra, Stream({k44, k44, k44, k44}), {0}, true, "", Items("0:64@0 0:64@2089 0:64@4178 0:64@6267 E@8356")},
        {"StrayBytesInTheFrame", kDra, Stream({k48, k48, k48}, {}, Stream({k48}, {0x12, 0x7F})), {0}, true, "",
            Items("0:66@0 0:64@1920 0:64@3840 0:64@5760 E@7680")},
        {"SyncInsideDeclaredLength", kDra, Stream({k48, k48, k48}, {}, Stream({Sized(20, 16)}, SyncThen(44))), {0}, true, "",
            Items("0:64@0 0:64@1920 0:64@3840 0:64@5760 E@7680")},
        {"LastCutShort", kDra, Stream({k48, k48, k48, Sized(40, 16)}), {0}, true, "", Items("0:64@0 0:64@1920 0:64@3840 0:40@5760 E@7680")},
        {"NoWordsDeclared", kDra, Stream({Sized(64, 0), k48, k48}), {0}, true, "", Items("0:64@0 0:64@1920 0:64@3840 E@5760")},
        {"HeaderCutOff", kDra, Stream({k48, k48, k48}, {0x7F, 0xFF, 0x01}), {0}, true, "", Items("0:64@0 0:64@1920 0:64@3840 E@5760")},
        {"RateIndex15AfterItsItem", kDra, Stream({{0, 3, 15}, {0, 3, 15}, {0, 3, 15}}), {0}, false,
         "The es attribute is invalid.(parse error)", Items("0:64@0")},
        {"AcrossBufferEdges", kDra, Stream(k1000s(300)), {0}, true, "", Items(At48k(std::vector<unsigned>(300, 1000)))},
        {"StrayBytePastTheFirstBuffer", kDra, Stream(k1000s(30), {}, Stream(k1000s(270), {0x12})), {0}, true, "",
         Items(At48k(With(std::vector<unsigned>(300, 1000), 269, 1001)))},
        {"TwoStartPts", kDra, Stream({k48, k48, k48}), {0, 1}, false, "", {}},
        {"NoSyncAtTheStart", kDra, Stream({k48, k48, k48}, {}, {0x7F}), {0}, false, "The es attribute is invalid.(parse error)", {}},
        {"Only191Bytes", kDra, Stream({k48, k48, Sized(63, 16)}), {0}, false, "The es file is short.", {}},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
