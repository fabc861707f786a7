#include "input/CEsFileImpVNLDLL.h"

#include <algorithm>
#include <cstring>

#include "foundation/CL_CString.h"
#include "input/CVarnelLibrary.h"
#include "input/InputMessages.h"

namespace ts_comp {
namespace es {

namespace {

const CVarnelLibrary& Vnl() { return CVarnelLibrary::Get(); }

int NormalOrigin(int origin) { return origin == 1 || origin == 2 ? origin : 0; }

}  // namespace

// The bulk view reads a chunk ahead of the caller: Varnel then stands m_chunkFill - m_chunkPos bytes
// past the logical position, and Tell, Read and Seek account for those bytes.

CEsFileImpVNLDLL::CEsFileImpVNLDLL() = default;

CEsFileImpVNLDLL::~CEsFileImpVNLDLL() { Close(); }

void CEsFileImpVNLDLL::DropChunk() { m_chunkPos = m_chunkFill = 0; }

bool CEsFileImpVNLDLL::Open(const char* path) {
    Close();
    if (Vnl().open == nullptr) return false;
    m_handle = Vnl().open(path, 0);
    return m_handle != -1;
}

void CEsFileImpVNLDLL::Close() {
    if (m_handle != -1 && Vnl().close != nullptr) Vnl().close(m_handle);
    m_handle = -1;
    DropChunk();
}

bool CEsFileImpVNLDLL::IsOpen() { return m_handle != -1; }

bool CEsFileImpVNLDLL::IsReadable() { return m_handle != -1; }

uint32_t CEsFileImpVNLDLL::Read(void* buffer, uint32_t size) {
    if (Vnl().read == nullptr) return 0;
    uint8_t* dest = static_cast<uint8_t*>(buffer);
    const uint32_t ahead = std::min(size, m_chunkFill - m_chunkPos);
    if (ahead != 0) {
        std::memcpy(dest, m_chunk.get() + m_chunkPos, ahead);
        m_chunkPos += ahead;
        if (ahead == size) return size;
    }
    const int got = Vnl().read(m_handle, dest + ahead, size - ahead);
    return ahead + (got > 0 ? static_cast<uint32_t>(got) : 0u);
}

bool CEsFileImpVNLDLL::Seek(int64_t offset, int origin) {
    if (Vnl().lseeki64 == nullptr) return false;
    origin = NormalOrigin(origin);
    if (origin == 1) offset -= static_cast<int64_t>(m_chunkFill - m_chunkPos);
    if (Vnl().lseeki64(m_handle, offset, origin) == -1) return false;
    DropChunk();
    return true;
}

bool CEsFileImpVNLDLL::Rewind() {
    if (m_handle == -1 || Vnl().lseeki64 == nullptr) return false;
    if (Vnl().lseeki64(m_handle, 0, 0) == -1) return false;
    DropChunk();
    return true;
}

int64_t CEsFileImpVNLDLL::Tell() {
    if (m_handle == -1 || Vnl().telli64 == nullptr) return 0;
    const int64_t position = Vnl().telli64(m_handle);
    return position == -1 ? 0 : position - static_cast<int64_t>(m_chunkFill - m_chunkPos);
}

int64_t CEsFileImpVNLDLL::GetLength() {
    if (m_handle == -1 || Vnl().filelengthi64 == nullptr) return 0;
    const int64_t length = Vnl().filelengthi64(m_handle);
    return length == -1 ? 0 : length;
}

PRIVATE_LIBRARY::CL_CString& CEsFileImpVNLDLL::GetFileName(PRIVATE_LIBRARY::CL_CString& out) {
    const char* name = Vnl().getSourceFileName != nullptr ? Vnl().getSourceFileName(m_handle) : nullptr;
    out = name != nullptr ? name : "";
    return out;
}

int CEsFileImpVNLDLL::GetLastErrorNumber() { return 0; }

const char* CEsFileImpVNLDLL::GetLastErrorText() {
    const char* text = Vnl().getLastError != nullptr ? Vnl().getLastError(m_handle) : nullptr;
    return text != nullptr ? text : "";
}

int CEsFileImpVNLDLL::GetEsType() { return Vnl().getEsType != nullptr ? Vnl().getEsType(m_handle) : 0; }

uint32_t CEsFileImpVNLDLL::PeekBuffered(const uint8_t** data) {
    if (m_chunkPos == m_chunkFill) {
        DropChunk();
        if (m_handle == -1 || Vnl().read == nullptr) return 0;
        if (!m_chunk) m_chunk = std::make_unique<uint8_t[]>(input_messages::kVarnelChunkSize);
        const int got = Vnl().read(m_handle, m_chunk.get(), input_messages::kVarnelChunkSize);
        if (got <= 0) return 0;
        m_chunkFill = static_cast<uint32_t>(got);
    }
    *data = m_chunk.get() + m_chunkPos;
    return m_chunkFill - m_chunkPos;
}

void CEsFileImpVNLDLL::ConsumeBuffered(uint32_t count) { m_chunkPos += std::min(count, m_chunkFill - m_chunkPos); }

}  // namespace es
}  // namespace ts_comp
