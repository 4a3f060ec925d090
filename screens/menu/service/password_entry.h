#pragma once
// The service code entry (state 224): four digits by knob and cursor keys, or typed; the code opens the
// model/brand list, a service list, calibration or the barcode list.
#include <cstdint>

void KeyProcess_Password(uint32_t* ev);
