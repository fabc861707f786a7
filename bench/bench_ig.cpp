// Writes the interactive graphics stream of bench_ig.sh: `bench_ig --write FILE SETS`.
// Each display set is a menu: the ICS of one page with a group of six buttons (two navigation commands
// each), a palette of 256 entries, the normal and selected images of the buttons (400x100, 9,000 coded
// bytes each) and a 1920x1080 background of 180,000 coded bytes in three fragments, then the END: about
// 290 KB, an epoch start every 10th set.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/GraphicsBuilder.h"

using namespace kiv_test::gfx;

namespace {

Bytes DisplaySet(uint16_t number, bool epochStart) {
    Bog group;
    group.defaultValid = 0;
    for (uint16_t b = 0; b < 6; ++b) {
        Button button = Btn(b, static_cast<uint16_t>(2 * b), static_cast<uint16_t>(2 * b + 1));
        button.x = 200;
        button.y = static_cast<uint16_t>(100 + 120 * b);
        button.upper = b == 0 ? 5 : b - 1;
        button.lower = b == 5 ? 0 : b + 1;
        button.commands.assign(2, Bytes(12, 0x21));
        group.buttons.push_back(button);
    }
    InteractiveComposition ic;
    ic.streamModel = 1;
    ic.pages = {MenuPage({group}, 0)};
    Ics ics;
    ics.number = number;
    ics.state = epochStart ? 2 : 0;
    Bytes set = IcsFragments(ics, ic.Build());
    std::vector<PaletteEntry> palette;
    for (int e = 0; e < 256; ++e) palette.push_back({static_cast<uint8_t>(e), 128, 128, 128, 255});
    Append(set, Pds(0, 0, palette));
    for (uint16_t id = 0; id < 12; ++id) Append(set, Ods(id, 400, 100, 9000));
    Append(set, Ods(12, 1920, 1080, 60000, false));
    Append(set, OdsMore(12, 60000, false));
    Append(set, OdsMore(12, 60000, true));
    return Append(set, End());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[1], "--write") != 0) {
        std::fprintf(stderr, "usage: bench_ig --write FILE SETS\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[2], "wb");
    if (f == nullptr) return 1;
    const long long sets = std::atoll(argv[3]);
    bool ok = true;
    for (long long i = 0; i < sets && ok; ++i) {
        const Bytes set = DisplaySet(static_cast<uint16_t>(i), i % 10 == 0);
        ok = std::fwrite(set.data(), 1, set.size(), f) == set.size();
    }
    return std::fclose(f) == 0 && ok ? 0 : 1;
}
