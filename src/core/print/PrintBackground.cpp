#include "core/print/PrintBackground.h"

#include "core/images/Compose.h"
#include "core/print/PrintPage.h"
#include "core/print/PrintRender.h"
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

}  // namespace ov
