// Writes a small interactive graphics (menu) stream made with GraphicsBuilder.h: an epoch start whose
// composition (a main page with two buttons, a chapter page with four) is carried in two ICS fragments,
// with every button object, then a normal update that selects the second button by default.
// Build and run: g++ -std=c++17 -I tests tests/support/MakeIgSample.cpp -o make_ig_sample && ./make_ig_sample samples/ig_sample.igs
#include <cstdio>

#include "support/GraphicsBuilder.h"

using namespace kiv_test::gfx;

namespace {

// A button at (x, y) with three state objects from `object` on (0xFFFF: none) and one command.
Button MenuButton(uint16_t id, uint16_t x, uint16_t y, uint16_t object, bool activated, uint8_t command) {
    Button b = Btn(id, object, static_cast<uint16_t>(object + 1), activated ? object + 2 : 0xFFFF);
    b.x = x;
    b.y = y;
    b.upper = b.lower = b.left = b.right = id;
    b.commands = {Bytes{0x21, 0x81, 0x00, 0x00, 0x00, 0x00, 0x00, command, 0x00, 0x00, 0x00, 0x00}};
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.igs\n", argv[0]);
        return 2;
    }
    Menu menu;
    menu.state = 2;
    menu.pieces = 2;
    menu.pages = {MenuPage({{1, {MenuButton(1, 760, 700, 0, true, 1)}}, {2, {MenuButton(2, 760, 820, 3, true, 2)}}},
                           1, 0),
                  MenuPage({{10, {MenuButton(10, 200, 300, 6, false, 10), MenuButton(11, 200, 420, 8, false, 11),
                                  MenuButton(12, 200, 540, 10, false, 12), MenuButton(13, 200, 660, 12, false, 13)}}},
                           10, 1)};
    menu.pages[0].in.windows = {{0, 0, 0, 1920, 1080}};
    menu.pages[0].in.effects = {{45045, 0, {}}};  // half a second of the palette fading the page in
    for (uint16_t id = 0; id < 14; ++id) menu.objects.push_back({id, 400, 100});
    Bytes out = menu.Build();

    Menu update = menu;  // the same menu, the second button selected first; no object is sent again
    update.state = 0;
    update.pieces = 1;
    update.pages[0].defaultSelected = 2;
    update.objects.clear();
    Append(out, update.Build());

    std::FILE* f = std::fopen(argv[1], "wb");
    if (f == nullptr || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
