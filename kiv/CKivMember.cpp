#include "kiv/CKivMember.h"

namespace ts_comp {
namespace kiv {

using PRIVATE_LIBRARY::CL_CString;

CKivMember::CKivMember() : m_id(0), m_bitPosition(0), m_bitWidth(0) {}

CKivMember::CKivMember(uint64_t id, uint64_t bitPosition, uint64_t bitWidth, const char* name)
    : m_id(id), m_bitPosition(bitPosition), m_bitWidth(bitWidth), m_name(name) {}

CKivMember::CKivMember(const CKivMember& other) = default;

CKivMember& CKivMember::operator=(const CKivMember& other) = default;

CKivMember::~CKivMember() = default;

void CKivMember::GetName(CL_CString& out) { out = m_name; }

uint64_t CKivMember::GetBitWidth() { return m_bitWidth; }

uint64_t CKivMember::GetBitPosition() { return m_bitPosition; }

uint64_t CKivMember::GetId() { return m_id; }

}  // namespace kiv
}  // namespace ts_comp
