// Host program built against the installed library: runs CreateKiv and checks the results it prints.
#include <cstdio>

#include "KivCreator.h"

namespace {

class Notice : public kiv_comp::CKivNotice {
public:
    void NotifyProgress(int64_t, int64_t) override { ++calls; }
    int calls = 0;
};

}  // namespace

// argv[1]: an HDMV LPCM file, argv[2]: the KIV file to write.
int main(int argc, char** argv) {
    if (argc != 3) return 2;
    kiv_comp::CKivCreator creator;
    Notice notice;
    if (!creator.CreateKiv(kiv_comp::CKivCreator::ES_TYPE_HDMV_LPCM, argv[1], argv[2], {0}, &notice)) {
        std::printf("CreateKiv failed: %s\n", creator.GetLastErrorMessage());
        return 1;
    }
    std::printf("ok %d\n", notice.calls > 0 ? 1 : 0);
    return 0;
}
