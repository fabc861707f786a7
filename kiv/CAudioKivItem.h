// Item of an audio item: the common fields only.
#pragma once

#include "kiv/CKivItem.h"

namespace ts_comp {
namespace kiv {

class CAudioKivItem : public CKivItem {
public:
    CAudioKivItem();
};

}  // namespace kiv
}  // namespace ts_comp
