#include "platform/host/device_node.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/host/log_file.h"
#include "platform/host/root.h"
#include "platform/panel_channel/panel_channel.h"

namespace plat {
namespace {

constexpr int kBridgeWaitMs = 100;  // the bridge looks for new and removed nodes at least this often
constexpr size_t kFlowSize = 4096;

// Request words of the simulated drivers.
constexpr unsigned long kGpibClear = 0x40040D0D;
constexpr unsigned long kGpibStatusPair = 0x40040D08;
constexpr unsigned long kGpibStatus = 0x80040D0B;
constexpr unsigned long kTmcLinkState = 0x80045501;
constexpr unsigned long kTmcStatusByte = 0x40045503;
constexpr unsigned long kCdcLinkState = 0x80046701;
constexpr unsigned long kCdcAcknowledge = 0x40046701;

// Event bits of the status words, as the ports read them.
constexpr uint32_t kGpibDcl = 1u << 3, kGpibGet = 1u << 7;
constexpr uint32_t kTmcClear = 1u << 3, kTmcRsb = 1u << 8, kTmcGtl = 1u << 11, kTmcRen = 1u << 12;
constexpr uint32_t kCdcClear = 1u << 2;

struct NodeKind {
    const char* name;
    unsigned type;                // the ioctl type byte of its driver; 0 none
    unsigned long eventRequest;  // the read that takes the node's events
    bool lineWatched;            // a client's close drops the carrier once (the serial line)
};
constexpr NodeKind kSerial{"ttyS1", 0, 0, true};
constexpr NodeKind kCdc{"ttyGS0", 0x67, kCdcLinkState, false};
constexpr NodeKind kTmc{"usbtmc0", 0x55, kTmcLinkState, false};
constexpr NodeKind kGpib{"qx_gpib", 0x0D, kGpibStatus, false};

// Bytes read from one master, not yet written to the other.
struct Flow {
    uint8_t data[kFlowSize];
    size_t pos = 0;
    size_t len = 0;
};

struct Pty {
    int master = -1;
    int slave = -1;  // held by the platform, so that the master never sees a hang-up
    std::string path;
};

struct Node {
    NodeKind kind;
    Pty device;
    Pty client;
    dev_t deviceRdev = 0;
    std::atomic<uint32_t> events{0};
    bool gone = false;  // removed; the bridge thread closes it
    Flow toClient;      // bridge thread only
    Flow toDevice;
    // A watched line: the closes of its client side, as the file system reports them (the platform's
    // own descriptors stay open, so every close is a client's); and a close the device has not been
    // told of yet: until it is, the client side is not read, so that a new client's bytes never follow
    // what the device still holds of the old one's.
    int closes = -1;
    bool hangup = false;
    // What the closed client had sent and the bridge had not read yet, all of it taken at the close: it
    // goes to the device before the carrier drops, never after it as the next client's bytes.
    std::string closedTail;
    size_t closedTailPos = 0;
};

std::mutex g_lock;  // the node list, the ports text, the opened descriptors and the last USB node
std::vector<std::unique_ptr<Node>> g_nodes;
// The node each descriptor that OpenDevice gave was opened on, until CloseDevice or the node's end: a
// request finds its node here instead of asking the file system for the descriptor's device on every
// pass of a port's poll. A node leaves the list only together with its descriptors' entries.
std::unordered_map<int, Node*> g_opened;
std::string g_portsText;
std::string g_lastUsbNode = kTmc.name;
std::thread g_bridge;
std::atomic<bool> g_stop{false};
int g_wake = -1;
bool g_running = false;
std::mutex g_logLock;

void ClosePty(Pty& p) {
    if (p.master >= 0) close(p.master);
    if (p.slave >= 0) close(p.slave);
    p = Pty{};
}

bool OpenPty(Pty* p) {
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    raw.c_cflag |= CREAD | CLOCAL;
    if (openpty(&p->master, &p->slave, nullptr, &raw, nullptr) != 0) return false;
    char name[64];
    if (ttyname_r(p->slave, name, sizeof name) != 0) {
        ClosePty(*p);
        return false;
    }
    p->path = name;
    for (int fd : {p->master, p->slave}) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

void CloseNode(Node& node) {
    ClosePty(node.device);
    ClosePty(node.client);
    if (node.closes >= 0) close(node.closes);
    node.closes = -1;
}

std::unique_ptr<Node> MakeNode(const NodeKind& kind) {
    auto node = std::make_unique<Node>();
    node->kind = kind;
    struct stat st{};
    if (!OpenPty(&node->device) || !OpenPty(&node->client) || fstat(node->device.slave, &st) != 0) {
        const int error = errno;
        CloseNode(*node);
        errno = error;
        return nullptr;
    }
    node->deviceRdev = st.st_rdev;
    if (kind.lineWatched) {
        node->closes = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        constexpr uint32_t kEvents = IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE;
        if (node->closes < 0 || inotify_add_watch(node->closes, node->client.path.c_str(), kEvents) < 0) {
            const int error = errno;
            CloseNode(*node);
            errno = error;
            return nullptr;
        }
    }
    return node;
}

void Wake() {
    if (g_wake >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = write(g_wake, &one, sizeof one);
    }
}

// Under g_lock. A reader never sees half a list: the file is renamed into place.
void WritePorts() {
    std::string text;
    for (const auto& node : g_nodes)
        if (!node->gone) text += std::string(node->kind.name) + " " + node->client.path + "\n";
    g_portsText = text;
    const std::string path = MapPath("/var/run/ports");
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    {
        std::ofstream file(path + ".new", std::ios::trunc);
        file << text;
    }
    std::filesystem::rename(path + ".new", path, ec);
}

void LogLine(const std::string& line) {
    std::lock_guard<std::mutex> lock(g_logLock);
    const std::string path = MapPath("/var/log/devices.log");
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    LogAppend(path, line + "\n", LogLimitBytes());
}

Node* FindLocked(const std::string& name) {
    for (const auto& node : g_nodes)
        if (!node->gone && name == node->kind.name) return node.get();
    return nullptr;
}

// Under g_lock. The bus hands a byte over only when the controller takes it: what the port wrote and the
// client has not read yet is still the driver's output, and a device clear or an output clear drops it. A
// device clear also drops what the client sent and the port has not read: the device's input buffer.
void DropLocked(Node* node, bool input) {
    tcflush(node->device.master, TCIFLUSH);
    node->toClient = Flow{};
    tcflush(node->client.master, TCOFLUSH);
    tcflush(node->client.slave, TCIFLUSH);
    if (!input) return;
    tcflush(node->client.master, TCIFLUSH);
    node->toDevice = Flow{};
    node->closedTail.clear();
    node->closedTailPos = 0;
    tcflush(node->device.master, TCOFLUSH);
    tcflush(node->device.slave, TCIFLUSH);
}

// Moves what `from` holds on to `to`; reads more only once the last bytes are gone, so that a side
// that does not read holds the other back instead of losing its bytes.
void Pump(int from, int to, Flow& flow, short fromEvents) {
    if (flow.len == 0 && (fromEvents & POLLIN)) {
        ssize_t n = read(from, flow.data, sizeof flow.data);
        if (n > 0) {
            flow.pos = 0;
            flow.len = static_cast<size_t>(n);
        }
    }
    while (flow.len > 0) {
        ssize_t n = write(to, flow.data + flow.pos, flow.len);
        if (n <= 0) break;
        flow.pos += static_cast<size_t>(n);
        flow.len -= static_cast<size_t>(n);
    }
}

// What fd holds unread. A pseudo-terminal hands written bytes on to its other side in the background, so
// a count taken at once can miss bytes already written to it; a poll first makes the line discipline take
// what is on its way (a count alone does not).
size_t Pending(int fd) {
    pollfd p{fd, POLLIN, 0};
    [[maybe_unused]] int ready = poll(&p, 1, 0);
    int n = 0;
    return ioctl(fd, FIONREAD, &n) == 0 && n > 0 ? static_cast<size_t>(n) : 0;
}

// The client side's opens and closes since the last look: whether it was closed, and whether it was
// opened again after its last close.
struct SideEvents {
    bool closed = false;
    bool reopened = false;
};
SideEvents TakeSideEvents(int fd) {
    SideEvents seen;
    alignas(inotify_event) char buffer[1024];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            if (event.mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
                seen.closed = true;
                seen.reopened = false;
            } else if (event.mask & IN_OPEN) {
                seen.reopened = seen.closed;
            }
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
    return seen;
}

// Takes everything the client side holds unread.
void TakeClosedTail(Node* node) {
    char buffer[kFlowSize];
    for (ssize_t n; (n = read(node->client.master, buffer, sizeof buffer)) > 0;)
        node->closedTail.append(buffer, static_cast<size_t>(n));
}

// Hands the closed client's bytes on to the device as far as it takes them.
void FeedClosedTail(Node* node) {
    for (;;) {
        const size_t left = node->closedTail.size() - node->closedTailPos;
        if (node->toDevice.len == 0 && left > 0) {
            const size_t n = left < kFlowSize ? left : kFlowSize;
            std::memcpy(node->toDevice.data, node->closedTail.data() + node->closedTailPos, n);
            node->toDevice.pos = 0;
            node->toDevice.len = n;
            node->closedTailPos += n;
        }
        Pump(node->client.master, node->device.master, node->toDevice, 0);
        if (node->toDevice.len != 0 || node->closedTailPos == node->closedTail.size()) break;
    }
    if (node->closedTailPos == node->closedTail.size()) {
        node->closedTail.clear();
        node->closedTailPos = 0;
    }
}

// Under g_lock. A watched line: both ways as any node until its client closes its side; from then the
// device's output reaches nobody and the client side waits until the device has taken the close. What
// the closed client left unread goes with it. Bytes waiting at the close are the old client's, unless a
// new one has opened the side since: then they are taken as the new one's (the old one's were read as
// they came, unless it wrote and left at once).
void PumpLine(Node* node, short devEvents, short clientEvents, short sideEvents) {
    const SideEvents seen = (sideEvents & POLLIN) ? TakeSideEvents(node->closes) : SideEvents{};
    // The client may have written and closed after the poll looked: all it wrote before its close is
    // taken now, whatever the poll saw, or it would wait unread and lead the next client's bytes.
    if (seen.closed && !seen.reopened && !node->hangup) TakeClosedTail(node);
    if (seen.closed && !node->hangup) {
        node->hangup = true;
        node->toClient = Flow{};
        tcflush(node->client.master, TCOFLUSH);
        tcflush(node->client.slave, TCIFLUSH);
    }
    // After the close only what was read of that client before it still goes to the device.
    if (node->hangup)
        FeedClosedTail(node);
    else
        Pump(node->client.master, node->device.master, node->toDevice, clientEvents);
    if (!node->hangup) {
        Pump(node->device.master, node->client.master, node->toClient, devEvents);
    } else if (devEvents & POLLIN) {
        uint8_t dropped[kFlowSize];
        [[maybe_unused]] ssize_t n = read(node->device.master, dropped, sizeof dropped);
    }
}

void BridgeLoop() {
    std::vector<pollfd> fds;
    std::vector<Node*> polled;
    while (!g_stop.load(std::memory_order_acquire)) {
        fds.clear();
        polled.clear();
        {
            std::lock_guard<std::mutex> lock(g_lock);
            for (auto it = g_nodes.begin(); it != g_nodes.end();) {
                if ((*it)->gone) {
                    CloseNode(**it);
                    std::erase_if(g_opened, [&](const auto& e) { return e.second == it->get(); });
                    it = g_nodes.erase(it);
                    continue;
                }
                Node* node = it->get();
                const bool reading = node->toDevice.len == 0 && !node->hangup;
                const short devEvents = static_cast<short>((node->toClient.len == 0 ? POLLIN : 0) |
                                                           (node->toDevice.len > 0 ? POLLOUT : 0));
                const short clientEvents = static_cast<short>((reading ? POLLIN : 0) |
                                                              (node->toClient.len > 0 ? POLLOUT : 0));
                fds.push_back({node->device.master, devEvents, 0});
                fds.push_back({node->client.master, clientEvents, 0});
                fds.push_back({node->closes, POLLIN, 0});
                polled.push_back(node);
                ++it;
            }
        }
        fds.push_back({g_wake, POLLIN, 0});
        if (poll(fds.data(), fds.size(), kBridgeWaitMs) <= 0) continue;
        if (fds.back().revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] ssize_t n = read(g_wake, &count, sizeof count);
        }
        // Only this thread erases nodes, so the pointers taken above still hold.
        std::lock_guard<std::mutex> lock(g_lock);
        for (size_t i = 0; i < polled.size(); ++i) {
            Node* node = polled[i];
            if (node->gone) continue;
            const pollfd* f = &fds[3 * i];
            if (node->kind.lineWatched) {
                PumpLine(node, f[0].revents, f[1].revents, f[2].revents);
                continue;
            }
            Pump(node->device.master, node->client.master, node->toClient, f[0].revents);
            Pump(node->client.master, node->device.master, node->toDevice, f[1].revents);
        }
    }
}

int AddNode(const NodeKind& kind) {
    std::unique_ptr<Node> node = MakeNode(kind);
    if (!node) return -1;
    g_nodes.push_back(std::move(node));
    return 0;
}

int UsbdevVerb(const std::string& args, std::string* error) {
    return DeviceEventCommand("usbdev", args, error);
}

int GpibVerb(const std::string& args, std::string* error) {
    return DeviceEventCommand("gpib", args, error);
}

std::string Hex(unsigned long value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*lX", digits, value);
    return text;
}

// The modem lines of a watched line: the carrier is down once after each close of the client, taken
// once the device holds none of that client's bytes unread, so that a new client's bytes (which wait
// until then) never follow a part of the old one's message.
int LineStatus(const NodeKind& kind, Node* node, void* arg) {
    if (arg == nullptr) {
        errno = EFAULT;
        return -1;
    }
    int bits = TIOCM_CD | TIOCM_DSR | TIOCM_CTS;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (FindLocked(kind.name) != node) {
            errno = ENODEV;
            return -1;
        }
        if (node->hangup && node->toDevice.len == 0 && node->closedTail.empty() &&
            Pending(node->device.slave) == 0) {
            node->hangup = false;
            bits &= ~TIOCM_CD;
            // What the device said while nobody listened is lost, also when the bridge has not yet come
            // round to dropping it: the next client must not read it. The closed client's bytes the
            // device has not read yet go too (the line's buffers hand them on late, after the device
            // looked): taken after the drop they would be run for the next client.
            tcflush(node->device.master, TCIFLUSH);
            tcflush(node->device.slave, TCIFLUSH);
        }
    }
    std::memcpy(arg, &bits, sizeof bits);
    if ((bits & TIOCM_CD) == 0) {
        LogLine(std::string(kind.name) + " carrier lost");
        Wake();
    }
    return 0;
}

}  // namespace

