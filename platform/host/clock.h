#pragma once
// Every sleep and clock reading of the instrument goes through here, so that a test can run a
// scenario faster than real time: with a time scale of k, sleeps last 1/k of their length and the
// clock advances k times faster, so waits counted against the clock keep their meaning.
#include <cstdint>

namespace plat {

void SleepMs(uint32_t ms);
void SleepUs(uint32_t us);
uint64_t NowMs();  // monotonic, instrument time
uint64_t NowUs();

// 1.0 is real time (the default); values below 1 are taken as 1.
// Tests run the instrument's time faster through it.
void SetTimeScale(double factor);
double TimeScale();

}  // namespace plat
