// Bit buffer: bit and byte reads, end-of-file exceptions, emulation-prevention removal, searches.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <typeinfo>
#include <vector>

#include "input/CBinaryBuffer.h"
#include "input/CBinaryBufferForAvc.h"
#include "input/CBinaryBufferForVc1.h"
#include "input/ReferenceScans.h"
#include "support/TempDir.h"

namespace {

using ts_comp::CBinaryBuffer;
using Bytes = std::vector<uint8_t>;

constexpr size_t kWindow = 262144;

enum class Kind { Plain, Avc, Vc1 };

std::unique_ptr<CBinaryBuffer> MakeBuffer(Kind kind) {
    switch (kind) {
        case Kind::Avc: return std::make_unique<ts_comp::es::avc_video::CBinaryBufferForAvc>();
        case Kind::Vc1: return std::make_unique<ts_comp::es::vc1_video::CBinaryBufferForVc1>();
        default: return std::make_unique<CBinaryBuffer>();
    }
}

// A file of `size` bytes whose bytes never contain zero, so emulation prevention never applies.
Bytes Pattern(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(1 + (i * 7 + i / 251) % 255);
    return bytes;
}

class BufferFixture : public ::testing::Test {
protected:
    std::unique_ptr<CBinaryBuffer> Open(const Bytes& bytes, Kind kind = Kind::Plain) {
        auto buffer = MakeBuffer(kind);
        const std::string path = m_dir.Write("es" + std::to_string(m_files++) + ".bin", bytes);
        EXPECT_TRUE(buffer->Open(path.c_str()));
        return buffer;
    }
    // Delivers bytes with ReadByte until the read exception.
    static Bytes Drain(CBinaryBuffer& buffer) {
        Bytes out;
        for (;;) {
            try {
                out.push_back(buffer.ReadByte());
            } catch (const CBinaryBuffer::BinaryBufferReadException&) {
                return out;
            }
        }
    }
    kiv_test::TempDir m_dir;
    int m_files = 0;
};

using BitReads = BufferFixture;

TEST_F(BitReads, FieldsAcrossBytesThenReadByteFailsAtEnd) {
    auto b = Open({0xA5, 0x0F});
    EXPECT_EQ(b->GetBits(4), 0xAu);
    EXPECT_EQ(b->GetBits(8), 0x50u);
    EXPECT_EQ(b->ReadBit(), 1);
    b->ByteAlign();
    EXPECT_THROW(b->ReadByte(), CBinaryBuffer::BinaryBufferReadException);
}

TEST_F(BitReads, ShortReadBitsKeepsWhatWasRead) {
    auto b = Open({0xBE, 0xEF});
    uint64_t out = 123;
    EXPECT_EQ(b->ReadBits(&out, 20), 16u);
    EXPECT_EQ(out, 0xBEEFu);
    EXPECT_EQ(b->ReadBits(&out, 5), 0u);
    EXPECT_EQ(out, 0u);
}

TEST_F(BitReads, ReadBitAtEndThrowsThePlainException) {
    auto b = Open({0x80});
    EXPECT_EQ(b->GetBits(8), 0x80u);
    try {
        b->ReadBit();
        FAIL() << "no exception";
    } catch (const CBinaryBuffer::BinaryBufferException& e) {
        EXPECT_TRUE(typeid(e) == typeid(CBinaryBuffer::BinaryBufferException));
    }
    EXPECT_THROW(b->GetBits(1), CBinaryBuffer::BinaryBufferReadException);
}

TEST_F(BitReads, GetBitsSixtyFourAndLongCountsShiftOut) {
    const Bytes bytes = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0xF0};
    auto b = Open(bytes);
    EXPECT_EQ(b->GetBits(64), 0x0123456789ABCDEFull);
    b->Seek(0, 0);
    uint64_t out = 0;
    EXPECT_EQ(b->ReadBits(&out, 68), 68u);
    EXPECT_EQ(out, 0x123456789ABCDEFFull);
}

