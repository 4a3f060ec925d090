// The message queue of the process and the shared transfer buffer.
#include "core/system/messaging/msg_queue.h"

#include <gtest/gtest.h>
#include <sys/msg.h>

#include <atomic>
#include <thread>

namespace {

TEST(MsgQueue, EveryCallerGetsOneQueueAndItIsRemoved) {
    ASSERT_EQ(MsgQueueInit(), 0);
    int id = g_MsgQueueId.load();
    ASSERT_GE(id, 0);
    ASSERT_EQ(MsgQueueInit(), 0);
    EXPECT_EQ(g_MsgQueueId.load(), id);
    EXPECT_EQ(MsgQueueStat(), 0);
    core::MsgQueueRemove();
    EXPECT_EQ(MsgQueueStat(), -1);
    struct msqid_ds ds;
    EXPECT_EQ(msgctl(id, IPC_STAT, &ds), -1);  // gone from the system
    SysMsg msg{};
    EXPECT_EQ(MsgQueueSend(&msg, kMsgSetCommand), -1);
    EXPECT_EQ(MsgQueueRecv(&msg, kMsgSetCommand), -1);
}

TEST(SharedBuf, OnlyOneOfManyClaimersWins) {
    ASSERT_EQ(SharedBufInit(), 0);
    std::atomic<int> wins{0};
    std::thread t[8];
    for (auto& th : t)
        th = std::thread([&] { wins += SharedBufClaim() != nullptr; });
    for (auto& th : t)
        th.join();
    EXPECT_EQ(wins.load(), 1);
    core::SharedBufFree();
}

}  // namespace
