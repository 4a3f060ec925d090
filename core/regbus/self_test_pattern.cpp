// The pattern of the start-up loop-back test.
#include <ctime>
#include <mutex>
#include <random>

#include "core/regbus/bus_transfer.h"

namespace regbus {
namespace {

std::mutex g_patternLock;
std::minstd_rand g_patternGen{static_cast<std::minstd_rand::result_type>(std::time(nullptr))};

constexpr uint32_t kFirstPattern = 10;
constexpr uint32_t kPatterns = 1000;

}  // namespace

uint32_t SelfTestPattern() {
    std::lock_guard<std::mutex> lock(g_patternLock);
    return kFirstPattern + static_cast<uint32_t>(g_patternGen() % kPatterns);
}

void SeedSelfTestPattern(uint32_t seed) {
    std::lock_guard<std::mutex> lock(g_patternLock);
    g_patternGen.seed(seed);
}

}  // namespace regbus
