// KIV file of audio streams.
#pragma once

#include "kiv/CKiv.h"

namespace ts_comp {
namespace kiv {

class CAudioKiv : public CKiv {
public:
    CAudioKiv();
};

}  // namespace kiv
}  // namespace ts_comp
