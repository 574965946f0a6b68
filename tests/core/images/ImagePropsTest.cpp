#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/images/ImageProps.h"

namespace ov {
namespace {

TImageProps Read(const std::string& text, char sep = '.') { return ImagePropsFromIni(ProfileIni::Parse(text), sep); }

TEST(ImageProps, MissingKeysGiveTheDefaults) {
  TImageProps p = Read("");
  EXPECT_TRUE(p.Fit);
  EXPECT_FALSE(p.Stretch || p.Tile || p.FlipHorz || p.GrayScale || p.Equalize || p.DisableOverlay);
  EXPECT_EQ(p.Zoom, 100);
  EXPECT_EQ(p.OffsetX, 0);
  EXPECT_EQ(p.Gamma, 0.0);
  EXPECT_EQ(p, TImageProps{});
}

TEST(ImageProps, WritesEveryKeyInTableOrderAndReadsItBack) {
  TImageProps p;
  p.Fit = false;
  p.Tile = true;
  p.Zoom = 250;
  p.OffsetX = -9999;
  p.OffsetY = 42;
  p.FlipHorz = p.GrayScale = p.Equalize = p.DisableOverlay = true;
  p.Contrast = -100;
  p.Brightness = 100;
  p.Gamma = -0.3;
  p.Red = 5;
  p.Green = -6;
  p.Blue = 7;
  ProfileIni ini;
  ImagePropsToIni(p, ini);
  EXPECT_EQ(ini.Serialize(),
            "[Misc]\r\nVer=30\r\n"
            "[Size]\r\nstretch2=0\r\nstretch3=0\r\nstretch4=1\r\nMagnify=250\r\nOffsetX=-9999\r\nOffsetY=42\r\n"
            "FlipHorz=1\r\n"
            "[Color]\r\nGrayScale=1\r\nEqualize=1\r\nDisableOverlay=1\r\nContrast=-100\r\nBrightness=100\r\n"
            "Gamma=-0.3\r\nRed=5\r\nGreen=-6\r\nBlue=7\r\n");
  EXPECT_EQ(ImagePropsFromIni(ini), p);
}

TEST(ImageProps, OldFilesStoredColourValuesAroundTwoHundredFiftyFive) {
  const std::string size = "[Size]\nMagnify=100\n";
  const std::string colour = "[Color]\nContrast=510\nBrightness=255\nRed=0\nGreen=128\nBlue=1\n";
  // A Size section and no version: the old form, converted.
  TImageProps old = Read(size + colour);
  EXPECT_EQ(old.Contrast, 100);
  EXPECT_EQ(old.Brightness, 0);
  EXPECT_EQ(old.Red, -100);
  EXPECT_EQ(old.Green, -50);  // Trunc(50.19) - 100
  EXPECT_EQ(old.Blue, -100);  // Trunc(0.39) - 100

  // Version 30: used exactly as stored, even out of the usual range.
  EXPECT_EQ(Read("[Misc]\nVer=30\n" + size + colour).Contrast, 510);
  // A Misc section without Ver counts as version 30.
  EXPECT_EQ(Read("[Misc]\n" + size + colour).Contrast, 510);
  // An older version number converts.
  EXPECT_EQ(Read("[Misc]\nVer=20\n" + size + colour).Contrast, 100);
  // Without a Size section nothing is converted.
  EXPECT_EQ(Read(colour).Contrast, 510);
  // Negative old values stay arithmetic, not undefined.
  EXPECT_EQ(Read(size + "[Color]\nContrast=-2147483648\n").Contrast, -842150550);
}

TEST(ImageProps, JunkValuesReadAsDefaultsOrAsStored) {
  TImageProps p = Read(
      "[Misc]\nVer=30\n[Size]\nstretch2=yes\nstretch3=2\nMagnify=0\nOffsetX=99999999999\nOffsetY=$10\n"
      "FlipHorz=-1\n[Color]\nContrast=-5000\nBrightness=abc\nGamma=1e300\nRed= 12 \nGreen=0x1F\nBlue=1.5\n");
  EXPECT_TRUE(p.Fit);       // not a number: default
  EXPECT_TRUE(p.Stretch);   // any non-zero number is true
  EXPECT_TRUE(p.FlipHorz);
  EXPECT_EQ(p.Zoom, 0);     // kept as stored; drawing holds it
  EXPECT_EQ(p.OffsetX, 0);  // beyond 32 bits: default
  EXPECT_EQ(p.OffsetY, 16);
  EXPECT_EQ(p.Contrast, -5000);
  EXPECT_EQ(p.Brightness, 0);
  EXPECT_EQ(p.Gamma, 1e300);
  EXPECT_EQ(p.Red, 12);
  EXPECT_EQ(p.Green, 31);
  EXPECT_EQ(p.Blue, 0);
  EXPECT_EQ(Read("[Color]\nGamma=nan\n").Gamma, 0.0);
  EXPECT_EQ(Read("[Color]\nGamma=inf\n").Gamma, 0.0);
  EXPECT_EQ(Read("[Color]\nGamma=1e999\n").Gamma, 0.0);
}

TEST(ImageProps, GammaUsesTheUsersDecimalSeparator) {
  EXPECT_EQ(FormatGamma(0, '.'), "0");
  EXPECT_EQ(FormatGamma(-0.0, '.'), "0");
  EXPECT_EQ(FormatGamma(1.5, ','), "1,5");
  EXPECT_EQ(FormatGamma(-0.3, '.'), "-0.3");
  EXPECT_EQ(FormatGamma(10, '.'), "10");
  EXPECT_EQ(FormatGamma(-7.2, ','), "-7,2");
  for (int pos = -100; pos <= 100; ++pos) {
    double g = pos / 10.0;
    EXPECT_EQ(ParseGamma(FormatGamma(g, ','), ','), g) << pos;
  }
  EXPECT_EQ(ParseGamma("1.5", ','), 1.5) << "a file from a locale with a point still reads";
  EXPECT_EQ(ParseGamma("+2", '.'), 2.0);
  EXPECT_EQ(ParseGamma("", '.'), std::nullopt);
  EXPECT_EQ(ParseGamma("1.5x", '.'), std::nullopt);
  EXPECT_EQ(Read("[Color]\nGamma=0,7\n", ',').Gamma, 0.7);
}

TEST(ImageProps, WorkingValuesHoldOnlyWhatBreaksTheArithmetic) {
  TImageProps p;
  p.Zoom = 0;
  p.Gamma = 1e300;
  p.Contrast = 510;
  p.OffsetX = INT32_MAX;
  TImageProps w = WorkingImageProps(p);
  EXPECT_EQ(w.Zoom, 1);
  EXPECT_EQ(w.Gamma, kMaxWorkingGamma);
  EXPECT_EQ(w.Contrast, 510);
  EXPECT_EQ(w.OffsetX, INT32_MAX);  // placement computes in 64 bits

  p.Zoom = 99999;
  p.Gamma = -std::numeric_limits<double>::infinity();
  w = WorkingImageProps(p);
  EXPECT_EQ(w.Zoom, 99999);
  EXPECT_EQ(w.Gamma, -kMaxWorkingGamma);
  p.Zoom = INT32_MAX;
  p.Gamma = std::nan("");
  w = WorkingImageProps(p);
  EXPECT_EQ(w.Zoom, kMaxWorkingZoom);
  EXPECT_EQ(w.Gamma, 0.0);
  p = TImageProps{};
  p.Gamma = -10;
  EXPECT_EQ(WorkingImageProps(p), p);
}

}  // namespace
}  // namespace ov
