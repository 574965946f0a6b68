#include "core/images/ImagePropsStore.h"

#include <system_error>

#include "core/images/ImageChecksum.h"
#include "core/util/Paths.h"

namespace ov {

std::filesystem::path ImagePropsStore::PropsFileFor(const TBitmap32& picture) const {
  return folder_ / PathFromUtf8(ImagePropsFileName(picture));
}

void ImagePropsStore::ReadImageProps(const TBitmap32& picture, ImageSlot slot) {
  ReadImagePropsFile(PropsFileFor(picture), slot);
}

void ImagePropsStore::ReadImagePropsFile(const std::filesystem::path& file, ImageSlot slot) {
  Props(slot) = ImagePropsFromIni(ProfileIni::Load(file, codePage_), decimalSeparator_);
  if (slot == ImageSlot::Current) {
    if (onCurrentRead_) onCurrentRead_();
    modified_ = false;
  }
}

std::filesystem::path ImagePropsStore::WriteImageProps(const TBitmap32& picture) {
  std::filesystem::path file = PropsFileFor(picture);
  if (!modified_) return file;
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  ProfileIni ini = ProfileIni::Load(file, codePage_);
  ImagePropsToIni(Props(ImageSlot::Current), ini, decimalSeparator_);
  ini.Save(file, codePage_);  // a failed write keeps the old file; nothing else to do
  ReadImageProps(bottom_, ImageSlot::Bottom);
  modified_ = false;
  return file;
}

DecodeResult ImagePropsStore::LoadImageWithProperties(TBitmap32& surface, const std::filesystem::path& file,
                                                      ImageSlot slot) {
  if (slot == ImageSlot::Current && !shown_.Empty() && modified_) WriteImageProps(shown_);
  ++loads_;
  DecodeResult r = decoder_.Decode(surface, file);
  if (!r.ok) surface.SetSize(0, 0);
  ReadImageProps(surface, slot);
  return r;
}

bool ImagePropsStore::SetBottomImage(const std::string& fileUtf8) {
  bottomFile_ = fileUtf8;
  return LoadImageWithProperties(bottom_, PathFromUtf8(fileUtf8), ImageSlot::Bottom).ok;
}

void ImagePropsStore::ClearBottomImage() {
  bottomFile_.clear();
  bottom_.SetSize(0, 0);
  ++loads_;
}

}  // namespace ov
