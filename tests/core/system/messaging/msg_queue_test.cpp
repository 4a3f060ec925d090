// The message queue of the process and the shared transfer buffer.
#include "core/system/messaging/msg_queue.h"

#include <gtest/gtest.h>
#include <sys/msg.h>

#include <atomic>
#include <chrono>
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

// The poll that skips the queue while nothing was sent still takes every message: one sent after the
// queue was found empty, one of the type sent among others, and two left from before the first poll.
TEST(MsgQueue, APollThatSkipsAnUnchangedQueueMissesNoMessage) {
    ASSERT_EQ(MsgQueueInit(), 0);
    SysMsg msg{};
    msg.word1 = 7;
    ASSERT_EQ(MsgQueueSend(&msg, kMsgSetCommand), 0);
    msg.word1 = 9;
    ASSERT_EQ(MsgQueueSend(&msg, kMsgSetCommand), 0);
    uint32_t emptyAt = kMsgQueueNeverPolled;
    SysMsg got{};
    EXPECT_GT(MsgQueueRecvIfSent(&got, kMsgSetCommand, &emptyAt), 0);
    EXPECT_EQ(got.word1, 7u);
    EXPECT_GT(MsgQueueRecvIfSent(&got, kMsgSetCommand, &emptyAt), 0);
    EXPECT_EQ(got.word1, 9u);
    EXPECT_LT(MsgQueueRecvIfSent(&got, kMsgSetCommand, &emptyAt), 0);
    EXPECT_LT(MsgQueueRecvIfSent(&got, kMsgSetCommand, &emptyAt), 0);
    msg.word1 = 8;
    ASSERT_EQ(MsgQueueSend(&msg, kMsgModbusHolding), 0);
    ASSERT_EQ(MsgQueueSend(&msg, kMsgSetCommand), 0);
    EXPECT_GT(MsgQueueRecvIfSent(&got, kMsgSetCommand, &emptyAt), 0);
    EXPECT_EQ(got.word1, 8u);
    EXPECT_GT(MsgQueueRecv(&got, kMsgModbusHolding), 0);
    core::MsgQueueRemove();
}

// A message being sent while the poll finds the queue empty is still taken by a later poll: the poll
// must not count a send whose message has not reached the queue yet. Each message is sent once the one
// before was taken, so that each is the last for a while.
TEST(MsgQueue, APollBesideASenderTakesEveryMessage) {
    ASSERT_EQ(MsgQueueInit(), 0);
    constexpr uint32_t kMessages = 5000;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    auto inTime = [&] { return std::chrono::steady_clock::now() < until; };
    std::atomic<uint32_t> taken{0};
    std::thread sender([&] {
        SysMsg msg{};
        for (uint32_t i = 0; i < kMessages && inTime(); ++i) {
            ASSERT_EQ(MsgQueueSend(&msg, kMsgSetCommand), 0);
            while (taken.load() <= i && inTime()) {
            }
        }
    });
    uint32_t emptyAt = kMsgQueueNeverPolled;
    SysMsg got{};
    while (taken.load() < kMessages && inTime()) {
        if (MsgQueueRecvIfSent(&got, kMsgSetCommand, &emptyAt) > 0) taken.fetch_add(1);
    }
    sender.join();
    EXPECT_EQ(taken.load(), kMessages);
    core::MsgQueueRemove();
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
