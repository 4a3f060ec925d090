// The artwork is painted by small colour functions at compile time; the content background, too big for
// that, is painted once on its first use.
#include "panel/draw/panel_art.h"

#include <array>
#include <cstdint>

namespace panel::art {

namespace {

// One colour byte to `top` levels, to the nearest as the display layer converts colours.
constexpr uint32_t Narrow(uint32_t byte, uint32_t top) {
    return (byte * top * 2 + 255) / 510;
}

// 0xRRGGBB to the bitmaps' RGB565 (red in the high bits).
constexpr uint16_t To565(uint32_t rgb) {
    return static_cast<uint16_t>(Narrow(rgb >> 16 & 0xFF, 31) << 11 | Narrow(rgb >> 8 & 0xFF, 63) << 5 |
                                 Narrow(rgb & 0xFF, 31));
}

// c0 at step 0, c1 at step span, byte by byte.
constexpr uint32_t Mix(uint32_t c0, uint32_t c1, int step, int span) {
    if (span <= 0) return c0;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((c0 >> shift) & 0xFF), b = static_cast<int>((c1 >> shift) & 0xFF);
        out |= static_cast<uint32_t>(a + (b - a) * step / span) << shift;
    }
    return out;
}

template <int W, int H, class F>
constexpr std::array<uint8_t, W * H * 2> Paint(F colour) {
    std::array<uint8_t, W * H * 2> data{};
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const uint16_t v = To565(colour(x, y));
            data[2 * (y * W + x)] = static_cast<uint8_t>(v);
            data[2 * (y * W + x) + 1] = static_cast<uint8_t>(v >> 8);
        }
    }
    return data;
}

constexpr GUI_IMAGE Image(int w, int h, const uint8_t* data) {
    return GUI_IMAGE{
        static_cast<uint16_t>(w), static_cast<uint16_t>(h), static_cast<uint16_t>(2 * w), 16, data, nullptr,
        &GUI_BitmapMethods565};
}

// Inside a w x h rectangle whose corners are rounded by r.
constexpr bool InRounded(int x, int y, int w, int h, int r) {
    const int cx = x < r ? r : (x >= w - r ? w - 1 - r : x);
    const int cy = y < r ? r : (y >= h - r ? h - 1 - r : y);
    const int dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= r * r;
}

// A rounded face: outside colour beyond the corners, a one-pixel rim, a vertical gradient inside.
struct Face {
    int w, h, r;
    uint32_t outside, rim, top, bottom;
    constexpr uint32_t operator()(int x, int y) const {
        if (!InRounded(x, y, w, h, r)) return outside;
        if (!InRounded(x - 1, y, w, h, r) || !InRounded(x + 1, y, w, h, r) || !InRounded(x, y - 1, w, h, r) ||
            !InRounded(x, y + 1, w, h, r))
            return rim;
        if (y == 1 || y == 2) return Mix(top, 0xFFFFFF, 1, 2);  // a highlight under the top rim
        return Mix(top, bottom, y, h - 1);
    }
};

constexpr Face kKeyFace[3] = {
    {82, 63, 6, 0x000000, 0x3A2A10, 0xFFC470, 0xF79421},
    {82, 63, 6, 0x000000, 0x3A2A10, 0xFFF2B0, 0xFFD34D},
    {82, 63, 6, 0x000000, 0x101010, 0x6A6A6A, 0x2E2E2E},
};
constexpr auto kKeyData0 = Paint<82, 63>(kKeyFace[0]);
constexpr auto kKeyData1 = Paint<82, 63>(kKeyFace[1]);
constexpr auto kKeyData2 = Paint<82, 63>(kKeyFace[2]);

// Value boxes sit on the lists' grey.
constexpr uint32_t kListGrey = 0x666666;
constexpr auto kBoxLongLightData = Paint<171, 25>(Face{171, 25, 3, kListGrey, 0x808080, 0xFFFFFF, 0xD8D8D8});
constexpr auto kBoxShortLightData = Paint<100, 25>(Face{100, 25, 3, kListGrey, 0x808080, 0xFFFFFF, 0xD8D8D8});
constexpr auto kBoxLongDarkData = Paint<171, 25>(Face{171, 25, 3, kListGrey, 0x101010, 0x4A4A4A, 0x262626});
constexpr auto kBoxShortDarkData = Paint<100, 25>(Face{100, 25, 3, kListGrey, 0x101010, 0x4A4A4A, 0x262626});

constexpr auto kBandData = Paint<670, 32>([](int, int y) -> uint32_t {
    if (y == 0) return 0x7A7A7A;
    if (y == 31) return 0x3C3C3C;
    return Mix(0x5E5E5E, 0x545454, y - 1, 29);
});
constexpr auto kStripData = Paint<185, 1>([](int x, int) -> uint32_t {
    return x < 92 ? Mix(0x3C3C3C, 0x8A8A8A, x, 92) : Mix(0x8A8A8A, 0x3C3C3C, x - 92, 92);
});
constexpr auto kSeparatorData =
    Paint<185, 2>([](int, int y) -> uint32_t { return y == 0 ? 0x2A2A2A : 0x9A9A9A; });

