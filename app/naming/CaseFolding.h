#pragma once
// File names as compared ignoring letter case: two names are the same name when their
// foldings are equal. The rename's taken names and the grouping of a shot's files both fold
// here.

#include <QString>

// The name under Unicode simple case folding. A name of ASCII characters only (nearly every
// file name) is folded here, where only its letters A-Z change; a name without them is
// returned shared, without a copy.
QString CaseFolded(const QString& name);
