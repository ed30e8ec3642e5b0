#pragma once
// The user's special folders.

#include <QString>

// The user's documents folder as the system reports it; the home folder when the system knows
// no documents folder or it does not exist; "" when neither is available.
QString GetPersonalFolder();
