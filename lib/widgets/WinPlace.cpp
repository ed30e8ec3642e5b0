#include "lib/widgets/WinPlace.h"

#include "lib/ErrorTable.h"
#include "lib/Global.h"
#include "lib/widgets/FormCheck.h"
#include "lib/widgets/LibraryObjects.h"
#include "lib/SelfReference.h"
#include "lib/ArgumentValues.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <array>

namespace orvo {
namespace {

constexpr int32_t kCannotCreateObject = 429;

// Show commands and flags of the placement record.
enum ShowCommand : int32_t {
  kShowHide = 0,
  kShowNormal = 1,
  kShowMinimized = 2,
  kShowMaximized = 3,
  kShowNoActivate = 4,
  kShow = 5,
  kMinimize = 6,
  kShowMinNoActive = 7,
  kShowNA = 8,
  kRestore = 9,
  kShowDefault = 10,
  kForceMinimize = 11,
};
constexpr int32_t kRestoreToMaximized = 2;
constexpr int32_t kNotStored = -1;

constexpr Qt::WindowStates kSizeStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// The record's fields after its length, in file order, with the keys and their defaults.
struct PlacementKey {
  const char* key;
  const char* def;
};
constexpr std::array<PlacementKey, 10> kPlacementKeys{{{"Flags", "-1"},
                                                       {"ShowCmd", "1"},
                                                       {"MinX", "150"},
                                                       {"MinY", "500"},
                                                       {"MaxX", "-4"},
                                                       {"MaxY", "-4"},
                                                       {"NormG", "20"},
                                                       {"NormH", "20"},
                                                       {"NormD", "500"},
                                                       {"NormB", "400"}}};

struct WindowPlacement {
  int32_t flags = 0;
  int32_t showCmd = kShowNormal;
  int32_t minX = kNotStored, minY = kNotStored, maxX = kNotStored, maxY = kNotStored;
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  std::array<int32_t, 10> fields() const {
    return {flags, showCmd, minX, minY, maxX, maxY, left, top, right, bottom};
  }
  static WindowPlacement fromFields(const std::array<int32_t, 10>& v) {
    return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]};
  }
};

QString sectionOf(const QWidget* form) {
  const QString name = form->objectName();
  return name.isEmpty() ? QString::fromLatin1(form->metaObject()->className()) : name;
}

WindowPlacement placementOf(const QWidget* form) {
  const Qt::WindowStates state = form->windowState();
  WindowPlacement p;
  if (state & Qt::WindowMinimized) {
    p.showCmd = kShowMinimized;
    if (state & Qt::WindowMaximized) p.flags = kRestoreToMaximized;
  } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
    p.showCmd = kShowMaximized;
  }
  QRect normal = form->normalGeometry();
  if (!normal.isValid()) normal = form->geometry();
  p.left = normal.x();
  p.top = normal.y();
  p.right = normal.x() + normal.width();
  p.bottom = normal.y() + normal.height();
  return p;
}

// The window state a show command asks for; current for the commands that keep it.
Qt::WindowStates stateFor(const WindowPlacement& p, Qt::WindowStates current) {
  switch (p.showCmd) {
    case kShowMinimized:
    case kMinimize:
    case kShowMinNoActive:
    case kForceMinimize:
      return (p.flags & kRestoreToMaximized) ? (Qt::WindowMinimized | Qt::WindowMaximized)
                                             : Qt::WindowStates(Qt::WindowMinimized);
    case kShowMaximized:
      return Qt::WindowMaximized;
    case kShow:
    case kShowNA:
      return current & kSizeStates;
    default:  // hide, normal, no-activate, restore, default: the normal state
      return Qt::WindowNoState;
  }
}

// The largest size a window is given: that of the whole desktop (every screen).
QSize desktopSize(const QWidget* form) {
  const QScreen* screen = form->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->virtualGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

// Coordinates from a file are kept within what Qt's rectangles can hold without overflow.
int boundedCoordinate(int32_t value) { return std::clamp<int32_t>(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); }

void applyPlacement(QWidget* form, const WindowPlacement& p) {
  const Qt::WindowStates current = form->windowState();
  const Qt::WindowStates target = stateFor(p, current);
  // The normal rectangle can only be set in the normal state: leave any other state first,
  // set the rectangle, then enter the state asked for.
  if (current & kSizeStates) {
    form->setWindowState(Qt::WindowNoState);
    // A shown window leaves its state through the window system; take its answer now, or it
    // would arrive after the new rectangle and state and undo them.
    if (form->isVisible()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  const QSize desktop = desktopSize(form);
  const auto extent = [](int32_t from, int32_t to, int largest) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{to} - from, 0, largest));
  };
  form->setGeometry(boundedCoordinate(p.left), boundedCoordinate(p.top),
                    extent(p.left, p.right, desktop.width()), extent(p.top, p.bottom, desktop.height()));
  if (target != Qt::WindowNoState) form->setWindowState(target);
}

