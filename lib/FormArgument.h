#pragma once
// Late-bound form arguments (QWidget*) read without Qt's widget library: the object's class
// is checked by name, so the library proper links no widget code (lib/WidgetEntry.h) and
// passes the form on untouched to the widget module. A value that is not a widget is passed as
// null, which the form check then refuses (1024).

#include "lib/Dispatch.h"

#include <QObject>

class QWidget;

namespace orvo {

template <>
struct ArgumentConverter<QWidget*, void> {
  using Holder = QWidget*;
  static HRESULT load(Holder& h, const QVariant* in) {
    h = nullptr;
    if (!in || !in->isValid()) return S_OK;
    QObject* object = in->value<QObject*>();
    // QObject is QWidget's first (primary) base, at its start: the widget's address is the
    // object's. The type stays opaque here; only the widget module uses the widget.
    if (object && object->inherits("QWidget")) h = reinterpret_cast<QWidget*>(object);
    return S_OK;
  }
  static QWidget* pass(Holder& h) { return h; }
  static void store(Holder&, QVariant*) {}
};

}  // namespace orvo
