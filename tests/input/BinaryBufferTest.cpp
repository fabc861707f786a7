// Bit buffer: bit and byte reads, end-of-file exceptions, emulation-prevention removal, searches,
// the bulk scans compared with their byte-at-a-time models.
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
using ReadError = CBinaryBuffer::BinaryBufferReadException;
using Bytes = std::vector<uint8_t>;

constexpr size_t kWindow = 262144;
constexpr uint64_t kNoLimit = static_cast<uint64_t>(INT64_MAX);

enum class Kind { Plain, Avc, Vc1 };

// A file whose bytes are never zero, so emulation prevention never applies.
Bytes Pattern(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(1 + (i * 7 + i / 251) % 255);
    return bytes;
}

// Bytes of a three-letter alphabet (0x00, 0x01, 0x7F) in which near misses of a search are frequent.
Bytes NearMisses(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes bytes(size);
    for (auto& x : bytes) x = static_cast<uint8_t>(rng() % 3 == 0 ? 0x00 : (rng() % 2 ? 0x01 : 0x7F));
    return bytes;
}

class Buffer : public ::testing::Test {
protected:
    std::unique_ptr<CBinaryBuffer> Open(const Bytes& bytes, Kind kind = Kind::Plain) {
        std::unique_ptr<CBinaryBuffer> b;
        if (kind == Kind::Avc) b = std::make_unique<ts_comp::es::avc_video::CBinaryBufferForAvc>();
        if (kind == Kind::Vc1) b = std::make_unique<ts_comp::es::vc1_video::CBinaryBufferForVc1>();
        if (kind == Kind::Plain) b = std::make_unique<CBinaryBuffer>();
        EXPECT_TRUE(b->Open(m_dir.Write("es" + std::to_string(m_files++), bytes).c_str()));
        return b;
    }
    // Bytes delivered by ReadByte until the read exception.
    static Bytes Drain(CBinaryBuffer& b) {
        Bytes out;
        try {
            for (;;) out.push_back(b.ReadByte());
        } catch (const ReadError&) {
        }
        return out;
    }
    kiv_test::TempDir m_dir;
    int m_files = 0;
};

TEST_F(Buffer, BitFieldsAndTheirEnds) {
    auto b = Open({0xA5, 0x0F});
    EXPECT_EQ(b->GetBits(4), 0xAu);
    EXPECT_EQ(b->GetBits(8), 0x50u);
    EXPECT_EQ(b->ReadBit(), 1);
    uint64_t out = 123;
    EXPECT_EQ(b->ReadBits(&out, 20), 3u) << "a short read keeps what it read";
    EXPECT_EQ(out, 7u);
    try {
        b->ReadBit();
        FAIL() << "no exception";
    } catch (const CBinaryBuffer::BinaryBufferException& e) {
        EXPECT_TRUE(typeid(e) == typeid(CBinaryBuffer::BinaryBufferException)) << "ReadBit throws the base";
    }
    EXPECT_THROW(b->GetBits(1), ReadError);
    b = Open({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0xF0});
    EXPECT_EQ(b->GetBits(64), 0x0123456789ABCDEFull);
    b->Seek(0, 0);
    EXPECT_EQ(b->ReadBits(&out, 68), 68u);
    EXPECT_EQ(out, 0x123456789ABCDEFFull) << "the first bits shift out of 64";
}

TEST_F(Buffer, ByteOperationsDropUnreadBits) {
    auto b = Open({0xFF, 0x12, 0x34, 0x56, 0x78});
    EXPECT_EQ(b->ReadBit(), 1);
    EXPECT_EQ(b->Tell(), 1);
    EXPECT_EQ(b->ReadByte(), 0x12);
    EXPECT_EQ(b->GetBits(4), 0x3u);
    uint8_t one = 0;
    EXPECT_EQ(b->PeekBytes(&one, 1), 1u);
    EXPECT_EQ(one, 0x56);
    EXPECT_EQ(b->GetBits(4), 0x5u) << "the peek dropped the rest of 0x34";
    EXPECT_EQ(b->GetSize(), 5);
    EXPECT_EQ(b->GetBits(4), 0x7u) << "GetSize dropped the rest of 0x56";
    b = Open({0x0F, 0xF0});
    b->ByteAlign();
    EXPECT_EQ(b->GetBits(8), 0x0Fu) << "aligning at a byte start skips nothing";
    EXPECT_EQ(b->ReadBit(), 1);
    b->ByteAlign();
    EXPECT_THROW(b->ReadBit(), CBinaryBuffer::BinaryBufferException);
}

