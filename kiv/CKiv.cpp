#include "kiv/CKiv.h"

#include "foundation/ErrorClassification.h"
#include "foundation/Messages.h"

namespace ts_comp {
namespace kiv {

using PRIVATE_LIBRARY::CL_CFile;
using PRIVATE_LIBRARY::CL_CString;

namespace {

uint32_t ReadBigEndian32(const uint8_t* bytes) {
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

}  // namespace

CKiv::CKiv(uint32_t kivFileType, uint64_t itemSize)
    : m_file(kKivFileBufferSize), m_kivFileType(kivFileType), m_itemSize(itemSize),
      m_errorCode(error_code::kUnclassifiedFileOperation) {}

CKiv::~CKiv() { Close(); }

bool CKiv::SetItemIndex(uint64_t index) { return SeekToItem(index); }

// The index the file position stands at; the position is taken as is, so before the header
// (a closed file reports -1) the unsigned division gives a large number.
int64_t CKiv::GetCurrentItemIndex() {
    if (m_itemSize == 0) return -1;
    const uint64_t position = static_cast<uint64_t>(m_file.Tell()) - kKivHeaderSize;
    return static_cast<int64_t>(position / m_itemSize);
}

bool CKiv::ReadItemAt(uint64_t index, CKivItem& item) {
    if (item.GetItemType() != m_kivFileType) return false;
    if (!SeekToItem(index)) return false;
    return ReadItem(item);
}

// A seek to exactly the end of the file is allowed (the next write appends there).
bool CKiv::SeekToItem(uint64_t index) {
    if (!m_file.IsOpen()) return false;
    if (m_itemSize != 0 && index > (UINT64_MAX - kKivHeaderSize) / m_itemSize) return false;
    const uint64_t offset = kKivHeaderSize + index * m_itemSize;
    const int64_t length = m_file.GetLength();
    if (length < 0 || static_cast<uint64_t>(length) < offset) return false;
    return m_file.Seek(static_cast<int64_t>(offset), 0) == 1;
}

int64_t CKiv::GetItemCount() {
    if (!m_file.IsOpen()) return -1;
    if (m_itemSize == 0) return -1;
    const uint64_t payload = static_cast<uint64_t>(m_file.GetLength()) - kKivHeaderSize;
    return static_cast<int64_t>(payload / m_itemSize);
}

bool CKiv::IsOpen() { return m_file.IsOpen(); }

bool CKiv::ReadItem(CKivItem& item) {
    if (item.GetItemType() != m_kivFileType) return false;
    return item.ReadFrom(m_file);
}

CL_CString& CKiv::GetFilePath(CL_CString& out) {
    m_file.GetPath(out);
    return out;
}

bool CKiv::Create(const char* path) {
    Close();
    if (m_file.Open(path, "wb") != 1) return false;
    const uint8_t header[kKivHeaderSize] = {
        static_cast<uint8_t>(m_kivFileType >> 24), static_cast<uint8_t>(m_kivFileType >> 16),
        static_cast<uint8_t>(m_kivFileType >> 8), static_cast<uint8_t>(m_kivFileType)};
    if (m_file.Write(header, kKivHeaderSize) != kKivHeaderSize) {
        Close();
        return false;
    }
    return true;
}

void CKiv::Close() { m_file.Close(); }

// The type is checked through a second, short-lived handle; a file of another type stays open.
bool CKiv::Open(const char* path) {
    Close();
    if (m_file.Open(path, "rb") != 1) {
        m_errorCode = ClassifyFileError(m_file.GetLastErrorNumber(), kFileOperationOpen);
        m_errorMessage = m_file.GetLastErrorText();
        return false;
    }
    uint32_t typeInFile = UINT32_MAX;
    {
        CL_CFile probe(kKivFileBufferSize);
        uint8_t bytes[kKivHeaderSize];
        if (probe.Open(path, "rb") == 1 && probe.Read(bytes, kKivHeaderSize, kKivHeaderSize) == kKivHeaderSize) {
            typeInFile = ReadBigEndian32(bytes);
        }
        probe.Close();
    }
    if (typeInFile != m_kivFileType) {
        m_errorCode = error_code::kUnusableEs;
        m_errorMessage.Format(messages::kKivFileTypeInvalid, static_cast<int>(typeInFile),
                              static_cast<int>(m_kivFileType));
        return false;
    }
    uint8_t header[kKivHeaderSize];
    if (m_file.Read(header, kKivHeaderSize, kKivHeaderSize) != kKivHeaderSize) {
        Close();
        return false;
    }
    return true;
}

}  // namespace kiv
}  // namespace ts_comp
