#pragma once
// FilesPaths.GetFileName's dialog: Qt's own (non-native) open or save dialog.

#include "lib/WidgetEntry.h"

namespace orvo {

// Runs the dialog; false when cancelled. On acceptance fills files and chosenFilter (1-based,
// 0 when there are no filters).
bool runFileDialog(const FileDialogRequest& request, QStringList& files, int32_t& chosenFilter);

}  // namespace orvo
