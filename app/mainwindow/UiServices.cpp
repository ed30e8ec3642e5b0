#include "app/mainwindow/UiServices.h"

#include "app/mainwindow/QtUiServices.h"

namespace ui {
namespace {
UiServices* installed = nullptr;
}  // namespace

UiServices& Ui() {
  if (installed) return *installed;
  static QtUiServices real;
  return real;
}

UiServices* SetUi(UiServices* services) {
  UiServices* previous = installed;
  installed = services;
  return previous;
}

}  // namespace ui
