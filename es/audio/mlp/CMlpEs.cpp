#include "es/audio/mlp/CMlpEs.h"

#include <algorithm>

#include "es/audio/CAudioItemLoop.h"
#include "es/audio/mlp/CMlpAccessUnit.h"
#include "es/audio/mlp/MlpConstants.h"
#include "es/audio/mlp/MlpTicks.h"
#include "foundation/CTsMuxException.h"
#include "foundation/Messages.h"
#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;
using namespace mlp;

namespace {

uint32_t SamplingCode(const CMlpAccessUnit& au) { return au.major_sync.format_info >> 28; }

// Samples from the first unit's input to its output: output_timing of substream 0 less input_timing,
// taken modulo 65536.
uint64_t DecoderDelay(const CMlpAccessUnit& au) {
    uint64_t output = au.substream[0].output_timing;
    if (output < au.input_timing) output += kTimingModulus;
    return output - au.input_timing;
}

}  // namespace

CMlpEs::CMlpEs(const CL_CString& esPath) : CAudioEs(esPath, kSourceMlpEs) {
    uint8_t head[kMinimumFileSize];
    ReadHead(head, kMinimumFileSize);
    if (!ParseAttributes()) ThrowUnusable(messages::kEsAttributeInvalid, __LINE__);
}

CMlpEs::~CMlpEs() = default;

// The first access unit through a bit buffer of its own; one cut off by the end of the file does not parse.
bool CMlpEs::ParseAttributes() {
    CL_CString path;
    GetEsFilePath(path);
    CBinaryBuffer buffer;
    if (!buffer.Open(path.GetString())) return false;
    CMlpAccessUnit au;
    try {
        if (!au.Parse(buffer, buffer.GetSize())) return true;
    } catch (const CBinaryBuffer::BinaryBufferException&) {
        return false;
    }
    if (!au.major_sync_flag || !au.substream[0].restart_header) return false;
    const uint32_t info = au.major_sync.format_info;
    m_audio_sampling_frequency = static_cast<int32_t>(info >> 28);
    m_6ch_decorder_channel_assignment = static_cast<int32_t>((info >> 15) & 0x1F);
    m_8ch_decorder_channel_assignment = static_cast<int32_t>(info & 0x1FFF);
    m_restart_header_exists = 1;
    m_substreams = au.major_sync.substreams;
    for (int i = 0; i < 3; ++i) m_max_chan[i] = au.substream[i].restart_header ? au.substream[i].max_chan : 0;
    return true;
}

