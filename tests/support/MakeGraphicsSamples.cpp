// Writes the graphics samples with GraphicsBuilder.h. PG: an epoch start, a normal palette update of its
// object, an acquisition point with a new object in two fragments, a clearing set. IG: an epoch-start menu
// whose composition (a main page with two buttons and an in-effect, a chapter page with four buttons) is
// carried in two ICS fragments with all 14 button objects, then a normal update selecting the second button.
// Build and run: g++ -std=c++17 -I tests tests/support/MakeGraphicsSamples.cpp -o make_graphics_samples
//                && ./make_graphics_samples samples/pg_sample.pgs samples/ig_sample.igs
#include <cstdio>

#include "support/GraphicsBuilder.h"

using namespace kiv_test::gfx;

namespace {

Bytes PgSample() {
    const Window window{0, 200, 900, 1520, 120};
    const std::vector<PaletteEntry> palette = {{0, 16, 128, 128, 0}, {1, 235, 128, 128, 255}, {2, 128, 60, 200, 255}};
    const Pcs epoch{1920, 1080, 4, 0, 2, false, 0, {{0, 0, false, false, 200, 900}}};
    const Pcs normal{1920, 1080, 4, 1, 0, true, 0, epoch.objects};
    const Pcs acquisition{1920, 1080, 4, 2, 1, false, 0, {{1, 0, true, false, 200, 900, 0, 0, 760, 120}}};
    return Cat({epoch.Build(), Wds({window}), Pds(0, 0, palette), Ods(0, 1520, 120, 3000), End(),
                normal.Build(), Pds(0, 1, palette), End(),
                acquisition.Build(), Wds({window}), Pds(0, 0, palette), Ods(1, 1520, 120, 2000, false),
                OdsMore(1, 1500, true), End(),
                Pcs{1920, 1080, 4, 3, 0}.Build(), Wds({window}), End()});
}

// A button at (x, y) with three state objects from `object` on (0xFFFF: none) and one command.
Button MenuButton(uint16_t id, uint16_t x, uint16_t y, uint16_t object, bool activated, uint8_t command) {
    Button b = Btn(id, object, static_cast<uint16_t>(object + 1), activated ? object + 2 : 0xFFFF);
    b.x = x, b.y = y, b.upper = b.lower = b.left = b.right = id;
    b.commands = {Bytes{0x21, 0x81, 0x00, 0x00, 0x00, 0x00, 0x00, command, 0x00, 0x00, 0x00, 0x00}};
    return b;
}

Bytes IgSample() {
    Menu menu{{MenuPage({{1, {MenuButton(1, 760, 700, 0, true, 1)}}, {2, {MenuButton(2, 760, 820, 3, true, 2)}}}, 1),
               MenuPage({{10, {MenuButton(10, 200, 300, 6, false, 10), MenuButton(11, 200, 420, 8, false, 11),
                               MenuButton(12, 200, 540, 10, false, 12), MenuButton(13, 200, 660, 12, false, 13)}}},
                        10, 1)},
              {}, 2, 0, 4, 2};
    menu.pages[0].in = {{{0, 0, 0, 1920, 1080}}, {{45045, 0, {}}}};  // half a second of fading in
    Menu update{menu.pages, {}};  // the second button selected first; no object is sent again
    update.pages[0].defaultSelected = 2;
    for (uint16_t id = 0; id < 14; ++id) menu.objects.push_back({id, 400, 100});
    return Cat({menu.Build(), update.Build()});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return std::fprintf(stderr, "usage: %s PG_OUTPUT.pgs IG_OUTPUT.igs\n", argv[0]), 2;
    for (int i = 1; i < 3; ++i) {
        const Bytes out = i == 1 ? PgSample() : IgSample();
        std::FILE* f = std::fopen(argv[i], "wb");
        if (f == nullptr || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) return std::perror(argv[i]), 1;
    }
    return 0;
}
