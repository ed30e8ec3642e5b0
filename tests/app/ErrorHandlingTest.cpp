#include "app/common/ErrorHandling.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <vector>

namespace {

struct Shown {
  QString title;
  QString message;
};

// Records what the reporter shows for the life of the object.
class RecordingPresenter {
 public:
  RecordingPresenter()
      : previous_(ErrorHandling::SetPresenter(
            [this](const QString& title, const QString& message) { shown.push_back({title, message}); })) {}
  ~RecordingPresenter() { ErrorHandling::SetPresenter(previous_); }
  RecordingPresenter(const RecordingPresenter&) = delete;
  RecordingPresenter& operator=(const RecordingPresenter&) = delete;

  std::vector<Shown> shown;

 private:
  ErrorHandling::Presenter previous_;
};

}  // namespace

TEST(ErrorHandling, BuildsTheMessageFromModuleRoutineObjectAndEvent) {
  using ErrorHandling::BuildErrorMessage;
  EXPECT_EQ(BuildErrorMessage(QStringLiteral("Global.Unsigned"), 6, QStringLiteral("Dépassement de capacité")),
            QStringLiteral("Error Nr 6 : Dépassement de capacité\n\nModule : Global\nFunction : Unsigned"));
  EXPECT_EQ(BuildErrorMessage(QStringLiteral("wMain.lvwFiles_ItemClick"), 13, QStringLiteral("Incompatibilité de type")),
            QStringLiteral("Error Nr 13 : Incompatibilité de type\n\nModule : wMain\nObject : lvwFiles\nEvent : ItemClick"));
  EXPECT_EQ(BuildErrorMessage(QStringLiteral("NoDotHere_x"), 5, QStringLiteral("d")),
            QStringLiteral("Error Nr 5 : d\n\nModule : NoDotHere_x"));
  // An underscore before the dot does not count; only the first dot and the first "_" after it split.
  EXPECT_EQ(BuildErrorMessage(QStringLiteral("my_mod.Form_Query_Unload.x"), 9, QStringLiteral("d")),
            QStringLiteral("Error Nr 9 : d\n\nModule : my_mod\nObject : Form\nEvent : Query_Unload.x"));
}

TEST(ErrorHandling, ShowsThroughThePresenterWithTheProgramTitle) {
  RecordingPresenter presenter;
  ErrorHandling::ShowError(QStringLiteral("Global.Unsigned"), 6);
  ErrorHandling::ShowError(QStringLiteral("wMain.Form_Load"),
                           rt::RuntimeError(1024, QStringLiteral("OrvoLib22"),
                                            QStringLiteral("La fonction requiert un objet Form en paramètre.")));
  ASSERT_EQ(presenter.shown.size(), 2u);
  EXPECT_EQ(ErrorHandling::ProgramTitle(), QStringLiteral("Tindra"));
  EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Tindra"));
  EXPECT_EQ(presenter.shown[0].message,
            QStringLiteral("Error Nr 6 : Dépassement de capacité\n\nModule : Global\nFunction : Unsigned"));
  EXPECT_EQ(presenter.shown[1].message,
            QStringLiteral("Error Nr 1024 : La fonction requiert un objet Form en paramètre.\n\n"
                           "Module : wMain\nObject : Form\nEvent : Load"));
}

TEST(ErrorHandling, ReportsWhateverIsThrownAndGuardedReturnsFalse) {
  RecordingPresenter presenter;
  EXPECT_TRUE(ErrorHandling::Guarded(QStringLiteral("M.R"), [] {}));
  EXPECT_TRUE(presenter.shown.empty());

  EXPECT_FALSE(ErrorHandling::Guarded(QStringLiteral("M.R"), [] { rt::raise(13); }));
  EXPECT_FALSE(ErrorHandling::Guarded(QStringLiteral("M.R"), [] { throw std::bad_alloc(); }));
  EXPECT_FALSE(ErrorHandling::Guarded(QStringLiteral("M.R"), [] { throw std::runtime_error("x"); }));
  EXPECT_FALSE(ErrorHandling::Guarded(QStringLiteral("M.R"), [] { throw 42; }));
  ASSERT_EQ(presenter.shown.size(), 4u);
  EXPECT_TRUE(presenter.shown[0].message.startsWith(QStringLiteral("Error Nr 13 : Incompatibilité de type\n")));
  EXPECT_TRUE(presenter.shown[1].message.startsWith(QStringLiteral("Error Nr 7 : Mémoire insuffisante\n")));
  EXPECT_TRUE(presenter.shown[2].message.startsWith(QStringLiteral("Error Nr 5 : Argument ou appel de procédure incorrect\n")));
  EXPECT_TRUE(presenter.shown[3].message.startsWith(QStringLiteral("Error Nr 5 : ")));
}

TEST(ErrorHandling, DefaultPresenterWritesToStandardError) {
  const ErrorHandling::Presenter saved = ErrorHandling::SetPresenter({});
  testing::internal::CaptureStderr();
  ErrorHandling::ShowError(QStringLiteral("Global.Unsigned"), 6);
  const QString written = QString::fromLocal8Bit(testing::internal::GetCapturedStderr());
  ErrorHandling::SetPresenter(saved);
  EXPECT_TRUE(written.contains(QStringLiteral("Tindra")));
  EXPECT_TRUE(written.contains(QStringLiteral("Error Nr 6 : Dépassement de capacité\n\nModule : Global\nFunction : Unsigned")));
}
