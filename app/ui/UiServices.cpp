#include "app/ui/UiServices.h"

#include "app/ui/QtUiServices.h"

namespace ui {
namespace {
UiServices* installed = nullptr;
}  // namespace

Answer ClosedBoxAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel: break;
  }
  return Answer::Cancel;
}

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