// The form's screen; the primary one when it has none.
QRect screenRect(const QWidget* form) {
  const QScreen* screen = form->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect();
}

// A stored or computed coordinate in pixels: rounded half to even (6 past 32 bits), bounded.
int roundedPixels(double value) { return boundedCoordinate(rt::toInt32(value)); }

bool isSizable(const QWidget* form) {
  return form->minimumSize() != form->maximumSize() &&
         !form->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

// Changes the always-on-top hint without recreating the native window, so the window keeps
// its visibility, position and size (QWidget::setWindowFlags would hide it).
void setStaysOnTop(QWidget* form, bool onTop) {
  Qt::WindowFlags flags = form->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
  form->overrideWindowFlags(flags);
  if (QWindow* window = form->windowHandle()) window->setFlags(flags);
}

// The title the window system shows (placeholder "[*]" resolved), cut at a NUL.
QString shownTitle(const QWidget* window) {
  QString title = window->windowHandle() ? window->windowHandle()->title() : window->windowTitle();
  const qsizetype zero = title.indexOf(QChar(0));
  if (zero >= 0) title.truncate(zero);
  return title;
}

// The application's visible top-level windows: the active one, then the others from the most
// recently created native window to the oldest.
QList<QWidget*> windowsInStackingOrder() {
  QList<QWidget*> out;
  QWidget* active = QApplication::activeWindow();
  if (active && active->isVisible()) out << active;
  const QWindowList windows = QGuiApplication::topLevelWindows();
  for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
    QWidget* widget = QWidget::find((*it)->winId());
    if (widget && widget->isWindow() && widget->isVisible() && !out.contains(widget)) out << widget;
  }
  return out;
}

bool titleMatches(const QString& title, const QString& caption, bool exact) {
  const QString wanted = caption.toUpper();
  return exact ? title.toUpper() == wanted : title.left(caption.size()).toUpper() == wanted;
}

// Runs one step of RestorePos; a run-time error skips it.
template <class Step>
void skippingErrors(Step&& step) {
  try {
    step();
  } catch (const rt::RuntimeError&) {
  }
}

}  // namespace

const DispatchTable& WinPlace::dispatchTable() {
  static const DispatchTable table{
      procedure<&_WinPlace::RestoreWindow>("RestoreWindow"),
      procedure<&_WinPlace::SaveWindow>("SaveWindow"),
      procedure<&_WinPlace::RestorePos>("RestorePos"),
      procedure<&_WinPlace::StorePos>("StorePos"),
      procedure<&_WinPlace::CentrerEcran>("CentrerEcran"),
      procedure<&_WinPlace::SetToTopmost>("SetToTopmost"),
      procedure<&_WinPlace::SetToNotTopmost>("SetToNotTopmost"),
      method<&_WinPlace::AppActivateEx>("AppActivateEx"),
  };
  return table;
}

_IniParam& WinPlace::iniParam() {
  if (!iniParam_) {
    rt::com::ComPtr<_IniParam> created;
    // A class of this library: made by the library itself, whatever the registrations say.
    if (failed(createLibraryObject(CLSID_IniParam, _IniParam::kIid, created.put())) || !created) {
      raiseLibraryError(kCannotCreateObject);
    }
    iniParam_ = std::move(created);
  }
  return *iniParam_;
}

QString WinPlace::readParam(const QString& section, const QString& key, const QString& def,
                            const QString& file) {
  _IniParam& ini = iniParam();
  QString value;
  rt::com::raiseOnFailure(ini.GetPrivateParam(section, key, def, file, &value), &ini);
  return value;
}

void WinPlace::writeParam(const QString& section, const QString& key, const QString& value,
                          const QString& file) {
  _IniParam& ini = iniParam();
  rt::com::raiseOnFailure(ini.SetPrivateParam(section, key, value, file), &ini);
}

HRESULT WinPlace::RestoreWindow(QWidget* f, const QVariant& sIniFileName) {
  const SelfReference alive(static_cast<_WinPlace*>(this));  // pending events may run
  return rt::com::callMember([&] {
    CheckFormArgument(f);
    const QString file = readText(sIniFileName, QString());
    const QString section = sectionOf(f);
    std::array<int32_t, 10> values{};
    for (size_t i = 0; i < kPlacementKeys.size(); ++i) {
      values[i] = rt::toInt32(readParam(section, QString::fromLatin1(kPlacementKeys[i].key),
                                        QString::fromLatin1(kPlacementKeys[i].def), file));
    }
    const WindowPlacement placement = WindowPlacement::fromFields(values);
    if (placement.flags != kNotStored) applyPlacement(f, placement);
  });
}

