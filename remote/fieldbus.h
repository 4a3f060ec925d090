#pragma once
// The fieldbus thread (DeviceNet or CANopen by the installed CAN card) and the Modbus TCP thread.
void* FieldbusThread(void* arg);
void* ModbusThread(void* arg);
