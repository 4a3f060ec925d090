#include "storage/raw_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <utility>

#include "core/system/links/usb_state.h"
#include "platform/host/root.h"
#include "storage/file_result.h"
#include "storage/file_util.h"

namespace {

std::string InstrumentPath(const char* area, const char* dir, const char* name) {
    std::string path = std::string("/mnt/") + area + "/" + dir;
    if (name != nullptr) path += std::string("/") + name;
    return path;
}

bool WriteAll(int fd, const uint8_t* p, size_t n) {
    while (n > 0) {
        const ssize_t done = write(fd, p, n);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        p += done;
        n -= static_cast<size_t>(done);
    }
    return true;
}

// Temporary files are named "<name>.~<pid>.XXXXXX". One controller runs per root, so a temporary of the
// target that carries another process's id was left by a writer that was killed: it is removed. Those of
// this process belong to writers still running (a failed one removes its own).
std::string TempPrefix(const char* name) {
    return std::string(name) + ".~";
}

// Whether a folder entry is "<name>.~<pid>.XXXXXX" of a process other than this one.
bool StaleTemp(const std::string& entry) {
    constexpr size_t kSuffix = 7;  // ".XXXXXX", as mkstemp fills it
    if (entry.size() <= kSuffix) return false;
    const size_t dot = entry.size() - kSuffix;
    if (entry[dot] != '.') return false;
    for (size_t i = dot + 1; i < entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i]))) return false;
    const size_t mark = entry.rfind(".~", dot);
    if (mark == std::string::npos || mark == 0 || mark + 2 == dot) return false;
    for (size_t i = mark + 2; i < dot; ++i)
        if (!std::isdigit(static_cast<unsigned char>(entry[i]))) return false;
    return entry.compare(mark + 2, dot - mark - 2, std::to_string(getpid())) != 0;
}

// Removes the stale temporaries of the folder, only those of the target named when name is not null.
void RemoveStaleTemps(const std::string& dirPath, const char* name) {
    DIR* dir = opendir(dirPath.c_str());
    if (dir == nullptr) return;
    const std::string prefix = name != nullptr ? TempPrefix(name) : "";
    while (const dirent* e = readdir(dir)) {
        const std::string entry = e->d_name;
        if (entry.compare(0, prefix.size(), prefix) != 0 || !StaleTemp(entry)) continue;
        unlink((dirPath + "/" + entry).c_str());
    }
    closedir(dir);
}

}  // namespace

const char* RawReadArea(uint32_t area) {
    return area == 0 ? "sd1" : area == 1 ? "tst" : "disk";
}

const char* RawWriteArea(uint32_t area) {
    return area == 1 ? "tst" : "sd1";
}

