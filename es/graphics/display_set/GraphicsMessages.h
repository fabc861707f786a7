// Message texts and constants of the graphics display-set model and analysers.
#pragma once

#include <cstdint>

#include "foundation/Messages.h"

namespace ts_comp { namespace es { namespace graphics_stream {

constexpr int kContentErrorCode = ts_comp::error_code::kStreamContent;

constexpr const char* kMsgNegativeDts = "\nA DTS value of first Segment is minus .(DTS = %wd)";
constexpr const char* kMsgNoWds = "A WDS does not exist in this display set.(display set number = %d)";
constexpr const char* kMsgNoPds = "A PDS does not exist in this display set.(display set number = %d)";
constexpr const char* kMsgFirstNotPcs = "A first segment is not PCS in this displaySet.(display set number = %d)";
constexpr const char* kMsgNoObject =
    "A object does not exist in this display set.(object_id = %d,display set number = %d)";
constexpr const char* kMsgStartPtsCount = "The number of pts in start pts list and display set is not equal.";

constexpr const char* kSourceAbstractDisplaySet = "AbstractDisplaySet";
constexpr const char* kSourceDisplaySetForPresentation = "DisplaySetForPresentation";
constexpr const char* kSourcePresentationGraphicsEs = "PresentationGraphicsEs";

constexpr int64_t kClock = 90000;                          // ticks per second
constexpr int64_t kCodedBufferFree = 0x100000;             // coded bytes taken without a transfer delay
constexpr int64_t kTransferRate = 5000000;                 // coded bytes per second past that
constexpr uint64_t kPgDecodingRate = 128000000;
constexpr uint64_t kIgDecodingRate = 64000000;
constexpr uint32_t kPgObjectSlots = 64;
constexpr uint32_t kIgObjectSlots = 4096;
constexpr int64_t kPgPlaneRate = 256000000;                // plane initialisation and window drawing
constexpr int64_t kPlaneClearPerPixel = 720000;            // 8 bits x 90,000

}}}  // namespace ts_comp::es::graphics_stream
