// Channel-code test shared by the audio reports.
#pragma once

namespace ts_comp {
namespace es {

// A channel code is ten times the number of full-band channels plus the LFE channels; true for codes of
// three or more full-band channels and for any code with an LFE.
bool IsMultiChannelCode(int code);

}  // namespace es
}  // namespace ts_comp