int OpenDevice(const char* path, int flags) {
    std::string_view name = path != nullptr ? path : "";
    if (!name.starts_with("/dev/")) {
        errno = ENOENT;
        return -1;
    }
    name.remove_prefix(5);
    std::string devicePath;
    Node* node = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        node = FindLocked(std::string(name));
        if (node == nullptr) {
            errno = ENOENT;
            return -1;
        }
        devicePath = node->device.path;
        if (node->kind.name == kTmc.name || node->kind.name == kCdc.name) g_lastUsbNode = node->kind.name;
    }
    // A stand-in never becomes the controlling terminal of the program, whatever the port asks.
    const int fd = open(devicePath.c_str(), flags | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fd;
    std::lock_guard<std::mutex> lock(g_lock);
    // A node removed while it was opened is left to the file system's answer, as a closed one is.
    if (FindLocked(std::string(name)) == node)
        g_opened[fd] = node;
    else
        g_opened.erase(fd);
    return fd;
}

int CloseDevice(int fd) {
    {
        // Forgotten before the close, so that no descriptor the number is given to next finds this node.
        std::lock_guard<std::mutex> lock(g_lock);
        g_opened.erase(fd);
    }
    return close(fd);
}

int DeviceRequest(int fd, unsigned long request, void* arg) {
    NodeKind kind{};
    Node* node = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (const auto it = g_opened.find(fd); it != g_opened.end() && !it->second->gone) {
            node = it->second;
            kind = node->kind;
        }
    }
    if (node == nullptr) {
        struct stat st{};
        if (fstat(fd, &st) != 0) return -1;
        std::lock_guard<std::mutex> lock(g_lock);
        for (const auto& n : g_nodes)
            if (!n->gone && S_ISCHR(st.st_mode) && n->deviceRdev == st.st_rdev) node = n.get();
        if (node != nullptr) kind = node->kind;
    }
    if (node != nullptr && kind.lineWatched && request == TIOCMGET) return LineStatus(kind, node, arg);
    if (node == nullptr || kind.type == 0 || ((request >> 8) & 0xFF) != kind.type) {
        errno = ENOTTY;
        return -1;
    }
    const unsigned direction = static_cast<unsigned>(request >> 30);
    if (direction == 2) {
        uint32_t word = 0;
        if (request == kind.eventRequest) {
            std::lock_guard<std::mutex> lock(g_lock);
            if (FindLocked(kind.name) == node) word = node->events.exchange(0, std::memory_order_acq_rel);
            if (request == kGpibStatus && (word & kGpibDcl) != 0) DropLocked(node, true);
        }
        if (arg != nullptr) std::memcpy(arg, &word, sizeof word);
        if (word != 0) LogLine(std::string(kind.name) + " " + Hex(request, 8) + " " + Hex(word, 4));
        return 0;
    }
    if (direction != 1) {
        errno = ENOTTY;
        return -1;
    }
    std::string line = std::string(kind.name) + " " + Hex(request, 8);
    if (request == kGpibClear) {
        std::lock_guard<std::mutex> lock(g_lock);
        if (FindLocked(kind.name) == node) DropLocked(node, false);
    }
    if (request != kGpibClear && request != kCdcAcknowledge) {
        if (arg == nullptr) {
            errno = EFAULT;
            return -1;
        }
        if (request == kGpibStatusPair) {
            uint16_t pair[2];
            std::memcpy(pair, arg, sizeof pair);
            line += " " + Hex(pair[0], 4) + " " + Hex(pair[1], 4);
        } else {
            int32_t value;
            std::memcpy(&value, arg, sizeof value);
            line += request == kTmcStatusByte ? " " + Hex(static_cast<uint32_t>(value), 2)
                                              : " " + std::to_string(value);
        }
    }
    LogLine(line);
    return 0;
}

