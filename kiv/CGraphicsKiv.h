// KIV file of graphics streams (PG, IG).
#pragma once

#include "kiv/CKiv.h"

namespace ts_comp {
namespace kiv {

class CGraphicsKiv : public CKiv {
public:
    CGraphicsKiv();
};

}  // namespace kiv
}  // namespace ts_comp
