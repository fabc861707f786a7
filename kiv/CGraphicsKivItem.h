// Item of a graphics item: the common fields, then enc_sub_item_type, the two sequence flags, reserved2.
#pragma once

#include "kiv/CKivItem.h"

namespace ts_comp {
namespace kiv {

class CGraphicsKivItem : public CKivItem {
public:
    CGraphicsKivItem();
};

}  // namespace kiv
}  // namespace ts_comp