int32_t FileReadRaw(uint32_t area, const char* dir, const char* name, void* buffer, size_t capacity) {
    if (dir == nullptr || name == nullptr || buffer == nullptr) return kFileBadArgument;
    // Without a mounted stick /mnt/sd1 is an empty folder: nothing is there to read.
    if (area == 0 && !UsbMemoryMounted()) return kFileMissing;
    const std::string path = InstrumentPath(RawReadArea(area), dir, name);
    const int32_t size = FileSize(path.c_str());
    if (size < 1) return kFileMissing;
    if (static_cast<size_t>(size) > capacity) return kFileShortRead;
    const int fd = open(plat::MapPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kFileOpenFailed;
    auto* p = static_cast<uint8_t*>(buffer);
    size_t got = 0;
    while (got < static_cast<size_t>(size)) {
        const ssize_t n = read(fd, p + got, static_cast<size_t>(size) - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    return got == static_cast<size_t>(size) ? size : kFileShortRead;
}

int32_t FileWriteRaw(uint32_t area, const char* dir, const char* name, const void* buffer, size_t length) {
    if (dir == nullptr || name == nullptr || (buffer == nullptr && length > 0) || length > INT32_MAX)
        return kFileBadArgument;
    const char* areaName = RawWriteArea(area);
    // Without a mounted stick there is no directory to write to.
    if (area != 1 && !UsbMemoryMounted()) return kFileNoDirectory;
    const std::string dirPath = plat::MapPath(InstrumentPath(areaName, dir, nullptr));
    const std::string filePath = plat::MapPath(InstrumentPath(areaName, dir, name));
    if (dirPath.empty() || filePath.empty()) return kFileOpenFailed;
    if (IsDirectory(InstrumentPath(areaName, dir, nullptr).c_str()) != 1) mkdir(dirPath.c_str(), 0755);
    if (IsDirectory(InstrumentPath(areaName, dir, nullptr).c_str()) != 1) return kFileNoDirectory;

    RemoveStaleTemps(dirPath, name);
    // The temporary file lives beside the target: a rename within one file system is atomic.
    const int replaced = WriteFileReplacing(
        filePath, dirPath + "/" + TempPrefix(name) + std::to_string(getpid()) + ".XXXXXX", buffer, length);
    if (replaced != 0) return replaced == -1 ? kFileOpenFailed : kFileShortWrite;
    return static_cast<int32_t>(length);
}

void RawFileClearStaleTemps() {
    const std::string store = plat::MapPath("/mnt/tst");
    DIR* dir = opendir(store.c_str());
    if (dir == nullptr) return;
    while (const dirent* e = readdir(dir)) {
        const std::string entry = e->d_name;
        if (entry != "." && entry != "..") RemoveStaleTemps(store + "/" + entry, nullptr);
    }
    closedir(dir);
}

int WriteFileReplacing(const std::string& hostPath, std::string tmpTemplate, const void* data,
                       size_t length) {
    const int fd = mkstemp(tmpTemplate.data());
    if (fd < 0) return -1;
    fchmod(fd, 0644);
    storage::RawWriteBatch* batch = storage::RawWriteBatch::Current();
    const bool written =
        WriteAll(fd, static_cast<const uint8_t*>(data), length) && (batch != nullptr || fsync(fd) == 0);
    const bool closed = close(fd) == 0;
    if (batch != nullptr && written && closed) {
        batch->Add(tmpTemplate, hostPath);
        return 0;
    }
    if (!written || !closed || rename(tmpTemplate.c_str(), hostPath.c_str()) != 0) {
        unlink(tmpTemplate.c_str());
        return -2;
    }
    // The new directory entry survives a power cut only once the directory is synced too.
    const std::string dir = hostPath.substr(0, hostPath.find_last_of('/') + 1);
    const int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return 0;
}

namespace storage {
namespace {
thread_local RawWriteBatch* t_batch = nullptr;
}  // namespace

RawWriteBatch::RawWriteBatch() : outer_(t_batch) {
    t_batch = this;
}

RawWriteBatch::~RawWriteBatch() {
    Commit();
    t_batch = outer_;
}

RawWriteBatch* RawWriteBatch::Current() {
    return t_batch;
}

void RawWriteBatch::Add(std::string temp, std::string target) {
    pending_.push_back({std::move(temp), std::move(target)});
}

int32_t RawWriteBatch::Commit() {
    if (pending_.empty()) return 0;
    // One sync brings every temporary's bytes to the medium before any of them takes its target's name.
    const std::string firstDir =
        pending_.front().target.substr(0, pending_.front().target.find_last_of('/') + 1);
    const int syncFd = open(firstDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = syncFd >= 0 && syncfs(syncFd) == 0;
    if (syncFd >= 0) close(syncFd);
    int32_t failed = 0;
    std::vector<std::string> dirs;
    for (const Pending& p : pending_) {
        if (!synced || rename(p.temp.c_str(), p.target.c_str()) != 0) {
            unlink(p.temp.c_str());
            ++failed;
            continue;
        }
        const std::string dir = p.target.substr(0, p.target.find_last_of('/') + 1);
        if (std::find(dirs.begin(), dirs.end(), dir) == dirs.end()) dirs.push_back(dir);
    }
    pending_.clear();
    // The new directory entries survive a power cut only once their directories are synced too.
    for (const std::string& dir : dirs) {
        const int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            fsync(dirFd);
            close(dirFd);
        }
    }
    return failed;
}
}  // namespace storage
