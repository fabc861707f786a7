// KIV file of the dependent view of an MVC stream.
#pragma once

#include "kiv/CVideoKiv.h"

namespace ts_comp {
namespace kiv {

class CMvcDependentViewVideoKiv : public CVideoKiv {
public:
    CMvcDependentViewVideoKiv();
};

}  // namespace kiv
}  // namespace ts_comp
