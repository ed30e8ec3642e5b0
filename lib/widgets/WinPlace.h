#pragma once
// WinPlace: keeps a form's placement in an initialisation file and restores it, centres a
// form, switches its always-on-top state, and brings one of the application's windows to the
// front by its title. A form is a top-level QWidget; its section in the file is its object
// name (its class name when it has none). Every member but AppActivateEx refuses anything
// else with 1024 before reading or writing anything.
//
// Mapping onto Qt:
// - The placement record is the window's show command (1 normal, 2 minimised, 3 maximised),
//   its flags (2 when a minimised window comes back maximised) and its normal rectangle in
//   pixels: QWidget::normalGeometry (the client area, as setGeometry takes it) stored as left,
//   top, right and bottom (exclusive). The minimised and maximised positions have no Qt
//   counterpart: they are stored as -1 (let the system choose) and ignored on restore.
// - StorePos / RestorePos use the window's position (QWidget::pos, its frame's top-left, as
//   move takes it) and its client size (as resize takes it), in pixels.
// - A stored size larger than the whole desktop is reduced to it, as a window manager does.
// - Neither restore shows or hides a window: a hidden window takes its geometry and state
//   when it is shown.
//
// All file access goes through a private IniParam object, created by class identifier on first
// use and kept for the life of this object (429 when it cannot be created).

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"
#include "runtime/ComPtr.h"

namespace orvo {

class WinPlace final : public ComObject<WinPlace, _WinPlace> {
 public:
  static const DispatchTable& dispatchTable();

  // Reads the ten placement keys (Flags, ShowCmd, MinX, MinY, MaxX, MaxY, NormG, NormH, NormD,
  // NormB) with their defaults; a stored value that is not a number raises the conversion
  // error (13 or 6). Applies them only when the section holds a Flags key (Flags not -1).
  HRESULT RestoreWindow(QWidget* f, const QVariant& sIniFileName) override;
  // Writes the ten placement keys, in that order, as decimal text.
  HRESULT SaveWindow(QWidget* f, const QVariant& sIniFileName) override;
  // Moves the form to X, Y (and, for a resizable form, sizes it to L, H) when they are numbers,
  // else centres it on its screen; then maximises it when Max reads true. Never raises after
  // the form check: a failing step is skipped.
  HRESULT RestorePos(QWidget* f, const QString& sIniFileName) override;
  // Writes X, Y, H, L (only when the form is not maximised, so the normal position survives)
  // and Max ("True"/"False").
  HRESULT StorePos(QWidget* f, const QString& sIniFileName) override;
  // Centres the whole window (frame included) on its screen.
  HRESULT CentrerEcran(QWidget* f) override;
  // Sets or clears Qt::WindowStaysOnTopHint, keeping the window's visibility, position and size.
  HRESULT SetToTopmost(QWidget* f) override;
  HRESULT SetToNotTopmost(QWidget* f) override;
  // Walks the application's visible top-level windows in stacking order and brings the first
  // whose title matches to the front: the whole title (Exact true) or its first
  // Len(AppCaption) characters, letters compared in upper case. Qt does not report the window
  // manager's stacking order, so the order is: the active window first, then the others from
  // the most recently created to the oldest (a newer window opens above older ones). result:
  // the window's handle, or 0 when AppCaption is empty or nothing matches.
  HRESULT AppActivateEx(const QString& AppCaption, const QVariant& Exact, WId* result) override;

 private:
  _IniParam& iniParam();
  QString readParam(const QString& section, const QString& key, const QString& def,
                    const QString& file);
  void writeParam(const QString& section, const QString& key, const QString& value,
                  const QString& file);

  rt::com::ComPtr<_IniParam> iniParam_;
};

}  // namespace orvo
