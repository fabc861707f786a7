// The AVC parser against a byte-by-byte reference splitter and the answers of its access units. Texts are in
// VideoTest.cpp, items in the creator table.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "es/video/avc/CAvcVideoParser.h"
#include "support/AvcBuilder.h"
#include "support/ParsedUnits.h"
#include "support/TempDir.h"

namespace kiv_test {
namespace {

using namespace ts_comp::es::avc_video;
using Nal = std::tuple<int, uint32_t, int>;  // start code length, size, type

// The scans as byte automata: a start code is two or more zeros and 0x01; a unit ends on the next one,
// stepping back over three bytes after exactly two zeros and over four after more. The size is measured
// from the header byte, and the file then goes on from the first start code after the header byte.
size_t SkipFrom(const std::vector<uint8_t>& s, size_t j) {
    size_t run = 0;
    while (j < s.size() && !(s[j] == 1 && run >= 2)) run = s[j++] == 0 ? run + 1 : 0;
    return j < s.size() ? j + 1 - (run == 2 ? 3 : 4) : s.size();
}

std::vector<Nal> ReferenceSplit(const std::vector<uint8_t>& s) {
    std::vector<Nal> out;
    for (size_t i = 0;;) {
        size_t zeros = 0;
        while (i < s.size() && !(s[i] == 1 && zeros >= 2)) zeros = s[i++] == 0 ? zeros + 1 : 0;
        if (++i >= s.size()) return out;  // no start code, or no header byte after it
        out.emplace_back(static_cast<int>(zeros + 1) & 0xFF, static_cast<uint32_t>(SkipFrom(s, i) - i), s[i] & 0x1F);
        i = SkipFrom(s, i + 1);
    }
}

// Units whose syntax the parser does not read, with payloads dense in zeros, 0x01 and 0x03, some of them
// longer than the file buffer so that scans and steps back cross its refills.
TEST(AvcVideoParser, NalUnitsMatchTheByteByByteScan) {
    std::mt19937 rng(7);
    const uint8_t headers[] = {0x00, 0x03, 0x08, 0x09, 0x0A, 0x0C, 0x18};
    const uint8_t bytes[] = {0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x5A};
    TempDir dir;
    for (int round = 0; round < 40; ++round) {
        std::vector<uint8_t> s(rng() % 4, 0x00);
        s.push_back(0x47);
        for (int n = rng() % 12; n >= 0; --n) {
            s.insert(s.end(), 2 + rng() % 4, 0x00);
            s.insert(s.end(), {0x01, headers[rng() % sizeof(headers)]});
            const size_t length = round % 8 == 7 ? 100000 + rng() % 200000 : rng() % 40;
            for (size_t k = 0; k < length; ++k) {
                const uint8_t b = length > 1000 ? 0x80 | rng() : bytes[rng() % 7];  // no start code in a payload:
                s.push_back(b == 0x01 && s.end()[-1] == 0 && s.end()[-2] == 0 ? 0x02 : b);
            }
        }
        CAvcVideoParser parser;
        ASSERT_TRUE(parser.Open(dir.Write("r.264", s).c_str()));
        std::vector<Nal> units;
        while (auto u = parser.ReadNextNalUnit()) units.emplace_back(u->start_code_length, u->size, u->nal_unit_type);
        EXPECT_EQ(units, ReferenceSplit(s)) << "round " << round;
    }
}

// A skip without copying against a seek to the same place and ReadBytes, over bytes dense in 0x00 and
// 0x03 and across refills of the file buffer: the same position, the same next byte, the same exception.
TEST(AvcVideoParser, SkipFromHereMatchesSeekAndRead) {
    std::mt19937 rng(11);
    std::vector<uint8_t> s(300000);
    for (auto& b : s) b = "\0\0\3\1\x5A"[rng() % 5];
    TempDir dir;
    const std::string path = dir.Write("s.264", s);
    CBinaryBufferForAvc fast, plain;
    ASSERT_TRUE(fast.Open(path.c_str()) && plain.Open(path.c_str()));
    std::vector<uint8_t> scratch(20000);
    const auto step = [](auto act) {
        try { return act(); } catch (const ts_comp::CBinaryBuffer::BinaryBufferReadException&) { return -1; }
    };
    for (int result = 0, round = 0; result >= 0; ++round) {
        const uint32_t count = round % 3 != 0 ? rng() % 6 : rng() % 20000;
        result = step([&] { return fast.SkipFromHere(count), fast.ReadByte() + 0; });
        const int expected = step([&] {
            return plain.Seek(plain.Tell(), SEEK_SET), plain.ReadBytes(scratch.data(), count), plain.ReadByte() + 0;
        });
        ASSERT_EQ(std::make_pair(result, fast.Tell()), std::make_pair(expected, plain.Tell())) << "round " << round;
    }
}

std::vector<std::unique_ptr<CAccessUintInformation>> Units(const std::vector<uint8_t>& s) {
    return ParseUnits<CAvcVideoParser>(s, "u.264", [](auto unit) { return unit; });
}

TEST(AvcVideoParser, AccessUnitsEndBeforeDelimitersAndDroppedUnits) {
    AvcSps sps, big;
    big.cpbCntMinus1 = 256;  // beyond what the parser accepts: the SPS is dropped
    AvcBuilder b;
    b.Raw({0, 0, 0, 0, 0}).Unit(sps, 7, {0, 2, 0, true});  // leading zeros join the first start code
    const size_t first = b.Size();
    b.Unit(sps, 5, {2, 2}).Raw({0x00});  // one zero more: the next start code has four bytes
    const size_t second = b.Size();
    b.Delimiter().Slice(20, 5, sps).Nal(0x74, {0xFF, 0x00}).Slice(1, 5, sps).Aud().Sps(big).Pps();
    const auto units = Units(b.Bytes());
    const std::vector<size_t> counts = {5, 3, 2, 1, 1, 1};  // a type-20 unit with the SVC flag and the SPS cut
    ASSERT_EQ(units.size(), counts.size());
    uint64_t sum = 0;
    for (size_t i = 0; i < units.size(); sum += units[i++]->GetSize()) {
        EXPECT_EQ(units[i]->GetNalUnitCount(), counts[i]) << i;
    }
    EXPECT_EQ(sum, b.Size());
    EXPECT_EQ(units[0]->GetSize(), first);
    EXPECT_EQ(units[1]->GetSize(), second - first);
}

AvcSps Hrd(bool nal, bool vcl, bool picStruct) {
    AvcSps s;
    return s.nalHrd = nal, s.vclHrd = vcl, s.picStruct = picStruct, s.cpbCntMinus1 = vcl ? 2 : 0, s;
}

// What one access unit answers: picture type by slice type, the SEI delays and the fields pic_struct shows.
TEST(AvcVideoParser, RecordAnswers) {
    const struct {
        AvcSps sps;
        uint32_t sliceType;
        AvcTiming timing;
        uint32_t type, cpb, dpb, fields;
    } rows[] = {
        {{}, 7, {0, 4, 0, true}, 1, 0, 4, 2}, {{}, 5, {6, 2, 7}, 2, 6, 2, 4}, {{}, 6, {3, 0, 8}, 3, 3, 0, 6},
        {{}, 2, {1, 1, 1}, 0, 1, 1, 1}, {{}, 0, {1, 1, 5}, 0, 1, 1, 3}, {{}, 4, {1, 1, 9}, 0, 1, 1, 0},
        {Hrd(false, false, true), 5, {9, 9, 2}, 2, 0, 0, 1},        // no HRD: no delays
        {Hrd(false, true, true), 7, {5, 6, 0, true}, 1, 5, 6, 2},   // VCL HRD with three schedules
        {Hrd(true, false, false), 5, {5, 6, 7}, 2, 5, 6, 2},        // no pic_struct: two fields
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "slice type " << r.sliceType << ", pic_struct " << +r.timing.picStruct);
        const auto units = Units(AvcBuilder().Aud().Sps(r.sps).Pps().Sei(r.sps, r.timing)
                                     .Slice(r.timing.bufferingPeriod ? 5 : 1, r.sliceType, r.sps).Bytes());
        ASSERT_EQ(units.size(), 1u);
        const CAccessUintInformation& u = *units[0];
        EXPECT_EQ(std::make_tuple(u.GetPictureType(), u.GetCpbRemovalDelay(), u.GetDpbOutputDelay(), u.GetFieldCount()),
                  std::make_tuple(r.type, r.cpb, r.dpb, r.fields));
        EXPECT_TRUE(u.HasPicTiming() && u.HasBufferingPeriod() == u.IsIdrPicture());
    }
}

}  // namespace
}  // namespace kiv_test
