#include "sysadmin/net/net_monitor.h"

#include <cstring>

#include "core/system/config/lan_cfg.h"
#include "core/system/state/sys_status.h"
#include "sysadmin/net/net_commands.h"
#include "sysadmin/net/net_dhcp.h"
#include "sysadmin/net/net_files.h"
#include "sysadmin/net/net_readback.h"
#include "sysadmin/net/net_state.h"

namespace {

constexpr uint32_t kRetries = 5;
constexpr uint32_t kLinkPoll = 200;
constexpr uint32_t kDhcpRecheck = 1000;
constexpr uint32_t kAvahiPoll = 2000;
constexpr int kFailed = -1;

sysadmin::NetSeq& S = g_NetSeq;

bool Dhcp() {
    return LanCfgRead().DHCP == 1;
}

void Go(uint32_t step, uint32_t wait, uint32_t retries) {
    S.wait.store(wait, std::memory_order_relaxed);
    S.retries.store(retries, std::memory_order_relaxed);
    S.step.store(step, std::memory_order_release);
}

// Each action returns the next step (0: idle) or kFailed.
int IfUp() {
    return NetIfUp() == 0 ? 2 : kFailed;
}

int CheckLink() {
    S.linkState = LinkOperState();
    if (S.linkState == 0 && S.retries.load() != 0) return kFailed;
    return Dhcp() ? 3 : 6;
}

int StartDhcp() {
    S.linkState = 0;
    DhcpStart();
    NetScriptRun(0);
    return 4;
}

int WaitLease() {
    return DhcpInfoPresent() == 0 ? 5 : kFailed;
}

int ReadLease() {
    return NetReadBack() == 0 ? 12 : kFailed;
}

int ApplyStatic() {
    return NetIfconfigApply() == 0 ? 7 : kFailed;
}

int WriteResolv() {
    if (!SysStatusTest(kSysResolvConfWritten)) {
        ResolvConfWrite();
        SysStatusSet(kSysResolvConfWritten);
    }
    return ResolvConfReadDns() == 0 ? 8 : kFailed;
}

int SetRoute() {
    return RouteSetDefault() == 0 ? 12 : kFailed;
}

int LeaveDhcp() {
    const int next = LanCfgRead().LAN_EN != 0 ? 6 : 10;
    if (next == 6) S.linkState = 0;
    DhcpStop();
    NetScriptRun(1);
    return next;
}

int TakeDown() {
    if (NetIfDown() != 0) return kFailed;
    S.linkState = LinkOperState();
    return 0;
}

int BuildNetconf() {
    NetconfBuild();
    return 18;
}

int Announce() {
    if (!Dhcp()) {
        S.avahiWatch.store(0);
        NetScriptRun(1);
    } else {
        S.avahiWatch.store(1);
    }
    AvahiStart();
    return NetconfWrite() == 0 ? 0 : kFailed;
}

// A step: its action, the wait after success, the wait before a retry, and where it goes when the
// retries are used up (0: idle).
struct NetStepRow {
    uint32_t step;
    int (*action)();
    uint32_t okWait;
    uint32_t retryWait;
    uint32_t exhausted;
};

constexpr NetStepRow kSteps[] = {
    {1, IfUp, 100, 100, 6},       {2, CheckLink, 0, 100, 0},   {3, StartDhcp, 100, 0, 0},
    {4, WaitLease, 0, 100, 5},    {5, ReadLease, 0, 20, 12},   {6, ApplyStatic, 20, 20, 0},
    {7, WriteResolv, 100, 20, 0}, {8, SetRoute, 0, 100, 12},   {9, LeaveDhcp, 2, 0, 0},
    {10, TakeDown, 0, 20, 0},     {12, BuildNetconf, 0, 0, 0}, {18, Announce, 0, 100, 0},
};

void RunStep(uint32_t step) {
    if (step == 0) return;  // idle: nothing to run, the link poll goes on
    for (const NetStepRow& row : kSteps) {
        if (row.step != step) continue;
        const int next = row.action();
        if (next == 0) {
            NetStateInit();
        } else if (next > 0) {
            Go(static_cast<uint32_t>(next), row.okWait, kRetries);
        } else if (S.retries.load() != 0) {
            S.wait.store(row.retryWait);
            S.retries.fetch_sub(1);
        } else if (row.exhausted == 0) {
            NetStateInit();
        } else {
            Go(row.exhausted, 0, kRetries);
        }
        return;
    }
    NetStateInit();
}

void WatchLinkLocal() {
    if (!Dhcp() || S.avahiWatch.load() != 1) return;
    if (S.avahiPoll > 0) --S.avahiPoll;
    if (S.avahiPoll == 0) {
        S.avahiPoll = kAvahiPoll;
        S.avahiState = AvahiAddrPresent();
        if (S.avahiState != S.lastAvahiState) {
            S.lastAvahiState = S.avahiState;
            if (S.avahiState == 1)
                NetReadBackAvahi();
            else
                NetReadBack();
            Go(12, 0, kRetries);
            S.addrChanged.store(1);
        }
        // With the poll, not on every pass: each look is a command, and a pass takes a millisecond.
        if (NetAddrChanged() == 1 && S.avahiState == 0) {
            NetReadBack();
            S.addrChanged.store(1);
        }
    }
}

void RecheckLease() {
    bool noAddress;
    {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        const uint8_t* ip = g_LanActual[sysadmin::kAddrIp];
        noAddress = ip[0] == 0 && ip[1] == 0 && ip[2] == 0 && ip[3] == 0;
    }
    if (LanCfgRead().LAN_EN != 1 || !Dhcp() || S.linkState == 0 || !noAddress) return;
    if (S.dhcpRecheck > 0) --S.dhcpRecheck;
    if (S.dhcpRecheck == 0) {
        Go(3, 0, kRetries);
        S.dhcpRecheck = kDhcpRecheck;
    }
}

void PollLink() {
    uint32_t poll = S.linkPoll.load();
    while (poll > 0 && !S.linkPoll.compare_exchange_weak(poll, poll - 1)) {
    }
    if (poll > 1) return;
    S.linkState = LinkOperState();
    if (S.linkState != S.lastLinkState) {
        S.lastLinkState = S.linkState;
        if (Dhcp()) NetScriptRun(2);
        if (S.linkState == 0 && Dhcp()) AvahiStart();
    }
    S.linkPoll = kLinkPoll;
}

}  // namespace

