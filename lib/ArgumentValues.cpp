#include "lib/ArgumentValues.h"

#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

namespace orvo {

bool isNumberType(int type) {
  switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::Double:
      return true;
    default:
      return false;
  }
}

bool isMissing(const QVariant* value) { return value == nullptr || !value->isValid(); }

bool readFlag(const QVariant& value, bool def) {
  if (!value.isValid()) return def;
  const int type = value.typeId();
  if (type == QMetaType::Bool) return value.toBool();
  if (isNumberType(type)) return value.toDouble() != 0.0;
  if (type == QMetaType::QString || type == QMetaType::QChar) return rt::toFlag(value.toString());
  rt::raise(rt::ErrTypeMismatch);
}

QString readText(const QVariant& value, const QString& def) {
  if (!value.isValid()) return def;
  const int type = value.typeId();
  if (type == QMetaType::QString || type == QMetaType::QChar) return value.toString();
  if (type == QMetaType::Bool) return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  if (isNumberType(type)) return rt::numberToText(value.toDouble());
  rt::raise(rt::ErrTypeMismatch);
}

int32_t readInt32(const QVariant& value, int32_t def) {
  if (!value.isValid()) return def;
  const int type = value.typeId();
  if (type == QMetaType::Bool) return value.toBool() ? -1 : 0;
  if (isNumberType(type)) return rt::toInt32(value.toDouble());
  if (type == QMetaType::QString || type == QMetaType::QChar) return rt::toInt32(value.toString());
  rt::raise(rt::ErrTypeMismatch);
}

}  // namespace orvo
