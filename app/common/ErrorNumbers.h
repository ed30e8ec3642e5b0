#pragma once
// The run-time error numbers the program raises itself, beyond the runtime's own (rt::Err...
// in runtime/RuntimeError.h). Tests and error reports refer to them by these names.

#include <cstdint>

namespace errors {

constexpr int32_t kBadFileName = 52;         // a new name that is not a file name
constexpr int32_t kBadFileFormat = 321;      // not a settings file
constexpr int32_t kCannotCreateObject = 429; // a helper object the library cannot create
constexpr int32_t kNoSuchMethod = 438;       // a property or method the object does not have
constexpr int32_t kKeyNotUnique = 457;       // a list key already in the list
constexpr int32_t kInvalidPicture = 481;     // a picture that cannot be shown

}  // namespace errors
