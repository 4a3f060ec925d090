#include "remote/iface_card_detect.h"

// This machine has no interface card slot: no card is ever found.
int32_t IfaceCardDetect() {
    return 0;
}
