#include "platform/stage/link_peers.h"

#include "platform/stage/reg_map.h"
#include "platform/stage/register_file.h"

namespace plat {
namespace {
constexpr uint32_t kOn = 1u << 0, kMaster = 1u << 1, kAllSeen = 1u << 2;
constexpr uint32_t kAllSlaves = 7;

uint32_t Frame(uint32_t address, uint32_t item, uint32_t value) {
    return ((address & 7u) << 1) | ((item & 0xFFFu) << 4) | ((value & 0xFFFFu) << 16);
}

// Receive channel n gets a frame: the counter moves on and the frame lands at its new value.
void Deliver(uint32_t n, uint32_t frame, RegisterFile& regs) {
    const uint32_t counter = (regs.Get(regmap::kSlaveCounter.at(n), 0) + 1) % 4096;
    regs.Set(regmap::kLinkRx.at(n), counter, frame);
    regs.Set(regmap::kSlaveCounter.at(n), 0, counter);
}
}  // namespace

uint32_t LinkPeers::Status(uint32_t ctrl) const {
    const bool on = (ctrl & kOn) != 0 && !lost;
    const uint32_t seen = on ? count : 0;
    const bool up = on && count > 0 && ((ctrl & kMaster) == 0 || (ctrl & kAllSeen) != 0);
    return (ownAddress & 0xFFu) | (seen << 8) | (up ? 1u << 16 : 0u) | (joinAll ? 0xFu << 20 : 0u) |
           (errorBits & (0x3Fu << 24));
}

void LinkPeers::Answer(uint32_t n, uint32_t item, uint32_t value, RegisterFile& regs) {
    Deliver(n, Frame(n, item, value), regs);
}

void LinkPeers::OnFrame(uint32_t frame, uint32_t ctrl, RegisterFile& regs) const {
    if ((ctrl & (kOn | kMaster)) != (kOn | kMaster) || lost) return;
    const uint32_t address = (frame >> 1) & 7u, item = (frame >> 4) & 0xFFFu, value = frame >> 16;
    for (uint32_t n = 1; n <= count && n <= kMaxPeers; ++n) {
        if (address != n && address != kAllSlaves) continue;
        const LinkPeer& p = peer[n];
        switch (item) {
            case 0:
                Answer(n, 0, p.version, regs);
                break;
            case 1:
                Answer(n, 1, p.model, regs);
                break;
            case 2:
                if (value == 1) Answer(n, 2, 0, regs);
                break;
            case 11:
                for (uint32_t k = 0; k < 4; ++k)
                    Answer(n, 11 + k, p.ip[k], regs);
                break;
            case 36:
                Answer(n, 36, p.variant, regs);
                break;
            default:
                break;
        }
    }
}

void LinkPeers::SendToUnit(uint32_t frame, RegisterFile& regs) {
    Deliver(0, frame, regs);
}

void LinkPeers::SendFromPeer(uint32_t n, uint32_t frame, RegisterFile& regs) {
    if (n >= 1 && n <= kMaxPeers) Deliver(n, frame, regs);
}

}  // namespace plat
