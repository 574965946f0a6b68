#pragma once
// The program's printer: the system's default printer (or the one last chosen in the
// print dialog) with the page orientation the printer tab asks for, its page size in
// device pixels, and one-page print jobs of a device-independent bitmap.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "core/platform/ImageDecoder.h"
#include "core/util/Rect.h"

namespace ov {

// A 24-bit device-independent bitmap held in memory: the BMP file's info header and its
// bits, bottom-up rows padded to 4 bytes. No device handle is kept.
class Dib24 {
 public:
  // Any picture the decoder reads, converted to 24 bits; nullopt when it cannot be read.
  static std::optional<Dib24> Load(IImageDecoder& decoder, const std::filesystem::path& file);
  static std::optional<Dib24> FromSurface(const TBitmap32& picture);
  const BITMAPINFO* Info() const;
  const void* Bits() const;
  int Width() const;
  int Height() const;

 private:
  std::string file_;  // the whole BMP file, headers first
};

// Draws the bitmap stretched into rect of the canvas, copying pixels without blending.
// False when the device refused it.
bool StretchBitmapToCanvas(const Dib24& bitmap, HDC canvas, const RECT& rect);

class PrinterDevice {
 public:
  PrinterDevice() = default;
  ~PrinterDevice();
  PrinterDevice(const PrinterDevice&) = delete;
  PrinterDevice& operator=(const PrinterDevice&) = delete;

  // The orientation of the pages measured and printed from now on.
  void SetLandscape(bool landscape) { landscape_ = landscape; }
  // The printable page in device pixels for the current orientation; nullopt when no
  // printer is installed or the printer does not answer.
  std::optional<Size> PageSize();

  // The system print dialog for the current printer and orientation. True when the user
  // confirmed it; the printer and settings chosen there are kept for the job.
  bool ShowPrintDialog(HWND owner);

  // One job of one page, titled "Orvinta Image (W x H)" with the page size: the bitmap
  // stretched over the whole printable page. A job that fails after it started is
  // aborted, so no half page comes out.
  enum class JobResult { Printed, NoPrinter, Failed };
  JobResult PrintPage(const Dib24& bitmap);

 private:
  bool LoadDefaultPrinter();
  void Release();
  // A device context of the kept printer with the orientation applied.
  HDC CreatePrinterDc();

  HGLOBAL devMode_ = nullptr;
  HGLOBAL devNames_ = nullptr;
  bool landscape_ = true;
};

}  // namespace ov
