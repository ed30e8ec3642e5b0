// FilesPaths, created by class identifier: path splitting on Linux paths, relative paths,
// temporary files, and the file and folder dialogs driven by the test.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/RuntimeError.h"
#include "tests/support/DialogDriver.h"
#include "tests/lib/LibTestSupport.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QWidget>

using libtest::callSlot;
using libtest::kFirstMemberSlot;
using rt::com::ComPtr;

namespace {

constexpr QChar kNul(0);

class FilesPathsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(rt::com::createInstance(CLSID_FilesPaths, paths_), S_OK); }

  // The error number a failed member raises on the client side (0 when it did not fail).
  int32_t raisedNumber(HRESULT status) {
    try {
      rt::com::raiseOnFailure(status, paths_.get());
    } catch (const rt::RuntimeError& e) {
      return e.number();
    }
    return 0;
  }

  QString call(HRESULT (_FilesPaths::*member)(const QString&, QString*), const QString& path) {
    QString out = QStringLiteral("unset");
    EXPECT_EQ((paths_.get()->*member)(path, &out), S_OK) << path.toStdString();
    return out;
  }
  QString directory(const QString& p) { return call(&_FilesPaths::GetDirectoryFromPath, p); }
  QString fileName(const QString& p) { return call(&_FilesPaths::GetFilenameFromPath, p); }
  QString title(const QString& p) { return call(&_FilesPaths::GetFileTitle, p); }
  QString ext(const QString& p) { return call(&_FilesPaths::GetFileExt, p); }

  QString relPath(const QString& ref, QString& abs) {
    QString out = QStringLiteral("unset");
    EXPECT_EQ(paths_->RelPath(ref, &abs, &out), S_OK);
    return out;
  }

  QString getFileName(const QString& filter, bool save, bool multi, const QString& initDir,
                      QVariant* filterIndex, const QString& dialogTitle = QString()) {
    QString out = QStringLiteral("unset");
    const auto flag = [](bool b) { return QVariant::fromValue<VARIANT_BOOL>(b ? VARIANT_TRUE : VARIANT_FALSE); };
    EXPECT_EQ(paths_->GetFileName(0, filter, flag(save), flag(multi), QVariant(), initDir,
                                  dialogTitle.isEmpty() ? QVariant() : QVariant(dialogTitle),
                                  filterIndex, &out),
              S_OK);
    return out;
  }

  ComPtr<_FilesPaths> paths_;
};

const QString kPictureFilter =
    QStringLiteral("Images JPEG|*.jpg;*.jpeg|Fichiers Tindra|*.tdc|Tous les fichiers|*.*");

// Types a name into the dialog's file name box, as the user does.
void typeName(QFileDialog* dialog, const QString& text) {
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(edit, nullptr);
  edit->setText(text);
}

QString folderWith(const QStringList& names) {
  const QString dir = testsupport::makeTempDir(QStringLiteral("files"));
  for (const QString& name : names) testsupport::writeFile(dir + QLatin1Char('/') + name, "x");
  return dir;
}

}  // namespace

TEST_F(FilesPathsTest, ProgramMembersSitAtTheirBindingPlaces) {
  using S = const QString&;
  QString out;
  ASSERT_EQ((callSlot<S, QString*>(paths_.get(), kFirstMemberSlot + 8, QStringLiteral("/p/a.JPG"), &out)), S_OK);
  EXPECT_EQ(out, QStringLiteral("JPG"));  // GetFileExt, ninth
  ASSERT_EQ((callSlot<S, QString*>(paths_.get(), kFirstMemberSlot + 5, QStringLiteral("/p/a.JPG"), &out)), S_OK);
  EXPECT_EQ(out, QStringLiteral("/p"));  // GetDirectoryFromPath, sixth
  ASSERT_EQ((callSlot<S, QString*>(paths_.get(), kFirstMemberSlot + 6, QStringLiteral("/p/a.JPG"), &out)), S_OK);
  EXPECT_EQ(out, QStringLiteral("a.JPG"));  // GetFilenameFromPath, seventh
  ASSERT_EQ((callSlot<S, QString*>(paths_.get(), kFirstMemberSlot + 7, QStringLiteral("/p/a.JPG"), &out)), S_OK);
  EXPECT_EQ(out, QStringLiteral("/p/a"));  // GetFileTitle, eighth
  ASSERT_EQ((callSlot<S, QString*>(paths_.get(), kFirstMemberSlot + 3, QStringLiteral("/p/"), &out)), S_OK);
  EXPECT_EQ(out, QStringLiteral("/p"));  // DeleteLastSlash, fourth

  // GetFileName, first: a dialog the test cancels.
  QVariant index(3);
  testsupport::whenShown<QFileDialog>([](QFileDialog* d) { d->reject(); });
  using V = const QVariant&;
  out = QStringLiteral("unset");
  ASSERT_EQ((callSlot<WId, S, V, V, V, V, V, QVariant*, QString*>(
                paths_.get(), kFirstMemberSlot + 0, WId{0}, kPictureFilter, QVariant(), QVariant(),
                QVariant(), QVariant(), QVariant(), &index, &out)),
            S_OK);
  EXPECT_EQ(out, QString());
  EXPECT_EQ(index, QVariant(3));
}

