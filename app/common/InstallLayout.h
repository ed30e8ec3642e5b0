#pragma once
// Where the program finds what it ships with. In a build tree (or a portable copy) everything
// sits beside the program; in an install (GNU layout) the program is in <prefix>/bin, the
// library in <prefix>/lib/tindra/ and the help pages in <prefix>/share/tindra/help/.

#include "runtime/ComCreate.h"

#include <QString>

namespace InstallLayout {

// The folder of the program's own library copy in its install (from the program folder).
QString LibraryFolder(const QString& programFolder);

// The library as the program brings it: looked for beside the program before any registration
// (so a build never loads another build's copy), and in LibraryFolder after the registrations.
rt::com::BundledServer Library();

// The library file where this program expects it: in LibraryFolder when the program runs from
// an install, else beside the program.
QString LibraryFile();

// Whether the program runs from an install: its prefix holds the program's shared data. An
// installed program keeps its settings in the per-user folder even when its folder is
// writable (as it is for root).
bool IsInstalled(const QString& programFolder);

// The help folder: "<program folder>/<program name>.help" when it exists, else the help pages
// of the install.
QString HelpFolder();

}  // namespace InstallLayout
