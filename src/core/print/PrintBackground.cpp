#include "core/print/PrintBackground.h"

#include "core/images/Compose.h"
#include "core/print/PrintPage.h"
#include "core/print/PrintRender.h"
#include "core/render/BmpWriter.h"
#include "core/render/Color.h"

namespace ov {

void ComposePrintBackground(TBitmap32& page, Settings& s, ImagePropsStore& props, const OverlayImage* overlay) {
  if (page.Empty()) return;
  if (const std::optional<Pixel> plain = PrintPlainBackground(s)) {
    // Whatever the bottom image would add is covered by the paper anyway.
    page.Clear(*plain);
    return;
  }
  PrintOverlayOverride overlayFromCheckBox(s);
  const Size size{page.Width(), page.Height()};
  const ComposeSettings compose = MakeComposeSettings(s, size, overlay);
  page.Clear(0xFF000000u | ToArgb(static_cast<uint32_t>(s.DesktopColor)));
  TBitmap32& bottom = props.BottomImage();
  if (!bottom.Empty())
    ComposeImage(page, bottom, props.Props(ImageSlot::Bottom), StretchFilter::Spline, ImageSlot::Bottom, true, compose);
  ComposeImage(page, props.ShownPicture(), props.Props(ImageSlot::Current), StretchFilter::Nearest, ImageSlot::Current,
               true, compose);
}

TBitmap32 RenderPrintPage(Settings& s, CalendarRenderer& renderer, ImagePropsStore& props, const OverlayImage* overlay,
                          std::optional<Size> devicePage, double displayDate, double today, int32_t* rowsOut) {
  const Size size = PageImageSize(devicePage, s.PrintZoomFactor);
  TBitmap32 background(size.width, size.height);
  ComposePrintBackground(background, s, props, overlay);
  TBitmap32 page;
  // A second drawing starts again from the background, so it is composed only once.
  const int32_t rows = RenderPrintPageRows(s.CheckPrintFullsizeCalendar, [&](int32_t n) {
    page = background;
    return RenderPrintCalendar(s, renderer, page, displayDate, today, n);
  });
  if (rowsOut) *rowsOut = rows;
  return page;
}

PrintImageSave SavePrintImage(const TBitmap32& page, const std::filesystem::path& previous,
                              const std::function<std::optional<std::filesystem::path>()>& makeTempFile,
                              const std::function<bool(const std::filesystem::path&, const std::string&)>& write,
                              const std::function<void(int milliseconds)>& wait) {
  PrintImageSave result;
  std::error_code ec;
  // A stale page file only wastes space; it is removed again when the program closes.
  if (!previous.empty()) std::filesystem::remove(previous, ec);
  const std::optional<std::filesystem::path> file = makeTempFile();
  if (!file) result.messages.push_back(kNoTempFileMessage);
  const std::string bmp = EncodeBmp(page, BmpDepth::Bits24);
  auto save = [&] { return file && !bmp.empty() && write(*file, bmp); };
  bool saved = save();
  if (!saved) {
    wait(1000);
    saved = save();
  }
  if (saved)
    result.file = *file;
  else
    result.messages.push_back(kPrintSaveFailedMessage);
  return result;
}

}  // namespace ov
