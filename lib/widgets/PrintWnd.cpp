#include "lib/widgets/PrintWnd.h"

#include "lib/ErrorTable.h"
#include "lib/Global.h"
#include "lib/widgets/FormCheck.h"
#include "runtime/RuntimeError.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

namespace orvo {

// Late-bound arguments of the picture and printer members.

template <>
struct ArgumentConverter<const QImage&> {
  using Holder = QImage;
  static HRESULT load(Holder& h, const QVariant* in) {
    if (HRESULT hr = dispatch_detail::requireValue(in); failed(hr)) return hr;
    if (in->typeId() == QMetaType::QImage) {
      h = in->value<QImage>();
    } else if (in->typeId() == QMetaType::QPixmap) {
      h = in->value<QPixmap>().toImage();
    } else {
      return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
  }
  static const QImage& pass(Holder& h) { return h; }
  static void store(Holder&, QVariant*) {}
};

// A palette: missing or empty means none.
template <>
struct ArgumentConverter<const QList<uint32_t>&> {
  using Holder = QList<uint32_t>;
  static HRESULT load(Holder& h, const QVariant* in) {
    h.clear();
    if (!in || !in->isValid()) return S_OK;
    if (in->metaType() == QMetaType::fromType<QList<uint32_t>>()) {
      h = in->value<QList<uint32_t>>();
      return S_OK;
    }
    if (!in->canConvert<QVariantList>()) return DISP_E_TYPEMISMATCH;
    for (const QVariant& entry : in->toList()) {
      bool ok = false;
      const uint32_t colour = entry.toUInt(&ok);
      if (!ok) return DISP_E_TYPEMISMATCH;
      h.append(colour);
    }
    return S_OK;
  }
  static const QList<uint32_t>& pass(Holder& h) { return h; }
  static void store(Holder&, QVariant*) {}
};

// A picture by reference.
template <>
struct ArgumentConverter<QPixmap*> {
  using Holder = QPixmap;
  static HRESULT load(Holder& h, const QVariant* in) {
    if (HRESULT hr = dispatch_detail::requireValue(in); failed(hr)) return hr;
    if (in->typeId() == QMetaType::QPixmap) {
      h = in->value<QPixmap>();
    } else if (in->typeId() == QMetaType::QImage) {
      h = QPixmap::fromImage(in->value<QImage>());
    } else {
      return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
  }
  static QPixmap* pass(Holder& h) { return &h; }
  static void store(Holder& h, QVariant* out) {
    if (out) *out = QVariant::fromValue(h);
  }
};

// A printer: anything but a QPrinter* passes null, which the member refuses with 1025.
template <>
struct ArgumentConverter<QPrinter*> {
  using Holder = QPrinter*;
  static HRESULT load(Holder& h, const QVariant* in) {
    h = nullptr;
    if (in && in->metaType() == QMetaType::fromType<QPrinter*>()) h = in->value<QPrinter*>();
    return S_OK;
  }
  static QPrinter* pass(Holder& h) { return h; }
  static void store(Holder&, QVariant*) {}
};

namespace {

constexpr int32_t kLargestCapture = 32767;
constexpr int32_t kPrinterError = 482;

// The application's window of handle id, or null (the desktop, another application's window).
QWidget* ownWindow(WId id) {
  if (id == 0) return nullptr;
  QWidget* widget = QWidget::find(id);
  return widget ? widget->window() : nullptr;
}

QScreen* screenOf(const QWidget* widget) {
  QScreen* screen = widget ? widget->screen() : nullptr;
  return screen ? screen : QGuiApplication::primaryScreen();
}

// Copies the rectangle at global (x, y) from the screen holding it; null when it cannot.
QPixmap grabFromScreen(QScreen* screen, WId window, int x, int y, int width, int height) {
  if (!screen) return QPixmap();
  if (window == 0) {
    const QPoint origin = screen->geometry().topLeft();
    return screen->grabWindow(0, x - origin.x(), y - origin.y(), width, height);
  }
  return screen->grabWindow(window, x, y, width, height);
}

// The pixels of the source rectangle, drawn at where they fall on the width x height canvas.
QPixmap sourcePixels(WId id, bool client, int left, int top, int width, int height, QPoint& at) {
  at = QPoint(0, 0);
  QWidget* window = ownWindow(id);
  if (!window) return grabFromScreen(screenOf(nullptr), id, left, top, width, height);
  if (client) {
    // The widget paints its background past its edges: ask only for what lies within it.
    const QRect wanted(left, top, width, height);
    const QRect part = wanted & window->rect();
    if (part.isEmpty()) return QPixmap();
    at = part.topLeft() - wanted.topLeft();
    return window->grab(part);
  }
  const QRect frame = window->frameGeometry();
  const bool onScreen = window->isVisible() && !window->isMinimized();
  QPixmap pixels = onScreen ? grabFromScreen(screenOf(window), 0, frame.x() + left, frame.y() + top,
                                             width, height)
                            : QPixmap();
  if (!pixels.isNull()) return pixels;
  // The screen cannot give it (hidden or minimised, or a platform without screen copies): let
  // the window render its client area where it lies within the frame; the frame stays black.
  at = window->geometry().topLeft() - frame.topLeft() - QPoint(left, top);
  return window->grab();
}

QPixmap capture(WId id, bool client, int32_t left, int32_t top, int32_t width, int32_t height) {
  if (width > kLargestCapture || height > kLargestCapture) rt::raise(rt::ErrOverflow);
  if (width <= 0 || height <= 0) return QPixmap();
  QImage canvas(width, height, QImage::Format_RGB32);
  if (canvas.isNull()) rt::raise(rt::ErrOutOfMemory);
  canvas.fill(Qt::black);
  QPoint at;
  const QPixmap pixels = sourcePixels(id, client, left, top, width, height, at);
  if (!pixels.isNull()) {
    QPainter painter(&canvas);
    painter.drawPixmap(at, pixels);
  }
  return QPixmap::fromImage(canvas);
}

// The part of the form's window that lies on its screen: offset in the window and size.
QRect visiblePartOf(const QWidget* form) {
  const QRect frame = form->frameGeometry();
  const QRect screen = screenOf(form)->geometry();
  const int left = frame.x() - screen.x();
  const int top = frame.y() - screen.y();
  int width = left + frame.width() > screen.width() ? screen.width() - left : frame.width();
  int height = top + frame.height() > screen.height() ? screen.height() - top : frame.height();
  const int offsetX = left < 0 ? -left : 0;
  const int offsetY = top < 0 ? -top : 0;
  width -= offsetX;
  height -= offsetY;
  return QRect(offsetX, offsetY, width, height);
}

// Paints picture at the top-left corner of the printable area, fitted with its proportions.
void paintFitted(QPainter& painter, QPrinter& printer, const QPixmap& picture) {
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  const QPointF origin = printer.fullPage() ? page.topLeft() : QPointF(0, 0);
  const double pictureRatio = double(picture.width()) / picture.height();
  const double pageRatio = page.width() / page.height();
  QSizeF size;
  if (pictureRatio >= pageRatio) {
    size = QSizeF(page.width(), page.width() / pictureRatio);
  } else {
    size = QSizeF(page.height() * pictureRatio, page.height());
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(QRectF(origin, size), picture, QRectF(picture.rect()));
}

}  // namespace

const DispatchTable& PrintWnd::dispatchTable() {
  static const DispatchTable table{
      method<&_PrintWnd::CreateBitmapPicture>("CreateBitmapPicture"),
      method<&_PrintWnd::CaptureWindow>("CaptureWindow"),
      method<&_PrintWnd::CaptureScreen>("CaptureScreen"),
      method<&_PrintWnd::CaptureForm>("CaptureForm"),
      method<&_PrintWnd::CaptureClient>("CaptureClient"),
      method<&_PrintWnd::CaptureActiveWindow>("CaptureActiveWindow"),
      procedure<&_PrintWnd::PrintPictureToFitPage>("PrintPictureToFitPage"),
  };
  return table;
}

HRESULT PrintWnd::CreateBitmapPicture(const QImage& hBmp, const QList<uint32_t>& hPal,
                                      QPixmap* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    QImage image = hBmp;
    const bool indexed = image.format() == QImage::Format_Indexed8 ||
                         image.format() == QImage::Format_Mono ||
                         image.format() == QImage::Format_MonoLSB;
    if (indexed && !hPal.isEmpty()) image.setColorTable(hPal);
    *result = QPixmap::fromImage(image);
  });
}

HRESULT PrintWnd::CaptureWindow(WId hWndSrc, VARIANT_BOOL Client, int32_t LeftSrc, int32_t TopSrc,
                                int32_t WidthSrc, int32_t HeightSrc, QPixmap* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember(
      [&] { *result = capture(hWndSrc, Client != VARIANT_FALSE, LeftSrc, TopSrc, WidthSrc, HeightSrc); });
}

HRESULT PrintWnd::CaptureScreen(QPixmap* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize();
    *result = capture(0, false, 0, 0, size.width(), size.height());
  });
}

