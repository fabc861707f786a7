// MPEG-2 video rows of the creator table: pictures held back until their presentation time is known, and
// heads refused: shorter than 192 bytes, not opening with a sequence header, its extension not close by.
#include "support/CreatorTable.h"
#include "support/Mpeg2Builder.h"

namespace kiv_test {
namespace {

constexpr auto kMpeg2 = kiv_comp::CKivCreator::ES_TYPE_MPEG2_VIDEO;
const std::vector<uint8_t> kIPBB =
    Mpeg2Builder().Sequence(1080, 4, 1).Gop(1).Picture(1).Picture(2).Picture(3).Picture(3).Bytes();
const char* kInvalid = "The es attribute is invalid.(parse error)";
std::vector<uint8_t> Pad(Mpeg2Builder b, size_t size) {
    std::vector<uint8_t> bytes = b.Bytes();
    return bytes.resize(size, 0x5A), bytes;
}

// I, P and then B pictures: the held P and the B pictures after it reach the bound at the b-th B picture.
Mpeg2Builder IPThenB(int b) {
    Mpeg2Builder m = Mpeg2Builder().Sequence(1080, 4, 1).Gop(1).Picture(1).Picture(2);
    while (b-- > 0) m.Picture(3);
    return m;
}
const std::string kTooMany = "\nToo many B pictures follow one another without an I or P picture. (pos = " +
                             std::to_string(IPThenB(1023).Bytes().size()) + "[byte])";

INSTANTIATE_TEST_SUITE_P(
    Mpeg2, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"ClosedGopIPBB", kMpeg2, kIPBB, {90000}, true, "",
         {{1, 91, 86997, 90000, 0, 1, 0}, {2, 62, 90000, 99009}, {3, 62, 93003, 93003}, {3, 62, 96006, 96006},
          {255, 0, 0, 102012}}},
        {"TooManyBPicturesInARow", kMpeg2, IPThenB(1024).Bytes(), {90000}, false, kTooMany, {{1, 91, 86997, 90000, 0, 1, 0}}},
        // The first GOP header and coding extension of a unit count, later ones only by their bytes.
        {"LaterLayersOfAClassIgnored", kMpeg2,
         Mpeg2Builder().Sequence(1080, 4, 1).Gop(1).Gop(0).PictureHeader(1).CodingExtension(3, 0, 0)
             .CodingExtension(1, 1, 1).Slice(40).Picture(2, 3, 0, 0, 140).Bytes(),
         {90000}, true, "", {{1, 108, 86997, 90000, 0, 1, 0}, {2, 162, 90000, 93003}, {255, 0, 0, 96006}}},
        {"NoSequenceHeader", kMpeg2, Mpeg2Builder().Gop(1).Picture(1).Slice(300).Bytes(), {0}, false, kInvalid, {}},
        {"ShortHead", kMpeg2, Pad(Mpeg2Builder().Sequence(1080, 4, 0), 191), {0}, false, "The es file is short.", {}},
        {"LeadingZero", kMpeg2, Pad(Mpeg2Builder().Raw({0}).Sequence(1080, 4, 0), 400), {0}, false, kInvalid, {}},
        {"NoExtension", kMpeg2, Pad(Mpeg2Builder().SequenceHeader(1920, 1080, 3, 4), 400), {0}, false, kInvalid, {}},
        {"ExtensionTooLate", kMpeg2,
         Pad(Mpeg2Builder().SequenceHeader(1920, 1080, 3, 4).Slice(150).SequenceExtension(0x48, 0), 400), {0}, false,
         kInvalid, {}},
        {"KivInMissingFolder", kMpeg2, kIPBB, {0}, false, "", {}, -1, "missing/out.kiv"},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
