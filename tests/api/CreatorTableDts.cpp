// DTS rows of the creator table: core frames 960 ticks apart, extension substreams stepping by their own
// duration, the host texts of the failures.
#include "support/CreatorTable.h"
#include "support/DtsBuilder.h"
#include "support/ItemText.h"

namespace kiv_test {
namespace {

CreatorRow Row(const char* name, std::vector<uint8_t> stream, std::vector<uint32_t> start, bool result, const char* message,
               const std::string& items) {
    return {name, kiv_comp::CKivCreator::ES_TYPE_DTS, std::move(stream), std::move(start), result, message, Items(items)};
}
// Core items of 2013 bytes 960 ticks apart, the first `extensions` of them each followed by a 1000-byte one.
std::string Pairs(int cores, int extensions) {
    std::string items;
    for (int i = 0; i < cores; ++i) items += " 0:2013@" + std::to_string(960 * i) + (i < extensions ? " 1:1000@" + std::to_string(960 * i) : "");
    return items;
}
const char* const kInvalid = "The es attribute is invalid.(parse error)";
void Rich(DtsExtensionSubstream& s) { s.headerSizeType = 1, s.rich = true; }
void NoStatic(DtsExtensionSubstream& s) { s.staticFields = false; }

INSTANTIATE_TEST_SUITE_P(
    Dts, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        Row("coreOnly", JoinUnits({DtsCore()}, 3), {90000}, true, "", "0:2013@90000 0:2013@90960 0:2013@91920 E@92880"),
        Row("pairs", JoinUnits({DtsCore(), DtsExt()}, 2), {0, 5}, true, "", "0:2013@0 1:1000@0 0:2013@960 1:1000@960 E@1920"),
        Row("longerExtensionStep", JoinUnits({DtsCore(), DtsExt(600, 1)}, 2), {0}, true, "", "0:2013@0 1:600@0 0:2013@960 1:600@1920 E@3840"),
        Row("extensionOnly2048At48k", JoinUnits({DtsExt(500, 3)}, 2), {7}, true, "", "1:500@7 1:500@3847 E@7687"),
        Row("stepRoundsDownAt44k", JoinUnits({DtsExt(500, 0, 1)}, 2), {0}, true, "", "1:500@0 1:500@1044 E@2088"),
        Row("reservedClockKeeps960", JoinUnits({DtsExt(500, 3, 3)}, 2), {0}, true, "", "1:500@0 1:500@960 E@1920"),
        Row("headerSizeType1Rich", JoinUnits({DtsCore(), DtsExt(70000, 0, 2, 8, Rich)}), {0}, true, "", "0:2013@0 1:70000@0 E@960"),
        Row("sizesAloneFarFromTheEnd",
            JoinUnits({DtsExt(9000, 3, 1, 8, Rich), DtsExt(9000, 0, 2, 8, NoStatic), DtsExt(9000, 0, 3), DtsExt(500, 1)}), {0},
            true, "", "1:9000@0 1:9000@4179 1:9000@8358 1:500@12537 E@14457"),
        Row("noStaticFields", JoinUnits({DtsExt(1000, 0, 2, 8, NoStatic)}, 2), {0}, true, "", "1:1000@0 1:1000@960 E@1920"),
        Row("bytesWithoutSyncAtEnd", JoinUnits({DtsCore(), DtsCore(), {1, 2, 3, 4, 5}}), {0}, true, "", "0:2013@0 0:2013@960 E@1920"),
        Row("garbageByte", JoinUnits({DtsCore(), {0x11}, DtsCore()}), {0}, false, "\nStuffnig bits exist. (pos = 2013[byte])", "0:2013@0"),
        Row("tenCoreNineExtension", JoinUnits({JoinUnits({DtsCore(), DtsExt()}, 9), DtsCore()}), {0}, false,
            "\nNumber of extension frame is not equal to number of main frame. (number of main frame = 10, number of "
            "extension frame = 9)", Pairs(10, 9)),
        Row("coreFrameCutShort", JoinUnits({DtsCore()}, 2, 3000), {0}, false, "", "0:2013@0"),
        Row("coreHeaderCutOff", JoinUnits({DtsCore()}, 2, 2020), {0}, false, "", "0:2013@0"),
        Row("extensionHeaderCutOff", JoinUnits({DtsCore(), DtsExt()}, 2, 5033), {0}, false,
            "\nThe es file ends inside an extension substream. (pos = 5026[byte])", "0:2013@0 1:1000@0 0:2013@960"),
        Row("pairsAcrossBufferEdges", JoinUnits({DtsCore(), DtsExt()}, 100), {0}, true, "", Pairs(100, 100) + " E@96000"),
        Row("garbagePastTheFirstBuffer", JoinUnits({JoinUnits({DtsCore(), DtsExt()}, 90), {0x11}, DtsCore()}), {0}, false,
            "\nStuffnig bits exist. (pos = 271170[byte])", Pairs(90, 90)),
        Row("noStartPts", JoinUnits({DtsCore()}, 2), {}, false, "\nstart pts is not set.", ""),
        Row("oneCoreFrame", JoinUnits({DtsCore()}, 1), {0}, false, kInvalid, ""),
        Row("metadataHeader", JoinUnits({{'D', 'T', 'S', 'H', 'D', 'H', 'D', 'R'}, DtsCore()}), {0}, false, "An dtshd contains metadata.", ""),
        Row("extensionCutInHead", JoinUnits({DtsCore(), DtsExt()}, 1, 2020), {0}, false, kInvalid, ""),
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
