// The program's road to the library's window members: placement and the file dialog, through
// the Orvofonctions2 wrappers and the real library.

#include "app/common/Orvofonctions2.h"
#include "runtime/IniFile.h"
#include "runtime/RuntimeError.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QWidget>

TEST(Orvofonctions2Windows, PlacementSurvivesSaveAndRestore) {
  const QString file = testsupport::makeTempDir() + QStringLiteral("/Tindra.ini");
  QWidget closing;
  closing.setObjectName(QStringLiteral("wMain"));
  closing.setGeometry(40, 50, 320, 240);
  closing.show();
  QCoreApplication::processEvents();
  Orvofonctions2::SaveWindow(&closing, file);
  EXPECT_EQ(rt::ini::getString(QStringLiteral("wMain"), QStringLiteral("NormD"), QString(), 64, file),
            QStringLiteral("360"));

  QWidget opening;  // the next start, before the window shows
  opening.setObjectName(QStringLiteral("wMain"));
  Orvofonctions2::RestoreWindow(&opening, file);
  EXPECT_EQ(opening.geometry(), QRect(40, 50, 320, 240));

  QWidget child(&opening);
  try {
    Orvofonctions2::SaveWindow(&child, file);
    ADD_FAILURE() << "a child widget was accepted as a form";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 1024);
    EXPECT_EQ(e.description(), QStringLiteral("La fonction requiert un objet Form en paramètre."));
  }
}

TEST(Orvofonctions2Windows, FileDialogGivesThePathAndTheFilter) {
  const QString dir = testsupport::makeTempDir();
  ASSERT_TRUE(testsupport::writeFile(dir + QStringLiteral("/vacances.tdc"), "x"));
  QVariant index(1);
  testsupport::whenShown<QFileDialog>([](QFileDialog* d) {
    d->selectNameFilter(d->nameFilters().at(1));
    d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("vacances.tdc"));
    static_cast<QDialog*>(d)->accept();
  });
  const QString chosen = Orvofonctions2::GetFileName(
      0, QStringLiteral("Fichiers de configuration Tindra (*.tdc)|*.tdc|Tous les fichiers|*.*"), false, false,
      QString(), dir, QStringLiteral("Ouvrir un fichier de configuration"), index);
  EXPECT_EQ(chosen, dir + QStringLiteral("/vacances.tdc"));
  EXPECT_EQ(index.toInt(), 2);
  EXPECT_EQ(Orvofonctions2::GetFileExt(chosen), QStringLiteral("tdc"));
  EXPECT_EQ(Orvofonctions2::GetDirectoryFromPath(chosen), dir);
}
