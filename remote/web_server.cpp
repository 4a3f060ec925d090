#include "remote/web_server.h"

#include <cstdio>

#include "core/system/links/thread_ctl.h"
#include "platform/host/clock.h"
#include "platform/host/options.h"
#include "remote/web/web_channel.h"
#include "remote/web/web_http.h"
#include "remote/web/web_index.h"

namespace {

constexpr uint32_t kChannelWatchMs = 20;  // port 80 serves the web channel's mailbox this often
constexpr uint32_t kWatchMs = 50;         // the stop request is seen within this
constexpr uint32_t kRetryMs = 1000;       // a port that cannot be taken is tried again this often

void* ServePort(RunningWord word, int instrumentPort, bool withScpi) {
    g_ThreadCtl.running[word].store(1);
    if (withScpi) {
        if (web::WebIndexEnsure() != 0)
            std::fprintf(stderr, "Web: cannot write the pages of %s\n", web::kWebRoot);
        web::WebChannelStart({web::WebHttpSendFrame, web::WebHttpSendClose, web::WebHttpClientGone});
    }
    mg_context* ctx = nullptr;
    bool told = false;
    uint64_t nextTry = 0;
    while (g_ThreadCtl.control.load() != kIfaceStop) {
        if (ctx == nullptr && plat::NowMs() >= nextTry) {
            ctx = web::WebHttpStart(instrumentPort, withScpi);
            if (ctx != nullptr) {
                std::printf("Web: serving port %d\n", plat::Port(instrumentPort));
                std::fflush(stdout);
            } else if (!told) {
                std::fprintf(stderr, "Web: cannot listen on port %d, retrying every second\n",
                             plat::Port(instrumentPort));
                told = true;
            }
            nextTry = plat::NowMs() + kRetryMs;
        }
        if (withScpi)
            web::WebChannelServe(kChannelWatchMs);
        else
            plat::SleepMs(kWatchMs);
    }
    if (withScpi) web::WebChannelStopping();
    web::WebHttpStop(ctx);
    if (withScpi) web::WebChannelEnd();
    g_ThreadCtl.running[word].store(0);
    return nullptr;
}

}  // namespace

void* WebServerThread80(void*) {
    return ServePort(kRunWeb80, 80, true);
}

void* WebServerThread81(void*) {
    return ServePort(kRunWeb81, 81, false);
}