// PeekBits at (size, seek, bits skipped, bits peeked) matches the read that follows and moves nothing.
TEST_F(Buffer, PeekBitsMatchesTheFollowingRead) {
    const size_t cases[][4] = {{4, 0, 3, 12},  {4, 1, 5, 64},  {kWindow + 1, kWindow - 1, 2, 20},
                               {kWindow + 8, kWindow - 3, 0, 64}, {3, 2, 4, 4}};
    for (const auto& c : cases) {
        auto b = Open(Pattern(c[0]));
        ASSERT_TRUE(b->Seek(static_cast<int64_t>(c[1]), 0));
        b->GetBits(static_cast<uint32_t>(c[2]));
        const int64_t before = b->Tell();
        uint64_t peeked = 0, read = 0;
        const uint32_t got = b->PeekBits(&peeked, static_cast<uint32_t>(c[3]));
        EXPECT_EQ(b->Tell(), before);
        EXPECT_EQ(b->ReadBits(&read, static_cast<uint32_t>(c[3])), got);
        EXPECT_EQ(read, peeked);
        EXPECT_EQ(got, std::min<uint64_t>((c[0] - c[1]) * 8 - c[2], c[3]));
    }
}

// Files around the buffer size read whole by bytes, by 13-bit fields, by views and by skips.
TEST_F(Buffer, EveryFileSizeReadsWhole) {
    for (size_t size : {size_t{0}, size_t{1}, kWindow - 1, kWindow, kWindow + 1, 2 * kWindow + 3}) {
        SCOPED_TRACE(size);
        const Bytes bytes = Pattern(size);
        auto b = Open(bytes);
        EXPECT_EQ(b->GetSize(), static_cast<int64_t>(size));
        EXPECT_EQ(Drain(*b), bytes);
        ASSERT_TRUE(b->Seek(0, 0) || size == 0);
        Bytes rebuilt;
        uint64_t acc = 0;
        unsigned accBits = 0;
        for (uint32_t got = 13; got == 13;) {
            uint64_t v = 0;
            got = b->ReadBits(&v, 13);
            acc = (acc << got) | v;
            for (accBits += got; accBits >= 8; accBits -= 8) rebuilt.push_back(static_cast<uint8_t>(acc >> (accBits - 8)));
        }
        EXPECT_EQ(rebuilt, bytes);
        b->Seek(0, 0);
        Bytes seen;
        const uint8_t* data = nullptr;
        for (uint32_t n; (n = b->PeekBuffered(&data)) != 0; b->ConsumeBuffered(std::min<uint32_t>(n, 1000))) {
            seen.insert(seen.end(), data, data + std::min<uint32_t>(n, 1000));
        }
        EXPECT_EQ(seen, bytes);
        b->Seek(0, 0);
        EXPECT_EQ(b->SkipBytes(size + 5), size);
        EXPECT_EQ(b->Tell(), static_cast<int64_t>(size));
    }
}

TEST_F(Buffer, SeeksAcrossTheBufferBoundary) {
    const Bytes bytes = Pattern(2 * kWindow + 100);
    auto b = Open(bytes);
    const int64_t w = kWindow, steps[][3] = {{w - 2, 0, w - 2}, {-10, 1, w - 11}, {5, 1, w - 5},
                                             {-6, 2, 2 * w + 94}, {10, 5, 10},  // an unknown origin counts from the start
                                             {w + 7, 0, w + 7}, {-w, 1, 8}};
    for (const auto& s : steps) {
        ASSERT_TRUE(b->Seek(s[0], static_cast<int>(s[1]))) << s[0];
        ASSERT_EQ(b->Tell(), s[2]);
        EXPECT_EQ(b->ReadByte(), bytes[static_cast<size_t>(s[2])]) << s[0];
        uint8_t got[4] = {};
        ASSERT_EQ(b->PeekBytes(got, 4), 4u);
        EXPECT_EQ(got[3], bytes[static_cast<size_t>(s[2]) + 4]);
    }
    EXPECT_FALSE(b->Seek(-5, 0));
    ASSERT_TRUE(b->Seek(2 * w + 87, 0));
    Bytes got(20);
    EXPECT_EQ(b->ReadBytes(got.data(), 20), 13u);
    EXPECT_TRUE(std::equal(bytes.end() - 13, bytes.end(), got.begin()));
    CBinaryBuffer closed;
    EXPECT_THROW(closed.ReadByte(), ReadError);
    EXPECT_FALSE(closed.SearchCode(0x0001));
    EXPECT_FALSE(closed.Open(m_dir.File("missing").c_str()));
    EXPECT_FALSE(closed.Seek(0, 0));
}

