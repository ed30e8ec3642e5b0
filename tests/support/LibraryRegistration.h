#pragma once
// The OrvoLib22 library of this build, registered in each test process's private registry
// store at start, so every test can create library objects by class identifier.

#include <QString>

namespace testsupport {

// The built library file and the registration tool, or "" when this build has none.
QString builtLibraryPath();
QString registrationToolPath();

// Registers the built library in the current registry store ($XDG_CONFIG_HOME). Returns
// false (and says why on stderr) when it cannot; true when there is no library to register.
bool registerBuiltLibrary();

}  // namespace testsupport