// A bar as one long face, cut into its caps and one middle column.
struct BarLook {
    int h, cap;
    uint32_t rim, top, bottom;
    constexpr Face AsFace() const { return Face{4 * cap + 1, h, cap, 0x000000, rim, top, bottom}; }
};
template <int H, int Cap>
struct BarData {
    std::array<uint8_t, Cap * H * 2> left, right;
    std::array<uint8_t, H * 2> middle;
};
template <int H, int Cap>
constexpr BarData<H, Cap> PaintBar(BarLook look) {
    const Face face = look.AsFace();
    const int width = face.w;
    return BarData<H, Cap>{Paint<Cap, H>([face](int x, int y) { return face(x, y); }),
                           Paint<Cap, H>([face, width](int x, int y) { return face(width - Cap + x, y); }),
                           Paint<1, H>([face, width](int, int y) { return face(width / 2, y); })};
}

constexpr auto kLabelBarData = PaintBar<21, 3>({21, 3, 0x7A4A10, 0xFFD9A0, 0xF79421});
constexpr auto kEditBarData = PaintBar<27, 4>({27, 4, 0x707070, 0x3A3A3A, 0x1A1A1A});
constexpr auto kSelectBarData = PaintBar<27, 4>({27, 4, 0x7A4A10, 0xFFE27A, 0xF7A81E});
constexpr auto kAccentData = Paint<1, 27>([](int, int y) -> uint32_t {
    const Face face = BarLook{27, 4, 0x7A4A10, 0xFFFFFF, 0xFFC24D}.AsFace();
    return face(face.w / 2, y);
});
constexpr auto kPanelBarData = PaintBar<30, 3>({30, 3, 0x808080, 0xF4F4F4, 0xCFCFCF});
constexpr auto kPanelBarOpenData = PaintBar<30, 3>({30, 3, 0x305070, 0xCFE6FF, 0x7FB0E6});

constexpr GUI_IMAGE kLabelBarImages[3] = {Image(3, 21, kLabelBarData.left.data()),
                                          Image(1, 21, kLabelBarData.middle.data()),
                                          Image(3, 21, kLabelBarData.right.data())};
constexpr GUI_IMAGE kEditBarImages[3] = {Image(4, 27, kEditBarData.left.data()),
                                         Image(1, 27, kEditBarData.middle.data()),
                                         Image(4, 27, kEditBarData.right.data())};
constexpr GUI_IMAGE kSelectBarImages[3] = {Image(4, 27, kSelectBarData.left.data()),
                                           Image(1, 27, kSelectBarData.middle.data()),
                                           Image(4, 27, kSelectBarData.right.data())};
constexpr GUI_IMAGE kPanelBarImages[3] = {Image(3, 30, kPanelBarData.left.data()),
                                          Image(1, 30, kPanelBarData.middle.data()),
                                          Image(3, 30, kPanelBarData.right.data())};
constexpr GUI_IMAGE kPanelBarOpenImages[3] = {Image(3, 30, kPanelBarOpenData.left.data()),
                                              Image(1, 30, kPanelBarOpenData.middle.data()),
                                              Image(3, 30, kPanelBarOpenData.right.data())};

constexpr int kContentW = 719, kContentH = 445;
const uint8_t* ContentData() {
    static const auto* data = [] {
        static std::array<uint8_t, kContentW * kContentH * 2> pixels;
        const Face face{kContentW, kContentH, 4, 0x000000, 0x50565E, 0x2A2F36, 0x121418};
        for (int y = 0; y < kContentH; ++y) {
            for (int x = 0; x < kContentW; ++x) {
                const uint16_t v = To565(face(x, y));
                pixels[2 * (y * kContentW + x)] = static_cast<uint8_t>(v);
                pixels[2 * (y * kContentW + x) + 1] = static_cast<uint8_t>(v >> 8);
            }
        }
        return pixels.data();
    }();
    return data;
}

}  // namespace

const GUI_IMAGE kSoftKeyFace[3] = {Image(82, 63, kKeyData0.data()), Image(82, 63, kKeyData1.data()),
                                   Image(82, 63, kKeyData2.data())};
const GUI_IMAGE kBoxLongLight = Image(171, 25, kBoxLongLightData.data());
const GUI_IMAGE kBoxShortLight = Image(100, 25, kBoxShortLightData.data());
const GUI_IMAGE kBoxLongDark = Image(171, 25, kBoxLongDarkData.data());
const GUI_IMAGE kBoxShortDark = Image(100, 25, kBoxShortDarkData.data());
const GUI_IMAGE kListRowBand = Image(670, 32, kBandData.data());
const GUI_IMAGE kStrip185 = Image(185, 1, kStripData.data());
const GUI_IMAGE kSeparator185 = Image(185, 2, kSeparatorData.data());
const GUI_IMAGE kSelectAccentMiddle = Image(1, 27, kAccentData.data());

const BarArt kLabelBar = {&kLabelBarImages[0], &kLabelBarImages[1], &kLabelBarImages[2]};
const BarArt kEditFieldBar = {&kEditBarImages[0], &kEditBarImages[1], &kEditBarImages[2]};
const BarArt kSelectFieldBar = {&kSelectBarImages[0], &kSelectBarImages[1], &kSelectBarImages[2]};
const BarArt kPanelBar30 = {&kPanelBarImages[0], &kPanelBarImages[1], &kPanelBarImages[2]};
const BarArt kPanelBar30Open = {&kPanelBarOpenImages[0], &kPanelBarOpenImages[1], &kPanelBarOpenImages[2]};

const GUI_IMAGE& ContentBackground() {
    static const GUI_IMAGE image = Image(kContentW, kContentH, ContentData());
    return image;
}

}  // namespace panel::art
