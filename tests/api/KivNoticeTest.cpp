// The notice: its abort flag, copies of it, and use from another thread.
#include "KivNotice.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class Notice : public kiv_comp::CKivNotice {
public:
    void NotifyProgress(int64_t processed, int64_t total) override {
        lastProcessed = processed;
        lastTotal = total;
    }
    int64_t lastProcessed = -1;
    int64_t lastTotal = -1;
};

TEST(CKivNotice, FlagStartsClearAndAbortSetsIt) {
    Notice n;
    EXPECT_FALSE(n.IsAborted());
    n.Abort();
    EXPECT_TRUE(n.IsAborted());
    n.Abort();
    EXPECT_TRUE(n.IsAborted());
}

TEST(CKivNotice, CopiesTakeTheFlag) {
    struct Case {
        bool sourceAborted;
        bool targetAborted;
    };
    for (const Case c : {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
        Notice source;
        if (c.sourceAborted) source.Abort();
        Notice copied(source);
        EXPECT_EQ(c.sourceAborted, copied.IsAborted());
        Notice assigned;
        if (c.targetAborted) assigned.Abort();
        assigned = source;
        EXPECT_EQ(c.sourceAborted, assigned.IsAborted()) << c.sourceAborted << c.targetAborted;
    }
}

TEST(CKivNotice, CopyIsIndependentOfItsSource) {
    Notice source;
    Notice copied(source);
    source.Abort();
    EXPECT_FALSE(copied.IsAborted());
}

TEST(CKivNotice, AbortFromAnotherThreadIsSeen) {
    Notice n;
    std::thread t([&n] { n.Abort(); });
    t.join();
    EXPECT_TRUE(n.IsAborted());
}

TEST(CKivNotice, ProgressGoesToTheHostOverride) {
    Notice n;
    kiv_comp::CKivNotice& base = n;
    base.NotifyProgress(int64_t{5} << 33, int64_t{7} << 33);
    EXPECT_EQ(int64_t{5} << 33, n.lastProcessed);
    EXPECT_EQ(int64_t{7} << 33, n.lastTotal);
}

}  // namespace
