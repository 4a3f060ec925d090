// Reading the power stage's measurement registers into the meter rows.
#include "core/control/measure/meas_internal.h"
#include "core/control/measure/meas_records.h"
#include "core/control/setting_accessors.h"
#include "core/params/access/param_access.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/state/service_flags.h"
#include "platform/stage/reg_map.h"
#include "platform/stage/wiring_codes.h"

namespace meas {
namespace {

constexpr int kPhases = 3;
constexpr int kTotalRow = 6;

// The registers of one reading step, read in one burst in the order they were noted, then stored into the
// meter values. A pass reads about a hundred registers: one hold of the bus for each step instead of one
// per register.
class Burst {
  public:
    void Float(uint32_t reg, MeterValue& to) { Note(reg, &to, nullptr, Kind::kFloat); }
    void Int(uint32_t reg, std::atomic<int32_t>& to) { Note(reg, nullptr, &to, Kind::kInt); }
    // An integer register's value / 1000 into a float value (the power factor total).
    void Thousandths(uint32_t reg, MeterValue& to) { Note(reg, &to, nullptr, Kind::kThousandths); }
    void Read() {
        uint32_t words[kMax];
        BusReg_ReadBurst(regs_, count_, words);
        for (size_t i = 0; i < count_; ++i) {
            const Item& it = items_[i];
            if (it.kind == Kind::kFloat) Put(*it.value, BusReg_FloatOfWord(words[i]));
            if (it.kind == Kind::kInt)
                it.integer->store(BusReg_IntOfWord(regs_[i], words[i]), std::memory_order_relaxed);
            if (it.kind == Kind::kThousandths)
                Put(*it.value, static_cast<float>(BusReg_IntOfWord(regs_[i], words[i])) / 1000.0f);
        }
        count_ = 0;
    }