TEST_F(FilesPathsTest, SplitsLinuxPaths) {
  EXPECT_EQ(directory(QStringLiteral("/home/u/Photos/img.jpg")), QStringLiteral("/home/u/Photos"));
  EXPECT_EQ(fileName(QStringLiteral("/home/u/Photos/img.jpg")), QStringLiteral("img.jpg"));
  EXPECT_EQ(directory(QStringLiteral("img.jpg")), QString());  // a bare name has no folder
  EXPECT_EQ(fileName(QStringLiteral("img.jpg")), QStringLiteral("img.jpg"));
  EXPECT_EQ(directory(QStringLiteral("/img.jpg")), QString());  // a file in the root
  EXPECT_EQ(fileName(QStringLiteral("/Photos/")), QString());

  EXPECT_EQ(ext(QStringLiteral("/home/u/Photos/img.JPG")), QStringLiteral("JPG"));  // case kept
  EXPECT_EQ(title(QStringLiteral("/home/u/Photos/img.JPG")), QStringLiteral("/home/u/Photos/img"));
  EXPECT_EQ(ext(QStringLiteral("/p/archive.tar.gz")), QStringLiteral("gz"));
  // The last dot of the whole text counts, even in a folder name.
  EXPECT_EQ(ext(QStringLiteral("/home/my.photos/img")), QStringLiteral("photos/img"));
  EXPECT_EQ(title(QStringLiteral("/home/my.photos/img")), QStringLiteral("/home/my"));
  EXPECT_EQ(ext(QStringLiteral("/home/u/img")), QString());
  EXPECT_EQ(title(QStringLiteral("/home/u/img")), QStringLiteral("/home/u/img"));

  QString out;
  EXPECT_EQ(paths_->DeleteLastSlash(QStringLiteral("/a/b//"), &out), S_OK);
  EXPECT_EQ(out, QStringLiteral("/a/b/"));  // one slash at most
  EXPECT_EQ(paths_->DeleteLastSlash(QStringLiteral("/a/b"), &out), S_OK);
  EXPECT_EQ(out, QStringLiteral("/a/b"));

  // The splitting members count positions in 16 bits.
  const QString tooLong = QLatin1Char('/') + QString(32767, QLatin1Char('a'));
  out = QStringLiteral("unset");
  EXPECT_EQ(raisedNumber(paths_->GetDirectoryFromPath(tooLong, &out)), rt::ErrOverflow);
  EXPECT_EQ(raisedNumber(paths_->GetFilenameFromPath(tooLong, &out)), rt::ErrOverflow);
  EXPECT_EQ(out, QStringLiteral("unset"));
  EXPECT_EQ(fileName(tooLong.left(32767)), QString(32766, QLatin1Char('a')));
}

TEST_F(FilesPathsTest, RelPathWalksFromTheReferenceFolder) {
  QString abs = QStringLiteral("/Data/B/f.txt");
  EXPECT_EQ(relPath(QStringLiteral("/Data/A"), abs), QStringLiteral("../B/f.txt"));
  abs = QStringLiteral("/Data/A/B/f.txt");
  EXPECT_EQ(relPath(QStringLiteral("/Data/A"), abs), QStringLiteral("B/f.txt"));
  abs = QStringLiteral("/Data");
  EXPECT_EQ(relPath(QStringLiteral("/Data/A/B"), abs), QStringLiteral("../.."));
  abs = QStringLiteral("/Data/A");
  EXPECT_EQ(relPath(QStringLiteral("/Data/A"), abs), QString());  // identical paths

  // No shared first folder (or root): the absolute path comes back untouched.
  abs = QStringLiteral("/Two/x/");
  EXPECT_EQ(relPath(QStringLiteral("/One/A"), abs), QStringLiteral("/Two/x/"));
  EXPECT_EQ(abs, QStringLiteral("/Two/x/"));
  abs = QStringLiteral("/data/x");
  EXPECT_EQ(relPath(QStringLiteral("/Data/A"), abs), QStringLiteral("/data/x"));  // case counts
  abs = QStringLiteral("Data/x");
  EXPECT_EQ(relPath(QStringLiteral("/Data/A"), abs), QStringLiteral("Data/x"));

  // Trailing separators: ignored, and the caller's absolute path loses its own.
  abs = QStringLiteral("/Data/B/");
  EXPECT_EQ(relPath(QStringLiteral("/Data/A/"), abs), QStringLiteral("../B"));
  EXPECT_EQ(abs, QStringLiteral("/Data/B"));
  // Doubled separators name the same folders.
  abs = QStringLiteral("/Data//B/f.txt");
  EXPECT_EQ(relPath(QStringLiteral("//Data/A"), abs), QStringLiteral("../B/f.txt"));
  // A dot in a folder name is plain text.
  abs = QStringLiteral("/Data/v1.2/f");
  EXPECT_EQ(relPath(QStringLiteral("/Data/v1.2/sub"), abs), QStringLiteral("../f"));
}

