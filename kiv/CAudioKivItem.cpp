#include "kiv/CAudioKivItem.h"

namespace ts_comp {
namespace kiv {

CAudioKivItem::CAudioKivItem() : CKivItem(kKivFileTypeAudio, kAudioItemSize) {}

}  // namespace kiv
}  // namespace ts_comp
