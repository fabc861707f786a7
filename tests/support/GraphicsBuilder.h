// Test support: graphics segments (PCS, WDS, PDS, ODS, END, ICS) and interactive compositions, field by field.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {
namespace gfx {

using Bytes = std::vector<uint8_t>;

// A whole segment: descriptor (type, length = body size) and body.
inline Bytes Segment(uint8_t type, const Bytes& body) {
    return BitWriter().Put(type, 8).Put(body.size(), 16).Bytes(body).Take();
}

inline Bytes& Append(Bytes& to, const Bytes& more) { return to.insert(to.end(), more.begin(), more.end()), to; }

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) Append(out, p);
    return out;
}

struct CompObject {
    uint16_t objectId = 0, windowId = 0;
    bool cropped = false, forced = false;
    uint16_t x = 0, y = 0, cropX = 0, cropY = 0, cropW = 0, cropH = 0;
};

struct Window { uint16_t id = 0, x = 0, y = 0, width = 0, height = 0; };

inline void Put(BitWriter& w, const CompObject& o) {
    w.Put(o.objectId, 16).Put(o.windowId, 8).Put(o.cropped, 1).Put(o.forced, 1).Put(0, 6).Put(o.x, 16).Put(o.y, 16);
    if (o.cropped) w.Put(o.cropX, 16).Put(o.cropY, 16).Put(o.cropW, 16).Put(o.cropH, 16);
}

inline void Put(BitWriter& w, const Window& x) {
    w.Put(x.id, 8).Put(x.x, 16).Put(x.y, 16).Put(x.width, 16).Put(x.height, 16);
}

// The count (or `declared` when >= 0), then each element.
template <class T>
BitWriter& PutList(BitWriter& w, const std::vector<T>& list, int declared = -1) {
    w.Put(declared < 0 ? list.size() : static_cast<uint64_t>(declared), 8);
    for (const T& e : list) Put(w, e);
    return w;
}

// The header a PCS and an ICS start with; state 0 normal, 1 acquisition point, 2 epoch start, 3 epoch continue.
inline BitWriter& PutHeader(BitWriter& w, uint16_t width, uint16_t height, uint16_t frameRate, uint16_t number,
                            uint16_t state) {
    return w.Put(width, 16).Put(height, 16).Put(frameRate, 4).Put(0, 4).Put(number, 16).Put(state, 2).Put(0, 6);
}

struct Pcs {
    uint16_t width = 1920, height = 1080, frameRate = 4, number = 0, state = 2;
    bool paletteUpdate = false;
    uint16_t paletteId = 0;
    std::vector<CompObject> objects = {};
    int declaredObjects = -1;  // number_of_composition_objects when it should differ from objects.size()

    Bytes Build() const {
        BitWriter w;
        PutHeader(w, width, height, frameRate, number, state).Put(paletteUpdate, 1).Put(0, 7).Put(paletteId, 8);
        return Segment(0x16, PutList(w, objects, declaredObjects).Take());
    }
};

inline Bytes Wds(const std::vector<Window>& windows, int declared = -1) {
    BitWriter w;
    return Segment(0x17, PutList(w, windows, declared).Take());
}

struct PaletteEntry { uint8_t id, y, cr, cb, t; };

inline Bytes Pds(uint8_t id, uint8_t version, const std::vector<PaletteEntry>& entries) {
    BitWriter w;
    w.Put(id, 8).Put(version, 8);
    for (const auto& e : entries) w.Put(e.id, 8).Put(e.y, 8).Put(e.cr, 8).Put(e.cb, 8).Put(e.t, 8);
    return Segment(0x14, w.Take());
}

// A first fragment: header, object_data_length, width, height, then `payload` bytes of coded data.
inline Bytes Ods(uint16_t id, uint16_t width, uint16_t height, size_t payload, bool last = true, uint8_t version = 0) {
    BitWriter w;
    w.Put(id, 16).Put(version, 8).Put(1, 1).Put(last, 1).Put(0, 6);
    return Segment(0x15, w.Put(payload + 4, 24).Put(width, 16).Put(height, 16).Fill(0xAA, payload).Take());
}

// A continuation fragment carrying `payload` bytes.
inline Bytes OdsMore(uint16_t id, size_t payload, bool last, uint8_t version = 0) {
    return Segment(0x15, BitWriter().Put(id, 16).Put(version, 8).Put(0, 1).Put(last, 1).Put(0, 6).Fill(0x55, payload).Take());
}

inline Bytes End() { return Segment(0x80, {}); }

struct Ics {
    uint16_t width = 1920, height = 1080, frameRate = 4, number = 0, state = 2;
    bool first = true, last = true;
    Bytes fragment = {};

    Bytes Build() const {
        BitWriter w;
        PutHeader(w, width, height, frameRate, number, state).Put(first, 1).Put(last, 1).Put(0, 6);
        return Segment(0x18, w.Bytes(fragment).Take());
    }
};

// Interactive composition parts, written in syntax order.
struct Effect { uint32_t duration = 0, paletteId = 0; std::vector<CompObject> objects = {}; };
struct EffectSequence { std::vector<Window> windows; std::vector<Effect> effects; };

