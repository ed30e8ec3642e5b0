// PrintWnd, created by class identifier: captures of offscreen windows, and pictures printed
// into PDF files whose pages are rendered back (pdftoppm) and measured.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/RuntimeError.h"
#include "tests/lib/LibTestSupport.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

#include <cmath>
#include <memory>

using libtest::callSlot;
using libtest::kFirstMemberSlot;
using rt::com::ComPtr;

namespace {

constexpr double kMarginMm = 10.0;
constexpr int kRenderDpi = 50;

class PrintWndTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(rt::com::createInstance(CLSID_PrintWnd, print_), S_OK); }

  int32_t raisedNumber(HRESULT status) {
    try {
      rt::com::raiseOnFailure(status, print_.get());
    } catch (const rt::RuntimeError& e) {
      return e.number();
    }
    return 0;
  }

  ComPtr<_PrintWnd> print_;
};

std::unique_ptr<QPrinter> pdfPrinter(const QString& file) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(file);
  printer->setPageSize(QPageSize(QPageSize::A4));
  printer->setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
  return printer;
}

QPixmap solid(int width, int height, const QColor& colour) {
  QPixmap pixmap(width, height);
  pixmap.fill(colour);
  return pixmap;
}

// The first page of a PDF rendered at kRenderDpi; a null image when it cannot be rendered.
QImage renderedPage(const QString& pdf) {
  const QString base = pdf + QStringLiteral("-page");
  const int status = QProcess::execute(QStringLiteral("pdftoppm"),
                                       {QStringLiteral("-r"), QString::number(kRenderDpi), QStringLiteral("-png"),
                                        QStringLiteral("-singlefile"), pdf, base});
  return status == 0 ? QImage(base + QStringLiteral(".png")) : QImage();
}

// The bounding box of the pixels that are clearly not white.
QRect paintedArea(const QImage& page) {
  QRect box;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      if (qGray(page.pixel(x, y)) < 200) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

double mmToRenderedPixels(double mm) { return mm / 25.4 * kRenderDpi; }

// A form painted red, holding a blue square at (20, 30) of 10 x 10.
std::unique_ptr<QWidget> paintedForm(const QRect& geometry) {
  auto form = std::make_unique<QWidget>();
  form->setGeometry(geometry);
  form->setAutoFillBackground(true);
  QPalette red = form->palette();
  red.setColor(QPalette::Window, Qt::red);
  form->setPalette(red);
  auto* square = new QWidget(form.get());
  square->setGeometry(20, 30, 10, 10);
  square->setAutoFillBackground(true);
  QPalette blue = square->palette();
  blue.setColor(QPalette::Window, Qt::blue);
  square->setPalette(blue);
  form->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  return form;
}

QColor pixelAt(const QPixmap& pixmap, int x, int y) { return pixmap.toImage().pixelColor(x, y); }

}  // namespace

TEST_F(PrintWndTest, MembersSitAtTheirBindingPlaces) {
  auto form = paintedForm(QRect(50, 50, 120, 80));
  QPixmap picture;
  ASSERT_EQ((callSlot<QWidget*, QPixmap*>(print_.get(), kFirstMemberSlot + 4, form.get(), &picture)), S_OK);
  EXPECT_EQ(picture.size(), QSize(120, 80));  // CaptureClient, fifth
  ASSERT_EQ((callSlot<QPrinter*, QPixmap*>(print_.get(), kFirstMemberSlot + 6, static_cast<QPrinter*>(nullptr),
                                           &picture)),
            errorStatus(1025));  // PrintPictureToFitPage, seventh
}

