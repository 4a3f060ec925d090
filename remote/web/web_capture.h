#pragma once
// The panel's screen as a JPEG for GET "/capture.jpg": the screen goes to "/tmp/image.bmp" through the
// screen copy's BMP writer and the sandbox's cjpeg makes "/tmp/image.jpg" of it, under the web capture
// flag (g_WebScreenCopyOwner), which a screen copy to USB memory waits for and which holds the GUI still.
#include <cstdint>
#include <string>

namespace web {

// Looks for the end of a pending screen copy, or of another capture, this often and this long.
constexpr uint32_t kCapturePollMs = 2;
constexpr uint32_t kCaptureWaitMs = 10000;
// A capture holds the GUI still while it reads the screen: one that comes sooner than this after the
// last one ended gets that one's picture, so that browsers asking back to back (or a page of another
// site looping on the picture) never keep the panel's display from following its keys.
constexpr uint32_t kCaptureMinIntervalMs = 500;

enum CaptureStatus : int { kCaptureOk = 200, kCaptureFailed = 500, kCaptureBusy = 503 };

// The flag taken only while no screen copy is pending, so that a copy requested in between is not read
// over; false when it could not be taken within kCaptureWaitMs. ReleaseCaptureFlag gives it back.
bool TakeCaptureFlag();
void ReleaseCaptureFlag();

// The JPEG of the screen in *jpeg: kCaptureOk, kCaptureBusy when the flag could not be taken, or
// kCaptureFailed when the BMP or the JPEG could not be made (never an older picture). Within
// kCaptureMinIntervalMs of the last capture, that one's picture. The flag is given back before the
// caller sends the picture.
int WebScreenCapture(std::string* jpeg);

}  // namespace web
