#pragma once
// Where the picture grid's text column puts its three lines: the file name, then the
// picture size and the file size.
#include <cstdint>

namespace ov {

struct GridTextRows {
  int32_t nameTop = 0;  // from the top of the shrunk cell
  int32_t infoTop = 0;  // the first of the two information lines
};

// For a shrunk cell `height` high and text lines `lineHeight` high: the name `top` below
// the cell's top and the information `gap` below the name, as long as all three lines fit;
// otherwise the lines close up (the information right under the name, the block raised
// towards the top) so that the last line is not cut. Where even that is too tall the
// lines start at the top and the last one is cut.
GridTextRows PlaceGridText(int32_t height, int32_t lineHeight, int32_t top, int32_t gap);

}  // namespace ov
