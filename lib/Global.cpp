#include "lib/Global.h"

#include "lib/ErrorTable.h"

#include <QWidget>

namespace orvo {

QString LibraryTitle() { return QStringLiteral("OrvoLib22"); }

void CheckFormArgument(QWidget* obj) {
  if (obj && obj->isWindow()) return;
  raiseLibraryError(ErrFormRequired);
}

}  // namespace orvo