int DeviceNodesStart() {
    static std::once_flag verbs;
    std::call_once(verbs, [] {
        PanelChannelAddVerb("usbdev", UsbdevVerb);
        PanelChannelAddVerb("gpib", GpibVerb);
    });
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_running) return 0;
    g_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (g_wake < 0) return -1;
    for (const NodeKind* kind : {&kSerial, &kCdc, &kTmc}) {
        if (AddNode(*kind) != 0) {
            const int error = errno;
            for (auto& node : g_nodes) {
                CloseNode(*node);
            }
            g_opened.clear();
            g_nodes.clear();
            close(g_wake);
            g_wake = -1;
            errno = error;
            return -1;
        }
    }
    g_lastUsbNode = kTmc.name;
    WritePorts();
    g_stop.store(false, std::memory_order_release);
    g_bridge = std::thread([] {
        pthread_setname_np(pthread_self(), "DeviceBridge");
        BridgeLoop();
    });
    g_running = true;
    return 0;
}

void DeviceNodesStop() {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (!g_running) return;
        g_running = false;
    }
    g_stop.store(true, std::memory_order_release);
    Wake();
    g_bridge.join();
    std::lock_guard<std::mutex> lock(g_lock);
    for (auto& node : g_nodes) {
        CloseNode(*node);
    }
    g_opened.clear();
    g_nodes.clear();
    g_portsText.clear();
    close(g_wake);
    g_wake = -1;
}

