// The printer tab's preview: the chequered background alone while the page image
// renders, then the page scaled into the preview.
#include "win/config/MainWindow.h"

namespace ov {

void MainWindow::RenderPrintPreview() {
  if (!printer_ || preview_.Empty()) return;
  // The preview comes back whatever the rendering does, an exception included.
  struct Hidden {
    MainWindow& w;
    const bool visible;
    ~Hidden() {
      w.imagePreviewVisible_ = visible;
      InvalidateRect(w.previewPanel_, nullptr, FALSE);
    }
  } hidden{*this, imagePreviewVisible_};
  imagePreviewVisible_ = false;
  RedrawWindow(previewPanel_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  printer_->RenderPrintImage(preview_, hwnd_);
}

}  // namespace ov
