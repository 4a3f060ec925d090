#include "platform/host/device_node.h"

#include <fcntl.h>
#include <sys/ioctl.h>

#include <string>

#include "platform/host/root.h"

namespace plat {

int OpenDevice(const char* path, int flags) {
    const std::string hostPath = MapPath(path);
    return open(hostPath.c_str(), flags);
}

int DeviceRequest(int fd, unsigned long request, void* arg) {
    return ioctl(fd, request, arg);
}

}  // namespace plat
