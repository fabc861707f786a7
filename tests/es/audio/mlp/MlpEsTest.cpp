// CMlpEs texts: the report with its marker for a sampling code without a rate, the XML document. The time
// stamps and failures are rows of the creator table (tests/api/CreatorTableMlp.cpp).
#include <gtest/gtest.h>

#include "es/audio/mlp/CMlpEs.h"
#include "support/MlpBuilder.h"
#include "support/TempDir.h"

namespace {

TEST(MlpEsTest, ReportAndXml) {
    kiv_test::TempDir dir;
    std::vector<uint8_t> bytes;
    const kiv_test::MlpUnit u{0, true, 0x300A9001, {{1, 1, 0, 5}, {1, 1, 0, 7}, {0}}};
    u.AppendTo(bytes);
    u.AppendTo(bytes);
    ts_comp::es::CMlpEs es{PRIVATE_LIBRARY::CL_CString(dir.Write("a.mlp", bytes).c_str())};
    PRIVATE_LIBRARY::CL_CString report("x"), xml;
    es.GetReportText(report);
    es.GetXmlText(xml);
    EXPECT_STREQ(report.GetString(), "x[audio_sampling_frequency] : 3   <--- error\r\n[_6ch_decorder_channel_assignment] : 21\r\n"
                                     "[_8ch_decorder_channel_assignment] : 4097\r\n[restart_header_exists] : 1\r\n"
                                     "[substreams] : 3\r\n[max_chan0] : 5\r\n[max_chan1] : 7\r\n[max_chan2] : 0\r\n");
    EXPECT_STREQ(xml.GetString(),
                 "<?xml version=\"1.0\" standalone=\"yes\"?>\n<MLP xmlns=\"urn:kiv:es-attribute:1.0\">\n  <parameter>\n"
                 "    <audio_sampling_frequency>3</audio_sampling_frequency>\n"
                 "    <_6ch_decorder_channel_assignment>21</_6ch_decorder_channel_assignment>\n"
                 "    <_8ch_decorder_channel_assignment>4097</_8ch_decorder_channel_assignment>\n"
                 "    <restart_header_exists>1</restart_header_exists>\n    <substreams>3</substreams>\n"
                 "    <max_chan0>5</max_chan0>\n    <max_chan1>7</max_chan1>\n    <max_chan2>0</max_chan2>\n"
                 "  </parameter>\n</MLP>\n");
}

}  // namespace