TEST_F(BitReads, ByteOperationsDropUnreadBits) {
    auto b = Open({0xFF, 0x12, 0x34, 0x56, 0x78});
    EXPECT_EQ(b->ReadBit(), 1);
    EXPECT_EQ(b->Tell(), 1);  // past the byte whose bits remain
    EXPECT_EQ(b->ReadByte(), 0x12);
    EXPECT_EQ(b->GetBits(4), 0x3u);
    uint8_t two[2] = {};
    EXPECT_EQ(b->PeekBytes(two, 1), 1u);
    EXPECT_EQ(two[0], 0x56);
    EXPECT_EQ(b->GetBits(4), 0x5u);  // the peek dropped the rest of 0x34
    EXPECT_EQ(b->GetSize(), 5);
    EXPECT_EQ(b->GetBits(4), 0x7u);  // GetSize dropped the rest of 0x56
}

TEST_F(BitReads, ByteAlignKeepsAFreshPositionAndSkipsARest) {
    auto b = Open({0x0F, 0xF0});
    b->ByteAlign();
    EXPECT_EQ(b->GetBits(8), 0x0Fu);
    EXPECT_EQ(b->ReadBit(), 1);
    b->ByteAlign();
    EXPECT_THROW(b->ReadBit(), CBinaryBuffer::BinaryBufferException);
}

// PeekBits leaves the current byte, the bit position and the file position as they were.
struct PeekCase {
    size_t size;
    size_t seekTo;
    unsigned skipBits;
    unsigned peekBits;
};

class PeekBits : public BufferFixture, public ::testing::WithParamInterface<PeekCase> {};

TEST_P(PeekBits, MatchesTheFollowingRead) {
    const PeekCase c = GetParam();
    const Bytes bytes = Pattern(c.size);
    auto b = Open(bytes);
    ASSERT_TRUE(b->Seek(static_cast<int64_t>(c.seekTo), 0));
    b->GetBits(c.skipBits);
    const int64_t before = b->Tell();
    uint64_t peeked = 0;
    const uint32_t got = b->PeekBits(&peeked, c.peekBits);
    EXPECT_EQ(b->Tell(), before);
    uint64_t read = 0;
    EXPECT_EQ(b->ReadBits(&read, c.peekBits), got);
    EXPECT_EQ(read, peeked);
    const uint64_t bitsLeft = (c.size - c.seekTo) * 8 - c.skipBits;
    EXPECT_EQ(got, std::min<uint64_t>(bitsLeft, c.peekBits));
}

INSTANTIATE_TEST_SUITE_P(Cases, PeekBits,
                         ::testing::Values(PeekCase{4, 0, 0, 12}, PeekCase{4, 0, 3, 12}, PeekCase{4, 1, 5, 64},
                                           PeekCase{kWindow + 1, kWindow - 1, 2, 20},
                                           PeekCase{kWindow + 8, kWindow - 3, 0, 64},
                                           PeekCase{kWindow + 1, kWindow - 1, 0, 8}, PeekCase{3, 2, 4, 4}));

// Reading a file of a given size byte by byte, bit by bit and in odd field widths.
class FileSizes : public BufferFixture, public ::testing::WithParamInterface<size_t> {};

