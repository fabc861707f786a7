// The access units a video parser cuts from a stream written to a temporary file.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace kiv_test {

// Each unit `Parser` gives for `bytes`, in order, as rowOf(unit) makes it.
template <class Parser, class RowOf>
auto ParseUnits(const std::vector<uint8_t>& bytes, const std::string& fileName, RowOf rowOf) {
    TempDir dir;
    Parser parser;
    EXPECT_TRUE(parser.Open(dir.Write(fileName, bytes).c_str()));
    std::vector<decltype(rowOf(parser.GetNextAccessUnit()))> rows;
    while (auto unit = parser.GetNextAccessUnit()) rows.push_back(rowOf(std::move(unit)));
    return rows;
}

}  // namespace kiv_test
