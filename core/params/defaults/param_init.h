#pragma once
// Building the parameter store from the default tables of the current model type.
#include <atomic>

#include "core/params/defaults/param_defaults.h"

// The table set in use, set by SetDefaultAll: a reset sets it on the supervisor thread while a settings
// load on another thread may read it.
extern std::atomic<const core::ParamTableSet*> g_DefaultTables;

// The whole default setting for the current model type (g_ModelId): card detection, identity texts,
// power-module and firmware checks, miscellaneous records and ParamTableInit. Returns 0.
int SetDefaultAll();
// Builds every record of the store from the tables. Returns 0, or -1 (nothing built) when no model class
// is set.
int ParamTableInit();
// LAN and interface defaults.
void LanSetDefault();
