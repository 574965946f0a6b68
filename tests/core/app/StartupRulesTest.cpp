#include <gtest/gtest.h>

#include "core/app/CommandLine.h"
#include "core/app/DataFolders.h"
#include "core/app/SizingRules.h"
#include "core/app/VersionText.h"
#include "core/app/WindowPlacement.h"

namespace ov {
namespace {

TEST(CommandLine, SwitchesAreLowerCasedAndComparedWhole) {
  EXPECT_TRUE(ParseCommandLine({"/QUIT"}).quitAfterUpdate);
  EXPECT_TRUE(ParseCommandLine({"/Quit"}).quitAfterUpdate);
  EXPECT_FALSE(ParseCommandLine({"/quitx"}).quitAfterUpdate);
  EXPECT_FALSE(ParseCommandLine({"quit"}).quitAfterUpdate);
  EXPECT_FALSE(ParseCommandLine({}).quitAfterUpdate);
  EXPECT_TRUE(ParseCommandLine({"/CLOSE"}).closeRunning);
  EXPECT_FALSE(ParseCommandLine({"/close"}).uninstall);
  EXPECT_TRUE(ParseCommandLine({"/Uninstall"}).uninstall);
  EXPECT_TRUE(ParseCommandLine({"/uninstall"}).closeRunning);
  EXPECT_FALSE(ParseCommandLine({"/closed"}).closeRunning);
  EXPECT_FALSE(ParseCommandLine({"/quit"}).closeRunning);
}

TEST(CommandLine, DelayTakesTheNextArgument) {
  EXPECT_EQ(ParseCommandLine({"/delay", "30"}).startupDelaySeconds, 30);
  EXPECT_EQ(ParseCommandLine({"/DELAY", "2", "/quit"}).startupDelaySeconds, 2);
  EXPECT_EQ(ParseCommandLine({"/delay"}).startupDelaySeconds, 0);         // last argument: ignored
  EXPECT_EQ(ParseCommandLine({"/delay", "soon"}).startupDelaySeconds, 0);  // not a number
  EXPECT_EQ(ParseCommandLine({"/delay", "-4"}).startupDelaySeconds, -4);   // negative: no sleep
  // The value after /delay is looked at again as an ordinary argument.
  CommandLineOptions o = ParseCommandLine({"/delay", "/quit"});
  EXPECT_TRUE(o.quitAfterUpdate);
  EXPECT_EQ(o.startupDelaySeconds, 0);
}

TEST(VersionText, BuiltFromTheFourPartsAndFlags) {
  FileVersion v{3, 1, 4, 159};
  EXPECT_EQ(FormatVersionText(v), "Version 3.1.4 (build 159)");
  v.preRelease = v.specialBuild = v.privateBuild = true;
  EXPECT_EQ(FormatVersionText(v), "Version 3.1.4 (build 159) [BETA] [Special] [PRIVATE]");
  v = FileVersion{3, 0, 0, 1};
  v.privateBuild = true;
  EXPECT_EQ(MainWindowCaption(v), "Orvinta3 - Version 3.0.0 (build 1) [PRIVATE]");
  EXPECT_EQ(AboutProgramLabel(FileVersion{3, 0, 0, 1}), "Orvinta - Version 3.0.0 (build 1)");
}

TEST(DataFolders, UnderApplicationDataOrBesideTheProgram) {
  DataFolders f = ResolveDataFolders("/prog", "/tmp", "/home/u/AppData");
  EXPECT_EQ(f.dataFolder, std::filesystem::path("/home/u/AppData") / "Quenlar" / "Orvinta");
  EXPECT_EQ(f.EntriesFolder(), f.dataFolder / "Entries");
  EXPECT_EQ(f.SkinImagesFolder(), std::filesystem::path("/prog") / "Skin Images");
  EXPECT_EQ(ResolveDataFolders("/prog", "/tmp", "").dataFolder, std::filesystem::path("/prog"));
}

TEST(DataFolders, DefaultImagesPathFallsBackInOrder) {
  EXPECT_EQ(DefaultImagesPath("C:\\Users\\u\\Pictures", "C:\\Docs"), "C:\\Users\\u\\Pictures\\Wallpaper Images\\");
  EXPECT_EQ(DefaultImagesPath("", "C:\\Docs\\"), "C:\\Docs\\Wallpaper Images\\");
  EXPECT_EQ(DefaultImagesPath("", ""), "c:\\Wallpaper Images\\");
}

TEST(SizingRules, DraggedEdgeMovesToKeepTheLimits) {
  Rect r{100, 100, 300, 200};  // 200 x 100, minimum 532 x 360
  EXPECT_EQ(ClampSizingRect(r, SizingEdge::Right, 532, 360, 0, 0), (Rect{100, 100, 632, 200}));
  EXPECT_EQ(ClampSizingRect(r, SizingEdge::Left, 532, 360, 0, 0), (Rect{-232, 100, 300, 200}));
  EXPECT_EQ(ClampSizingRect(r, SizingEdge::Top, 532, 360, 0, 0), (Rect{100, -160, 300, 200}));
  EXPECT_EQ(ClampSizingRect(r, SizingEdge::BottomRight, 532, 360, 0, 0), (Rect{100, 100, 632, 460}));
  EXPECT_EQ(ClampSizingRect(r, SizingEdge::TopLeft, 532, 360, 0, 0), (Rect{-232, -160, 300, 200}));
  // Maximum limits, and 0 meaning none.
  EXPECT_EQ(ClampSizingRect({0, 0, 900, 900}, SizingEdge::BottomLeft, 0, 0, 800, 0), (Rect{100, 0, 900, 900}));
  EXPECT_EQ(ClampSizingRect({0, 0, 50, 50}, SizingEdge::Right, 0, 0, 0, 0), (Rect{0, 0, 50, 50}));
}

TEST(WindowPlacement, KeepsARectangleThatIsOnAScreen) {
  std::vector<Rect> screens{{0, 0, 1920, 1040}, {1920, 0, 3840, 1080}};
  WindowPlacementValues p{2000, 100, 700, 600, "wsMaximized"};
  WindowPlacementValues out = FitPlacementToScreens(p, screens, {600, 569}, {532, 360});
  EXPECT_EQ(out.left, 2000);
  EXPECT_EQ(out.width, 700);
  EXPECT_EQ(out.state, "wsMaximized");
}

TEST(WindowPlacement, BringsBackARectangleOffEveryScreen) {
  std::vector<Rect> screens{{0, 0, 1920, 1040}};
  for (WindowPlacementValues p : {WindowPlacementValues{-30000, -30000, 600, 569, "wsNormal"},
                                  WindowPlacementValues{5000, 100, 600, 569, "wsNormal"},
                                  WindowPlacementValues{100, 100, 0, -5, "wsNormal"},
                                  WindowPlacementValues{100, 100, 2000000000, 600, "wsNormal"}}) {
    WindowPlacementValues out = FitPlacementToScreens(p, screens, {600, 569}, {532, 360});
    EXPECT_EQ(out.width, 600);
    EXPECT_EQ(out.height, 569);
    EXPECT_EQ(out.left, (1920 - 600) / 2);
    EXPECT_EQ(out.top, (1040 - 569) / 2);
  }
}

TEST(WindowPlacement, UnknownStateAndTooSmallSize) {
  std::vector<Rect> screens{{0, 0, 1280, 1024}};
  WindowPlacementValues out = FitPlacementToScreens({10, 10, 100, 50, "wsFullScreen"}, screens, {600, 569}, {532, 360});
  EXPECT_EQ(out.state, "wsNormal");
  EXPECT_EQ(out.width, 532);
  EXPECT_EQ(out.height, 360);
  EXPECT_EQ(out.left, 10);
}

}  // namespace
}  // namespace ov
