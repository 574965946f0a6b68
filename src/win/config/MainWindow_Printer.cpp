// The printer tab's preview: the chequered background alone while the page image
// renders, then the page scaled into the preview.
#include "win/config/MainWindow.h"

namespace ov {

void MainWindow::RenderPrintPreview() {
  if (!printer_ || preview_.Empty()) return;
  const bool visible = imagePreviewVisible_;
  imagePreviewVisible_ = false;
  RedrawWindow(previewPanel_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  printer_->RenderPrintImage(preview_, hwnd_);
  imagePreviewVisible_ = visible;
  InvalidateRect(previewPanel_, nullptr, FALSE);
}

}  // namespace ov
