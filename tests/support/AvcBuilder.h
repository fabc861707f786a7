// Test support: AVC and MVC dependent-view byte streams written NAL unit by NAL unit.
#pragma once

#include <cstdint>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// Fields of the SPS (or, with subset, the MVC subset SPS) a builder writes; aspectIdc -1 leaves it out.
struct AvcSps {
    uint8_t profile = 100;
    uint32_t widthMbsMinus1 = 119, heightMapUnitsMinus1 = 67;
    uint8_t frameMbsOnly = 1;
    int aspectIdc = 1;
    bool vui = true, timing = true, nalHrd = true, vclHrd = false, picStruct = true, subset = false;
    uint32_t timeScale = 48000, cpbCntMinus1 = 0;
};

// Picture timing of one access unit (24-bit delays) and the MVC header of its slices.
struct AvcTiming {
    uint32_t cpb = 0, dpb = 2;
    uint8_t picStruct = 0;
    bool bufferingPeriod = false, picTiming = true;
};
struct AvcMvc { uint8_t nonIdr = 0, temporalId = 0, anchor = 1; };

class AvcBuilder {
public:
    // A four-byte start code, the header byte and the payload with emulation-prevention bytes inserted.
    AvcBuilder& Nal(uint8_t header, const std::vector<uint8_t>& rbsp) {
        m_bytes.insert(m_bytes.end(), {0, 0, 0, 1, header});
        size_t run = 0;
        for (uint8_t b : rbsp) {
            if (run >= 2 && b <= 3) m_bytes.push_back(3), run = 0;
            m_bytes.push_back(b);
            run = b == 0 ? run + 1 : 0;
        }
        return *this;
    }
    AvcBuilder& Raw(const std::vector<uint8_t>& bytes) {
        return m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()), *this;
    }
    AvcBuilder& Aud() { return Nal(0x09, {0xF0}); }
    AvcBuilder& Delimiter() { return Nal(0x18, {0xF0}); }
    AvcBuilder& Pps() { return Nal(0x68, {0xEE, 0x3C, 0x80}); }
    AvcBuilder& EndOfSequence() { return Nal(0x0A, {}); }
    AvcBuilder& Sps(const AvcSps& s) {
        BitWriter w;
        w.Put(s.profile, 8).Put(0, 8).Put(40, 8);  // level 4.0
        Ue(w, 0);
        if (s.profile >= 100) Ue(w, 1), Ue(w, 0), Ue(w, 0), w.Put(0, 2);
        Ue(w, 0), Ue(w, 0), Ue(w, 2), Ue(w, 4), w.Put(0, 1), Ue(w, s.widthMbsMinus1), Ue(w, s.heightMapUnitsMinus1);
        w.Put(s.frameMbsOnly, 1);
        if (!s.frameMbsOnly) w.Put(1, 1);
        w.Put(1, 1).Put(0, 1).Put(s.vui, 1);
        if (s.vui) {
            w.Put(s.aspectIdc >= 0, 1);
            if (s.aspectIdc >= 0) w.Put(static_cast<uint64_t>(s.aspectIdc), 8);
            w.Put(0, 3).Put(s.timing, 1);
            if (s.timing) w.Put(1001, 32).Put(s.timeScale, 32).Put(1, 1);
            for (bool hrd : {s.nalHrd, s.vclHrd}) {
                w.Put(hrd, 1);
                if (!hrd) continue;
                Ue(w, s.cpbCntMinus1), w.Put(0x46, 8);
                for (uint32_t i = 0; i <= s.cpbCntMinus1; ++i) Ue(w, 2000), Ue(w, 3000), w.Put(0, 1);
                w.Put(23, 5).Put(23, 5).Put(23, 5).Put(24, 5);
            }
            if (s.nalHrd || s.vclHrd) w.Put(0, 1);
            w.Put(s.picStruct, 1).Put(0, 1);
        }
        if (s.subset) w.Put(1, 1), Ue(w, 1);
        return Nal(s.subset ? 0x6F : 0x67, w.PutBit(1).Align().Take());
    }
    // Buffering period (when asked) and picture timing, at top level or each inside an MVC scalable
    // nesting; with ofmd, a nested user data unregistered of that type indicator follows.
    AvcBuilder& Sei(const AvcSps& s, const AvcTiming& t, bool nested = false, uint32_t ofmd = 0) {
        std::vector<uint8_t> rbsp;
        const bool hrd = s.vui && (s.nalHrd || s.vclHrd);
        if (t.bufferingPeriod) {
            BitWriter w;
            Ue(w, 0);
            for (uint32_t i = 0; i < (s.cpbCntMinus1 + 1) * (s.nalHrd + s.vclHrd); ++i) w.Put(90000, 24).Put(0, 24);
            Message(rbsp, 0, w.Align().Take(), nested);
        }
        BitWriter w;
        if (hrd) w.Put(t.cpb, 24).Put(t.dpb, 24);
        if (s.vui && s.picStruct) w.Put(t.picStruct, 4).Put(0, 4);
        if (t.picTiming) Message(rbsp, 1, w.Align().Take(), nested);
        if (ofmd != 0) Message(rbsp, 5, BitWriter().Fill(0x11, 16).Put(ofmd, 32).Fill(0x22, 6).Take(), true);
        rbsp.push_back(0x80);
        return Nal(0x06, rbsp);
    }
    // A slice of NAL type 1, 5 or 20 (20 carries the MVC header), field -1 for a frame, then filler.
    AvcBuilder& Slice(uint8_t type, uint32_t sliceType, const AvcSps& s, int field = -1, AvcMvc mvc = {}) {
        BitWriter w;
        if (type == 20) w.Bytes(MvcHeader(mvc));
        Ue(w, 0), Ue(w, sliceType), Ue(w, 0), w.Put(0, 4);
        if (!s.frameMbsOnly) w.Put(field >= 0, 1).Put(field > 0 ? 1 : 0, field >= 0 ? 1 : 0);
        w.Align().Fill(0x5A, 24).Bytes({0x00, 0x00, 0x00, 0x07});
        return Nal(static_cast<uint8_t>(0x60 | type), w.Take());
    }
    AvcBuilder& Prefix(AvcMvc mvc) { return Nal(0x6E, MvcHeader(mvc)); }
    // One base-view access unit: delimiter, SPS and PPS when bp, SEI, one slice.
    AvcBuilder& Unit(const AvcSps& s, uint32_t sliceType, AvcTiming t, int field = -1) {
        Aud();
        if (t.bufferingPeriod) Sps(s).Pps();
        return Sei(s, t).Slice(t.bufferingPeriod ? 5 : 1, sliceType, s, field);
    }
    // One dependent-view access unit: type-24 delimiter, subset SPS and PPS when bp, nested SEI, slice.
    AvcBuilder& DependentUnit(const AvcSps& s, uint32_t sliceType, AvcTiming t, AvcMvc mvc, uint32_t ofmd = 0) {
        Delimiter();
        if (t.bufferingPeriod) Sps(s).Pps();
        return Sei(s, t, true, ofmd).Slice(20, sliceType, s, -1, mvc);
    }
    size_t Size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

    static void Ue(BitWriter& w, uint64_t v) {
        const auto bits = static_cast<unsigned>(63 - __builtin_clzll(v + 1));
        w.Put(0, bits).Put(v + 1, bits + 1);
    }

private:
    static std::vector<uint8_t> MvcHeader(AvcMvc m) {
        BitWriter w;
        w.Put(0, 1).Put(m.nonIdr, 1).Put(0, 6).Put(1, 10);  // no SVC extension, priority 0, view 1
        return w.Put(m.temporalId, 3).Put(m.anchor, 1).Put(3, 2).Take();
    }
    static void Message(std::vector<uint8_t>& out, uint8_t type, std::vector<uint8_t> payload, bool nested) {
        if (nested) {
            std::vector<uint8_t> inner{0x40, type, static_cast<uint8_t>(payload.size())};
            inner.insert(inner.end(), payload.begin(), payload.end());
            payload = inner;
            type = 37;
        }
        out.push_back(type);
        out.push_back(static_cast<uint8_t>(payload.size()));
        out.insert(out.end(), payload.begin(), payload.end());
    }

    std::vector<uint8_t> m_bytes;
};

}  // namespace kiv_test
