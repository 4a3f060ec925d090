#pragma once
// Whole-file reads and writes of every data file, addressed by storage area, directory and name
// ("/mnt/<area>/<dir>/<name>" under the instrument root).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reading: 0 USB memory "sd1", 1 internal store "tst", any other the system disk "disk".
// Writing: 1 "tst", any other "sd1"; the system disk is never written.
// USB memory is used only while it is mounted (g_UsbState): otherwise a read gives -100, a write -300.
const char* RawReadArea(uint32_t area);
const char* RawWriteArea(uint32_t area);

// Reads the whole file into buffer; the byte count, or -100 missing or empty, -101 open failure, -102 a
// short read or a file larger than capacity (nothing read then).
int32_t FileReadRaw(uint32_t area, const char* dir, const char* name, void* buffer, size_t capacity);

// Replaces the file with length bytes, creating its directory when needed. The bytes go to a temporary
// file in the same directory, which is synced and then renamed over the old file, so that a failure or a
// crash at any point leaves the old file or the new one whole. The length, or -1 bad argument, -101
// open failure, -300 directory missing and not creatable, -301 short write (the old file is kept).
int32_t FileWriteRaw(uint32_t area, const char* dir, const char* name, const void* buffer, size_t length);

// At start: the temporary files of FileWriteRaw's replaces that a kill or a power cut left in the
// folders of the internal store go (each would stay until its target is written again: a SEQ memory's is
// 1.2 MB). One controller runs per root, so only the calling process's own temporaries are live.
void RawFileClearStaleTemps();

// The replace FileWriteRaw makes, on host paths: the bytes go to a file made from tmpTemplate (a mkstemp
// template in the target's directory), which is synced and renamed over hostPath; then the directory is
// synced, so that the new entry survives a power cut. 0, -1 the temporary file could not be made, -2 a
// short write or a failed rename (the temporary is removed, the old file kept).
int WriteFileReplacing(const std::string& hostPath, std::string tmpTemplate, const void* data, size_t length);

namespace storage {
// A set of whole-file replaces made on one thread with one sync for all of them: while a batch lives on
// a thread, each FileWriteRaw and WriteFileReplacing there writes its bytes to its temporary file without
// syncing it and leaves the rename to Commit, which syncs the file system once, renames each temporary
// over its target in the order written and syncs each directory once. A replace stays atomic (the old
// file or the new one, whole); only the sync is shared. A file of the batch is not there before Commit.
class RawWriteBatch {
  public:
    RawWriteBatch();
    ~RawWriteBatch();  // commits what is still pending
    RawWriteBatch(const RawWriteBatch&) = delete;
    RawWriteBatch& operator=(const RawWriteBatch&) = delete;
    // 0, or the number of files that could not be put in place (their temporaries are removed, the old
    // files kept).
    int32_t Commit();
    // The batch of the calling thread, or nullptr.
    static RawWriteBatch* Current();
    void Add(std::string temp, std::string target);

  private:
    struct Pending {
        std::string temp;
        std::string target;
    };
    std::vector<Pending> pending_;
    RawWriteBatch* outer_;
};
}  // namespace storage
