#include "win/platform/GdiplusEncoder.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cwchar>
#include <system_error>
#include <vector>

namespace ov {

namespace gp = Gdiplus;
namespace gdip = Gdiplus::DllExports;
namespace fs = std::filesystem;

namespace {

// The quality parameter's identifier, spelled out so no GUID library is needed.
constexpr GUID kEncoderQuality = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

bool FindEncoder(const wchar_t* mime, CLSID* clsid) {
  UINT count = 0, bytes = 0;
  if (gdip::GdipGetImageEncodersSize(&count, &bytes) != gp::Ok || count == 0 || bytes == 0) return false;
  std::vector<unsigned char> buffer(bytes);
  auto* codecs = reinterpret_cast<gp::ImageCodecInfo*>(buffer.data());
  if (gdip::GdipGetImageEncoders(count, bytes, codecs) != gp::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, mime) == 0) {
      *clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

bool Save(const fs::path& source, const fs::path& target, const wchar_t* mime, const gp::EncoderParameters* params) {
  CLSID clsid;
  if (!FindEncoder(mime, &clsid)) return false;
  gp::GpImage* image = nullptr;
  if (gdip::GdipLoadImageFromFile(source.c_str(), &image) != gp::Ok || !image) return false;
  bool ok = gdip::GdipSaveImageToFile(image, target.c_str(), &clsid, params) == gp::Ok;
  // The source stays open until the image is gone; dispose before touching files.
  gdip::GdipDisposeImage(image);
  if (!ok) {
    std::error_code ec;
    fs::remove(target, ec);
  }
  return ok;
}

}  // namespace

bool GdiplusEncoder::SaveAsPng(const fs::path& source, const fs::path& target) {
  return Save(source, target, L"image/png", nullptr);
}

bool GdiplusEncoder::SaveAsJpeg(const fs::path& source, const fs::path& target, int quality) {
  ULONG value = static_cast<ULONG>(quality);
  gp::EncoderParameters params{};
  params.Count = 1;
  params.Parameter[0].Guid = kEncoderQuality;
  params.Parameter[0].Type = gp::EncoderParameterValueTypeLong;
  params.Parameter[0].NumberOfValues = 1;
  params.Parameter[0].Value = &value;
  return Save(source, target, L"image/jpeg", &params);
}

}  // namespace ov
