// CMlpEs texts beyond the sample: the marker for a sampling code without a rate, three substreams' values.
// The time stamps and failures are rows of the creator table.
#include <gtest/gtest.h>

#include "es/audio/mlp/CMlpEs.h"
#include "support/MlpBuilder.h"
#include "support/TempDir.h"

namespace kiv_test {
namespace {

TEST(MlpEs, ReportAndXmlValues) {
    TempDir dir;
    std::vector<uint8_t> bytes;
    const MlpUnit unit{0, true, 0x300A9001, {{1, 1, 0, 5}, {1, 1, 0, 7}, {0}}};
    unit.AppendTo(bytes);
    unit.AppendTo(bytes);
    ts_comp::es::CMlpEs es{PRIVATE_LIBRARY::CL_CString(dir.Write("a.mlp", bytes).c_str())};
    PRIVATE_LIBRARY::CL_CString report("x"), xml;
    es.GetReportText(report);
    es.GetXmlText(xml);
    EXPECT_STREQ(report.GetString(), "x[audio_sampling_frequency] : 3   <--- error\r\n[_6ch_decorder_channel_assignment] : 21\r\n"
                                     "[_8ch_decorder_channel_assignment] : 4097\r\n[restart_header_exists] : 1\r\n"
                                     "[substreams] : 3\r\n[max_chan0] : 5\r\n[max_chan1] : 7\r\n[max_chan2] : 0\r\n");
    EXPECT_NE(std::string(xml.GetString()).find(">3</audio_sampling_frequency>\n    <_6ch_decorder_channel_assignment>21<"
                                                "/_6ch_decorder_channel_assignment>\n    <_8ch_decorder_channel_assignment>4097<"
                                                "/_8ch_decorder_channel_assignment>\n    <restart_header_exists>1</restart_header_"
                                                "exists>\n    <substreams>3</substreams>\n    <max_chan0>5</max_chan0>\n    <max_ch"
                                                "an1>7</max_chan1>\n    <max_chan2>0<"),
              std::string::npos)
        << xml.GetString();
}

}  // namespace
}  // namespace kiv_test