TEST_P(FileSizes, EveryByteOnceThenTheReadException) {
    const Bytes bytes = Pattern(GetParam());
    auto b = Open(bytes);
    EXPECT_EQ(b->GetSize(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(Drain(*b), bytes);
    EXPECT_EQ(b->Tell(), static_cast<int64_t>(bytes.size()));
}

TEST_P(FileSizes, OddFieldWidthsRebuildTheBytes) {
    const Bytes bytes = Pattern(GetParam());
    auto b = Open(bytes);
    Bytes rebuilt;
    uint64_t acc = 0;
    unsigned accBits = 0;
    for (;;) {
        uint64_t v = 0;
        const uint32_t got = b->ReadBits(&v, 13);
        acc = (acc << got) | v;
        accBits += got;
        while (accBits >= 8) {
            rebuilt.push_back(static_cast<uint8_t>(acc >> (accBits - 8)));
            accBits -= 8;
        }
        if (got < 13) break;
    }
    EXPECT_EQ(rebuilt, bytes);
}

TEST_P(FileSizes, SkipAndViewCoverTheFile) {
    const Bytes bytes = Pattern(GetParam());
    auto b = Open(bytes);
    Bytes seen;
    const uint8_t* data = nullptr;
    for (uint32_t n; (n = b->PeekBuffered(&data)) != 0;) {
        const uint32_t take = std::min<uint32_t>(n, 1000);
        seen.insert(seen.end(), data, data + take);
        b->ConsumeBuffered(take);
    }
    EXPECT_EQ(seen, bytes);
    ASSERT_TRUE(b->Seek(0, 0));
    EXPECT_EQ(b->SkipBytes(bytes.size() + 5), bytes.size());
    EXPECT_EQ(b->Tell(), static_cast<int64_t>(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, FileSizes, ::testing::Values(0, 1, 2, kWindow - 1, kWindow, kWindow + 1, 2 * kWindow + 3));

using Seeks = BufferFixture;

TEST_F(Seeks, BackwardsAndForwardsAcrossTheBufferBoundary) {
    const Bytes bytes = Pattern(2 * kWindow + 100);
    auto b = Open(bytes);
    struct Step {
        int64_t offset;
        int origin;
        int64_t expected;
    };
    const Step steps[] = {
        {static_cast<int64_t>(kWindow) - 2, 0, static_cast<int64_t>(kWindow) - 2},
        {-10, 1, static_cast<int64_t>(kWindow) - 11},  // each step's ReadByte moves one on
        {5, 1, static_cast<int64_t>(kWindow) - 5},
        {-6, 2, static_cast<int64_t>(bytes.size()) - 6},
        {10, 5, 10},  // an unknown origin counts from the start
        {static_cast<int64_t>(kWindow) + 7, 0, static_cast<int64_t>(kWindow) + 7},
        {-static_cast<int64_t>(kWindow), 1, 8},
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(b->Seek(s.offset, s.origin)) << s.offset;
        ASSERT_EQ(b->Tell(), s.expected);
        EXPECT_EQ(b->ReadByte(), bytes[static_cast<size_t>(s.expected)]) << s.offset;
        uint8_t got[4] = {};
        ASSERT_EQ(b->PeekBytes(got, 4), 4u);
        EXPECT_EQ(got[3], bytes[static_cast<size_t>(s.expected) + 4]);
    }
    EXPECT_FALSE(b->Seek(-5, 0));
}

TEST_F(Seeks, ReadBytesStraddlingTheBufferAndAtTheEnd) {
    const Bytes bytes = Pattern(kWindow + 10);
    auto b = Open(bytes);
    ASSERT_TRUE(b->Seek(kWindow - 3, 0));
    Bytes got(20);
    EXPECT_EQ(b->ReadBytes(got.data(), 20), 13u);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 13), Bytes(bytes.end() - 13, bytes.end()));
    EXPECT_EQ(b->ReadBytes(got.data(), 1), 0u);
    ASSERT_TRUE(b->Seek(0, 0));
    Bytes all(bytes.size());
    EXPECT_EQ(b->ReadBytes(all.data(), static_cast<uint32_t>(all.size())), all.size());
    EXPECT_EQ(all, bytes);
}

TEST_F(Seeks, UnopenedAndMissingFiles) {
    CBinaryBuffer b;
    EXPECT_EQ(b.Tell(), 0);
    EXPECT_EQ(b.GetSize(), 0);
    EXPECT_THROW(b.ReadByte(), CBinaryBuffer::BinaryBufferReadException);
    EXPECT_FALSE(b.SearchCode(0x0001));
    EXPECT_FALSE(b.Open((m_dir.Path() + "/missing.bin").c_str()));
    uint8_t byte = 0;
    EXPECT_EQ(b.ReadBytes(&byte, 1), 0u);
    EXPECT_FALSE(b.Seek(0, 0));
}

// SearchCode: explicit positions, then the bulk form against the byte-at-a-time automaton.
struct SearchCase {
    Bytes bytes;
    uint16_t code;
    uint64_t limit;
    bool found;
    int64_t position;
};

class SearchCodes : public BufferFixture, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SearchCodes, PositionAndResult) {
    const SearchCase& c = GetParam();
    for (Kind kind : {Kind::Plain, Kind::Avc}) {
        auto b = Open(c.bytes, kind);
        bool found = false;
        try {
            found = b->SearchCodeWithin(c.code, c.limit);
        } catch (const CBinaryBuffer::BinaryBufferReadException&) {
            EXPECT_EQ(kind, Kind::Avc);  // its ReadBytes throws at the end of the file
            EXPECT_FALSE(c.found);
            continue;
        }
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(b->Tell(), c.position);
    }
}

const uint64_t kNoLimit = static_cast<uint64_t>(INT64_MAX);

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchCodes,
    ::testing::Values(SearchCase{{0x00, 0x00, 0x00, 0x01}, 0x0001, kNoLimit, true, 2},
                      SearchCase{{0x00, 0x00, 0x00, 0x01}, 0x0001, 6, true, 2},
                      SearchCase{{0x00, 0x00, 0x00, 0x01}, 0x0001, 5, false, 4},  // second and third bytes count twice
                      SearchCase{{0x00, 0x00, 0x00, 0x01}, 0x0001, 0, false, 1},
                      SearchCase{{0x7F, 0x7F, 0xFF, 0x00}, 0x7FFF, kNoLimit, true, 1},
                      SearchCase{{0x0B, 0x77}, 0x0B77, kNoLimit, true, 0},
                      SearchCase{{0x0B, 0x78, 0x0B}, 0x0B77, kNoLimit, false, 3},
                      SearchCase{{0x00, 0x00}, 0x0000, 1, false, 2}, SearchCase{{0x00, 0x00}, 0x0000, 2, true, 0},
                      SearchCase{{}, 0x0001, kNoLimit, false, 0}));

