#include "kiv/CKivItem.h"

#include <cstring>

namespace ts_comp {
namespace kiv {

using PRIVATE_LIBRARY::CL_CFile;

namespace {

constexpr uint64_t kWordBits = 64;

}  // namespace

CKivItem::CKivItem(uint32_t itemType, uint32_t itemSize)
    : m_nextBitPosition(uint64_t{itemSize} * 8 - 1), m_itemType(itemType), m_itemSize(itemSize),
      m_words(size_t{itemSize} / 8 + 2, 0) {
    m_slotById.fill(-1);
    m_members.reserve(16);
    m_windows.reserve(16);
    AddMembers(kCommonMembers);
}

CKivItem::CKivItem(const CKivItem& other) = default;

CKivItem& CKivItem::operator=(const CKivItem& other) = default;

CKivItem::~CKivItem() = default;

// A width above 64 adds nothing; otherwise the member takes the next bits and the position moves
// on. A member that lies inside the item is later set and read through one or two words; the others
// (a table that overran the item) take the bit walk.
void CKivItem::AddMember(uint64_t id, const char* name, uint64_t bitWidth) {
    if (bitWidth > kKivMaxBitWidth) return;
    const uint64_t position = m_nextBitPosition;
    FieldWindow window{0, 0, 0, 0, false};
    if (bitWidth > 0 && position < uint64_t{m_itemSize} * 8 && position + 1 >= bitWidth) {
        window = WindowAt(uint64_t{m_itemSize} * 8 - 1 - position, bitWidth);  // top bit from the item start
    }
    // The first member of an id is the one every lookup finds.
    if (id < kDirectIds && m_slotById[id] < 0 && m_members.size() < INT8_MAX) {
        m_slotById[id] = static_cast<int8_t>(m_members.size());
    }
    m_members.emplace_back(id, position, bitWidth, name);
    m_windows.push_back(window);
    m_nextBitPosition -= bitWidth;
}

const CKivMember* CKivItem::Lookup(uint64_t id, const FieldWindow** window) const {
    if (id < kDirectIds) {
        const int slot = m_slotById[id];
        if (slot >= 0) {
            *window = &m_windows[slot];
            return &m_members[slot];
        }
        if (m_members.size() <= INT8_MAX) return nullptr;
    }
    for (size_t i = 0; i < m_members.size(); ++i) {
        if (m_members[i].Id() == id) {
            *window = &m_windows[i];
            return &m_members[i];
        }
    }
    return nullptr;
}

bool CKivItem::FindMember(uint64_t id, CKivMember& out) const {
    const FieldWindow* window = nullptr;
    const CKivMember* member = Lookup(id, &window);
    if (member == nullptr) return false;
    out = *member;
    return true;
}

void CKivItem::SetValueSlow(uint64_t id, uint64_t value) {
    const FieldWindow* w = nullptr;
    const CKivMember* member = Lookup(id, &w);
    if (member == nullptr) return;
    if (!w->fits) {
        SetBits(*member, value);
        return;
    }
    Put(*w, value);
}

uint64_t CKivItem::GetValue(uint64_t id) {
    const FieldWindow* w = nullptr;
    const CKivMember* member = Lookup(id, &w);
    if (member == nullptr) return 0;
    if (!w->fits) return GetBits(*member);
    const uint64_t top = (m_words[w->word] >> w->shift) & w->mask;
    if (w->rest == 0) return top;
    return (top << w->rest) | (m_words[w->word + 1] >> (kWordBits - w->rest));
}

// Field bit i (i = 0 first) is value bit (width - 1 - i) and sits at position (start - i): byte
// S - 1 - position / 8, bit position % 8 of it. The walk goes through runs of bits within one
// byte; bits of a member that fall outside the item (a table that overran it) are left alone.
void CKivItem::SetBits(const CKivMember& member, uint64_t value) {
    const uint64_t totalBits = uint64_t{m_itemSize} * 8;
    uint64_t position = member.BitPosition();
    uint64_t remaining = member.BitWidth();
    while (remaining > 0) {
        if (position >= totalBits) {
            --remaining;
            if (position-- == 0) return;
            continue;
        }
        const uint64_t bitInByte = position % 8;
        const uint64_t run = remaining < bitInByte + 1 ? remaining : bitInByte + 1;
        const uint64_t shift = bitInByte + 1 - run;
        const uint32_t runMask = (1u << run) - 1;
        const uint32_t bits = static_cast<uint32_t>(value >> (remaining - run)) & runMask;
        const uint64_t index = m_itemSize - 1 - position / 8;
        SetByte(index, static_cast<uint8_t>((GetByte(index) & ~(runMask << shift)) | (bits << shift)));
        remaining -= run;
        if (position < run) return;
        position -= run;
    }
}

uint64_t CKivItem::GetBits(const CKivMember& member) const {
    const uint64_t totalBits = uint64_t{m_itemSize} * 8;
    uint64_t position = member.BitPosition();
    uint64_t remaining = member.BitWidth();
    uint64_t result = 0;
    while (remaining > 0) {
        if (position >= totalBits) {
            result <<= 1;
            --remaining;
            if (position-- == 0) return result << remaining;
            continue;
        }
        const uint64_t bitInByte = position % 8;
        const uint64_t run = remaining < bitInByte + 1 ? remaining : bitInByte + 1;
        const uint64_t shift = bitInByte + 1 - run;
        const uint32_t runMask = (1u << run) - 1;
        const uint32_t bits = (GetByte(m_itemSize - 1 - position / 8) >> shift) & runMask;
        result = (result << run) | bits;
        remaining -= run;
        if (position < run) return result << remaining;  // bits past the item's end read as 0
        position -= run;
    }
    return result;
}

void CKivItem::LoadBytes(const uint8_t* in) {
    for (uint32_t i = 0; i < m_itemSize; ++i) SetByte(i, in[i]);
}

const uint8_t* CKivItem::GetBytes() const {
    m_bytes.resize(8 * size_t{StoredWords()});
    StoreWords(m_bytes.data());
    return m_bytes.data();
}

// Where the file's write buffer has no room for the words, the item goes through Write.
bool CKivItem::WriteThroughFile(CL_CFile& file) { return file.Write(GetBytes(), m_itemSize) == m_itemSize; }

bool CKivItem::WritePackedThroughFile(CL_CFile& file, const uint64_t* words, uint32_t itemSize) {
    uint8_t bytes[16];
    StoreWord(bytes, words[0]);
    StoreWord(bytes + 8, words[1]);
    return file.Write(bytes, itemSize) == itemSize;
}

// A short read replaces only the bytes it delivered.
bool CKivItem::ReadFrom(CL_CFile& file) {
    GetBytes();
    const bool whole = file.Read(m_bytes.data(), m_itemSize, m_itemSize) == m_itemSize;
    LoadBytes(m_bytes.data());
    return whole;
}

}  // namespace kiv
}  // namespace ts_comp
