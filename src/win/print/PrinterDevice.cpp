#include "win/print/PrinterDevice.h"

#include <commdlg.h>

#include <cstring>

#include "core/print/PrintPage.h"
#include "core/render/BmpWriter.h"
#include "win/platform/Utf16.h"

namespace ov {

namespace {

constexpr size_t kFileHeaderBytes = 14;

uint32_t ReadU32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, sizeof v);
  return v;
}

// The printer's fixed page in device pixels.
std::optional<Size> DevicePage(HDC dc) {
  const int w = GetDeviceCaps(dc, HORZRES), h = GetDeviceCaps(dc, VERTRES);
  if (w <= 0 || h <= 0) return std::nullopt;
  return Size{w, h};
}

}  // namespace

// --- Dib24 ---

std::optional<Dib24> Dib24::FromSurface(const TBitmap32& picture) {
  Dib24 dib;
  dib.file_ = EncodeBmp(picture, BmpDepth::Bits24);
  if (dib.file_.size() < kFileHeaderBytes + sizeof(BITMAPINFOHEADER)) return std::nullopt;
  return dib;
}

std::optional<Dib24> Dib24::Load(IImageDecoder& decoder, const std::filesystem::path& file) {
  TBitmap32 picture;
  if (!decoder.Decode(picture, file).ok || picture.Empty()) return std::nullopt;
  return FromSurface(picture);
}

const BITMAPINFO* Dib24::Info() const {
  return reinterpret_cast<const BITMAPINFO*>(file_.data() + kFileHeaderBytes);
}
const void* Dib24::Bits() const { return file_.data() + ReadU32(file_, 10); }
int Dib24::Width() const { return Info()->bmiHeader.biWidth; }
int Dib24::Height() const {
  const LONG h = Info()->bmiHeader.biHeight;
  return h < 0 ? -h : h;
}

bool StretchBitmapToCanvas(const Dib24& bitmap, HDC canvas, const RECT& rect) {
  SetStretchBltMode(canvas, COLORONCOLOR);
  const int lines = StretchDIBits(canvas, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0,
                                  bitmap.Width(), bitmap.Height(), bitmap.Bits(), bitmap.Info(), DIB_RGB_COLORS,
                                  SRCCOPY);
  return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}

// --- PrinterDevice ---

PrinterDevice::~PrinterDevice() { Release(); }

void PrinterDevice::Release() {
  if (devMode_) GlobalFree(devMode_);
  if (devNames_) GlobalFree(devNames_);
  devMode_ = devNames_ = nullptr;
}

bool PrinterDevice::LoadDefaultPrinter() {
  Release();
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_RETURNDEFAULT;
  if (!PrintDlgW(&pd)) return false;
  devMode_ = pd.hDevMode;
  devNames_ = pd.hDevNames;
  if (devNames_) return true;
  Release();
  return false;
}

HDC PrinterDevice::CreatePrinterDc() {
  if (!devNames_) return nullptr;
  auto* names = static_cast<DEVNAMES*>(GlobalLock(devNames_));
  if (!names) return nullptr;
  const wchar_t* base = reinterpret_cast<const wchar_t*>(names);
  std::wstring driver = base + names->wDriverOffset;
  std::wstring device = base + names->wDeviceOffset;
  GlobalUnlock(devNames_);
  DEVMODEW* mode = devMode_ ? static_cast<DEVMODEW*>(GlobalLock(devMode_)) : nullptr;
  if (mode) {
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = static_cast<short>(landscape_ ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
  }
  HDC dc = CreateDCW(driver.c_str(), device.c_str(), nullptr, mode);
  if (mode) GlobalUnlock(devMode_);
  return dc;
}

std::optional<Size> PrinterDevice::PageSize() {
  for (int attempt = 0; attempt < 2; ++attempt) {
    // The printer kept from before may have gone; the default printer is asked next.
    if ((attempt > 0 || !devNames_) && !LoadDefaultPrinter()) return std::nullopt;
    if (HDC dc = CreatePrinterDc()) {
      const std::optional<Size> page = DevicePage(dc);
      DeleteDC(dc);
      if (page) return page;
    }
  }
  return std::nullopt;
}

bool PrinterDevice::ShowPrintDialog(HWND owner) {
  if (!devNames_ && !LoadDefaultPrinter()) return false;
  if (DEVMODEW* mode = devMode_ ? static_cast<DEVMODEW*>(GlobalLock(devMode_)) : nullptr) {
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = static_cast<short>(landscape_ ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
    GlobalUnlock(devMode_);
  }
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = owner;
  pd.hDevMode = devMode_;
  pd.hDevNames = devNames_;
  pd.Flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;
  pd.nCopies = 1;
  const BOOL ok = PrintDlgW(&pd);
  // The dialog may hand back new blocks, whether confirmed or not.
  devMode_ = pd.hDevMode;
  devNames_ = pd.hDevNames;
  if (!ok) return false;
  // The orientation chosen in the dialog is the one printed.
  if (DEVMODEW* mode = devMode_ ? static_cast<DEVMODEW*>(GlobalLock(devMode_)) : nullptr) {
    if (mode->dmFields & DM_ORIENTATION) landscape_ = mode->dmOrientation == DMORIENT_LANDSCAPE;
    GlobalUnlock(devMode_);
  }
  return true;
}

PrinterDevice::JobResult PrinterDevice::PrintPage(const Dib24& bitmap) {
  HDC dc = CreatePrinterDc();
  if (!dc) return JobResult::NoPrinter;
  JobResult result = JobResult::Failed;
  if (const std::optional<Size> page = DevicePage(dc)) {
    const std::wstring title = Widen(PrintJobTitle(*page));
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title.c_str();
    if (StartDocW(dc, &doc) > 0) {
      const RECT whole{0, 0, page->width, page->height};
      if (StartPage(dc) > 0 && StretchBitmapToCanvas(bitmap, dc, whole) && EndPage(dc) > 0) {
        if (EndDoc(dc) > 0) result = JobResult::Printed;
      } else {
        AbortDoc(dc);
      }
    }
  }
  DeleteDC(dc);
  return result;
}

}  // namespace ov
