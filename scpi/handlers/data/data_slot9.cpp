#include "scpi/handlers/data/data_slot9.h"

#include <atomic>
#include <string>

#include "engine/seqsim/seqsim_file.h"
#include "platform/sandbox/sandbox.h"
#include "storage/file_util.h"

namespace scpi {
namespace {

struct Slot9Files {
    const char* file;  // memory 9
    const char* copy;  // its copy while lent
    const char* copyName;
    bool (*sound)(const char* name);
};
constexpr Slot9Files kFiles[] = {
    {"/mnt/tst/seq/SEQ9.SEQ", "/mnt/tst/seq/SEQ9_tmp.SEQ", "SEQ9_tmp.SEQ", SeqMemFileSound},
    {"/mnt/tst/sim/SIM9.SIM", "/mnt/tst/sim/SIM9_tmp.SIM", "SIM9_tmp.SIM", SimMemFileSound},
};
std::atomic<uint32_t> g_borrowed[2];

void Run(const char* tool, const char* a, const char* b = nullptr) {
    std::string line = std::string(tool) + " " + a;
    if (b != nullptr) line += std::string(" ") + b;
    plat::System(line.c_str());
}

// A copy outside a borrow was left by one that a power cut ended: memory 9 may then hold the present
// data, the copy what the user stored. The copy goes back by rename, so no cut leaves neither whole.
void PutBackLeftCopy(const Slot9Files& f) {
    if (FileSize(f.copy) < 0) return;
    if (f.sound(f.copyName)) {
        Run("mv", f.copy, f.file);
    } else {
        Run("rm", f.copy);
    }
    plat::System("sync");
}

}  // namespace

bool Slot9Borrow(Slot9Kind kind) {
    const uint32_t k = static_cast<uint32_t>(kind);
    uint32_t free = 0;
    if (!g_borrowed[k].compare_exchange_strong(free, 1, std::memory_order_acq_rel)) return false;
    const Slot9Files& f = kFiles[k];
    PutBackLeftCopy(f);
    if (FileSize(f.file) > 0) {
        Run("cp", f.file, f.copy);
        plat::System("sync");
    }
    return true;
}

void Slot9Return(Slot9Kind kind) {
    const uint32_t k = static_cast<uint32_t>(kind);
    const Slot9Files& f = kFiles[k];
    if (FileSize(f.copy) > 0) {
        Run("mv", f.copy, f.file);
    } else {
        Run("rm", f.file);
    }
    plat::System("sync");
    g_borrowed[k].store(0, std::memory_order_release);
}

void Slot9RecoverAtStart() {
    for (uint32_t k = 0; k < 2; ++k) {
        uint32_t free = 0;
        if (!g_borrowed[k].compare_exchange_strong(free, 1, std::memory_order_acq_rel)) continue;
        PutBackLeftCopy(kFiles[k]);
        g_borrowed[k].store(0, std::memory_order_release);
    }
}

}  // namespace scpi