// dts follows the input timing of each unit, pts advances one unit (1/1200 s) at a time; both start from
// the base S - delay, so the first unit is presented at S.
bool CMlpEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (kivPath == nullptr || startPtsList.size() != 1) return false;
    const uint64_t start = startPtsList[0];
    CAudioItemLoop loop(*this, start);
    if (!loop.Create(kivPath)) return false;
    CL_CString path;
    GetEsFilePath(path);
    CBinaryBuffer buffer;
    if (!buffer.Open(path.GetString())) return false;
    const int64_t fileSize = buffer.GetSize();

    CMlpAccessUnit au;
    uint64_t count = 0;
    uint64_t delay = 0;
    uint64_t base = 0;
    uint64_t inputSamples = 0;  // T(n) - T(0)
    uint16_t lastInput = 0;
    // The item of unit `count` at the rate of sampling code `code`, unitSamples samples to a unit, and the
    // poll; false when not written.
    const auto write = [&](uint8_t type, uint32_t size, uint16_t input, uint32_t code, uint64_t unitSamples) {
        inputSamples += static_cast<uint16_t>(input - lastInput);
        lastInput = input;
        uint64_t pts = 0, dts = 0;
        Ticks(unitSamples * count + delay, inputSamples, code, pts, dts);
        loop.SetPts(base + pts);
        if (!loop.WriteUnit(type, size, base + dts)) return false;
        ++count;
        return true;
    };
    // The unit just parsed into the record: its checks, then its item; false ends CreateKiv with false.
    const auto take = [&]() -> bool {
        if (2 * int64_t{au.access_unit_length} < int64_t{kUnitHeadBytes}) {
            m_errorMessage.Format(kMsgUnitShorterThanHead, static_cast<long long>(au.position));
            return false;
        }
        if (au.position + 2 * int64_t{au.access_unit_length} > fileSize) {
            m_errorMessage.Format(kMsgEndInsideUnit, static_cast<long long>(au.position));
            return false;
        }
        if (count == 0 && (!au.major_sync_flag || !au.substream[0].restart_header)) return false;
        const uint32_t code = SamplingCode(au);
        if (code >= kSamplingRateCodes) {
            CL_CString message;
            message.Format(kMsgSamplingFrequencyZero, static_cast<int>(count));
            ThrowUnusable(message.GetString(), __LINE__);
        }
        if (count == 0) {
            delay = DecoderDelay(au);
            base = start - Ticks(delay, code);
            lastInput = au.input_timing;
        }
        const uint8_t type = au.major_sync_flag ? kItemTypeMajorSync : kItemTypePlain;
        return write(type, 2u * au.access_unit_length, au.input_timing, code, kSamplingRates[code] / kUnitsPerSecond);
    };
    // After the first unit (whose substream starts give the decoder delay), units whose heads lie in the
    // buffered bytes are read there, one run after another, the buffer moved past a run once.
    const uint8_t* run = nullptr;
    uint32_t runSize = 0, used = 0;
    int64_t runPosition = 0;
    for (;;) {
        if (count != 0) {
            // Plain units (no major sync, at least a head long) that lie wholly in the run, with the end of the
            // file out of their reach, are taken straight from the bytes: they pass the checks and change
            // nothing that the record keeps for the units after them. The rate is the latest major sync's.
            const uint32_t code = SamplingCode(au);
            const uint64_t unitSamples = kSamplingRates[code] / kUnitsPerSecond;
            const int64_t last = std::min(int64_t{runSize} - kHeadReach, fileSize - kUnitReach - runPosition);
            while (int64_t{used} <= last) {
                BufferedBytes in(run + used, runPosition + used);
                const auto head = static_cast<uint32_t>(in.Bytes(kUnitHeadBytes));
                const uint32_t size = 2u * CMlpAccessUnit::UnitLength(head);
                if (size < kUnitHeadBytes || size > runSize - used || in.MajorSyncAhead()) break;
                if (!write(kItemTypePlain, size, CMlpAccessUnit::InputTiming(head), code, unitSamples)) return false;
                used += size;
            }
        }
        if (count != 0 && au.ParseHeadAt(run + used, runSize - used, runPosition + used, fileSize)) {
            used += 2u * au.access_unit_length;
        } else {
            buffer.ConsumeBuffered(used);
            try {
                if (!au.Parse(buffer, fileSize, count == 0)) break;
            } catch (const CBinaryBuffer::BinaryBufferException&) {
                // The parse takes the unit's position before it reads anything.
                m_errorMessage.Format(kMsgEndInsideUnit, static_cast<long long>(au.position));
                return false;
            }
            runSize = buffer.PeekBuffered(&run);
            runPosition = buffer.Tell();
            used = 0;
        }
        if (!take()) return false;
    }
    loop.SetPts(start + kTicksPerUnit * count);
    return loop.WriteEnd();
}

void CMlpEs::GetReportText(CL_CString& out) {
    CL_CString line;
    line.Format(kReportSamplingFrequency, m_audio_sampling_frequency);
    out.Append(line);
    if (m_audio_sampling_frequency > 2) out.Append(messages::kReportErrorMark);
    out.Append(kReportLineEnd);
    const int32_t values[] = {m_6ch_decorder_channel_assignment, m_8ch_decorder_channel_assignment,
                              m_restart_header_exists};
    for (size_t i = 0; i < 3; ++i) {
        line.Format(kReportLineFormats[i], values[i]);
        out.Append(line);
    }
    if (m_restart_header_exists == 0) return;
    const int32_t restart[] = {m_substreams, m_max_chan[0], m_max_chan[1], m_max_chan[2]};
    for (size_t i = 0; i < 4; ++i) {
        line.Format(kReportRestartFormats[i], restart[i]);
        out.Append(line);
    }
}

void CMlpEs::GetXmlText(CL_CString& out) {
    out.Format(kXmlFormat, kXmlDeclaration, kXmlNamespace, m_audio_sampling_frequency,
               m_6ch_decorder_channel_assignment, m_8ch_decorder_channel_assignment, m_restart_header_exists,
               m_substreams, m_max_chan[0], m_max_chan[1], m_max_chan[2]);
}

}  // namespace es
}  // namespace ts_comp
