#include "runtime/RuntimeError.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

// Restores the default error source a test changed.
struct SourceGuard {
  ~SourceGuard() { rt::setDefaultErrorSource(QString()); }
};

}  // namespace

TEST(RuntimeError, FrenchDescriptions) {
  struct Case {
    int32_t number;
    const char* text;
  };
  for (const Case& c : std::initializer_list<Case>{
           {5, "Argument ou appel de procédure incorrect"},
           {6, "Dépassement de capacité"},
           {9, "L'indice n'appartient pas à la sélection"},
           {13, "Incompatibilité de type"},
           {53, "Fichier introuvable"},
           {58, "Ce fichier existe déjà"},
           {62, "Entrée au-delà de la fin du fichier"},
           {70, "Permission refusée"},
           {76, "Chemin d'accès introuvable"},
           {4242, "Erreur définie par l'application ou par l'objet"},
           {0, "Erreur définie par l'application ou par l'objet"},
       }) {
    EXPECT_EQ(rt::errorDescription(c.number), QString::fromUtf8(c.text)) << c.number;
  }
}

TEST(RuntimeError, SourceAndDescriptionDefaultToTheRuntimes) {
  SourceGuard guard;
  rt::setDefaultErrorSource(QStringLiteral("Tindra"));
  try {
    rt::raise(13);
    FAIL() << "raise returned";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 13);
    EXPECT_EQ(e.source(), QStringLiteral("Tindra"));
    EXPECT_EQ(e.description(), QStringLiteral("Incompatibilité de type"));
    EXPECT_STREQ(e.what(), "13: Incompatibilité de type");
  }
  try {
    rt::raise(1040, QStringLiteral("OrvoLib22"), QStringLiteral("Tableau trié"));
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 1040);
    EXPECT_EQ(e.source(), QStringLiteral("OrvoLib22"));
    EXPECT_EQ(e.description(), QStringLiteral("Tableau trié"));
  }
  // An empty (not absent) source or description is kept as given.
  const rt::RuntimeError blank(6, QStringLiteral(""), QStringLiteral(""));
  EXPECT_TRUE(blank.source().isEmpty());
  EXPECT_TRUE(blank.description().isEmpty());

  // Without a source of its own the runtime names the application.
  rt::setDefaultErrorSource(QString());
  EXPECT_EQ(rt::RuntimeError(5).source(), QCoreApplication::applicationName());
}

TEST(RuntimeError, FileErrorsFromErrno) {
  EXPECT_EQ(rt::fileErrorFromErrno(ENOENT), rt::ErrFileNotFound);
  EXPECT_EQ(rt::fileErrorFromErrno(ENOTDIR), rt::ErrPathNotFound);
  EXPECT_EQ(rt::fileErrorFromErrno(EEXIST), rt::ErrFileExists);
  EXPECT_EQ(rt::fileErrorFromErrno(EACCES), rt::ErrPermissionDenied);
  EXPECT_EQ(rt::fileErrorFromErrno(EPERM), rt::ErrPermissionDenied);
  EXPECT_EQ(rt::fileErrorFromErrno(EROFS), rt::ErrPermissionDenied);
  EXPECT_EQ(rt::fileErrorFromErrno(ENOSPC), rt::ErrDiskFull);
  EXPECT_EQ(rt::fileErrorFromErrno(EISDIR), rt::ErrPathFileAccess);
  EXPECT_EQ(rt::fileErrorFromErrno(EIO), rt::ErrPathFileAccess);
  EXPECT_EQ(rt::fileErrorFromErrno(0), rt::ErrPathFileAccess);
}
