#include "lib/widgets/FormCheck.h"

#include "lib/ErrorTable.h"

#include <QWidget>

namespace orvo {

void CheckFormArgument(QWidget* obj) {
  if (obj && obj->isWindow()) return;
  raiseLibraryError(ErrFormRequired);
}

}  // namespace orvo