TEST_F(FilesPathsTest, TempFileNameCreatesAnEmptyUniqueFile) {
  const QString dir = testsupport::makeTempDir(QStringLiteral("tmpnames"));
  QString first, second;
  ASSERT_EQ(paths_->GetTempFileName(dir, &first), S_OK);
  ASSERT_EQ(paths_->GetTempFileName(dir + QLatin1Char('/'), &second), S_OK);
  for (const QString& made : {first, second}) {
    const QFileInfo info(made);
    EXPECT_EQ(info.absolutePath(), dir) << made.toStdString();
    EXPECT_TRUE(info.isFile()) << made.toStdString();
    EXPECT_EQ(info.size(), 0);
    EXPECT_TRUE(info.fileName().contains(QRegularExpression(QStringLiteral("^~OR[0-9A-F]{4}\\.TMP$"))))
        << made.toStdString();
  }
  EXPECT_NE(first, second);

  // No folder given: the temporary folder ($TMPDIR).
  QString inTemp;
  ASSERT_EQ(paths_->GetTempFileName(QVariant(), &inTemp), S_OK);
  EXPECT_EQ(QFileInfo(inTemp).absolutePath(), QDir(QDir::tempPath()).absolutePath());
  EXPECT_TRUE(QFileInfo(inTemp).isFile());

  // A missing folder, or a file where the folder should be: "".
  QString none = QStringLiteral("unset");
  ASSERT_EQ(paths_->GetTempFileName(dir + QStringLiteral("/missing"), &none), S_OK);
  EXPECT_EQ(none, QString());
  ASSERT_EQ(paths_->GetTempFileName(first, &none), S_OK);
  EXPECT_EQ(none, QString());
}

TEST_F(FilesPathsTest, OpenDialogReturnsTheChosenFileAndFilter) {
  const QString dir = folderWith({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("notes")});
  QVariant index(2);
  testsupport::whenShown<QFileDialog>([&](QFileDialog* d) {
    EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Choisir une image"));
    EXPECT_EQ(d->directory().absolutePath(), dir);
    EXPECT_EQ(d->nameFilters(), (QStringList{QStringLiteral("Images JPEG (*.jpg *.jpeg)"),
                                             QStringLiteral("Fichiers Tindra (*.tdc)"),
                                             QStringLiteral("Tous les fichiers (*)")}));
    EXPECT_EQ(d->selectedNameFilter(), QStringLiteral("Fichiers Tindra"));  // index 2, details hidden
    d->selectNameFilter(d->nameFilters().at(2));
    typeName(d, QStringLiteral("notes"));
    static_cast<QDialog*>(d)->accept();  // QFileDialog::accept, validation included
  });
  EXPECT_EQ(getFileName(kPictureFilter, false, false, dir, &index, QStringLiteral("Choisir une image")),
            dir + QStringLiteral("/notes"));
  EXPECT_EQ(index.toInt(), 3);
}

TEST_F(FilesPathsTest, MultipleChoiceGivesFolderThenNames) {
  const QString dir = folderWith({QStringLiteral("a.jpg"), QStringLiteral("b.jpg")});
  QVariant index;  // missing: first filter
  testsupport::whenShown<QFileDialog>([](QFileDialog* d) {
    EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Ouvrir"));
    typeName(d, QStringLiteral("\"a.jpg\" \"b.jpg\""));
    static_cast<QDialog*>(d)->accept();  // QFileDialog::accept, validation included
  });
  EXPECT_EQ(getFileName(kPictureFilter, false, true, dir, &index),
            dir + kNul + QStringLiteral("a.jpg") + kNul + QStringLiteral("b.jpg"));
  EXPECT_EQ(index.toInt(), 1);

  // One file chosen in multiple mode: its full path.
  testsupport::whenShown<QFileDialog>([](QFileDialog* d) {
    typeName(d, QStringLiteral("b.jpg"));
    static_cast<QDialog*>(d)->accept();  // QFileDialog::accept, validation included
  });
  EXPECT_EQ(getFileName(kPictureFilter, false, true, dir, &index), dir + QStringLiteral("/b.jpg"));
}

