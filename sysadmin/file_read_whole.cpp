#include "sysadmin/file_read_whole.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/host/root.h"

int32_t FileReadWhole(const char* path, uint8_t* buffer, size_t size) {
    int fd = open(plat::MapPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -101;
    size_t done = 0;
    for (ssize_t n; done < size && (n = read(fd, buffer + done, size - done)) > 0;)
        done += static_cast<size_t>(n);
    close(fd);
    return done == size ? 0 : -102;
}
