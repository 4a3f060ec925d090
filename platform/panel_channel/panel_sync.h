#pragma once
// The panel channel's "sync": answers "panel: synced" on standard output once the panel has caught up
// with everything scripted before it: every queued key and knob turn reported and taken, and two page
// updates in a row that found nothing to queue or repaint. A script waits for that line before it looks
// at the screen.
#include <string>

namespace plat {

int PanelSyncCommand(const std::string& args, std::string* error);

// The GUI thread, after each page update: quiet when no key event waits and the page has nothing queued
// or invalid. Prints the answer to a pending sync once two quiet updates follow each other with no
// simulated key pending.
void PanelSyncPageUpdated(bool quiet);

}  // namespace plat
