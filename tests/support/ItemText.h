// Test support: KIV items written as words: "type:size@pts" (dts = pts) or "type:size@dts/pts", then
// ",f5,f6,f7,f9,f10" as far as they are not 0; "E@pts" is the terminating item.
#pragma once

#include <algorithm>
#include <cctype>
#include <sstream>

#include "support/KivReader.h"

namespace kiv_test {

inline std::vector<KivItem> Items(const std::string& text) {
    std::vector<KivItem> items;
    std::istringstream words(text);
    for (std::string w; words >> w;) {
        if (w[0] == 'E') w = "255:0@0/" + w.substr(2);
        const size_t at = w.find('@'), end = std::min(w.find(','), w.size());
        if (w.find('/') == std::string::npos) w.insert(at + 1, w.substr(at + 1, end - at - 1) + "/");
        std::replace_if(w.begin(), w.end(), [](char c) { return !std::isdigit(static_cast<unsigned char>(c)); }, ' ');
        KivItem i;
        std::istringstream fields(w);
        for (uint64_t* f : {&i.type, &i.size, &i.dts, &i.pts, &i.f5, &i.f6, &i.f7, &i.f9, &i.f10}) fields >> *f;
        items.push_back(i);
    }
    return items;
}

}  // namespace kiv_test