// SearchCodeWithin: where it stops and what it answers, for the plain and the unescaping buffer.
TEST_F(Buffer, SearchCodeTable) {
    const struct {
        Bytes bytes;
        uint16_t code;
        uint64_t limit;
        bool found;
        int64_t position;
    } cases[] = {
        {{0x00, 0x00, 0x00, 0x01}, 0x0001, kNoLimit, true, 2}, {{0x00, 0x00, 0x00, 0x01}, 0x0001, 6, true, 2},
        {{0x00, 0x00, 0x00, 0x01}, 0x0001, 5, false, 4},  // bytes after hi are examined twice
        {{0x00, 0x00, 0x00, 0x01}, 0x0001, 0, false, 1},       {{0x7F, 0x7F, 0xFF, 0x00}, 0x7FFF, kNoLimit, true, 1},
        {{0x0B, 0x78, 0x0B}, 0x0B77, kNoLimit, false, 3},      {{0x00, 0x00}, 0x0000, 1, false, 2},
        {{0x00, 0x00}, 0x0000, 2, true, 0},                    {{}, 0x0001, kNoLimit, false, 0},
    };
    for (const auto& c : cases) {
        for (Kind kind : {Kind::Plain, Kind::Avc}) {
            auto b = Open(c.bytes, kind);
            try {
                EXPECT_EQ(b->SearchCodeWithin(c.code, c.limit), c.found) << c.code << " " << c.limit;
                EXPECT_EQ(b->Tell(), c.position) << c.code << " " << c.limit;
            } catch (const ReadError&) {
                EXPECT_TRUE(kind == Kind::Avc && !c.found) << "only the unescaping reads throw at the end";
            }
        }
    }
}

// The bulk search against the byte-at-a-time automaton: from several starts, with limits around the
// exact examination count, over pairs planted at and across the window boundaries.
TEST_F(Buffer, BulkSearchGivesTheAutomatonsPositions) {
    for (uint16_t code : {0x0001, 0x0000, 0x7F01, 0x0100}) {
        const auto hi = static_cast<uint8_t>(code >> 8), lo = static_cast<uint8_t>(code);
        Bytes bytes = NearMisses(3 * kWindow + 600, code);
        for (size_t i = 0; i + 1 < bytes.size(); ++i) {
            if (bytes[i] == hi && bytes[i + 1] == lo) bytes[i + 1] = 0x55;
        }
        for (size_t end : {kWindow, 2 * kWindow}) {  // windows end on hi, hi and the next one opens with hi
            if (hi == lo) break;
            bytes[end - 2] = bytes[end - 1] = bytes[end] = hi;
            if (bytes[end + 1] == lo) bytes[end + 1] = 0x55;
        }
        for (size_t at : {size_t{5000}, kWindow - 1, 3 * kWindow + 200}) {
            bytes[at] = hi;
            bytes[at + 1] = lo;
        }
        auto b = Open(bytes);
        for (size_t start : {size_t{0}, size_t{5003}, kWindow - 10, kWindow + 100, bytes.size() - 1}) {
            const kiv_test::SearchOutcome unlimited = kiv_test::ReferenceSearch(bytes, start, code, kNoLimit);
            for (uint64_t limit : {kNoLimit, uint64_t{3}, uint64_t{7000}, uint64_t{600000}, unlimited.counter + 1,
                                   unlimited.counter, unlimited.counter - 1}) {
                const kiv_test::SearchOutcome want = kiv_test::ReferenceSearch(bytes, start, code, limit);
                ASSERT_TRUE(b->Seek(static_cast<int64_t>(start), 0));
                EXPECT_EQ(b->SearchCodeWithin(code, limit), want.found) << code << " " << start << " " << limit;
                EXPECT_EQ(b->Tell(), want.position) << code << " " << start << " " << limit;
            }
        }
    }
}

TEST_F(Buffer, StartCodePrefixScanMatchesTheModel) {
    auto small = Open({0x00, 0x00, 0x00, 0x00, 0x01, 0x09, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}, Kind::Avc);
    uint32_t zeros = 0;
    uint8_t value = 0;
    ASSERT_TRUE(small->ScanStartCodePrefix(zeros, value));
    EXPECT_EQ(zeros, 4u) << "every leading zero counts";
    EXPECT_EQ(small->Tell(), 5);
    zeros = 0;
    ASSERT_TRUE(small->ScanStartCodePrefix(zeros, value));
    EXPECT_EQ(value, 0x02);
    zeros = 0;
    EXPECT_FALSE(small->ScanStartCodePrefix(zeros, value)) << "one zero before 0x01 is no prefix";
    EXPECT_EQ(zeros, 2u);

    std::mt19937 rng(7);
    Bytes bytes(2 * kWindow + 50);
    for (auto& x : bytes) x = static_cast<uint8_t>(rng() % 4 == 0 ? 0 : rng() % 4);
    bytes[kWindow - 2] = bytes[kWindow - 1] = bytes[kWindow] = 0;  // zeros straddling the boundary
    bytes[kWindow + 1] = 0x01;
    auto b = Open(bytes, Kind::Avc);
    size_t pos = 0;
    int found = 0;
    for (zeros = 0;; zeros = 0, ++found) {
        const kiv_test::PrefixOutcome want = kiv_test::ReferencePrefixScan(bytes, pos, zeros);
        const bool got = b->ScanStartCodePrefix(zeros, value);
        ASSERT_EQ(got, want.found);
        ASSERT_EQ(b->Tell(), want.position);
        ASSERT_EQ(zeros, want.zeros);
        if (!got) break;
        ASSERT_EQ(value, want.value);
        pos = static_cast<size_t>(want.position);
    }
    EXPECT_GT(found, 1000);
}

