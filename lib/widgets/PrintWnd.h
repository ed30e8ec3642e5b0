#pragma once
// PrintWnd: copies the pixels of a window, a form, a form's client area, the active window or
// the screen into a picture, and prints a picture scaled to fill a printer page.
//
// Windows are found by handle among the application's own (QWidget::find); the handle 0 is
// the desktop, that is the primary screen. A client area is rendered by the widget itself
// (QWidget::grab), so a covered or off-screen window still gives its pixels; a whole window,
// frame included, is copied from the screen (QScreen::grabWindow), and rendered by the widget
// when the screen cannot give it. A handle of another application's window is copied from
// the screen. Pictures are true-colour: Qt converts whatever the display holds, so no
// palette travels with them. The part of a requested rectangle that the source cannot give
// (outside the window or the screen, a failed copy) is black.

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"

namespace orvo {

class PrintWnd final : public ComObject<PrintWnd, _PrintWnd> {
 public:
  static const DispatchTable& dispatchTable();

  // The picture of hBmp; an indexed bitmap takes hPal as its colour table when hPal is not
  // empty. A null bitmap gives an empty picture.
  HRESULT CreateBitmapPicture(const QImage& hBmp, const QList<uint32_t>& hPal,
                              QPixmap* result) override;
  // A WidthSrc x HeightSrc picture of the rectangle at (LeftSrc, TopSrc) of the window
  // hWndSrc: of its client area when Client is true (coordinates in the client area), of the
  // whole window, frame included, otherwise (coordinates from the frame's corner). An empty
  // picture when a size is 0 or negative; 6 when a size exceeds 32767 pixels.
  HRESULT CaptureWindow(WId hWndSrc, VARIANT_BOOL Client, int32_t LeftSrc, int32_t TopSrc,
                        int32_t WidthSrc, int32_t HeightSrc, QPixmap* result) override;
  // The whole primary screen.
  HRESULT CaptureScreen(QPixmap* result) override;
  // The whole form, frame included, clipped to its screen: a form partly off the screen gives
  // only its visible part (empty when nothing of it is visible). 1024 for a non-form.
  HRESULT CaptureForm(QWidget* frmSrc, QPixmap* result) override;
  // The form's client area. 1024 for a non-form.
  HRESULT CaptureClient(QWidget* frmSrc, QPixmap* result) override;
  // The whole active window of the application; an empty picture when none is active.
  HRESULT CaptureActiveWindow(QPixmap* result) override;
  // Sets the printer's orientation (landscape when Pic is wider than high, else portrait) and
  // paints Pic at the top-left corner of the printable area, as large as fits with its
  // proportions kept: the full width when it is relatively wider than the area, else the
  // full height. When the caller already paints on Prn the picture goes onto the current page
  // (the new orientation then applies from the next page) and the caller ends the page or
  // document; otherwise the member opens the printer, paints this one page and closes it,
  // which ends the document. 1025 when Prn is not a printer; 5 when Pic is missing or empty;
  // 482 "Erreur d'imprimante" when the printer cannot be opened.
  HRESULT PrintPictureToFitPage(QPrinter* Prn, QPixmap* Pic) override;
};

}  // namespace orvo
