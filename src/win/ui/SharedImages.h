#pragma once
// Pictures that several windows share: the 16 x 16 menu images, the caption-bar tile of
// the entry pop-up and its close-box image. Drawn in code at first use, freed at exit.
#include <windows.h>

#include <cstdint>

namespace ov {

// Menu image indexes.
enum MenuImage : int {
  kMenuImageTick = 0,         // a toggle that is on
  kMenuImageBlank = 1,
  kMenuImageRadioOff = 2,     // a choice that is not the current one
  kMenuImageRadioOn = 3,      // the current choice
  kMenuImageColorFirst = 4,   // 4..11: the eight colour-code swatches in table order
  kMenuImageCount = 12
};

class SharedImages {
 public:
  static SharedImages& Get();
  ~SharedImages();

  // A 32-bit premultiplied 16 x 16 menu image; owned here. Put it on a menu item with
  // SetMenuItemImage.
  HBITMAP MenuBitmap(int index);
  // Whether BITMAP is one of the menu images.
  bool IsMenuBitmap(HBITMAP bitmap) const;
  // The 40 x 20 tile the pop-up's caption bar is filled with.
  HBITMAP Tile32();
  // Image 0 of the icon list: the close box, drawn at the box's top-left.
  HBITMAP CloseIcon();
  // Colours of the eight colour codes (0xRRGGBB), for the swatches.
  void SetColorCodes(const uint32_t (&colors)[8]);

 private:
  SharedImages() = default;
  HBITMAP menu_[kMenuImageCount] = {};
  HBITMAP tile_ = nullptr;
  HBITMAP close_ = nullptr;
  uint32_t colors_[8] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0x000000, 0xFFFFFF};
};

// Gives a menu item one of the menu images. The item asks its owner window to draw it
// (HBMMENU_CALLBACK), which blends it with its alpha: some systems draw a 32-bit menu
// bitmap handed to them directly on a black square.
void SetMenuItemImage(MENUITEMINFOW& item, HBITMAP image);
// WM_MEASUREITEM and WM_DRAWITEM of such items, for every window of ours that owns a menu;
// false for any other message or item.
bool HandleMenuImageMessage(UINT msg, LPARAM lp);

// Tiles a bitmap over a rectangle of a device context, starting at its top-left corner.
void TileBitmap(HDC dc, const RECT& r, HBITMAP tile);
// Draws a premultiplied 32-bit bitmap with its alpha at (x, y), clipped to the DC.
void DrawAlphaBitmap(HDC dc, int x, int y, HBITMAP bitmap);

}  // namespace ov
