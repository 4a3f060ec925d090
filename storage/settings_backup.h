#pragma once
// The whole settings backup to the non-volatile memory that the alarm monitor runs on request.
void SettingsBackupSaveAll();
