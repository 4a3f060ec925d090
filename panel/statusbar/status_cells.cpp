// The paint callbacks of the status bar's cells. Each clears its cell and draws it wholly from the
// instrument state read at paint time; none keeps state of its own.
#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "panel/statusbar/status_bar.h"
#include "panel/statusbar/status_draw.h"

using namespace statusbar;

namespace {

// Runs draw with the inputs for a paint message; any other message goes to the default handler.
template <class F>
void OnPaint(WM_MSG_RECORD* msg, F draw) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    Inputs in;
    ReadInputs(&in);
    ClearCell();
    draw(in);
}

constexpr GUI_BOX Box(int x0, int y0, int x1, int y1) {
    return GUI_BOX{static_cast<int16_t>(x0), static_cast<int16_t>(y0), static_cast<int16_t>(x1),
                   static_cast<int16_t>(y1)};
}

}  // namespace

void StatusOutput_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.presetRecalled) {
            char text[16];
            std::snprintf(text, sizeof text, "M%d", static_cast<int>(in.presetIndex));
            Text(text, 11, 1, GUI_TA_LEFT, kShadow);
            Text(text, 10, 0, GUI_TA_LEFT, kWhite);
            return;
        }
        RoundedBox(Box(3, 2, 39, 19), Box(0, 5, 42, 16), kYellow);
        if (in.outputOn) {
            Text("ON", 20, 3, GUI_TA_HCENTER, kBlack);
            return;
        }
        RoundedBox(Box(5, 4, 37, 17), Box(2, 7, 40, 14), kBlack, false);
        Text("OFF", 22, 3, GUI_TA_HCENTER, kYellow);
    });
}

void StatusLevel_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        const int* p = in.levelPercent;
        switch (in.phaseMode) {
            case 0:
                LevelBar3_Draw(p[0], p[1], p[2]);
                break;
            case 1:
                LevelBar1_Draw(p[0]);
                break;
            case 2:
                LevelBar2_Draw(p[0], p[1]);
                break;
            default:
                break;
        }
    });
}

void StatusRange_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        static const char* const kNames[] = {"100V", "200V", "AUTO"};
        Text(kNames[CellKey(kCellRange, in)], 0, 4, GUI_TA_LEFT, kWhite);
    });
}

void StatusUsbDev_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.usbDevConfigured) DrawUsbDevIcon(in.usbDevCdc);
    });
}

void StatusAlarm_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.alarm) DrawAlarmIcon();
    });
}

void StatusShift_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.shift) {
            RoundedBox(Box(4, 2, 45, 19), Box(1, 5, 48, 16), kBlue);
            Text("Shift", 10, 3, GUI_TA_LEFT, kWhite);
        } else if (in.remote) {
            Text("RMT", 10, 3, GUI_TA_LEFT, kWhite);
        }
    });
}

void StatusSense_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.senseOn) Text("SENS", 0, 3, GUI_TA_LEFT, kWhite);
    });
}

void StatusUsbMem_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.usbMemError)
            DrawUsbMemIcon(true);
        else if (in.usbMemMounted)
            DrawUsbMemIcon(false);
    });
}

void StatusIrms_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        RoundedBox(Box(3, 2, 44, 19), Box(0, 5, 47, 16), in.irmsOn ? kTeal : kDimBox);
        Text("IRMS", 24, 3, GUI_TA_HCENTER, in.irmsOn ? kWhite : kDimText);
    });
}

void StatusIpk_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.ipkOn)
            RoundedBox(Box(3, 2, 39, 19), Box(0, 5, 42, 16), kTeal);
        else
            RoundedBox(Box(3, 2, 44, 19), Box(0, 5, 47, 16), kDimBox);
        Text("IPK", 22, 3, GUI_TA_HCENTER, in.ipkOn ? kWhite : kDimText);
    });
}

void StatusMaster_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.parallel) Text("MASTER", 55, 3, GUI_TA_RIGHT, kRed);
    });
}

void StatusWiring_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        const char* name = WiringName(in.phaseMode);
        if (name != nullptr) Text(name, 40, 3, GUI_TA_RIGHT, kWhite);
    });
}

void StatusNet_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.network) DrawNetIcon();
    });
}

void StatusLock_Paint(WM_MSG_RECORD* msg) {
    OnPaint(msg, [](const Inputs& in) {
        if (in.keysLocked) DrawLockIcon();
    });
}
