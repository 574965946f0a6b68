#pragma once
// The wallpaper file: an uncompressed Windows BMP at 4, 8, 15 (5-5-5), 16 (5-6-5) or
// 24 bits per pixel, written without any platform bitmap object.
#include <cstdint>
#include <string>
#include <vector>

#include "core/render/Bitmap32.h"
#include "core/render/RowSpans.h"
#include "core/util/FileIo.h"

namespace ov {

enum class BmpDepth { Bits4, Bits8, Bits15, Bits16, Bits24 };

// The bytes of an encoded file, resized without being cleared first: the encoder writes
// every byte, and a fresh buffer of tens of megabytes then has its pages brought in by
// the bands that write it, on every core, instead of by a zeroing pass on one.
using FileBytes = std::vector<char, UninitializedAllocator<char>>;

// OutputPixelmode 0..4 ("4 位 (16 色)" .. "24 位 (真彩色)"); anything else is 24 bits.
BmpDepth BmpDepthFromPixelMode(int32_t mode);
int BitsPerPixel(BmpDepth depth);

// The whole file. 4 bits: an adaptive 16-colour palette with error diffusion; 8 bits:
// an adaptive palette with error diffusion; 15 bits: BI_RGB 5-5-5; 16 bits: BI_BITFIELDS
// 5-6-5 with its masks; 24 bits: BI_RGB. Alpha is dropped. Rows bottom-up, each padded
// to 4 bytes. An empty surface gives an empty string (no file can describe it).
std::string EncodeBmp(const TBitmap32& picture, BmpDepth depth);
// The same into `out`, whose buffer is reused when it is large enough (a wallpaper is
// rebuilt at the same size again and again). The rows are converted in bands side by side.
void EncodeBmpInto(std::string& out, const TBitmap32& picture, BmpDepth depth);
void EncodeBmpInto(FileBytes& out, const TBitmap32& picture, BmpDepth depth);
// Only the spans of the rows encoded again into `file`, which must be what this writer
// made of a surface of the picture's size at `depth` (one span per row). False, with
// `file` unchanged, when it is not, or at 4 and 8 bits, whose palette depends on every
// pixel: the caller encodes the whole picture then. With `changed`, it also gets the
// bytes that now differ from before, in file order, near ones joined, and what each of
// those ranges held before: what must be written over the file on disk that held the
// old bytes.
struct FileChanges {
  std::vector<ByteRange> ranges;
  std::vector<std::string> before;  // one per range
};
bool EncodeBmpSpans(std::string& file, const TBitmap32& picture, BmpDepth depth, const std::vector<RowSpan>& spans,
                    FileChanges* changed = nullptr);
bool EncodeBmpSpans(FileBytes& file, const TBitmap32& picture, BmpDepth depth, const std::vector<RowSpan>& spans,
                    FileChanges* changed = nullptr);

}  // namespace ov
