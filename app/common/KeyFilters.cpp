#include "app/common/KeyFilters.h"

namespace KeyFilters {

int16_t FilterInt(int16_t KeyAscii, bool bPositive) {
  constexpr int16_t kBackspace = 8;
  if (KeyAscii == kBackspace || (KeyAscii >= '0' && KeyAscii <= '9')) return KeyAscii;
  if (KeyAscii == '+' || KeyAscii == '-') return bPositive ? int16_t{0} : KeyAscii;
  return 0;
}

}  // namespace KeyFilters
