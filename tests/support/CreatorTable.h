// Test support: one end-to-end table through CKivCreator for every stream kind. Each kind adds its rows
// in its own file beside tests/api/CreatorTableTest.cpp:
//     INSTANTIATE_TEST_SUITE_P(Lpcm, CreatorTable, ::testing::ValuesIn(std::vector<CreatorRow>{...}), kiv_test::RowName);
#pragma once

#include "KivCreator.h"
#include "support/KivReader.h"

namespace kiv_test {

// A stream, the start list, what CreateKiv returns, the host's text and every item of the KIV file
// (end item included; no items when no file is written). abortAfter > -1 runs with a RecordingNotice
// that aborts after that many progress calls. kivName is inside the scratch folder.
struct CreatorRow {
    const char* name;
    kiv_comp::CKivCreator::ES_TYPE type;
    std::vector<uint8_t> stream;
    std::vector<uint32_t> startPts;
    bool result;
    std::string message;
    std::vector<KivItem> items;
    int abortAfter = -1;
    const char* kivName = "out.kiv";
};

inline void PrintTo(const CreatorRow& row, std::ostream* os) { *os << row.name; }
inline std::string RowName(const ::testing::TestParamInfo<CreatorRow>& info) { return info.param.name; }

class CreatorTable : public ::testing::TestWithParam<CreatorRow> {};

}  // namespace kiv_test