std::string DevicePortsText() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_portsText;
}

std::string DeviceClientPath(const std::string& node) {
    std::lock_guard<std::mutex> lock(g_lock);
    Node* n = FindLocked(node);
    return n != nullptr ? n->client.path : std::string();
}

void DeviceModuleInserted(const std::string& module) {
    if (module != kGpib.name) return;
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_running || FindLocked(kGpib.name) != nullptr) return;
    if (AddNode(kGpib) != 0) {
        std::fprintf(stderr, "devices: cannot make /dev/qx_gpib: %s\n", std::strerror(errno));
        return;
    }
    WritePorts();
    Wake();
}

void DeviceModuleRemoved(const std::string& module) {
    if (module != kGpib.name) return;
    std::lock_guard<std::mutex> lock(g_lock);
    Node* node = FindLocked(kGpib.name);
    if (node == nullptr) return;
    node->gone = true;
    WritePorts();
    Wake();
}

int DeviceEventCommand(const std::string& verb, const std::string& args, std::string* error) {
    struct Event {
        const char* verb;
        const char* arg;
        uint32_t bit;
    };
    // "clear" goes to the USB node the program opened last: the USB class picks TMC or CDC.
    static constexpr Event kEvents[] = {
        {"usbdev", "rsb", kTmcRsb}, {"usbdev", "gtl", kTmcGtl}, {"usbdev", "ren", kTmcRen},
        {"usbdev", "clear", 0},     {"gpib", "dcl", kGpibDcl},  {"gpib", "get", kGpibGet},
    };
    for (const Event& event : kEvents) {
        if (verb != event.verb || args != event.arg) continue;
        std::lock_guard<std::mutex> lock(g_lock);
        std::string target = verb == "gpib" ? kGpib.name : kTmc.name;
        uint32_t bit = event.bit;
        if (bit == 0) {
            target = g_lastUsbNode;
            bit = target == kCdc.name ? kCdcClear : kTmcClear;
        }
        Node* node = FindLocked(target);
        if (node == nullptr) {
            if (error != nullptr) *error = "/dev/" + target + " does not exist";
            return -1;
        }
        node->events.fetch_or(bit, std::memory_order_acq_rel);
        return 0;
    }
    if (error != nullptr)
        *error = verb == "gpib" ? "gpib takes dcl or get" : "usbdev takes clear, rsb, gtl or ren";
    return -1;
}

}  // namespace plat
