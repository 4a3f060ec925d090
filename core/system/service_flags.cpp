#include "core/system/service_flags.h"

ServiceFlags g_ServiceFlags;
