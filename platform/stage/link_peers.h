#pragma once
// The parallel link as the simulated power stage carries it: up to five peer units that answer the
// master's hand-shake frames written to register 2481 (their answers arrive in receive words 98 + n with
// counter 2246 + n), a link status (register 2050) made from the control word (2480), and frames that a
// test sends to this unit (receive word 98, counter 2246) when it runs as a slave.
#include <cstdint>

namespace plat {

class RegisterFile;

struct LinkPeer {
    uint32_t version = 1060;
    uint32_t model = 1;
    uint32_t variant = 0;
    uint8_t ip[4] = {192, 168, 0, 0};
};

class LinkPeers {
  public:
    static constexpr uint32_t kMaxPeers = 5;

    // Register 2050 for control word `ctrl`: own address, peers seen while the link is on, link up once
    // the link is on with a peer present (a master also needs control bit 2), the error bits.
    uint32_t Status(uint32_t ctrl) const;
    // A frame this unit wrote to 2481; only a master's frames are answered.
    void OnFrame(uint32_t frame, uint32_t ctrl, RegisterFile& regs) const;
    // A frame arriving for this unit.
    // Tests send link frames to the stand-in through these.
    static void SendToUnit(uint32_t frame, RegisterFile& regs);
    // A frame from peer n (1-5) arriving at this unit as master; another n is dropped.
    static void SendFromPeer(uint32_t n, uint32_t frame, RegisterFile& regs);

    uint32_t count = 0;            // peers on the link, 0-5 (peer n has address n)
    uint32_t ownAddress = 0;       // this unit's address
    bool lost = false;             // the link is down whatever the control word says
    bool joinAll = false;          // bits 20-23: the units join without the hand-shake
    uint32_t errorBits = 0;        // bits 24-29 of the status
    LinkPeer peer[kMaxPeers + 1];  // 1-5

  private:
    static void Answer(uint32_t n, uint32_t item, uint32_t value, RegisterFile& regs);
};

}  // namespace plat
