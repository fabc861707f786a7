#include "es/graphics/segments/CGspGsParser.h"

#include <algorithm>
#include <cstdint>

#include "es/graphics/segments/CGspEND.h"
#include "es/graphics/segments/CGspICS.h"
#include "es/graphics/segments/CGspODS.h"
#include "es/graphics/segments/CGspPCS.h"
#include "es/graphics/segments/CGspPDS.h"
#include "es/graphics/segments/CGspWDS.h"
#include "es/graphics/segments/GspConstants.h"
#include "es/graphics/segments/GspFileIo.h"

using PRIVATE_LIBRARY::CL_CFile;

namespace {

std::unique_ptr<CGspSegment> MakeSegment(uint8_t type) {
    switch (type) {
        case gsp::kSegmentPDS: return std::make_unique<CGspPDS>();
        case gsp::kSegmentODS: return std::make_unique<CGspODS>();
        case gsp::kSegmentPCS: return std::make_unique<CGspPCS>();
        case gsp::kSegmentWDS: return std::make_unique<CGspWDS>();
        case gsp::kSegmentICS: return std::make_unique<CGspICS>();
        case gsp::kSegmentEND: return std::make_unique<CGspEND>();
        default: return std::make_unique<CGspSegment>();
    }
}

}  // namespace

CGspGsParser::CGspGsParser() = default;

CGspGsParser::~CGspGsParser() {
    if (m_file) m_file->Close();
    ReleaseCurrentSegment();
    ClearIndex();
}

void CGspGsParser::ReleaseCurrentSegment() { m_current = nullptr; }

void CGspGsParser::ClearIndex() {
    m_index.clear();
    m_index.shrink_to_fit();
    m_indexComplete = true;
}

// The first descriptor is indexed here; the others when a segment at or past them is asked for.
bool CGspGsParser::Open(const char* path) {
    if (path == nullptr || m_file) return false;
    auto file = std::make_unique<CL_CFile>(gsp::kFileBufferSize);
    if (file->Open(path, "rb") != 1) return false;
    m_file = std::move(file);
    m_length = m_file->GetLength();
    m_nextOffset = 0;
    m_indexComplete = m_length <= 0;
    m_indexFailed = false;
    IndexThrough(0);
    return !m_indexFailed;
}

// Only the 3 descriptor bytes of each segment are read; the segment_type is not checked. Reading them
// just before the segment is parsed keeps the file position moving forward through the buffer; where the
// file stands at the descriptor, it is read in place and left for the segment's parse.
bool CGspGsParser::IndexMore(uint64_t i) const {
    while (i >= m_forgotten + m_index.size() && !m_indexComplete) {
        uint8_t scratch[3];
        uint32_t got = 0;
        const uint8_t* d = nullptr;
        if (m_file->Tell() == static_cast<int64_t>(m_nextOffset) && m_file->PeekBuffered(&d) >= 3) {
            got = 3;
        } else if (gsp_io::SeekTo(m_file.get(), m_nextOffset)) {
            d = gsp_io::ReadInPlace(m_file.get(), scratch, 3, got);
        }
        if (got == 0) {
            m_indexFailed = true;
            m_indexComplete = true;
            break;
        }
        Append(d);
    }
    return i < m_forgotten + m_index.size();
}


void CGspGsParser::ForgetIndexBefore(uint32_t i) {
    if (i <= m_forgotten) return;
    const uint32_t n = std::min<uint64_t>(i - m_forgotten, m_index.size());
    m_index.erase(m_index.begin(), m_index.begin() + n);
    m_forgotten += n;
}

uint32_t CGspGsParser::GetSegmentCount() const {
    IndexThrough(UINT64_MAX);
    return static_cast<uint32_t>(m_forgotten + m_index.size());
}

// The object becomes current even when its body could not be read.
bool CGspGsParser::ParseCurrentSegment() {
    if (!m_file) return false;
    m_current = nullptr;
    if (m_position < m_forgotten || !IndexThrough(m_position)) return false;
    ParseEntry(m_index[m_position - m_forgotten]);
    return true;
}

