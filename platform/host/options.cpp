#include "platform/host/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plat {
namespace {

Options g_options;

void PrintUsage(FILE* out) {
    std::fprintf(out,
                 "usage: vrn-controller [--root DIR] [--port-offset N] [--realtime] [--model N] [--text-log]\n"
                 "  --root DIR        instrument root (default ./vrnroot), created on first start\n"
                 "  --port-offset N   add N to every listening port (SCPI 5025, LAN restart 5030, ...)\n"
                 "  --realtime        request the real-time thread policies (needs the privilege)\n"
                 "  --model N         model type 0-11 of a unit on its first start (default 1, 0 none)\n"
                 "  --text-log        append every string the panel draws to <root>/var/log/gui-text.log\n");
}

bool ParseNumber(const char* text, long max, int* out) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < 0 || v > max) return false;
    *out = static_cast<int>(v);
    return true;
}

}  // namespace

int ParseOptions(int argc, char** argv) {
    Options parsed;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            PrintUsage(stdout);
            return 1;
        }
        if (std::strcmp(arg, "--realtime") == 0) {
            parsed.realtime = true;
        } else if (std::strcmp(arg, "--text-log") == 0) {
            parsed.textLog = true;
        } else if (std::strcmp(arg, "--root") == 0 && i + 1 < argc && argv[i + 1][0] != '\0') {
            parsed.root = argv[++i];
        } else if (std::strcmp(arg, "--port-offset") == 0 && i + 1 < argc) {
            if (!ParseNumber(argv[++i], 60000, &parsed.portOffset)) {
                std::fprintf(stderr, "vrn-controller: bad port offset '%s' (0 to 60000)\n", argv[i]);
                PrintUsage(stderr);
                return -1;
            }
        } else if (std::strcmp(arg, "--model") == 0 && i + 1 < argc) {
            if (!ParseNumber(argv[++i], 11, &parsed.model)) {
                std::fprintf(stderr, "vrn-controller: bad model type '%s' (0 to 11)\n", argv[i]);
                PrintUsage(stderr);
                return -1;
            }
        } else {
            std::fprintf(stderr, "vrn-controller: unknown or incomplete option '%s'\n", arg);
            PrintUsage(stderr);
            return -1;
        }
    }
    g_options = parsed;
    return 0;
}

const Options& GetOptions() {
    return g_options;
}

void SetOptions(const Options& options) {
    g_options = options;
}

int Port(int instrumentPort) {
    return instrumentPort + g_options.portOffset;
}

}  // namespace plat
