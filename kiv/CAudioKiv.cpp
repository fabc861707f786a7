#include "kiv/CAudioKiv.h"

namespace ts_comp {
namespace kiv {

CAudioKiv::CAudioKiv() : CKiv(kKivFileTypeAudio, kAudioItemSize) {}

}  // namespace kiv
}  // namespace ts_comp
