#pragma once
// Boot-loader, kernel and start-screen images written into the board's flash partitions: erased
// through /dev/mtdN, written through /dev/mtdblockN. An image is checked against the partition's
// size before anything is erased and read back after the write.
#include <cstddef>
#include <cstdint>

// Partitions: 5 boot loader ("u-boot.img"), 11 kernel ("zImage"), 9 start screen ("image.bmp").

// Erases the partition and writes the image; 0, -1 the image does not fit (nothing erased), -2 the
// erase failed, -3 the write or its read-back failed (the partition is left erased or torn).
int32_t FlashProgram(int32_t partition, const uint8_t* image, size_t size);

// Unpacks the brand's update package and writes its image of the partition (the file name is not
// used). 0; -2 another partition, or the image missing, empty, too large or written short; -106 no
// memory; -101 open failure; -102 short read; a failed unpack's code unchanged.
int32_t FlashWriteFromPackage(int32_t partition, const char* fileName);

// Partition 9 only (else -2): the checksummed block "/mnt/sd1/<brand dir>/<fileName>" (-2 when missing)
// turned into the 24-bit BMP and written. 0 when all of it was written and read back; -1 for an invalid
// block, a payload too short for the picture, an unreadable file or a failed write.
int32_t FlashWriteStartScreen(int32_t partition, const char* fileName);

// The copy of a partition to USB memory is not offered: always -1.
int32_t FlashCopyToUsb(int32_t partition, const char* fileName);