struct Button {
    uint16_t id = 0, numericSelectValue = 0;
    bool autoAction = false;
    uint16_t x = 0, y = 0, upper = 0, lower = 0, left = 0, right = 0, normalStart = 0, normalEnd = 0;
    uint16_t selectedSound = 0, selectedStart = 0, selectedEnd = 0, activatedSound = 0, activatedStart = 0;
    uint16_t activatedEnd = 0;
    std::vector<Bytes> commands;  // 12 bytes each
};

struct Bog { uint16_t defaultValid = 0; std::vector<Button> buttons; };

struct Page {
    uint8_t id = 0, version = 0;
    uint64_t uoMask = 0;
    EffectSequence in, out;
    uint16_t animationFrameRateCode = 0, defaultSelected = 0, defaultActivated = 0, paletteId = 0;
    std::vector<Bog> groups;
};

inline void Put(BitWriter& w, const Effect& e) { PutList(w.Put(e.duration, 24).Put(e.paletteId, 8), e.objects); }

inline void Put(BitWriter& w, const Button& b) {
    w.Put(b.id, 16).Put(b.numericSelectValue, 16).Put(b.autoAction, 1).Put(0, 7).Put(b.x, 16).Put(b.y, 16);
    w.Put(b.upper, 16).Put(b.lower, 16).Put(b.left, 16).Put(b.right, 16);
    w.Put(b.normalStart, 16).Put(b.normalEnd, 16).Put(1, 1).Put(0, 1).Put(0, 6);
    w.Put(b.selectedSound, 8).Put(b.selectedStart, 16).Put(b.selectedEnd, 16).Put(0, 1).Put(1, 1).Put(0, 6);
    w.Put(b.activatedSound, 8).Put(b.activatedStart, 16).Put(b.activatedEnd, 16).Put(b.commands.size(), 16);
    for (const auto& c : b.commands) w.Bytes(c);
}

inline void Put(BitWriter& w, const Bog& g) { PutList(w.Put(g.defaultValid, 16), g.buttons); }

inline void Put(BitWriter& w, const Page& p) {
    w.Put(p.id, 8).Put(p.version, 8).Put(p.uoMask, 64);
    for (const EffectSequence* s : {&p.in, &p.out}) PutList(PutList(w, s->windows), s->effects);
    w.Put(p.animationFrameRateCode, 8).Put(p.defaultSelected, 16).Put(p.defaultActivated, 16).Put(p.paletteId, 8);
    PutList(w, p.groups);
}

struct InteractiveComposition {
    uint8_t streamModel = 0, uiModel = 0;
    uint64_t compositionTimeOut = 0, selectionTimeOut = 0;
    uint32_t userTimeOut = 0;
    std::vector<Page> pages;
    int declaredPages = -1;

    // The joined composition as BuildCompositionFile writes it.
    Bytes Build() const {
        BitWriter body, w;
        if (streamModel == 0) body.Put(0, 7).Put(compositionTimeOut, 33).Put(0, 7).Put(selectionTimeOut, 33);
        PutList(body.Put(userTimeOut, 24), pages, declaredPages);
        return w.Put(body.ByteCount() + 1, 24).Put(streamModel, 1).Put(uiModel, 1).Put(0, 6).Bytes(body.Data()).Take();
    }
};

// The ICS segments that carry a joined composition in `pieces` fragments, with their sequence flags.
inline Bytes IcsFragments(Ics header, const Bytes& composition, size_t pieces = 1) {
    Bytes out;
    const size_t step = (composition.size() + pieces - 1) / pieces;
    for (size_t i = 0, from = 0; i < pieces; ++i, from += step) {
        header.first = i == 0;
        header.last = i + 1 == pieces;
        const size_t to = std::min(composition.size(), from + step);
        header.fragment.assign(composition.begin() + std::min(from, to), composition.begin() + to);
        Append(out, header.Build());
    }
    return out;
}

// A button whose states start with the given objects (0xFFFF: none).
inline Button Btn(uint16_t id, uint16_t normal, uint16_t selected, uint16_t activated = 0xFFFF) {
    return Button{id, 0, false, 0, 0, 0, 0, 0, 0, normal, 0, 0, selected, 0, 0, activated, 0, {}};
}

inline Page MenuPage(std::vector<Bog> groups, uint16_t defaultSelected, uint8_t id = 0) {
    return Page{id, 0, 0, {}, {}, 0, defaultSelected, 0, 0, std::move(groups)};
}

// One interactive display set: the ICS in `pieces` fragments, a PDS unless `pds` is false, one first
// and last ODS of 10 coded bytes per object, the END.
struct Menu {
    struct Object { uint16_t id, width, height; };
    std::vector<Page> pages;
    std::vector<Object> objects;
    uint8_t state = 0, streamModel = 0, frameRate = 4;
    size_t pieces = 1;
    uint64_t timeOut = 0;
    bool pds = true;

    Bytes Build() const {
        const Ics ics{1920, 1080, frameRate, 0, state};
        Bytes b = IcsFragments(ics, InteractiveComposition{streamModel, 0, timeOut, 0, 0, pages}.Build(), pieces);
        if (pds) Append(b, Pds(0, 0, {{0, 16, 128, 128, 0}}));
        for (const Object& o : objects) Append(b, Ods(o.id, o.width, o.height, 10));
        return Append(b, End());
    }
};

}  // namespace gfx
}  // namespace kiv_test
