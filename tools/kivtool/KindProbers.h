// The probers of the ten stream kinds, each looking for its kind's sync words or headers.
#pragma once

#include <vector>

#include "CStreamHead.h"
#include "KindProbe.h"

namespace kivtool {

// Every kind whose prober recognises the stream, in ES_TYPE order.
std::vector<KindMatch> RunProbers(CStreamHead& stream);

}  // namespace kivtool
