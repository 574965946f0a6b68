#include <gtest/gtest.h>

#include <vector>

#include "core/config/ConfigRules.h"
#include "core/config/NumericField.h"
#include "core/config/PreviewSchedule.h"
#include "core/config/SettingBindings.h"

namespace ov {
namespace {

// Stored opacity -> shown percent -> stored again, for each kind of percent field.
struct PercentCase {
  const char* control;
  int32_t stored, shown, storedBack;
};

TEST(ConfigRules, PercentFieldsRoundTripThroughTheBindingTable) {
  const PercentCase cases[] = {
      {"SpinCalendarAlpha", 82, 68, 81},  {"SpinCalendarAlpha", 255, 0, 255}, {"SpinCalendarAlpha", 0, 100, 0},
      {"SpinShadowAlpha", 96, 62, 96},    {"SpinWallpaperAlpha", 255, 0, 255}, {"SpinOverlayAlpha", 128, 50, 127},
      {"SpinOverlayAlpha", 255, 100, 255}, {"SpinOverlayAlpha", 0, 0, 0},
  };
  for (const auto& c : cases) {
    const SettingBinding* b = FindSettingBinding(c.control);
    ASSERT_NE(b, nullptr) << c.control;
    Settings s;
    s.*b->number = c.stored;
    EXPECT_EQ(ControlValueFor(*b, s), c.shown) << c.control << " " << c.stored;
    StoreControlValue(*b, s, c.shown);
    EXPECT_EQ(s.*b->number, c.storedBack) << c.control << " " << c.stored;
  }
  // After the first load a value no longer drifts: every percent survives store and load.
  for (int32_t p = 0; p <= 100; ++p) {
    EXPECT_EQ(AlphaToTransparencyPercent(TransparencyPercentToAlpha(p)), p);
    EXPECT_EQ(AlphaToOpacityPercent(OpacityPercentToAlpha(p)), p);
  }
  // Hand-edited values outside 0..255 show as the nearest end of the field.
  EXPECT_EQ(AlphaToTransparencyPercent(300), 0);
  EXPECT_EQ(AlphaToOpacityPercent(-4), 0);
}

TEST(ConfigRules, InvertedAndPlainBindings) {
  Settings s;
  s.CalendarFromStartOfMonth = false;
  EXPECT_EQ(ControlValueFor(*FindSettingBinding("CheckFloatingMonth"), s), 1);
  StoreControlValue(*FindSettingBinding("CheckFloatingMonth"), s, 0);
  EXPECT_TRUE(s.CalendarFromStartOfMonth);
  StoreControlValue(*FindSettingBinding("RadioCellImage"), s, 1);
  EXPECT_FALSE(s.UseColorForSkin);
  StoreControlValue(*FindSettingBinding("ComboOutputPixelFormat"), s, 2);
  EXPECT_EQ(s.OutputPixelmode, 2);
  ASSERT_NE(FindSettingBinding("CheckShowLunar"), nullptr);
  StoreControlValue(*FindSettingBinding("CheckShowLunar"), s, 1);
  EXPECT_TRUE(s.ShowLunar);
  ASSERT_NE(FindSettingBinding("CheckShowEventLines"), nullptr);
  StoreControlValue(*FindSettingBinding("CheckShowEventLines"), s, 0);
  EXPECT_FALSE(s.ShowEventLines);
  EXPECT_EQ(FindSettingBinding("NoSuchControl"), nullptr);
}

TEST(ConfigRules, ImageBindingsPickTheFieldByTag) {
  TImageProps p;
  StoreControlValue(*FindImagePropBinding(ControlKind::Numeric, 3), p, -25);
  EXPECT_DOUBLE_EQ(p.Gamma, -2.5);
  p.Gamma = 1.99;
  EXPECT_EQ(ControlValueFor(*FindImagePropBinding(ControlKind::Numeric, 3), p), 19);  // trunc(gamma * 10)
  StoreControlValue(*FindImagePropBinding(ControlKind::Numeric, 11), p, 40);
  EXPECT_EQ(p.Green, 40);
  StoreControlValue(*FindImagePropBinding(ControlKind::Check, 4), p, 1);
  EXPECT_TRUE(p.DisableOverlay);
  EXPECT_EQ(FindImagePropBinding(ControlKind::Check, 9), nullptr);
}

TEST(ConfigRules, SizeModeRadios) {
  TImageProps p;
  for (int tag = 1; tag <= 4; ++tag) {
    SetSizeMode(p, tag);
    EXPECT_EQ(SizeModeTag(p), tag);
  }
  SetSizeMode(p, 1);
  EXPECT_FALSE(p.Fit || p.Stretch || p.Tile);
}

TEST(ConfigRules, ZoomStepOffsetsAndWheel) {
  EXPECT_EQ(RescaleOffset(15, 100, 200), 30);
  EXPECT_EQ(RescaleOffset(15, 200, 100), 8);  // 7.5 rounds to even
  EXPECT_EQ(RescaleOffset(-15, 200, 100), -8);
  EXPECT_EQ(RescaleOffset(9, 0, 100), 9);
  const std::pair<int, int> steps[] = {{1, 1}, {137, 1}, {138, 2}, {200, 4}, {1000, 36}, {9999, 396}};
  for (auto [zoom, step] : steps) EXPECT_EQ(ZoomStep(zoom), step) << zoom;
  EXPECT_EQ(ZoomAfterWheel(100, true), 106);
  EXPECT_EQ(ZoomAfterWheel(100, false), 94);
  EXPECT_EQ(ZoomAfterWheel(9999, true), 9999);
  EXPECT_EQ(ZoomAfterWheel(1, false), 1);
}

TEST(ConfigRules, SwatchCaptionByIntensity) {
  EXPECT_EQ(SwatchCaptionColor(0xFFFFFF), kSwatchCaptionBlack);
  EXPECT_EQ(SwatchCaptionColor(0x000000), kSwatchCaptionWhite);
  EXPECT_EQ(SwatchCaptionColor(0x808080), kSwatchCaptionWhite);  // intensity 128
  EXPECT_EQ(SwatchCaptionColor(0x00E000), kSwatchCaptionBlack);  // pure green 224: 152
  EXPECT_EQ(SwatchCaptionColor(0xFF00FF), kSwatchCaptionWhite);  // magenta: 81
  // The threshold: grey 144 gives exactly 144, grey 143 gives 143.
  EXPECT_EQ(SwatchCaptionColor(0x909090), kSwatchCaptionBlack);
  EXPECT_EQ(SwatchCaptionColor(0x8F8F8F), kSwatchCaptionWhite);
}

// One numeric field per range used below; each step is typed text or an action, with
// the text and the value it must leave.
TEST(NumericFieldTest, TypedText) {
  struct Step {
    const char* typed;
    const char* text;
    int value;
    bool bold;
  };
  NumericField f(0, 100, 50);
  EXPECT_EQ(f.Text(), "50");
  EXPECT_TRUE(f.Bold());
  const Step steps[] = {
      {"120", "100", 100, false}, {"-", "-", 100, false}, {" 42 ", "42", 42, false}, {"007", "7", 7, false},
      {"0", "0", 0, false},       {"00", "00", 0, false}, {"abc", "abc", 0, false},  {"-5", "0", 0, false},
      {"50", "50", 50, true},     {"99999999999999", "100", 100, false},
  };
  for (const auto& s : steps) {
    f.TextChanged(s.typed);
    EXPECT_EQ(f.Text(), s.text) << s.typed;
    EXPECT_EQ(f.Position(), s.value) << s.typed;
    EXPECT_EQ(f.Bold(), s.bold) << s.typed;
  }
  f.SetPosition(33);
  f.TextChanged("-");
  EXPECT_EQ(f.Position(), 33);
  f.Exit();
  EXPECT_EQ(f.Text(), "33");
  EXPECT_EQ(f.BarPosition(), 33);
}

TEST(NumericFieldTest, ResetArrowsAndBar) {
  NumericField zoom(1, 9999, 100);
  zoom.SetPosition(250);
  EXPECT_FALSE(zoom.Bold());
  zoom.Reset();
  EXPECT_EQ(zoom.Position(), 100);
  EXPECT_TRUE(zoom.Bold());

  NumericField shadow(-50, 50, 6);
  shadow.SetPosition(0);
  shadow.Arrow(true, false, true);
  EXPECT_EQ(shadow.Position(), 10);
  shadow.Arrow(false, true, false);
  EXPECT_EQ(shadow.Position(), -50);
  shadow.Arrow(true, true, false);
  EXPECT_EQ(shadow.Position(), 50);
  shadow.Arrow(true, false, false);
  EXPECT_EQ(shadow.Position(), 50);

  zoom.SetStep(4);
  zoom.SetPosition(200);
  zoom.Arrow(true, false, false);
  EXPECT_EQ(zoom.Position(), 204);

  NumericField rows(1, 50, 6);
  rows.BarAt(0, 49);
  EXPECT_EQ(rows.Position(), 1);
  rows.BarAt(24, 49);
  EXPECT_EQ(rows.Position(), 25);  // 1 + round(24 / 49 * 49)
  rows.BarAt(80, 49);  // dragged past the bar's end
  EXPECT_EQ(rows.Position(), 50);
  rows.BarAt(-10, 49);
  EXPECT_EQ(rows.Position(), 1);
}

class RecordingHost : public IPreviewHost {
 public:
  void DrawPreview(PreviewQuality q, bool adjust) override { draws.push_back({now, q, adjust}); }
  void StartDelayTimer(uint32_t ms) override { dueAt = now + static_cast<int>(ms); }
  void StopDelayTimer() override { dueAt = -1; }
  // Lets time pass, firing the timer when it is due.
  void Advance(PreviewSchedule& schedule, int ms) {
    for (int i = 0; i < ms; ++i) {
      ++now;
      if (dueAt >= 0 && now >= dueAt) schedule.DelayElapsed();
    }
  }
  struct Draw {
    int at;
    PreviewQuality quality;
    bool adjust;
  };
  std::vector<Draw> draws;
  int now = 0;
  int dueAt = -1;
};

TEST(PreviewScheduleTest, BurstEndsInOneFullRedrawAfterTheLast) {
  RecordingHost host;
  PreviewSchedule schedule(host);
  for (int i = 0; i < 12; ++i) {
    schedule.Fast();
    host.Advance(schedule, 20);
  }
  int lastEdit = host.now - 20;
  host.Advance(schedule, 1000);
  ASSERT_EQ(host.draws.size(), 13u);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(host.draws[i].quality, PreviewQuality::Quick);
  EXPECT_EQ(host.draws[12].quality, PreviewQuality::Full);
  EXPECT_TRUE(host.draws[12].adjust);
  EXPECT_EQ(host.draws[12].at, lastEdit + 300);
  EXPECT_FALSE(schedule.Pending());

  // A drag draws without adjustments; a full redraw schedules nothing.
  host.draws.clear();
  schedule.Drag();
  EXPECT_FALSE(host.draws[0].adjust);
  schedule.Cancel();
  schedule.Full();
  host.Advance(schedule, 1000);
  EXPECT_EQ(host.draws.size(), 2u);
}

}  // namespace
}  // namespace ov
