#include "core/params/param_rec.h"

#include <algorithm>
#include <limits>

namespace {

int32_t ScaleSaturated(int32_t v, int32_t factor) {
    int64_t p = static_cast<int64_t>(v) * factor;
    return static_cast<int32_t>(
        std::clamp<int64_t>(p, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void Fill(ParamRec* r, const ParamDefaultRow& row, int32_t value, int32_t max, int32_t min) {
    r->value = r->defaultValue = value;
    r->max = r->defaultMax = max;
    r->min = r->defaultMin = min;
    r->decimals = row.decimals;
    r->digits = row.digits;
    r->scale = row.scale;
    r->unitText = row.unit;
}

}  // namespace

void ParamRecInit(ParamRec* record, ParamDefaultRow row) {
    Fill(record, row, row.value, row.max, row.min);
    record->def1 = 0;
}

void ParamRecInitScaled(ParamRec* record, ParamDefaultRow row, int32_t factor) {
    Fill(record, row, ScaleSaturated(row.value, factor), ScaleSaturated(row.max, factor),
         ScaleSaturated(row.min, factor));
    record->def1 = 0;
}

void ParamClampToDefault(ParamRec* record) {
    if (record->value > record->defaultMax || record->value < record->defaultMin)
        record->value = record->defaultValue;
}
