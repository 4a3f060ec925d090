// The device chain of layer 0: devices ordered by class, highest first, so the display driver (class
// 0) is last and a memory or alpha device in front of it sees every pixel first.
#include "GUI/device/gui_device.h"

namespace {

GUI_DEV*& Head() {
    return GUI_Context.apDevice[0];
}

int32_t ClassOf(const GUI_DEV* dev) {
    return dev->api->devClass;
}

}  // namespace

GUI_DEV* GUI_DEV_New(const GUI_DEV_API* api, const GUI_COLORCONV* colorConv, uint16_t insertBehind,
                     int layer) {
    if (api == nullptr || layer != 0) return nullptr;
    auto* dev = static_cast<GUI_DEV*>(GUI_ALLOC_GetFixedBlock(sizeof(GUI_DEV)));
    if (dev == nullptr) return nullptr;
    if (colorConv == nullptr) {
        for (const GUI_DEV* d = Head(); d != nullptr; d = d->next)
            colorConv = d->colorConv;
    }
    *dev = GUI_DEV{nullptr, nullptr, nullptr, api, colorConv, insertBehind, layer};
    return dev;
}

int GUI_DEV_Insert(GUI_DEV* dev) {
    if (dev == nullptr || dev->layer != 0) return 1;
    if (Head() == nullptr) {
        Head() = dev;
        return 0;
    }
    const int32_t cls = ClassOf(dev);
    GUI_DEV* at = Head();
    while (at != nullptr && ClassOf(at) > cls)
        at = at->next;
    if (at == nullptr) return 1;
    if (ClassOf(at) == cls && dev->insertBehind == 1) {
        while (at->next != nullptr && ClassOf(at) == cls)
            at = at->next;
        if (ClassOf(at) == cls) {  // the chain ends in this class: the device goes last
            dev->prev = at;
            at->next = dev;
            return 0;
        }
    }
    dev->next = at;
    dev->prev = at->prev;
    if (at->prev != nullptr) {
        at->prev->next = dev;
    } else {
        Head() = dev;
    }
    at->prev = dev;
    return 0;
}

GUI_DEV* GUI_DEV_NewAndInsert(const GUI_DEV_API* api, const GUI_COLORCONV* colorConv, uint16_t insertBehind,
                              int layer) {
    GUI_DEV* dev = GUI_DEV_New(api, colorConv, insertBehind, layer);
    if (dev == nullptr) return nullptr;
    if (GUI_DEV_Insert(dev) != 0) {
        GUI_DEV_Release(dev);
        return nullptr;
    }
    if (ClassOf(dev) == kGuiDevClassDriver) GUI_Context.apDriver[0] = dev;
    return dev;
}

void GUI_DEV_Remove(GUI_DEV* dev) {
    if (dev == nullptr) return;
    if (dev->prev != nullptr) {
        dev->prev->next = dev->next;
    } else if (Head() == dev) {
        Head() = dev->next;
    }
    if (dev->next != nullptr) dev->next->prev = dev->prev;
    dev->next = nullptr;
    dev->prev = nullptr;
}

void GUI_DEV_Release(GUI_DEV* dev) {
    GUI_ALLOC_ReleaseFixedBlock(dev);
}

GUI_DEV* GUI_DEV_FindDriver(int layer) {
    if (layer != 0) return nullptr;
    for (GUI_DEV* d = Head(); d != nullptr; d = d->next) {
        if (ClassOf(d) == kGuiDevClassDriver) return d;
    }
    return nullptr;
}