TEST_F(FilesPathsTest, CancelledDialogKeepsTheFilterIndex) {
  const QString dir = folderWith({QStringLiteral("a.jpg")});
  QVariant index(2);
  testsupport::whenShown<QFileDialog>([](QFileDialog* d) {
    d->selectNameFilter(d->nameFilters().at(0));
    typeName(d, QStringLiteral("a.jpg"));
    d->reject();
  });
  EXPECT_EQ(getFileName(kPictureFilter, false, false, dir, &index), QString());
  EXPECT_EQ(index, QVariant(2));
}

TEST_F(FilesPathsTest, SaveDialogReturnsANewPath) {
  const QString dir = folderWith({});
  QVariant index(1);
  testsupport::whenShown<QFileDialog>([](QFileDialog* d) {
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Enregistrer sous"));
    // A name in a folder that does not exist is refused with a message; the dialog stays.
    QString warning;
    testsupport::whenShown<QMessageBox>([&](QMessageBox* box) {
      warning = box->text();
      box->accept();
    });
    typeName(d, QStringLiteral("absent/nouveau.tdc"));
    static_cast<QDialog*>(d)->accept();
    EXPECT_TRUE(warning.contains(QStringLiteral("Le chemin d'accès n'existe pas."))) << warning.toStdString();
    EXPECT_TRUE(d->isVisible());
    typeName(d, QStringLiteral("nouveau.tdc"));
    static_cast<QDialog*>(d)->accept();  // QFileDialog::accept, validation included
  });
  EXPECT_EQ(getFileName(QStringLiteral("Fichiers de configuration Tindra (*.tdc)|*.tdc"), true,
                        false, dir, &index),
            dir + QStringLiteral("/nouveau.tdc"));
  EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/nouveau.tdc")));  // choosing writes nothing
}

TEST_F(FilesPathsTest, ChooseDirectoryPreselectsAndReturnsTheFolder) {
  const QString dir = folderWith({});
  QDir(dir).mkdir(QStringLiteral("sub"));
  QWidget form;
  QString out = QStringLiteral("unset");

  QWidget child(&form);  // not a form: refused before any dialog opens
  EXPECT_EQ(raisedNumber(paths_->ChooseDirectory(&child, QStringLiteral("?"), dir, nullptr, &out)), 1024);
  EXPECT_EQ(out, QStringLiteral("unset"));

  testsupport::whenShown<QDialog>(
      [&](QDialog* d) {
        auto* status = d->findChild<QLabel*>(QStringLiteral("statusText"));
        ASSERT_NE(status, nullptr);
        EXPECT_EQ(status->text(), dir + QStringLiteral("/sub"));  // the full path of the selection
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Rechercher un dossier"));
        static_cast<QDialog*>(d)->accept();
      },
      QStringLiteral("BrowseDirectory"));
  ASSERT_EQ(paths_->ChooseDirectory(&form, QStringLiteral("Dossier des photos :"), dir + QStringLiteral("/sub"),
                                    nullptr, &out),
            S_OK);
  EXPECT_EQ(out, dir + QStringLiteral("/sub"));

  testsupport::whenShown<QDialog>([](QDialog* d) { d->reject(); }, QStringLiteral("BrowseDirectory"));
  QVariant noNetwork(true);
  ASSERT_EQ(paths_->ChooseDirectory(&form, QStringLiteral("?"), QVariant(), &noNetwork, &out), S_OK);
  EXPECT_EQ(out, QString());

  // Late-bound, the form travels as an object: one that is not a widget is refused as well, the
  // form itself is taken.
  const QString name = QStringLiteral("ChooseDirectory");
  DISPID id = DISPID_UNKNOWN;
  ASSERT_EQ(paths_->GetIDsOfNames(IID__FilesPaths, &name, 1, 0, &id), S_OK);
  QObject notAWidget;
  QVariant args[] = {QVariant::fromValue(&notAWidget), QVariant(QStringLiteral("?")), QVariant(dir)};
  DispParams params{args, 3};
  ExcepInfo error;
  QVariant result;
  EXPECT_EQ(paths_->Invoke(id, IID__FilesPaths, 0, DISPATCH_METHOD, &params, &result, &error, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(error.number, 1024);
  testsupport::whenShown<QDialog>([](QDialog* d) { d->accept(); }, QStringLiteral("BrowseDirectory"));
  args[0] = QVariant::fromValue(static_cast<QObject*>(&form));
  EXPECT_EQ(paths_->Invoke(id, IID__FilesPaths, 0, DISPATCH_METHOD, &params, &result, &error, nullptr), S_OK);
  EXPECT_EQ(result.toString(), dir);
}
