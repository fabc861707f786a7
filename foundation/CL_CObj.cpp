#include "foundation/CL_CObj.h"

namespace PRIVATE_LIBRARY {

CL_CObj::~CL_CObj() = default;

}  // namespace PRIVATE_LIBRARY
