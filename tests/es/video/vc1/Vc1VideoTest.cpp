// Access units cut by the VC-1 start-code search (boundaries, picture types, the end of the stream), against
// the search described byte by byte. Texts are in tests/es/video/avc/VideoTest.cpp, items in the creator table.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "es/video/vc1/CVc1VideoParser.h"
#include "support/ParsedUnits.h"
#include "support/Vc1Builder.h"

namespace kiv_test {
namespace {

using namespace ts_comp::es::vc1_video;

// Size, picture type and BDU count of a unit.
using Unit = std::array<uint32_t, 3>;

std::vector<Unit> Parse(const std::vector<uint8_t>& bytes) {
    return ParseUnits<CVc1VideoParser>(bytes, "a.vc1", [](auto u) {
        return Unit{u->GetSize(), u->GetPictureType(), static_cast<uint32_t>(u->GetBduCount())};
    });
}

// Streams as scripts (see Vc1Builder::Script) whose cuts bound the units, with their types and BDU counts.
TEST(Vc1VideoParser, UnitsCutWhereTheSearchDecides) {
    const struct {
        const char* script;
        std::vector<uint32_t> types, bdus;
    } rows[] = {
        {"x00 | H | I x00 | P |", {0, 1, 2}, {2, 1, 1}},  // a four-byte code leaves its first zero behind
        {"| H | I x00000005 | P", {0, 1}, {2, 1}},         // three zeros end the stream
        {"| H | I x0000030177 | B |", {0, 1, 3}, {2, 1, 1}},  // an escaped 0x01 is no start code
        {"| H1 | I | P |", {0, 0, 0}, {2, 1, 1}},          // main-profile pictures are untyped
        {"| S U | N | I U |", {0, 0, 1}, {2, 1, 2}},       // user data before an entry point splits the header
        {"| H | I | P E | H |", {0, 1, 2, 0}, {2, 1, 2, 2}},  // an end of sequence joins its picture
        {"| Hi | F0 | F1 | F2 | F3 | F4 | F5 | F6 | F7 | X | P | K | B | Y |",
         {0, 1, 1, 2, 2, 3, 3, 3, 3, 1, 2, 2, 3, 3}, {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {"x0000010FC810", {}, {}},  // the end of the file inside a sequence header drops the unit
    };
    for (const auto& r : rows) {
        std::vector<size_t> cuts;
        const std::vector<uint8_t> stream = Vc1Builder().Script(r.script, &cuts).Bytes();
        std::vector<Unit> expected;
        for (size_t k = 0; k + 1 < cuts.size(); ++k) {
            expected.push_back({static_cast<uint32_t>(cuts[k + 1] - cuts[k]), r.types[k], r.bdus[k]});
        }
        EXPECT_EQ(Parse(stream), expected) << r.script;
    }
}

// The search as described, one byte at a time from pos: the position of the next code, or where it stopped.
size_t DescribedSearch(const std::vector<uint8_t>& f, size_t pos, bool& found, uint8_t& type) {
    found = false;
    for (uint32_t zeros = 0; pos < f.size();) {
        const uint8_t b = f[pos++];
        if (b == 0) {
            ++zeros;
        } else if (zeros >= 2 && b == 1) {
            if (pos == f.size()) break;
            found = true;
            type = f[pos];
            return pos - 3;
        } else if ((zeros >= 2 && b == 2) || zeros >= 3) {
            return pos;
        } else if (zeros == 2 && b == 3) {
            if (pos == f.size()) break;
            if (f[pos] > 3) return pos + 1;
            zeros = f[pos++] == 0 ? 1 : 0;
        } else {
            zeros = 0;
        }
    }
    return f.size();
}

// Units as described: a BDU is sized by a search from its payload, and a look-ahead search starts where its
// header parse ended (15 bytes of a sequence header, one of a progressive picture, none otherwise).
std::vector<Unit> DescribedUnits(const std::vector<uint8_t>& f) {
    std::vector<Unit> units;
    for (size_t position = 0; position < f.size();) {
        Unit u{};
        for (bool more = true; more;) {
            bool found = false, ahead = false;
            uint8_t type = 0, next = 0;
            const size_t p = DescribedSearch(f, position, found, type);
            if (!found) break;
            u[0] += static_cast<uint32_t>(DescribedSearch(f, p + 4, ahead, next) - p);
            ++u[2];
            position = p + 4 + (type == 0x0F ? 15 : type == 0x0D ? 1 : 0);
            DescribedSearch(f, position, ahead, next);
            const bool header = type == 0x0F || type == 0x0E;
            more = ahead && next != 0x0D && (header || (next != 0x0F && next != 0x0E));
        }
        if (u[2] == 0) break;
        units.push_back(u);
    }
    return units;
}

TEST(Vc1UnitsAgainstByteSearch, HostileBytesGiveTheDescribedUnits) {
    std::mt19937 random(7);
    const uint8_t alphabet[] = {0, 0, 0, 1, 2, 3, 4, 0x5A};
    const uint8_t types[] = {0x0D, 0x0D, 0x0D, 0x0A, 0x0B, 0x1F};
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> f = Vc1Builder().Script("S").Bytes();
        ASSERT_EQ(f.size(), 20u);  // 15 bytes of fields, then the stop bit
        for (int n = random() % 6; n >= 0; --n) {
            f.insert(f.end(), {0, 0, 1, types[random() % 6]});
            for (int k = 1 + random() % 12; k > 0; --k) f.push_back(alphabet[random() % 8]);
        }
        std::vector<Unit> parsed = Parse(f);
        for (Unit& u : parsed) u[1] = 0;
        ASSERT_EQ(parsed, DescribedUnits(f)) << "round " << round;
    }
}

}  // namespace
}  // namespace kiv_test
