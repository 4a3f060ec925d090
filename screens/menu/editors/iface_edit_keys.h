#pragma once
// The key handlers of the interface editors of the MENU lists: LAN, USB device, RS232C, GPIB, CANopen and
// DeviceNet. They write the interface settings themselves and ask the owning service to take them.
#include <cstdint>

void menuListLanDhcpEdit(uint32_t* ev);
// One octet of an address each: the cursor runs over the address's twelve digits.
void menuListLanIp1Edit(uint32_t* ev);
void menuListLanIp2Edit(uint32_t* ev);
void menuListLanIp3Edit(uint32_t* ev);
void menuListLanIp4Edit(uint32_t* ev);
void menuListLanMask1Edit(uint32_t* ev);
void menuListLanMask2Edit(uint32_t* ev);
void menuListLanMask3Edit(uint32_t* ev);
void menuListLanMask4Edit(uint32_t* ev);
void menuListLanGate1Edit(uint32_t* ev);
void menuListLanGate2Edit(uint32_t* ev);
void menuListLanGate3Edit(uint32_t* ev);
void menuListLanGate4Edit(uint32_t* ev);
void menuListLanDns1Edit(uint32_t* ev);
void menuListLanDns2Edit(uint32_t* ev);
void menuListLanDns3Edit(uint32_t* ev);
void menuListLanDns4Edit(uint32_t* ev);
void menuListLanSocketEdit(uint32_t* ev);
void menuListLaWebPWEdit(uint32_t* ev);
void menuListUSBSpeedEdit(uint32_t* ev);
void menuListUSBModeEdit(uint32_t* ev);
void menuListRS232BaudRateEdit(uint32_t* ev);
void menuListRS232DataBitEdit(uint32_t* ev);
void menuListRS232ParityEdit(uint32_t* ev);
void menuListRS232StopBitEdit(uint32_t* ev);
void menuListGPIBAddressEdit(uint32_t* ev);
void menuListCANOPENBaudRateEdit(uint32_t* ev);
void menuListCANOPENNodeIDEdit(uint32_t* ev);
void menuListDeviceNetBaudRateEdit(uint32_t* ev);
void menuListDeviceNetAddressEdit(uint32_t* ev);
