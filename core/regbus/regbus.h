#pragma once
// The register bus to the power stage: transfers, encodings and the register accessors.
#include "core/regbus/bus_transfer.h"
#include "core/regbus/encoding.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_step.h"
#include "core/regbus/reg_write.h"
