// Writes a small presentation graphics stream made with GraphicsBuilder.h:
// an epoch start, a normal update that reuses its object, an acquisition point and a clearing set.
// Build and run: g++ -std=c++17 -I tests tests/support/MakePgSample.cpp -o make_pg_sample && ./make_pg_sample samples/pg_sample.pgs
#include <cstdio>

#include "support/GraphicsBuilder.h"

using namespace kiv_test::gfx;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pgs\n", argv[0]);
        return 2;
    }
    const Window window{0, 200, 900, 1520, 120};
    const std::vector<PaletteEntry> palette = {{0, 16, 128, 128, 0}, {1, 235, 128, 128, 255}, {2, 128, 60, 200, 255}};
    Bytes out;
    Pcs epoch;
    epoch.number = 0;
    epoch.state = 2;
    epoch.objects = {{0, 0, false, false, 200, 900}};
    Append(out, epoch.Build());
    Append(out, Wds({window}));
    Append(out, Pds(0, 0, palette));
    Append(out, Ods(0, 1520, 120, 3000));
    Append(out, End());

    Pcs normal = epoch;  // palette update on the same object
    normal.number = 1;
    normal.state = 0;
    normal.paletteUpdate = true;
    Append(out, normal.Build());
    Append(out, Pds(0, 1, palette));
    Append(out, End());

    Pcs acquisition = epoch;  // a new object, split over two fragments
    acquisition.number = 2;
    acquisition.state = 1;
    acquisition.objects = {{1, 0, true, false, 200, 900, 0, 0, 760, 120}};
    Append(out, acquisition.Build());
    Append(out, Wds({window}));
    Append(out, Pds(0, 0, palette));
    Append(out, Ods(1, 1520, 120, 2000, false));
    Append(out, OdsMore(1, 1500, true));
    Append(out, End());

    Pcs clear = epoch;  // removes the subtitle
    clear.number = 3;
    clear.state = 0;
    clear.objects = {};
    Append(out, clear.Build());
    Append(out, Wds({window}));
    Append(out, End());

    std::FILE* f = std::fopen(argv[1], "wb");
    if (f == nullptr || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
