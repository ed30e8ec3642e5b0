#pragma once
// Take-over of the rename settings that an older version kept in the application settings
// file (sections "Options" and "TimeOffset").

class ConfigClass;

// When the section "TimeOffset" holds keys: reads every old value into config through its
// setters (so Modified follows the changes), removes the old keys of "Options", the section
// "TimeOffset", and "Options" when nothing else is left in it; returns true. Returns false,
// touching nothing, when "TimeOffset" is empty or absent.
// A value that does not convert raises the run-time error (13 not a number, flag or date;
// 6 out of range; 5 a separator position of 0 or less): fields set before keep their new
// values and nothing is removed, so the take-over is tried again at the next start.
bool TakeOverOldSettings(ConfigClass& config);
