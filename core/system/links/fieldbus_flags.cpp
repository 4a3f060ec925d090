#include "core/system/links/fieldbus_flags.h"

FieldbusChangeFlags g_FieldbusChangeFlags;
