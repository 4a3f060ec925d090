#pragma once
// Holds the lock of a shared file image for one build, load, import, save or copy. A remote query runs on
// its channel thread while the panel stores on the menu/control thread, and both fill the same image.
#include <chrono>
#include <thread>

namespace storage {

// The longest a user of an image waits for another: a file written to a slow store takes well under a
// second.
inline constexpr int kImageWaitMs = 5000;

// owns_lock() is false when the wait ran out. Tried once a millisecond, so that the wait is bounded
// without a timed lock. Lock is a mutex or, where one image operation is built of others, a recursive one.
// A holder with a shorter limit of its own (a periodic pass that tries again next tick) passes it.
template <typename Lock>
class ImageHold {
  public:
    explicit ImageHold(Lock& lock, int waitMs = kImageWaitMs) : lock_(lock) {
        for (int waited = 0; !(held_ = lock_.try_lock()) && waited < waitMs; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~ImageHold() {
        if (held_) lock_.unlock();
    }
    ImageHold(const ImageHold&) = delete;
    ImageHold& operator=(const ImageHold&) = delete;
    bool owns_lock() const { return held_; }

  private:
    Lock& lock_;
    bool held_ = false;
};
template <typename Lock>
ImageHold(Lock&) -> ImageHold<Lock>;

}  // namespace storage
