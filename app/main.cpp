#include <cstdio>

#include "platform/options.h"

int main(int argc, char** argv) {
    int rc = plat::ParseOptions(argc, argv);
    if (rc != 0) return rc > 0 ? 0 : 2;
    return 0;
}