class SearchAgainstAutomaton : public BufferFixture, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(SearchAgainstAutomaton, BulkFormGivesTheAutomatonsPositions) {
    const uint16_t code = GetParam();
    std::mt19937 rng(code);
    // A small alphabet makes near misses frequent; the file spans the buffer boundary.
    Bytes bytes(kWindow + 300);
    for (auto& x : bytes) x = static_cast<uint8_t>(rng() % 3 == 0 ? 0x00 : (rng() % 2 ? 0x01 : 0x7F));
    // Clear every pair so that a few planted ones decide the results.
    const auto hi = static_cast<uint8_t>(code >> 8);
    const auto lo = static_cast<uint8_t>(code);
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == hi && bytes[i + 1] == lo) bytes[i + 1] = 0x55;
    if (hi != lo) bytes[kWindow - 2] = hi;  // the window then ends on hi, hi
    for (size_t at : {size_t{5000}, kWindow - 1, kWindow + 200}) {
        bytes[at] = hi;
        bytes[at + 1] = lo;
    }
    auto b = Open(bytes);
    const uint64_t limits[] = {kNoLimit, 3, 5000, 7000, 400000, 450000};
    for (size_t start : {size_t{0}, size_t{4990}, size_t{5003}, kWindow - 10, kWindow + 100, bytes.size() - 1}) {
        for (uint64_t limit : limits) {
            const kiv_test::SearchOutcome want = kiv_test::ReferenceSearch(bytes, start, code, limit);
            ASSERT_TRUE(b->Seek(static_cast<int64_t>(start), 0));
            EXPECT_EQ(b->SearchCodeWithin(code, limit), want.found) << start << " " << limit;
            EXPECT_EQ(b->Tell(), want.position) << start << " " << limit;
        }
        // The smallest limit that still finds the pair, and the one just below it.
        const kiv_test::SearchOutcome unlimited = kiv_test::ReferenceSearch(bytes, start, code, kNoLimit);
        if (!unlimited.found) continue;
        for (uint64_t limit : {unlimited.counter + 1, unlimited.counter}) {
            const kiv_test::SearchOutcome want = kiv_test::ReferenceSearch(bytes, start, code, limit);
            ASSERT_TRUE(b->Seek(static_cast<int64_t>(start), 0));
            EXPECT_EQ(b->SearchCodeWithin(code, limit), want.found) << start << " " << limit;
            EXPECT_EQ(b->Tell(), want.position) << start << " " << limit;
        }
    }
}