TEST_F(PrintWndTest, PrintedPictureFillsThePageWithItsProportions) {
  struct Case {
    QSize picture;
    QPageLayout::Orientation orientation;
    bool fillsWidth;
  };
  const Case cases[] = {{QSize(400, 100), QPageLayout::Landscape, true},
                        {QSize(100, 400), QPageLayout::Portrait, false},
                        {QSize(200, 200), QPageLayout::Portrait, true}};
  const QString dir = testsupport::makeTempDir(QStringLiteral("print"));
  const bool canRender = !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture.width());
    const QString pdf = dir + QStringLiteral("/%1x%2.pdf").arg(c.picture.width()).arg(c.picture.height());
    auto printer = pdfPrinter(pdf);
    QPixmap picture = solid(c.picture.width(), c.picture.height(), Qt::darkRed);
    ASSERT_EQ(print_->PrintPictureToFitPage(printer.get(), &picture), S_OK);
    EXPECT_EQ(printer->pageLayout().orientation(), c.orientation);
    ASSERT_TRUE(QFileInfo(pdf).size() > 0);
    if (!canRender) continue;

    const QImage page = renderedPage(pdf);
    ASSERT_FALSE(page.isNull());
    const bool landscape = c.orientation == QPageLayout::Landscape;
    EXPECT_EQ(page.width() > page.height(), landscape);
    const double pageW = landscape ? 297.0 : 210.0;
    const double pageH = landscape ? 210.0 : 297.0;
    const double areaW = pageW - 2 * kMarginMm;
    const double areaH = pageH - 2 * kMarginMm;
    const double ratio = double(c.picture.width()) / c.picture.height();
    const double expectW = c.fillsWidth ? areaW : areaH * ratio;
    const double expectH = c.fillsWidth ? areaW / ratio : areaH;
    const QRect painted = paintedArea(page);
    const double tolerance = 2.0;
    EXPECT_NEAR(painted.left(), mmToRenderedPixels(kMarginMm), tolerance);
    EXPECT_NEAR(painted.top(), mmToRenderedPixels(kMarginMm), tolerance);
    EXPECT_NEAR(painted.width(), mmToRenderedPixels(expectW), tolerance);
    EXPECT_NEAR(painted.height(), mmToRenderedPixels(expectH), tolerance);
  }
  if (!canRender) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed: printed pages not measured";
}

