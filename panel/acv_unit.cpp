#include "panel/acv_unit.h"

#include "core/ctrl_words.h"
#include "core/param_access.h"

int IsAcvUnitVpp() {
    return IsAcvVpp(GetWaveform(static_cast<int>(core::SelectedPhase())));
}
