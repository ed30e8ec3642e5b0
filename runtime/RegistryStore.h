#pragma once
// The registry store: keys (paths of names joined by "\", matched case-insensitively) holding
// named string values; the unnamed value ("") is the key's default value. One text hive file
// per root under $XDG_CONFIG_HOME/Tindra/registry/ (default ~/.config), in the style of a
// registry export; every change re-reads the hive and writes it back atomically under an
// exclusive lock on a lock file beside it, so concurrent processes never lose each other's
// writes. A malformed hive is read as far as it is well formed and never crashes the reader;
// the first change to it keeps a copy of it as "<hive>.damaged", since the rewrite drops what
// could not be read. The text format is told in runtime/HiveFormat.h.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace rt::reg {

// The roots, with the values of the library's registry enumeration.
enum Root : int32_t {
  ClassesRoot = static_cast<int32_t>(0x80000000u),
  CurrentUser = static_cast<int32_t>(0x80000001u),
  LocalMachine = static_cast<int32_t>(0x80000002u),
  Users = static_cast<int32_t>(0x80000003u),
  PerformanceData = static_cast<int32_t>(0x80000004u),
  CurrentConfig = static_cast<int32_t>(0x80000005u),
  DynData = static_cast<int32_t>(0x80000006u),
};

// True when root is one of the values above.
bool isValidRoot(int32_t root);

// The hive file of a root (whether or not it exists yet): <config>/Tindra/registry/<root's
// name>.reg, e.g. HKEY_CURRENT_USER.reg; "" for an invalid root. <config> is $XDG_CONFIG_HOME
// when set to an absolute path, else ~/.config.
QString hiveFile(int32_t root);

// The French explanation naming the hive file of root when it is over the store's size cap
// (such a hive is neither read nor ever rewritten); "" otherwise.
QString hiveOversizeText(int32_t root);

// Each call below returns false / nullopt for an invalid root or an empty or malformed key
// path (empty name between separators, a control character in a name, more than 512 names)
// and when the hive cannot be written.

bool keyExists(int32_t root, const QString& key);
// Creates the key and any missing parents; an existing key is a success. className is kept
// with every key this call creates (an existing key keeps its own).
bool createKey(int32_t root, const QString& key, const QString& className = QString());
// The value, or nullopt when the key or the value is absent.
std::optional<QString> queryValue(int32_t root, const QString& key, const QString& name);
// Sets a value of an existing key (false when the key does not exist).
bool setValue(int32_t root, const QString& key, const QString& name, const QString& value);
bool deleteValue(int32_t root, const QString& key, const QString& name);
// Deletes a key that has no subkeys (false when it has subkeys or does not exist).
bool deleteKey(int32_t root, const QString& key);
// Deletes a key with everything below it.
bool deleteTree(int32_t root, const QString& key);
QStringList subKeys(int32_t root, const QString& key);
QStringList valueNames(int32_t root, const QString& key);

// The machine-wide store: the same hives under the machine's configuration folder, read after
// the user's and written only by installation (the registration tool's --machine option points
// XDG_CONFIG_HOME there for the registration call). The folder is $TINDRA_MACHINE_CONFIG when
// set to an absolute path; else, for a program in <prefix>/bin, /etc/xdg when <prefix> is /usr,
// <prefix>/etc/xdg for any other prefix; /etc/xdg otherwise.
QString machineConfigFolder();
QString machineHiveFile(int32_t root);
// A value of the machine-wide store (never written by the calls above).
std::optional<QString> queryMachineValue(int32_t root, const QString& key, const QString& name);

}  // namespace rt::reg