TEST_P(SearchAgainstAutomaton, CounterCarriesAcrossWindowsToTheExactLimit) {
    const uint16_t code = GetParam();
    const auto hi = static_cast<uint8_t>(code >> 8);
    const auto lo = static_cast<uint8_t>(code);
    std::mt19937 rng(code + 1u);
    Bytes bytes(4 * kWindow);
    for (auto& x : bytes) x = static_cast<uint8_t>(rng() % 3 == 0 ? 0x00 : (rng() % 2 ? 0x01 : 0x7F));
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == hi && bytes[i + 1] == lo) bytes[i + 1] = 0x55;
    // Windows end on hi, hi and a hi opens the next one; the only pair lies in the fourth window.
    // (With hi = lo that would be a pair, so those windows end as they fell.)
    for (size_t end : {kWindow, 2 * kWindow, 3 * kWindow}) {
        if (hi == lo) break;
        bytes[end - 2] = hi;
        bytes[end - 1] = hi;
        bytes[end] = hi;
        if (bytes[end + 1] == lo) bytes[end + 1] = 0x55;
    }
    bytes[3 * kWindow + 500] = hi;
    bytes[3 * kWindow + 501] = lo;
    const std::string path = m_dir.Write("windows.bin", bytes);
    const kiv_test::SearchOutcome unlimited = kiv_test::ReferenceSearch(bytes, 0, code, kNoLimit);
    ASSERT_TRUE(unlimited.found);
    for (uint64_t limit : {unlimited.counter + 1, unlimited.counter, unlimited.counter - 1, uint64_t{600000}}) {
        const kiv_test::SearchOutcome want = kiv_test::ReferenceSearch(bytes, 0, code, limit);
        CBinaryBuffer b;
        ASSERT_TRUE(b.Open(path.c_str()));
        EXPECT_EQ(b.SearchCodeWithin(code, limit), want.found) << limit;
        EXPECT_EQ(b.Tell(), want.position) << limit;
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, SearchAgainstAutomaton, ::testing::Values(0x0001, 0x0000, 0x7F01, 0x017F, 0x0100));

// The start-code prefix scan against its byte-at-a-time model.
TEST_F(BitReads, StartCodePrefixScanMatchesTheModel) {
    std::mt19937 rng(7);
    Bytes bytes(2 * kWindow + 50);
    for (auto& x : bytes) x = static_cast<uint8_t>(rng() % 4 == 0 ? 0 : rng() % 4);
    // Zeros straddling the boundary followed by a value just after it.
    bytes[kWindow - 2] = 0;
    bytes[kWindow - 1] = 0;
    bytes[kWindow] = 0;
    bytes[kWindow + 1] = 0x01;
    auto b = Open(bytes, Kind::Avc);
    size_t pos = 0;
    uint32_t zeros = 0;
    int found = 0;
    for (;;) {
        const kiv_test::PrefixOutcome want = kiv_test::ReferencePrefixScan(bytes, pos, zeros);
        uint8_t value = 0;
        const bool got = b->ScanStartCodePrefix(zeros, value);
        ASSERT_EQ(got, want.found);
        ASSERT_EQ(b->Tell(), want.position);
        ASSERT_EQ(zeros, want.zeros);
        if (!got) break;
        ASSERT_EQ(value, want.value);
        ++found;
        pos = static_cast<size_t>(want.position);
        zeros = 0;
    }
    EXPECT_GT(found, 1000);
}

TEST_F(BitReads, StartCodePrefixCountsEveryLeadingZero) {
    auto b = Open({0x00, 0x00, 0x00, 0x00, 0x01, 0x09, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00});
    uint32_t zeros = 0;
    uint8_t value = 0;
    ASSERT_TRUE(b->ScanStartCodePrefix(zeros, value));
    EXPECT_EQ(zeros, 4u);
    EXPECT_EQ(value, 0x01);
    EXPECT_EQ(b->Tell(), 5);
    zeros = 0;
    ASSERT_TRUE(b->ScanStartCodePrefix(zeros, value));
    EXPECT_EQ(zeros, 2u);
    EXPECT_EQ(value, 0x02);
    zeros = 0;
    EXPECT_FALSE(b->ScanStartCodePrefix(zeros, value));  // a single zero before 0x01 is no prefix
    EXPECT_EQ(zeros, 2u);
    EXPECT_EQ(b->Tell(), 13);
}

// Emulation-prevention removal, for both buffers that do it.
struct EscapeCase {
    Bytes file;
    Bytes delivered;
};

class Escapes : public BufferFixture, public ::testing::WithParamInterface<std::tuple<Kind, EscapeCase>> {};

TEST_P(Escapes, ByteReadsDeliverThePayload) {
    const auto& [kind, c] = GetParam();
    auto b = Open(c.file, kind);
    EXPECT_EQ(Drain(*b), c.delivered);
    EXPECT_EQ(kiv_test::ReferenceUnescape(c.file), c.delivered);
}

