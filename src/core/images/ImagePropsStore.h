#pragma once
// The two live property slots (current picture, bottom image), the pictures they belong
// to, and their properties files "CRC_xxxxxxxx.ini" in the ImageCRC folder.
#include <filesystem>
#include <cstdint>
#include <functional>
#include <string>

#include "core/images/ImageProps.h"
#include "core/platform/CodePage.h"
#include "core/platform/ImageDecoder.h"
#include "core/render/Bitmap32.h"

namespace ov {

class ImagePropsStore {
 public:
  ImagePropsStore(std::filesystem::path imageCrcFolder, IImageDecoder& decoder)
      : folder_(std::move(imageCrcFolder)), decoder_(decoder) {}
  // The properties files are read from and written to another folder from now on.
  void SetFolder(std::filesystem::path imageCrcFolder) { folder_ = std::move(imageCrcFolder); }

  // The user's decimal separator for Gamma, and the ANSI code page of the files.
  void SetDecimalSeparator(char sep) { decimalSeparator_ = sep; }
  void SetCodePage(const ICodePage* codePage) { codePage_ = codePage; }
  // Called whenever the current slot is read, so the image tab can show its values.
  void SetOnCurrentPropsRead(std::function<void()> f) { onCurrentRead_ = std::move(f); }

  TImageProps& Props(ImageSlot slot) { return slots_[Index(slot)]; }
  const TImageProps& Props(ImageSlot slot) const { return slots_[Index(slot)]; }

  // ImagePropsModified: the current slot holds edits not yet in its file.
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  // The picture shown in the image tab (its properties are the current slot) and the
  // bottom image (the bottom slot).
  TBitmap32& ShownPicture() { return shown_; }
  TBitmap32& BottomImage() { return bottom_; }
  const std::string& BottomImageFilename() const { return bottomFile_; }
  // Counts every load into a slot and every emptying of the bottom image: whatever keeps
  // a picture derived from the two surfaces drops it when this number moves.
  uint64_t PictureLoads() const { return loads_; }

  std::filesystem::path PropsFileFor(const TBitmap32& picture) const;

  // Resets the slot to the defaults and reads the picture's file (or the named file). A
  // missing or unreadable file leaves the defaults. Reading the current slot clears
  // Modified and tells the image tab.
  void ReadImageProps(const TBitmap32& picture, ImageSlot slot);
  void ReadImagePropsFile(const std::filesystem::path& file, ImageSlot slot);

  // Writes the current slot into the file of `picture` (the picture shown in the image
  // tab) when Modified, then re-reads the bottom slot from the bottom image's own file
  // (it may be the same picture) and clears Modified. Write failures are ignored: the
  // properties are a convenience and a full disk must not stop the program. Returns
  // the file name in every case.
  std::filesystem::path WriteImageProps(const TBitmap32& picture);

  // Saves the shown picture's unsaved edits first (loading into the current slot only),
  // decodes the file into the surface and reads its properties into the slot, even when
  // decoding failed (an empty picture reads the file of checksum ffffffff).
  DecodeResult LoadImageWithProperties(TBitmap32& surface, const std::filesystem::path& file,
                                       ImageSlot slot);

  // Loads the bottom image and its properties; the name is kept even when the picture
  // does not decode (the surface is then empty and the build skips it).
  bool SetBottomImage(const std::string& fileUtf8);
  // No bottom image: the name and the surface are emptied.
  void ClearBottomImage();

 private:
  static size_t Index(ImageSlot slot) { return slot == ImageSlot::Bottom ? 1 : 0; }

  std::filesystem::path folder_;
  IImageDecoder& decoder_;
  char decimalSeparator_ = '.';
  const ICodePage* codePage_ = nullptr;
  std::function<void()> onCurrentRead_;
  TImageProps slots_[2];
  bool modified_ = false;
  TBitmap32 shown_;
  TBitmap32 bottom_;
  std::string bottomFile_;
  uint64_t loads_ = 0;
};

}  // namespace ov
