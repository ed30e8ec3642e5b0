#pragma once
// FilesPaths: path-string helpers and file dialogs. Paths are Linux paths: "/" is the only
// separator and an absolute path starts at the root "/". Nothing touches the disk except the
// dialogs and GetTempFileName. Stateless.

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"

namespace orvo {

class FilesPaths final : public ComObject<FilesPaths, _FilesPaths> {
 public:
  static const DispatchTable& dispatchTable();

  // Shows Qt's own (non-native) open or save dialog, modal to the window hwndParent (none when
  // 0 or unknown). sFilter holds description and pattern pairs, all separated by "|"
  // ("Images|*.jpg;*.jpeg|Tous les fichiers|*.*"); "*.*" stands for every file.
  // nFilterIndex (1-based) preselects a filter. Returns the chosen path; with bMulti and
  // several files: their folder, a NUL, then the names separated by NULs. A cancelled dialog
  // returns "" and leaves nFilterIndex as it was; otherwise nFilterIndex receives the filter
  // the user ended on (0 when sFilter has none).
  HRESULT GetFileName(WId hwndParent, const QString& sFilter, const QVariant& bSave,
                      const QVariant& bMulti, const QVariant& sFileName, const QVariant& sInitDir,
                      const QVariant& sDialogTitle, QVariant* nFilterIndex,
                      QString* result) override;
  // Creates an empty file under a new unique name "~ORxxxx.TMP" in Path (or, when Path is
  // empty, in the temporary folder, $TMPDIR) and returns its path; "" when it cannot be made
  // (missing folder, a file where the folder should be, every name taken).
  HRESULT GetTempFileName(const QVariant& Path, QString* result) override;
  // sAbsPath relative to the folder sRefPath ("../B/f.txt"), or sAbsPath unchanged when the
  // two do not share their root and first folder. Once they do, one trailing "/" is removed
  // from the caller's *sAbsPath. Identical paths give "".
  HRESULT RelPath(const QString& sRefPath, QString* sAbsPath, QString* result) override;
  // sPath without its last character when that is "/" (one at most).
  HRESULT DeleteLastSlash(const QString& sPath, QString* result) override;
  // CheckFormArgument (1024), then the folder dialog of BrowseDirectory preselecting sPath
  // (the current directory when empty). The chosen folder, or "" when cancelled.
  HRESULT ChooseDirectory(QWidget* frmSrc, const QString& sPrompt, const QVariant& sPath,
                          QVariant* SansReseau, QString* result) override;
  // Everything before the last "/" ("" when there is none). 6 past 32767 characters.
  HRESULT GetDirectoryFromPath(const QString& sPath, QString* result) override;
  // Everything after the last "/" (sPath when there is none). 6 past 32767 characters.
  HRESULT GetFilenameFromPath(const QString& sPath, QString* result) override;
  // Everything before the last "." of the whole text (sPath when there is none): a dot in a
  // folder name counts when the file name has none.
  HRESULT GetFileTitle(const QString& sPath, QString* result) override;
  // Everything after the last "." of the whole text, case kept ("" when there is none).
  HRESULT GetFileExt(const QString& sPath, QString* result) override;
};

}  // namespace orvo
