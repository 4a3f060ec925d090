#include "scpi/handlers/data/data_slot9.h"

#include <atomic>
#include <string>

#include "platform/sandbox/sandbox.h"
#include "storage/file_util.h"

namespace scpi {
namespace {

struct Slot9Files {
    const char* file;  // memory 9
    const char* copy;  // its copy while lent
};
constexpr Slot9Files kFiles[] = {
    {"/mnt/tst/seq/SEQ9.SEQ", "/mnt/tst/seq/SEQ9_tmp.SEQ"},
    {"/mnt/tst/sim/SIM9.SIM", "/mnt/tst/sim/SIM9_tmp.SIM"},
};
std::atomic<uint32_t> g_borrowed[2];

void Run(const char* tool, const char* a, const char* b = nullptr) {
    std::string line = std::string(tool) + " " + a;
    if (b != nullptr) line += std::string(" ") + b;
    plat::System(line.c_str());
}

}  // namespace

bool Slot9Borrow(Slot9Kind kind) {
    const uint32_t k = static_cast<uint32_t>(kind);
    uint32_t free = 0;
    if (!g_borrowed[k].compare_exchange_strong(free, 1, std::memory_order_acq_rel)) return false;
    const Slot9Files& f = kFiles[k];
    if (FileSize(f.file) > 0) {
        Run("cp", f.file, f.copy);
    } else if (FileSize(f.copy) > 0) {
        // Left by a borrow that never ended: with no memory 9 it is not what memory 9 was.
        Run("rm", f.copy);
    }
    plat::System("sync");
    return true;
}

void Slot9Return(Slot9Kind kind) {
    const uint32_t k = static_cast<uint32_t>(kind);
    const Slot9Files& f = kFiles[k];
    if (FileSize(f.copy) > 0) {
        Run("cp", f.copy, f.file);
        plat::System("sync");
        Run("rm", f.copy);
    } else {
        Run("rm", f.file);
    }
    plat::System("sync");
    g_borrowed[k].store(0, std::memory_order_release);
}

}  // namespace scpi
