#pragma once
// Settings files: one set of rename settings in the section named after the program's title,
// written by ConfigClass::Save and read back by ConfigClass::Load (both defined in
// SettingsFile.cpp).

#include <QString>

// The section that holds the settings.
inline const QString kSettingsSection = QStringLiteral("Tindra");

// Extension of settings files (without the dot).
inline const QString kSettingsExtension = QStringLiteral("tdc");

// Why the file at path cannot be loaded as a settings file, in French ("" when it can): there
// is no such file, it is not a regular file or cannot be read, it is larger than a settings
// file can be, or it has no [Tindra] section (a picture, an empty or unrelated file). Loading
// such a file would silently give the default settings.
QString SettingsFileProblem(const QString& path);

// Opens the settings file at path into config, all or nothing: the one way the File menu, the
// parameters dialog and the command-line tool open one. A file with a problem (see above)
// raises 321 "Format de fichier incorrect : « path » : problem"; a file that fails part-way
// raises its error. Either way config stays as it was.
class ConfigClass;
void OpenSettingsFile(ConfigClass& config, const QString& path);

// Filter of every file dialog that opens or saves a settings file: pairs of description and
// pattern separated by "|".
inline const QString kSettingsFileFilter =
    QStringLiteral("Fichiers de configuration Tindra (*.tdc)|*.tdc|Tous les fichiers|*.*");

// The path a settings file is saved under: the path as chosen, with "." + kSettingsExtension
// added when its file name has no extension ("bretagne" -> "bretagne.tdc"; a name ending in
// "." gets the extension without a second dot). A name with any extension is kept.
QString WithSettingsExtension(const QString& path);
