#include "core/service_flags.h"

ServiceFlags g_ServiceFlags;
