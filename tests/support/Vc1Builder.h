// Test support: VC-1 advanced-profile byte streams written BDU by BDU, field by field.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// Sequence-header fields; display sizes are coded (size minus one). hrdBuckets 0 writes no HRD parameters.
struct Vc1Sequence {
    uint8_t profile = 3, level = 3, pulldown = 0, interlace = 0, tfcntrflag = 0, psf = 0, displayExt = 1;
    uint16_t dispWidth = 1919, dispHeight = 1079;
    uint8_t aspect = 1, framerateFlag = 1, framerateInd = 0, frameRateNr = 2, frameRateDr = 1, hrdBuckets = 0;
};

// Picture-header fields: ptype is the 4-bit left-aligned code (0 P, 8 B, 12 I, 14 BI, 15 skipped).
struct Vc1Picture {
    uint8_t ptype = 12, fcm = 0, fptype = 0, rptfrm = 0, rff = 0;
};

// Appends BDUs; each payload is escaped (0x03 after two zeros before a byte up to 3) as an encoder does.
class Vc1Builder {
public:
    Vc1Builder& Bdu(uint8_t type, const std::vector<uint8_t>& payload) {
        m_out.insert(m_out.end(), {0x00, 0x00, 0x01, type});
        unsigned zeros = 0;
        for (uint8_t b : payload) {
            if (zeros >= 2 && b <= 3) m_out.push_back(0x03), zeros = 0;
            m_out.push_back(b);
            zeros = b == 0 ? zeros + 1 : 0;
        }
        return *this;
    }
    Vc1Builder& SequenceHeader(const Vc1Sequence& s) {
        m_seq = s;
        BitWriter w;  // 1920x1080 coded size, 4:2:0, reserved bit 1
        w.Put(s.profile, 2).Put(s.level, 3).Put(1, 2).Put(7, 3).Put(31, 5).Put(0, 1).Put(959, 12).Put(539, 12);
        w.Put(s.pulldown, 1).Put(s.interlace, 1).Put(s.tfcntrflag, 1).Put(0, 1).Put(1, 1).Put(s.psf, 1);
        w.Put(s.displayExt, 1);
        if (s.displayExt) {
            w.Put(s.dispWidth, 14).Put(s.dispHeight, 14).Put(1, 1).Put(s.aspect, 4);
            if (s.aspect == 15) w.Put(16, 8).Put(9, 8);
            w.Put(s.framerateFlag, 1);
            if (s.framerateFlag) w.Put(s.framerateInd, 1);
            if (s.framerateFlag) w.Put(s.framerateInd ? 0x7FF : s.frameRateNr << 4 | s.frameRateDr, s.framerateInd ? 16 : 12);
            w.Put(1, 1).Put(0x010101, 24);
        }
        w.Put(s.hrdBuckets != 0, 1);
        if (s.hrdBuckets != 0) w.Put(s.hrdBuckets, 5).Put(4, 4).Put(6, 4);
        for (unsigned n = 0; n < s.hrdBuckets; ++n) w.Put(0x1234 + n, 16).Put(0x0100 + n, 16);
        return Bdu(0x0F, w.PutBit(1).Align().Take());
    }
    // Closed entry point with EXTENDED_MV and the coded size.
    Vc1Builder& EntryPoint() {
        BitWriter w;
        w.Put(0x2D3, 11).Put(1, 2);
        for (unsigned n = 0; n < m_seq.hrdBuckets; ++n) w.Put(0x80 + n, 8);
        w.Put(1, 1).Put(959, 12).Put(539, 12).Put(1, 1).Put(0, 1).Put(0, 1);
        return Bdu(0x0E, w.PutBit(1).Align().Take());
    }
    // A frame BDU whose header follows the flags of the last sequence header, then body (or 48 filler bytes).
    Vc1Builder& Picture(const Vc1Picture& p, const std::vector<uint8_t>& body = {}) {
        BitWriter w;
        if (m_seq.interlace) w.Put(p.fcm == 0 ? 0 : p.fcm, p.fcm == 0 ? 1 : 2);
        if (m_seq.interlace && p.fcm == 3) w.Put(p.fptype, 3);
        // The code has as many leading ones as its place in kPtypes, then a zero unless it has four.
        for (const uint8_t* c = kPtypes; p.fcm != 3 && *c != p.ptype; ++c) w.PutBit(1);
        if (p.fcm != 3 && p.ptype != 15) w.PutBit(0);
        if ((p.fcm == 3 || p.ptype != 15) && m_seq.tfcntrflag) w.Put(0x21, 8);
        if (m_seq.pulldown && (!m_seq.interlace || m_seq.psf)) w.Put(p.rptfrm, 2);
        if (m_seq.pulldown && m_seq.interlace && !m_seq.psf) w.Put(1, 1).Put(p.rff, 1);
        std::vector<uint8_t> payload = w.PutBit(1).Align().Fill(0x5A, body.empty() ? 48 : 0).Take();
        payload.insert(payload.end(), body.begin(), body.end());
        return Bdu(0x0D, payload);
    }
    Vc1Builder& Head(const Vc1Sequence& s = Vc1Sequence()) { return SequenceHeader(s).EntryPoint(); }
    // Space-separated tokens: H (head; letters after it: 1 profile 1, i interlaced with TFCNTR, p pull-down,
    // r FRAMERATEIND 1, n no frame rate, d no display extension), S sequence header, N entry point,
    // U user data, E end of sequence, I P B Y K pictures (I, P, B, BI, skipped; a digit is RPTFRM and RFF),
    // F0..F7 field pairs, X an interlaced I frame, xHEX raw bytes, | a cut recorded in cuts.
    Vc1Builder& Script(const std::string& script, std::vector<size_t>* cuts = nullptr) {
        std::istringstream in(script);
        for (std::string t; in >> t;) {
            const std::string rest = t.substr(1);
            const auto has = [&rest](char c) { return rest.find(c) != std::string::npos; };
            Vc1Sequence s;
            Vc1Picture p;
            p.rff = p.rptfrm = static_cast<uint8_t>(rest.empty() || rest[0] > '9' ? 0 : rest[0] - '0');
            s.profile = has('1') ? 1 : 3, s.interlace = s.tfcntrflag = has('i'), s.pulldown = has('p');
            s.framerateInd = has('r'), s.framerateFlag = !has('n'), s.displayExt = !has('d');
            switch (t[0]) {
                case '|': cuts->push_back(Size()); break;
                case 'H': Head(s); break;
                case 'S': SequenceHeader(s); break;
                case 'N': EntryPoint(); break;
                case 'U': Bdu(0x1F, {0x55, 0x44, 0x80}); break;
                case 'E': Bdu(0x0A, {}); break;
                case 'F': p.fcm = 3, p.fptype = p.rptfrm, p.rptfrm = 0, Picture(p); break;
                case 'X': p.fcm = 2, Picture(p); break;
                case 'x':
                    for (size_t i = 0; i + 1 < rest.size(); i += 2) m_out.push_back(std::stoi(rest.substr(i, 2), 0, 16));
                    break;
                default: p.ptype = kPtypes[std::string("PBIYK").find(t[0])], Picture(p);
            }
        }
        return *this;
    }
    size_t Size() const { return m_out.size(); }
    const std::vector<uint8_t>& Bytes() const { return m_out; }

private:
    static constexpr uint8_t kPtypes[] = {0, 8, 12, 14, 15};
    std::vector<uint8_t> m_out;
    Vc1Sequence m_seq;
};

}  // namespace kiv_test
