#include "kiv/CKivItem.h"

namespace ts_comp {
namespace kiv {

using PRIVATE_LIBRARY::CL_CFile;

CKivItem::CKivItem(uint32_t itemType, uint32_t itemSize)
    : m_nextBitPosition(uint64_t{itemSize} * 8 - 1), m_itemType(itemType), m_itemSize(itemSize),
      m_buffer(itemSize, 0) {
    m_members.reserve(16);
    AddMembers(kCommonMembers);
}

CKivItem::CKivItem(const CKivItem& other) = default;

CKivItem& CKivItem::operator=(const CKivItem& other) = default;

CKivItem::~CKivItem() = default;

// A width above 64 adds nothing; otherwise the member takes the next bits and the position moves on.
void CKivItem::AddMember(uint64_t id, const char* name, uint64_t bitWidth) {
    if (bitWidth > kKivMaxBitWidth) return;
    m_members.emplace_back(id, m_nextBitPosition, bitWidth, name);
    m_nextBitPosition -= bitWidth;
}

const CKivMember* CKivItem::Lookup(uint64_t id) const {
    for (const CKivMember& member : m_members) {
        if (member.Id() == id) return &member;
    }
    return nullptr;
}

bool CKivItem::FindMember(uint64_t id, CKivMember& out) const {
    const CKivMember* member = Lookup(id);
    if (member == nullptr) return false;
    out = *member;
    return true;
}

// Field bit i (i = 0 first) is value bit (width - 1 - i) and sits at position (start - i): byte
// S - 1 - position / 8, bit position % 8 of it. The walk moves through whole runs of bits within
// one byte at a time; bits of a member that fall outside the item (a table that overran it) are
// left alone.
void CKivItem::SetValue(uint64_t id, uint64_t value) {
    const CKivMember* member = Lookup(id);
    if (member == nullptr) return;
    const uint64_t totalBits = uint64_t{m_itemSize} * 8;
    uint64_t position = member->BitPosition();
    uint64_t remaining = member->BitWidth();
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
        uint8_t& byte = m_buffer[m_itemSize - 1 - position / 8];
        byte = static_cast<uint8_t>((byte & ~(runMask << shift)) | (bits << shift));
        remaining -= run;
        if (position < run) return;
        position -= run;
    }
}

uint64_t CKivItem::GetValue(uint64_t id) {
    const CKivMember* member = Lookup(id);
    if (member == nullptr) return 0;
    const uint64_t totalBits = uint64_t{m_itemSize} * 8;
    uint64_t position = member->BitPosition();
    uint64_t remaining = member->BitWidth();
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
        const uint32_t bits = (m_buffer[m_itemSize - 1 - position / 8] >> shift) & runMask;
        result = (result << run) | bits;
        remaining -= run;
        if (position < run) return result << remaining;  // bits past the item's end read as 0
        position -= run;
    }
    return result;
}

uint32_t CKivItem::GetItemType() { return m_itemType; }

bool CKivItem::WriteTo(CL_CFile& file) {
    return file.Write(m_buffer.data(), m_itemSize) == m_itemSize;
}

bool CKivItem::ReadFrom(CL_CFile& file) {
    return file.Read(m_buffer.data(), m_itemSize, m_itemSize) == m_itemSize;
}

}  // namespace kiv
}  // namespace ts_comp
