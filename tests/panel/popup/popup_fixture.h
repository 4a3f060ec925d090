#pragma once
// The message ring and popup machine put back to their start, and the machine stepped as the overlay
// steps it once per main pass.
#include <string>

namespace popuptest {

void ResetPopup();
// Steps the machine until the popup is shown (at most `passes`); whether it is.
bool StepUntilShown(int passes = 10);
std::string PopupText();

}  // namespace popuptest