HRESULT PrintWnd::CaptureForm(QWidget* frmSrc, QPixmap* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    CheckFormArgument(frmSrc);
    const QRect part = visiblePartOf(frmSrc);
    *result = capture(frmSrc->winId(), false, part.x(), part.y(), part.width(), part.height());
  });
}

HRESULT PrintWnd::CaptureClient(QWidget* frmSrc, QPixmap* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    CheckFormArgument(frmSrc);
    *result = capture(frmSrc->winId(), true, 0, 0, frmSrc->width(), frmSrc->height());
  });
}

HRESULT PrintWnd::CaptureActiveWindow(QPixmap* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    QWidget* active = QApplication::activeWindow();
    if (!active) {
      *result = QPixmap();
      return;
    }
    const QRect frame = active->frameGeometry();
    *result = capture(active->winId(), false, 0, 0, frame.width(), frame.height());
  });
}

HRESULT PrintWnd::PrintPictureToFitPage(QPrinter* Prn, QPixmap* Pic) {
  return rt::com::callMember([&] {
    if (!Prn) raiseLibraryError(ErrPrinterRequired);
    if (!Pic || Pic->isNull() || Pic->width() <= 0 || Pic->height() <= 0) {
      rt::raise(rt::ErrInvalidArgument, LibraryTitle(), rt::errorDescription(rt::ErrInvalidArgument));
    }
    const QPixmap picture = *Pic;
    Prn->setPageOrientation(picture.height() < picture.width() ? QPageLayout::Landscape
                                                               : QPageLayout::Portrait);
    if (Prn->paintingActive()) {
      QPainter* painter = Prn->paintEngine() ? Prn->paintEngine()->painter() : nullptr;
      if (!painter) rt::raise(kPrinterError, LibraryTitle(), QStringLiteral("Erreur d'imprimante"));
      painter->save();
      paintFitted(*painter, *Prn, picture);
      painter->restore();
      return;
    }
    QPainter painter;
    if (!painter.begin(Prn)) rt::raise(kPrinterError, LibraryTitle(), QStringLiteral("Erreur d'imprimante"));
    paintFitted(painter, *Prn, picture);
    painter.end();
  });
}

}  // namespace orvo