void NetStateInit() {
    S.linkPoll = kLinkPoll;
    Go(0, 0, 0);
}

int NetConfigStart() {
    if (S.step.load(std::memory_order_acquire) != 0) return -1;
    if (LanCfgRead().LAN_EN == 1)
        Go(1, 0, kRetries);
    else
        Go(Dhcp() ? 9 : 10, 0, kRetries);
    return 0;
}

void NetRequestDhcpRestart() {
    if (LanCfgRead().LAN_EN == 1) Go(3, 0, kRetries);
}

void NetRequestStaticRestart() {
    if (LanCfgRead().LAN_EN != 1) return;
    Go(9, 0, kRetries);
    std::lock_guard<std::mutex> lock(g_LanActualLock);
    for (int i : {sysadmin::kAddrIp, sysadmin::kAddrMask, sysadmin::kAddrGw, sysadmin::kAddrDns})
        std::memset(g_LanActual[i], 0, 4);
}

void NetRefreshRequest() {
    if (LanCfgRead().LAN_EN != 1) return;
    uint32_t idle = 0;
    if (S.step.compare_exchange_strong(idle, 18, std::memory_order_acq_rel)) {
        S.wait.store(0);
        S.retries.store(kRetries);
    }
}

void NetMonitor() {
    // The LAN settings are loaded by the menu/control thread's start, which publishes them with its
    // running bit: until then the supervisor neither reads nor writes them.
    if (!SysStatusTest(kSysMenuThreadRunning)) return;
    {
        std::lock_guard<std::mutex> hold(g_LanCfgLock);
        if (g_LanCfg.LAN_EN != 1) g_LanCfg.LAN_EN = 1;
    }
    if (S.reapplyReq.exchange(0) == 1) {
        if (!Dhcp())
            NetRequestStaticRestart();
        else
            NetRequestDhcpRestart();
    }
    WatchLinkLocal();
    const uint32_t step = S.step.load(std::memory_order_acquire);
    if (step == 0) RecheckLease();
    if (step != 0 && S.wait.load() != 0) {
        S.wait.fetch_sub(1);
        return;
    }
    if (S.retries.load() > 100) S.retries.store(0);
    RunStep(S.step.load(std::memory_order_acquire));
    PollLink();
    g_NetMonState.store(S.linkState == 1 ? 1u : 0u, std::memory_order_release);
}
