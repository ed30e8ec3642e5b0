#pragma once
// File names as compared ignoring letter case: two names are the same name when their
// foldings are equal. The rename's taken names and the grouping of a shot's files both fold
// here.

#include <QString>
#include <QStringView>

// Room for a folded name: on the stack while it is short.
struct FoldedName {
  char16_t chars[256];
  QString other;  // a longer name, or one with characters beyond ASCII
};

// The name under Unicode simple case folding. A name of ASCII characters only (nearly every
// file name) is folded here, where only its letters A-Z change; a name folding leaves as it
// is is viewed as given, otherwise the folding is written into room and viewed there.
QStringView FoldCase(QStringView name, FoldedName& room);

// The same folding as a string; a name it leaves as it is is returned shared, without a copy.
QString CaseFolded(const QString& name);
