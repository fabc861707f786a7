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
constexpr const char* kMsgIgNoPds = "\nA PDS does not exist in this displaySet. \n(displaySetNumber = %d)";
constexpr const char* kMsgIgNoObject =
    "\nA object that indicates object_id_ref does not exist in this displaySet. (object_id_ref = %d, "
    "displaySetNumber = %d)";
constexpr const char* kMsgIgNoDefaultValidButton =
    "\nA button that indicates default_valid_button_id_ref does not exist in this displaySet. "
    "\n(default_valid_button_id_ref = %d, displaySetNumber = %d, page = %d, bogNumber = %d)";
constexpr const char* kMsgIgNoDefaultSelectedButton =
    "\nA button that indicates default_selected_button_id_ref does not exist in this displaySet. "
    "(default_selected_button_id_ref = %d, displaySetNumber = %d))";
constexpr const char* kMsgIgNoSelectedObject =
    "\nA object that indicates selected_start_object_id_ref does not exist in this displaySet. "
    "(selected_start_object_id_ref = %d, displaySetNumber = %d)";

constexpr const char* kSourceAbstractDisplaySet = "AbstractDisplaySet";
constexpr const char* kSourceDisplaySetForPresentation = "DisplaySetForPresentation";
constexpr const char* kSourcePresentationGraphicsEs = "PresentationGraphicsEs";
constexpr const char* kSourceDisplaySetForInteractive = "DisplaySetForInteractive";
constexpr const char* kSourceInteractiveGraphicsEs = "InteractiveGraphicsEs";

// The joined interactive composition of the current display set, in the intermediate folder.
constexpr const char* kCompositionFileName = "ic.dat";

constexpr int64_t kClock = 90000;                          // ticks per second
constexpr int64_t kCodedBufferFree = 0x100000;             // coded bytes taken without a transfer delay
constexpr int64_t kTransferRate = 5000000;                 // coded bytes per second past that
constexpr uint64_t kPgDecodingRate = 128000000;
constexpr uint64_t kIgDecodingRate = 64000000;
constexpr uint32_t kPgObjectSlots = 64;
constexpr uint32_t kIgObjectSlots = 4096;
constexpr int64_t kPgPlaneRate = 256000000;                // plane initialisation and window drawing
constexpr int64_t kPlaneClearPerPixel = 720000;            // 8 bits x 90,000
constexpr int64_t kIgPlaneRate = 128000000;                // button drawing and plane clearing of menus
constexpr uint16_t kNoButton = 0xFFFF;                     // an absent button or object reference

}}}  // namespace ts_comp::es::graphics_stream
