// Divers.Maxi of the library as the program reaches it through its process-wide slot.

#include "app/common/Orvofonctions2.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <QString>
#include <QVariant>

TEST(OrvofonctionsMaxi, ComparesAsTheLibraryDoesAndRaisesItsErrors) {
  EXPECT_EQ(Orvofonctions2::Maxi(3, 5), QVariant(5));
  EXPECT_EQ(Orvofonctions2::Maxi(QStringLiteral("10"), 9), QVariant(QStringLiteral("10")));
  EXPECT_EQ(Orvofonctions2::Maxi(7, 7.0).typeId(), QMetaType::Double);  // a tie gives ValB
  try {
    Orvofonctions2::Maxi(QVariantList{1}, 2);
    FAIL() << "no error raised";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 13);
  }
}
