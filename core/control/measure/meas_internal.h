#pragma once
// The steps of the measurement chain, shared by its files.
namespace meas {

// 1P2W without the all-phase service override: row 0 is read from the total registers, alone.
bool SingleRowWiring();
// Register reading into the meter rows.
void ReadVoltages();
void ReadCurrents();
void ReadPowers();
void ReadFrequency();
// Calibration measuring: Vrms, Irms and Imax of the phases and the frequency, nothing else.
void ReadCalibrationValues();
// The averaged and raw values into the live records.
void AverageAndPublish();

}  // namespace meas
