#pragma once
// Reading optional and self-describing arguments (QVariant) the way the runtime converts them.
// A missing argument is an invalid QVariant (or a null pointer for one passed by reference).

#include <QString>
#include <QVariant>

#include <cstdint>

namespace orvo {

// True when the argument was not given.
bool isMissing(const QVariant* value);

// True when a QVariant of this type id holds an integer or floating value (not a boolean).
bool isNumberType(int typeId);

// A flag: def when missing; a boolean as is; a number is true unless zero; a text as the
// runtime reads flags ("True", "Faux", "-1"...). Anything else raises 13.
bool readFlag(const QVariant& value, bool def);

// A text: def when missing; texts as is; numbers in the runtime's number text; booleans as
// "True"/"False"; an empty value as "". Null, objects and arrays raise 13.
QString readText(const QVariant& value, const QString& def);

// A 32-bit integer: def when missing; numbers and numeric texts rounded half to even; 6 when
// out of range, 13 when not a number.
int32_t readInt32(const QVariant& value, int32_t def);

}  // namespace orvo