TEST_F(PrintWndTest, PrintingRefusesWhatIsNotAPrinterOrAPicture) {
  QPixmap picture = solid(10, 10, Qt::black);
  EXPECT_EQ(raisedNumber(print_->PrintPictureToFitPage(nullptr, &picture)), 1025);

  // Late-bound, anything but a printer is refused the same way.
  const QString name = QStringLiteral("PrintPictureToFitPage");
  DISPID id = DISPID_UNKNOWN;
  ASSERT_EQ(print_->GetIDsOfNames(IID__PrintWnd, &name, 1, 0, &id), S_OK);
  QVariant args[] = {QVariant(QStringLiteral("imprimante")), QVariant::fromValue(picture)};
  DispParams params{args, 2};
  ExcepInfo error;
  EXPECT_EQ(print_->Invoke(id, IID__PrintWnd, 0, DISPATCH_METHOD, &params, nullptr, &error, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(error.number, 1025);
  EXPECT_EQ(error.description, QStringLiteral("La fonction requiert un objet Printer en paramètre."));

  const QString dir = testsupport::makeTempDir(QStringLiteral("print"));
  auto printer = pdfPrinter(dir + QStringLiteral("/empty.pdf"));
  QPixmap empty;
  EXPECT_EQ(raisedNumber(print_->PrintPictureToFitPage(printer.get(), &empty)), rt::ErrInvalidArgument);
  EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/empty.pdf")));

  auto nowhere = pdfPrinter(dir + QStringLiteral("/missing/out.pdf"));
  EXPECT_EQ(raisedNumber(print_->PrintPictureToFitPage(nowhere.get(), &picture)), 482);
}

TEST_F(PrintWndTest, CapturesGiveTheWindowPixels) {
  auto form = paintedForm(QRect(60, 70, 120, 80));
  QPixmap picture;
  ASSERT_EQ(print_->CaptureClient(form.get(), &picture), S_OK);
  ASSERT_EQ(picture.size(), QSize(120, 80));
  EXPECT_EQ(pixelAt(picture, 5, 5), QColor(Qt::red));
  EXPECT_EQ(pixelAt(picture, 25, 35), QColor(Qt::blue));

  // A rectangle of the client area; what lies outside the window is black.
  ASSERT_EQ(print_->CaptureWindow(form->winId(), VARIANT_TRUE, 20, 30, 200, 10, &picture), S_OK);
  ASSERT_EQ(picture.size(), QSize(200, 10));
  EXPECT_EQ(pixelAt(picture, 0, 0), QColor(Qt::blue));
  EXPECT_EQ(pixelAt(picture, 50, 5), QColor(Qt::red));
  EXPECT_EQ(pixelAt(picture, 150, 5), QColor(Qt::black));

  // The whole window, frame included.
  const QRect frame = form->frameGeometry();
  const QPoint client = form->geometry().topLeft() - frame.topLeft();
  ASSERT_EQ(print_->CaptureForm(form.get(), &picture), S_OK);
  ASSERT_EQ(picture.size(), frame.size());
  EXPECT_EQ(pixelAt(picture, client.x() + 25, client.y() + 35), QColor(Qt::blue));

  // Sizes: nothing for an empty rectangle, overflow past 16 bits.
  picture = solid(1, 1, Qt::red);
  ASSERT_EQ(print_->CaptureWindow(form->winId(), VARIANT_FALSE, 0, 0, 0, 10, &picture), S_OK);
  EXPECT_TRUE(picture.isNull());
  EXPECT_EQ(raisedNumber(print_->CaptureWindow(form->winId(), VARIANT_FALSE, 0, 0, 40000, 10, &picture)),
            rt::ErrOverflow);

  QWidget child(form.get());
  EXPECT_EQ(raisedNumber(print_->CaptureForm(&child, &picture)), 1024);
  EXPECT_EQ(raisedNumber(print_->CaptureClient(&child, &picture)), 1024);
}

TEST_F(PrintWndTest, FormPartlyOffScreenGivesItsVisiblePart) {
  auto form = paintedForm(QRect(0, 100, 120, 80));
  form->move(-15, form->pos().y());
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  const QRect frame = form->frameGeometry();
  ASSERT_LT(frame.x(), 0);
  const QPoint client = form->geometry().topLeft() - frame.topLeft();
  QPixmap picture;
  ASSERT_EQ(print_->CaptureForm(form.get(), &picture), S_OK);
  ASSERT_EQ(picture.size(), QSize(frame.width() + frame.x(), frame.height()));
  // Its first column is the first visible one: the blue square's left edge sits 20 + client
  // offset - hidden columns in.
  const int squareLeft = client.x() + 20 + frame.x();
  EXPECT_EQ(pixelAt(picture, squareLeft, client.y() + 35), QColor(Qt::blue));
  EXPECT_EQ(pixelAt(picture, squareLeft - 1, client.y() + 35), QColor(Qt::red));

  // Entirely off the screen: nothing to capture.
  form->move(-1000, 100);
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  ASSERT_EQ(print_->CaptureForm(form.get(), &picture), S_OK);
  EXPECT_TRUE(picture.isNull());
}

TEST_F(PrintWndTest, ScreenAndActiveWindowCaptures) {
  QPixmap picture;
  ASSERT_EQ(print_->CaptureScreen(&picture), S_OK);
  EXPECT_EQ(picture.size(), QGuiApplication::primaryScreen()->geometry().size());

  auto form = paintedForm(QRect(10, 10, 90, 60));
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  ASSERT_EQ(print_->CaptureActiveWindow(&picture), S_OK);
  EXPECT_EQ(picture.size(), form->frameGeometry().size());
}

TEST_F(PrintWndTest, BitmapPictureTakesItsPalette) {
  QImage indexed(2, 1, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  indexed.setPixel(0, 0, 0);
  indexed.setPixel(1, 0, 1);
  QPixmap picture;
  ASSERT_EQ(print_->CreateBitmapPicture(indexed, {qRgb(255, 0, 0), qRgb(0, 0, 255)}, &picture), S_OK);
  EXPECT_EQ(pixelAt(picture, 0, 0), QColor(Qt::red));
  EXPECT_EQ(pixelAt(picture, 1, 0), QColor(Qt::blue));
  ASSERT_EQ(print_->CreateBitmapPicture(indexed, {}, &picture), S_OK);  // no palette: its own
  EXPECT_EQ(pixelAt(picture, 1, 0), QColor(Qt::white));
  ASSERT_EQ(print_->CreateBitmapPicture(QImage(), {}, &picture), S_OK);
  EXPECT_TRUE(picture.isNull());
}
