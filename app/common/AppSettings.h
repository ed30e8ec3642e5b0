#pragma once
// The application settings file: the program's own initialisation file (last settings file,
// last picture folder, list columns, splitter, window placement). Its path is computed anew at
// each access; every value goes through the library's IniParam object. Each function has its
// own error handler: a failure is reported (Global.<function>) and the function returns its
// empty result ("" or 0). A file too large for the initialisation-file service is reported
// once, naming it, and then neither read nor written: reads give their defaults.

#include <QString>
#include <QStringList>

#include <cstdint>

// DataFolder() + "/" + the program's file name without extension + ".ini".
QString IniFileName();

// The stored value, or defaut when the key (or section, or file) is missing.
QString GetParam(const QString& section, const QString& key, const QString& defaut);
// Writes the value, creating the file and the section as needed.
void SetParam(const QString& section, const QString& key, const QString& value);
void DelParam(const QString& section, const QString& key);
void DelSection(const QString& section);
// Fills keys with the section's key names; returns their number.
int16_t GetParamsList(QStringList& keys, const QString& section);

class QWidget;

// The window's placement from / into the section named after the window (WinPlace of the
// library); a missing section leaves the window where it is.
void RestoreWindowPlace(QWidget* window);
void SaveWindowPlace(QWidget* window);