CGspSegment* CGspGsParser::MakeKind(uint8_t type) {
    m_kinds[type] = MakeSegment(type);
    return m_kinds[type].get();
}

void CGspGsParser::ParseEntry(const Index& entry) {
    m_current = Kind(entry.segment_type);
    m_current->CGspSegment::Parse(m_file.get(), entry.offset);  // no segment class overrides Parse
}

// A forward pass asks for the next segment not yet indexed, and the file usually stands at it with its
// bytes in the buffer: it is indexed and parsed from one look at them.
CGspSegment* CGspGsParser::GetSegmentAt(uint32_t i) {
    const uint8_t* d = nullptr;
    uint32_t buffered = 0;
    if (m_file && !m_indexComplete && i == m_forgotten + m_index.size() &&
        m_file->Tell() == static_cast<int64_t>(m_nextOffset) && (buffered = m_file->PeekBuffered(&d)) >= 3) {
        Append(d);
        m_position = i;
        const Index& entry = m_index.back();
        m_current = Kind(entry.segment_type);
        m_current->ParseBuffered(m_file.get(), entry.offset, d, buffered);
        return m_current;
    }
    if (!m_file || i < m_forgotten || !IndexThrough(i)) return nullptr;
    m_position = i;
    ParseEntry(m_index[i - m_forgotten]);
    return m_current;
}

// Where the segment is not in the buffer at the file position (or indexed already), through the index.
CGspSegment* CGspGsParser::TakeNextIndexed() {
    const uint32_t i = m_forgotten;
    CGspSegment* segment = GetSegmentAt(i);
    ForgetIndexBefore(i + 1);
    return segment;
}

CGspSegment* CGspGsParser::GetCurrentSegment() { return GetSegmentAt(m_position); }

CGspSegment* CGspGsParser::GetPreviousSegment() {
    if (m_position == 0) return nullptr;
    return GetSegmentAt(m_position - 1);
}

CGspSegment* CGspGsParser::GetNextSegment() {
    if (!IndexThrough(uint64_t{m_position} + 1)) return nullptr;
    return GetSegmentAt(m_position + 1);
}

bool CGspGsParser::AppendFragment(const std::function<bool(const uint8_t*, uint32_t)>& append,
                                  std::vector<uint8_t>& raw) {
    const auto* ics = static_cast<const CGspICS*>(m_current);
    raw.assign(ics->GetSize(), 0);
    ics->ReadRaw(raw.data(), static_cast<uint32_t>(raw.size()));
    const uint32_t n = ics->GetInteractiveCompositionDataSize();
    return n == 0 || append(raw.data() + ics->GetInteractiveCompositionDataOffset(), n);
}

bool CGspGsParser::BuildCompositionFile(uint32_t i, const char* path) {
    if (path == nullptr || !m_file || FindIndexEntry(i) == nullptr) return false;
    if (!m_compositionFile) m_compositionFile = std::make_unique<CL_CFile>(gsp::kFileBufferSize);
    CL_CFile& out = *m_compositionFile;
    if (out.Open(path, "wb") != 1) return false;
    const bool ok = JoinComposition(i, [&out](const uint8_t* bytes, uint32_t n) { return out.Write(bytes, n) == n; });
    out.Close();
    return ok;
}

bool CGspGsParser::JoinComposition(uint32_t i, const std::function<bool(const uint8_t*, uint32_t)>& append) {
    if (!m_file || FindIndexEntry(i) == nullptr) return false;
    std::vector<uint8_t> raw;
    bool ok = GetIndexEntry(i).segment_type == gsp::kSegmentICS && GetSegmentAt(i) != nullptr &&
              static_cast<const CGspICS*>(m_current)->GetFirstInSequenceFlag() == 1 && AppendFragment(append, raw);
    for (uint32_t j = i + 1; ok && IndexThrough(j); ++j) {
        if (GetIndexEntry(j).segment_type != gsp::kSegmentICS) break;
        ok = GetSegmentAt(j) != nullptr && AppendFragment(append, raw);
        if (ok && static_cast<const CGspICS*>(m_current)->GetLastInSequenceFlag() == 1) break;
    }
    return ok;
}