HRESULT WinPlace::SaveWindow(QWidget* f, const QVariant& sIniFileName) {
  return rt::com::callMember([&] {
    CheckFormArgument(f);
    const QString file = readText(sIniFileName, QString());
    const QString section = sectionOf(f);
    const std::array<int32_t, 10> values = placementOf(f).fields();
    for (size_t i = 0; i < kPlacementKeys.size(); ++i) {
      writeParam(section, QString::fromLatin1(kPlacementKeys[i].key), QString::number(values[i]), file);
    }
  });
}

HRESULT WinPlace::RestorePos(QWidget* f, const QString& sIniFileName) {
  return rt::com::callMember([&] {
    CheckFormArgument(f);
    const QString section = sectionOf(f);
    QString x, y;
    skippingErrors([&] { x = readParam(section, QStringLiteral("X"), QString(), sIniFileName); });
    skippingErrors([&] { y = readParam(section, QStringLiteral("Y"), QString(), sIniFileName); });
    if (rt::isNumeric(x) && rt::isNumeric(y)) {
      skippingErrors([&] { f->move(roundedPixels(rt::toDouble(x)), roundedPixels(rt::toDouble(y))); });
      if (isSizable(f)) {
        QString h, l;
        skippingErrors([&] { h = readParam(section, QStringLiteral("H"), QString(), sIniFileName); });
        skippingErrors([&] { l = readParam(section, QStringLiteral("L"), QString(), sIniFileName); });
        if (rt::isNumeric(h) && rt::isNumeric(l)) {
          skippingErrors([&] {
            f->move(roundedPixels(rt::toDouble(x)), roundedPixels(rt::toDouble(y)));
            const QSize desktop = desktopSize(f);
            f->resize(std::min(roundedPixels(rt::toDouble(l)), desktop.width()),
                      std::min(roundedPixels(rt::toDouble(h)), desktop.height()));
          });
        }
      }
    } else {
      skippingErrors([&] {
        const QRect screen = screenRect(f);
        const QSize outer = f->frameGeometry().size();
        f->move(screen.x() + roundedPixels(screen.width() / 2.0 - outer.width() / 2.0),
                screen.y() + roundedPixels(screen.height() / 2.0 - outer.height() / 2.0));
      });
    }
    QString maximized = QStringLiteral("False");
    skippingErrors([&] { maximized = readParam(section, QStringLiteral("Max"), QStringLiteral("False"), sIniFileName); });
    skippingErrors([&] {
      if (rt::toFlag(maximized)) {
        f->setWindowState(Qt::WindowMaximized);
      }
    });
  });
}

HRESULT WinPlace::StorePos(QWidget* f, const QString& sIniFileName) {
  return rt::com::callMember([&] {
    CheckFormArgument(f);
    const QString section = sectionOf(f);
    const bool maximized = f->windowState().testFlag(Qt::WindowMaximized);
    if (!maximized) {
      writeParam(section, QStringLiteral("X"), QString::number(f->pos().x()), sIniFileName);
      writeParam(section, QStringLiteral("Y"), QString::number(f->pos().y()), sIniFileName);
      writeParam(section, QStringLiteral("H"), QString::number(f->height()), sIniFileName);
      writeParam(section, QStringLiteral("L"), QString::number(f->width()), sIniFileName);
    }
    writeParam(section, QStringLiteral("Max"),
               maximized ? QStringLiteral("True") : QStringLiteral("False"), sIniFileName);
  });
}

HRESULT WinPlace::CentrerEcran(QWidget* f) {
  return rt::com::callMember([&] {
    CheckFormArgument(f);
    const QRect screen = screenRect(f);
    const QSize outer = f->frameGeometry().size();
    const int top = screen.y() + roundedPixels((screen.height() - outer.height()) / 2.0);
    const int left = screen.x() + roundedPixels((screen.width() - outer.width()) / 2.0);
    f->move(left, top);
  });
}

HRESULT WinPlace::SetToTopmost(QWidget* f) {
  return rt::com::callMember([&] {
    CheckFormArgument(f);
    setStaysOnTop(f, true);
  });
}

HRESULT WinPlace::SetToNotTopmost(QWidget* f) {
  return rt::com::callMember([&] {
    CheckFormArgument(f);
    setStaysOnTop(f, false);
  });
}

HRESULT WinPlace::AppActivateEx(const QString& AppCaption, const QVariant& Exact, WId* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const bool exact = readFlag(Exact, false);
    WId found = 0;
    if (!AppCaption.isEmpty()) {
      for (QWidget* window : windowsInStackingOrder()) {
        const QString title = shownTitle(window);
        if (title.isEmpty() || !titleMatches(title, AppCaption, exact)) continue;
        window->raise();
        window->activateWindow();
        found = window->winId();
        break;
      }
    }
    *result = found;
  });
}

}  // namespace orvo
