#include "sysadmin/net/net_dhcp.h"

#include <cstdio>
#include <string>

#include "core/system/config/lan_cfg.h"
#include "platform/host/clock.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox.h"
#include "storage/file_util.h"
#include "sysadmin/command_output.h"
#include "sysadmin/net/lxi_service.h"
#include "sysadmin/net/net_files.h"

namespace {

constexpr const char* kUdhcpcInfo = "/tmp/udhcpc.info";

int Running(const char* command) {
    std::string line;
    return CommandFirstLine(command, &line, 8) ? 1 : 0;
}

}  // namespace

int UdhcpcRunning() {
    return Running("pgrep udhcpc");
}

int AutoipdRunning() {
    return Running("pgrep avahi-autoipd");
}

int AvahiDaemonRunning() {
    return Running("pgrep avahi-daemon");
}

int DhcpStart() {
    if (UdhcpcRunning()) plat::System("kill $(pgrep udhcpc)");
    return plat::System("udhcpc -bR -p /var/run/udhcpc.eth0.pid -i eth0 > /tmp/udhcpc.info");
}

int DhcpStop() {
    if (FileSize(kUdhcpcInfo) > 0) std::remove(plat::MapPath(kUdhcpcInfo).c_str());
    if (UdhcpcRunning()) return plat::System("kill $(pgrep udhcpc)");
    return 0;
}

int DhcpInfoPresent() {
    return FileSize(kUdhcpcInfo) > 0 ? 0 : -1;
}

int AvahiStart() {
    LxiServiceWrite();
    if (AvahiDaemonRunning() == 0) {
        plat::System("/mnt/disk/avahi_package/avahi-daemon &");
        plat::System("sync");
    }
    return 0;
}

int NetScriptRun(int mode) {
    if (mode == 0) {
        if (FileSize("/tmp/netconf") < 0 || LanCfgRead().DHCP != 1) {
            NetconfBuild();
            NetconfWrite();
        }
        if (AutoipdRunning()) {
            plat::System("kill $(pgrep avahi-autoipd)");
            plat::SleepMs(1000);
            plat::System("/mnt/disk/net.sh eth0\n");
            plat::System("sync");
        } else {
            plat::System("/mnt/disk/net.sh eth0\n");
        }
    } else if (mode == 1) {
        if (AutoipdRunning()) plat::System("kill $(pgrep avahi-autoipd)");
    } else {
        plat::System("/mnt/disk/net.sh \n");
    }
    return 0;
}