// Emulation-prevention removal in both unescaping buffers, by bytes, bits and bulk reads.
TEST_F(Buffer, EscapesAreDropped) {
    const std::pair<Bytes, Bytes> cases[] = {
        {{0x00, 0x00, 0x03, 0x01}, {0x00, 0x00, 0x01}},
        {{0x00, 0x00, 0x03, 0x00, 0x00, 0x03, 0x01}, {0x00, 0x00, 0x00, 0x00, 0x01}},
        {{0x00, 0x03, 0x01}, {0x00, 0x03, 0x01}},
        {{0x00, 0x00, 0x00, 0x03, 0x02}, {0x00, 0x00, 0x00, 0x02}},
        {{0x00, 0x00, 0x03, 0x03, 0x03}, {0x00, 0x00, 0x03, 0x03}},
        {{0x00, 0x00, 0x03}, {0x00, 0x00}},
        {{0x00, 0x00, 0x03, 0x00, 0x03, 0x05}, {0x00, 0x00, 0x00, 0x03, 0x05}},
    };
    for (const auto& [file, delivered] : cases) {
        EXPECT_EQ(kiv_test::ReferenceUnescape(file), delivered);
        for (Kind kind : {Kind::Avc, Kind::Vc1}) {
            auto b = Open(file, kind);
            EXPECT_EQ(Drain(*b), delivered);
            ASSERT_TRUE(b->Seek(0, 0));
            Bytes viaBits;
            for (uint64_t v = 0; b->ReadBits(&v, 8) == 8;) viaBits.push_back(static_cast<uint8_t>(v));
            EXPECT_EQ(viaBits, delivered);
            ASSERT_TRUE(b->Seek(0, 0));
            Bytes viaBytes(delivered.size());
            EXPECT_EQ(b->ReadBytes(viaBytes.data(), static_cast<uint32_t>(viaBytes.size())), viaBytes.size());
            EXPECT_EQ(viaBytes, delivered);
            EXPECT_THROW(b->ReadBytes(viaBytes.data(), 1), ReadError);
        }
    }
    EXPECT_EQ(Drain(*Open({0x00, 0x00, 0x03, 0x01})), (Bytes{0x00, 0x00, 0x03, 0x01})) << "the plain buffer keeps them";
}

TEST_F(Buffer, SeeksAndPeeksEndTheZeroRun) {
    for (Kind kind : {Kind::Avc, Kind::Vc1}) {
        auto b = Open({0x00, 0x00, 0x03, 0x01}, kind);
        b->GetBits(16);
        ASSERT_TRUE(b->Seek(2, 0));
        EXPECT_EQ(b->ReadByte(), 0x03) << "after a seek the 0x03 follows no delivered zeros";
        for (size_t lead : {size_t{0}, kWindow - 2}) {  // inside the buffer, and where the peek rereads the file
            Bytes file(lead, 0x11);
            file.insert(file.end(), {0x00, 0x00, 0x03, 0x01, 0x00});
            auto p = Open(file, kind);
            ASSERT_TRUE(p->Seek(static_cast<int64_t>(lead), 0));
            EXPECT_EQ(p->GetBits(16), 0u);
            uint64_t v = 0;
            EXPECT_EQ(p->PeekBits(&v, 8), 8u);
            EXPECT_EQ(v, 0x01u) << "the peek itself drops the emulation byte";
            EXPECT_EQ(p->ReadByte(), 0x03) << "but it ended the run";
            Bytes tail(lead, 0x11);
            tail.insert(tail.end(), {0x00, 0x03, 0x00, 0x00, 0x11, 0x11, 0x11, 0x11});
            auto t = Open(tail, kind);
            ASSERT_TRUE(t->Seek(static_cast<int64_t>(lead), 0));
            EXPECT_EQ(t->ReadByte(), 0x00);
            EXPECT_EQ(t->PeekBits(&v, 24), 24u);
            EXPECT_EQ(v, 0x030000u);
            EXPECT_EQ(t->ReadByte(), 0x03) << "a peek ending on two zeros leaves them uncounted";
        }
    }
}

}  // namespace
