// The analysers built into the library, one row per stream kind.
//
// To add an analyser: include its header here, add one row of the form
//     {kiv_comp::CKivCreator::ES_TYPE_HDMV_LPCM, &MakeEs<es::CHdmvLpcmEs>},
// and add its module name to the DEPS of the api module in api/CMakeLists.txt.
// A kind without a row is refused with "unknown es type.\n".
#include "CEsFactoryTable.h"
#include "KivCreator.h"
#include "es/audio/ac3/CAc3Es.h"
#include "es/audio/dra/CDraEs.h"
#include "es/audio/dts/CDtsHDEs.h"
#include "es/audio/lpcm/CHdmvLpcmEs.h"
#include "es/audio/mlp/CMlpEs.h"
#include "es/graphics/ig/CInteractiveGraphicsEs.h"
#include "es/graphics/pg/CPresentationGraphicsEs.h"
#include "es/video/avc/CAvcVideoEs.h"
#include "es/video/mpeg2/CVideoEs.h"
#include "es/video/vc1/CVc1VideoEs.h"

namespace ts_comp {
namespace api {

namespace {

// A leading empty row keeps the array valid while no analyser is listed; Find skips it.
const EsFactoryRow kRows[] = {
    {0, nullptr},
    {kiv_comp::CKivCreator::ES_TYPE_HDMV_LPCM, &MakeEs<es::CHdmvLpcmEs>},
    {kiv_comp::CKivCreator::ES_TYPE_AC3, &MakeEs<es::CAc3Es>},
    {kiv_comp::CKivCreator::ES_TYPE_DTS, &MakeEs<es::CDtsHDEs>},
    {kiv_comp::CKivCreator::ES_TYPE_MLP, &MakeEs<es::CMlpEs>},
    {kiv_comp::CKivCreator::ES_TYPE_DRA, &MakeEs<es::CDraEs>},
    {kiv_comp::CKivCreator::ES_TYPE_PG, &MakeEs<es::CPresentationGraphicsEs>},
    {kiv_comp::CKivCreator::ES_TYPE_IG, &MakeEs<es::CInteractiveGraphicsEs>},
    {kiv_comp::CKivCreator::ES_TYPE_MPEG2_VIDEO, &MakeEs<es::CVideoEs>},
    {kiv_comp::CKivCreator::ES_TYPE_AVC_VIDEO, &MakeEs<es::CAvcVideoEs>},
    {kiv_comp::CKivCreator::ES_TYPE_VC1_VIDEO, &MakeEs<es::CVc1VideoEs>},
};

}  // namespace

const CEsFactoryTable& CEsFactoryTable::BuiltIn() {
    static const CEsFactoryTable table(kRows);
    return table;
}

}  // namespace api
}  // namespace ts_comp