TEST_P(Escapes, BitAndBulkReadsDeliverThePayload) {
    const auto& [kind, c] = GetParam();
    auto b = Open(c.file, kind);
    Bytes viaBits;
    for (;;) {
        uint64_t v = 0;
        if (b->ReadBits(&v, 8) < 8) break;
        viaBits.push_back(static_cast<uint8_t>(v));
    }
    EXPECT_EQ(viaBits, c.delivered);
    ASSERT_TRUE(b->Seek(0, 0));
    Bytes viaBytes(c.delivered.size());
    EXPECT_EQ(b->ReadBytes(viaBytes.data(), static_cast<uint32_t>(viaBytes.size())), viaBytes.size());
    EXPECT_EQ(viaBytes, c.delivered);
    uint8_t more = 0;
    EXPECT_THROW(b->ReadBytes(&more, 1), CBinaryBuffer::BinaryBufferReadException);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Escapes,
    ::testing::Combine(::testing::Values(Kind::Avc, Kind::Vc1),
                       ::testing::Values(EscapeCase{{0x00, 0x00, 0x03, 0x01}, {0x00, 0x00, 0x01}},
                                         EscapeCase{{0x00, 0x00, 0x03, 0x00, 0x00, 0x03, 0x01},
                                                    {0x00, 0x00, 0x00, 0x00, 0x01}},
                                         EscapeCase{{0x00, 0x03, 0x01}, {0x00, 0x03, 0x01}},
                                         EscapeCase{{0x00, 0x00, 0x00, 0x03, 0x02}, {0x00, 0x00, 0x00, 0x02}},
                                         EscapeCase{{0x00, 0x00, 0x03, 0x03, 0x03}, {0x00, 0x00, 0x03, 0x03}},
                                         EscapeCase{{0x00, 0x00, 0x03}, {0x00, 0x00}},
                                         EscapeCase{{0x00, 0x00, 0x03, 0x00, 0x03, 0x05}, {0x00, 0x00, 0x00, 0x03, 0x05}})));

TEST_F(BitReads, PlainBufferKeepsEmulationBytes) {
    auto b = Open({0x00, 0x00, 0x03, 0x01});
    EXPECT_EQ(Drain(*b), (Bytes{0x00, 0x00, 0x03, 0x01}));
}

TEST_F(BitReads, SeeksAndPeeksEndTheZeroRun) {
    for (Kind kind : {Kind::Avc, Kind::Vc1}) {
        // Seek: the 0x03 after it no longer follows two delivered zeros.
        auto b = Open({0x00, 0x00, 0x03, 0x01}, kind);
        b->ReadByte();
        b->ReadByte();
        ASSERT_TRUE(b->Seek(2, 0));
        EXPECT_EQ(b->ReadByte(), 0x03);
        // Peek inside the buffer, then near its end where the peek goes back to the file.
        for (size_t lead : {size_t{0}, kWindow - 2}) {
            Bytes file(lead, 0x11);
            file.insert(file.end(), {0x00, 0x00, 0x03, 0x01, 0x00});
            auto p = Open(file, kind);
            ASSERT_TRUE(p->Seek(static_cast<int64_t>(lead), 0));
            EXPECT_EQ(p->GetBits(16), 0u);
            uint64_t v = 0;
            EXPECT_EQ(p->PeekBits(&v, 8), 8u);
            EXPECT_EQ(v, 0x01u);  // the peek itself still drops the emulation byte
            EXPECT_EQ(p->ReadByte(), 0x03);  // but it ended the run
            uint8_t peeked[2] = {};
            ASSERT_TRUE(p->Seek(static_cast<int64_t>(lead), 0));
            EXPECT_EQ(p->PeekBytes(peeked, 2), 2u);
            EXPECT_EQ(p->Tell(), static_cast<int64_t>(lead));
            // A peek that ends on two zeros must not leave them counted.
            Bytes tail(lead, 0x11);
            tail.insert(tail.end(), {0x00, 0x03, 0x00, 0x00, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11});
            auto t = Open(tail, kind);
            ASSERT_TRUE(t->Seek(static_cast<int64_t>(lead), 0));
            EXPECT_EQ(t->ReadByte(), 0x00);
            EXPECT_EQ(t->PeekBits(&v, 24), 24u);
            EXPECT_EQ(v, 0x030000u);
            EXPECT_EQ(t->ReadByte(), 0x03);
        }
    }
}

}  // namespace