  private:
    enum class Kind { kFloat, kInt, kThousandths };
    struct Item {
        MeterValue* value;
        std::atomic<int32_t>* integer;
        Kind kind;
    };
    static constexpr size_t kMax = 64;
    void Note(uint32_t reg, MeterValue* value, std::atomic<int32_t>* integer, Kind kind) {
        if (count_ == kMax) Read();
        regs_[count_] = reg;
        items_[count_++] = {value, integer, kind};
    }
    uint32_t regs_[kMax];
    Item items_[kMax];
    size_t count_ = 0;
};

uint32_t Row(const regmap::Block& block, int r) {
    return block.at(static_cast<uint32_t>(r));
}

// The peak-hold and auxiliary registers exist for the phases (and the peak hold for the total), not for
// the line-to-line rows: a row without a register reads 0 instead of a neighbouring quantity.
void VpkHoldOfRow(Burst& b, int r, MeterValue& to) {
    if (r < kPhases)
        b.Float(Row(regmap::kVpkHold, r), to);
    else if (r == kTotalRow)
        b.Float(regmap::kVpkHold.last(), to);
    else
        Put(to, 0.0f);
}
void AuxOfRow(Burst& b, int r, MeterValue& to) {
    if (r < kPhases)
        b.Float(Row(regmap::kMeasWord54, r), to);
    else
        Put(to, 0.0f);
}

}  // namespace

bool SingleRowWiring() {
    return GetPhaseMode() == kWiring1P2W &&
           g_ServiceFlags.threePhase1P2W.load(std::memory_order_relaxed) == 0;
}

void ReadVoltages() {
    Burst b;
    if (SingleRowWiring()) {
        MeterRow& m = g_MeterRows[0];
        b.Float(Row(regmap::kVrms, kTotalRow), m.vrms);
        b.Float(Row(regmap::kVavg, kTotalRow), m.vavg);
        b.Float(Row(regmap::kVmax, kTotalRow), m.vmax);
        b.Float(Row(regmap::kVmin, kTotalRow), m.vmin);
    } else {
        for (int r = 0; r < kMeasRows; ++r) {
            MeterRow& m = g_MeterRows[r];
            b.Float(Row(regmap::kVrms, r), m.vrms);
            b.Float(Row(regmap::kVavg, r), m.vavg);
            b.Float(Row(regmap::kVmax, r), m.vmax);
            b.Float(Row(regmap::kVmin, r), m.vmin);
        }
    }
    b.Read();
}

void ReadCurrents() {
    Burst b;
    if (SingleRowWiring()) {
        MeterRow& m = g_MeterRows[0];
        b.Float(Row(regmap::kIrms, kTotalRow), m.irms);
        b.Float(Row(regmap::kIavg, kTotalRow), m.iavg);
        b.Float(Row(regmap::kImax, kTotalRow), m.imax);
        b.Float(Row(regmap::kImin, kTotalRow), m.imin);
        b.Float(regmap::kVpkHold.last(), m.vpkHold);
        b.Float(Row(regmap::kIpkHold, kTotalRow), m.ipkHold);
    } else {
        for (int r = 0; r < kMeasRows; ++r) {
            MeterRow& m = g_MeterRows[r];
            b.Float(Row(regmap::kIrms, r), m.irms);
            b.Float(Row(regmap::kIavg, r), m.iavg);
            b.Float(Row(regmap::kImax, r), m.imax);
            b.Float(Row(regmap::kImin, r), m.imin);
            VpkHoldOfRow(b, r, m.vpkHold);
            b.Float(Row(regmap::kIpkHold, r), m.ipkHold);
        }
    }
    b.Read();
}

void ReadPowers() {
    Burst b;
    if (SingleRowWiring()) {
        MeterRow& m = g_MeterRows[0];
        b.Float(Row(regmap::kPower, kTotalRow), m.p);
        b.Float(Row(regmap::kApparent, kTotalRow), m.s);
        b.Float(Row(regmap::kReactive, kTotalRow), m.q);
        b.Int(Row(regmap::kPowerFactor, kTotalRow), m.pfx1000);
        b.Int(Row(regmap::kCrestFactor, kTotalRow), m.cfx100);
        AuxOfRow(b, 0, m.aux);
        b.Read();
        return;
    }
    for (int r = 0; r < kMeasRows; ++r) {
        MeterRow& m = g_MeterRows[r];
        b.Float(Row(regmap::kPower, r), m.p);
        b.Float(Row(regmap::kApparent, r), m.s);
        b.Float(Row(regmap::kReactive, r), m.q);
        AuxOfRow(b, r, m.aux);
        b.Int(Row(regmap::kPowerFactor, r), m.pfx1000);
        b.Int(Row(regmap::kCrestFactor, r), m.cfx100);
    }
    MeterRow& t = g_MeterRows[0];
    b.Float(Row(regmap::kVrms, kTotalRow), t.vrmsTotal);
    b.Float(Row(regmap::kIrms, kTotalRow), t.irmsTotal);
    b.Float(Row(regmap::kPower, kTotalRow), t.pTotal);
    b.Thousandths(Row(regmap::kPowerFactor, kTotalRow), t.pfTotal);
    b.Float(Row(regmap::kApparent, kTotalRow), t.sTotal);
    b.Float(Row(regmap::kReactive, kTotalRow), t.qTotal);
    b.Read();
}

void ReadFrequency() {
    const float f = BusReg_GetFreq();
    for (int r = 0; r < kPhases; ++r)
        Put(g_MeterRows[r].freq, f);
}

void ReadCalibrationValues() {
    Burst b;
    for (int r = 0; r < kPhases; ++r) {
        MeterRow& m = g_MeterRows[r];
        b.Float(Row(regmap::kVrms, r), m.vrms);
        b.Float(Row(regmap::kIrms, r), m.irms);
        b.Float(Row(regmap::kImax, r), m.imax);
    }
    b.Read();
    ReadFrequency();
}

}  // namespace meas
