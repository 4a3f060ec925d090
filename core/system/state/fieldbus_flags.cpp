#include "core/system/state/fieldbus_flags.h"

FieldbusChangeFlags g_FieldbusChangeFlags;
