#pragma once
// The instrument's character devices (the serial port, the USB device port's TMC and CDC nodes, the
// USB-GPIB adapter) as the program opens and drives them: by their instrument path, with the driver's
// requests. On the instrument these are the kernel's nodes and ioctls.
#include <cstdint>

namespace plat {

// Opens the device node at its instrument path ("/dev/ttyS1", ...). -1 with errno when it cannot.
int OpenDevice(const char* path, int flags);
// One driver request on an opened node; the result and errno of the request.
int DeviceRequest(int fd, unsigned long request, void* arg);

}  // namespace plat
