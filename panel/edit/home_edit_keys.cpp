// PLACEHOLDER: replaced by the value editing of the home settings.
#include "panel/edit/home_edit_keys.h"

int32_t menuEditParamEnterKey(uint32_t*, uint32_t) {
    return 0;
}
int32_t menuEditParamSoftKey(uint32_t*, uint32_t) {
    return 0;
}
int32_t menuEditParamKnobKey(uint32_t*, uint32_t) {
    return 0;
}
void KeyProcess_HomeCommonKeys(uint32_t*) {}
void KeyProcess_HomeParamKeys(uint32_t*) {}
void KeyProcess_SlaveHomeKeys(uint32_t*) {}
