// Divers, created by class identifier: separators, typed minimum and maximum, number reading,
// ceiling, replace, and starting a program.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComPtr.h"
#include "tests/lib/LibTestSupport.h"
#include "tests/lib/RaisedError.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <cmath>
#include <cstdlib>

using rt::com::ComPtr;

namespace {

class DiversTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(rt::com::createInstance(CLSID_Divers, divers_), S_OK); }

  QVariant maxi(const QVariant& a, const QVariant& b) {
    QVariant r;
    EXPECT_EQ(divers_->Maxi(a, b, &r), S_OK);
    return r;
  }
  QVariant mini(const QVariant& a, const QVariant& b) {
    QVariant r;
    EXPECT_EQ(divers_->Mini(a, b, &r), S_OK);
    return r;
  }
  QVariant borner(QVariant value, QVariant low, QVariant high) {
    EXPECT_EQ(divers_->Borner(&value, &low, &high), S_OK);
    return value;
  }
  float num(const QString& text) {
    float r = -999.0f;
    EXPECT_EQ(divers_->Num(text, &r), S_OK) << qPrintable(text);
    return r;
  }
  bool launch(const QString& app, const QString& dir, const QString& cmd, const QVariant& masked = {}) {
    VARIANT_BOOL r = 7;
    EXPECT_EQ(divers_->LaunchAndWaitForApp(app, dir, cmd, masked, &r), S_OK);
    return r == VARIANT_TRUE;
  }

  ComPtr<_Divers> divers_;
};

}  // namespace

TEST_F(DiversTest, MaxiIsTheFifthMemberAndMiniTheFourth) {
  using V = const QVariant*;
  const QVariant three(3), five(5);
  QVariant r;
  ASSERT_EQ((libtest::callSlot<V, V, QVariant*>(divers_.get(), libtest::kFirstMemberSlot + 4, &three, &five, &r)), S_OK);
  EXPECT_EQ(r, five);
  ASSERT_EQ((libtest::callSlot<V, V, QVariant*>(divers_.get(), libtest::kFirstMemberSlot + 3, &three, &five, &r)), S_OK);
  EXPECT_EQ(r, three);
  // The separators lead the interface.
  QString sep;
  ASSERT_EQ((libtest::callSlot<QString*>(divers_.get(), libtest::kFirstMemberSlot + 1, &sep)), S_OK);
  EXPECT_EQ(sep, QStringLiteral("."));
}

TEST_F(DiversTest, MiniMaxiCompareWithinAKindAndKeepTheArgumentsType) {
  EXPECT_EQ(maxi(3, 5), QVariant(5));
  // A numeric text is compared as a number and comes back as text.
  const QVariant ten = maxi(QStringLiteral("10"), 9);
  EXPECT_EQ(ten.typeId(), QMetaType::QString);
  EXPECT_EQ(ten.toString(), QStringLiteral("10"));
  // Ties: Maxi gives ValB, Mini gives ValA.
  EXPECT_EQ(maxi(5, 5.0).typeId(), QMetaType::Double);
  EXPECT_EQ(mini(5, 5.0).typeId(), QMetaType::Int);
  // Texts compare by character codes: upper case first.
  EXPECT_EQ(mini(QStringLiteral("abc"), QStringLiteral("ABD")), QVariant(QStringLiteral("ABD")));
  EXPECT_EQ(maxi(QStringLiteral("b"), QStringLiteral("a")), QVariant(QStringLiteral("b")));
  // Dates: a date object against a text that reads as a date.
  const QDateTime morning(QDate(2021, 3, 4), QTime(9, 0));
  EXPECT_EQ(maxi(morning, QStringLiteral("04/03/2021 10:00")), QVariant(QStringLiteral("04/03/2021 10:00")));
  EXPECT_EQ(mini(QStringLiteral("2021/03/05"), morning), QVariant(morning));
  // Booleans are numbers: true = 1.
  EXPECT_EQ(maxi(true, 0.5), QVariant(true));
  EXPECT_EQ(maxi(-2, 1.5f).toFloat(), 1.5f);
}

TEST_F(DiversTest, MixedKindsFollowTheGeneralComparison) {
  // A number sorts before a text that is not a number.
  EXPECT_EQ(maxi(1000, QStringLiteral("abc")), QVariant(QStringLiteral("abc")));
  EXPECT_EQ(mini(QStringLiteral("abc"), 1000), QVariant(1000));
  // Also before a text that reads as a date, whatever the date's value; and a numeric text
  // sorts after a date. Two values held as text compare as texts.
  EXPECT_EQ(maxi(QStringLiteral("04/03/2021"), 100000), QVariant(QStringLiteral("04/03/2021")));
  EXPECT_EQ(maxi(QStringLiteral("1"), QDateTime(QDate(2021, 3, 4), QTime(9, 0))), QVariant(QStringLiteral("1")));
  EXPECT_EQ(mini(QStringLiteral("!"), QStringLiteral("04/03/2021")), QVariant(QStringLiteral("!")));
  // Empty is 0 beside a number, "" beside a text.
  EXPECT_EQ(maxi(QVariant(), -1), QVariant());
  EXPECT_EQ(mini(QVariant(), QStringLiteral("a")), QVariant());
  // A comparison with null is never true.
  const QVariant null = QVariant::fromValue(nullptr);
  EXPECT_EQ(maxi(null, 5), QVariant(5));
  EXPECT_EQ(maxi(5, null).typeId(), QMetaType::Nullptr);
  // Lists and objects cannot be compared.
  QVariant r = 1;
  const HRESULT status = divers_->Maxi(QVariantList{1, 2}, 3, &r);
  const libtest::RaisedError e = libtest::raisedError(status, divers_.get());
  EXPECT_EQ(e.number, 13);
  EXPECT_EQ(e.description, QStringLiteral("Incompatibilité de type"));
  EXPECT_EQ(r, QVariant(1));
  EXPECT_EQ(divers_->Mini(QVariant::fromValue(static_cast<QObject*>(qApp)), 3, &r), errorStatus(13));
}

TEST_F(DiversTest, BornerClampsAndPrefersTheMinimum) {
  EXPECT_EQ(borner(15, 0, 10), QVariant(10));
  EXPECT_EQ(borner(-3, 0, 10), QVariant(0));
  EXPECT_EQ(borner(7, 0, 10), QVariant(7));
  EXPECT_EQ(borner(5, 10, 0), QVariant(10));  // minimum above maximum
  EXPECT_EQ(borner(QStringLiteral("m"), QStringLiteral("a"), QStringLiteral("k")), QVariant(QStringLiteral("k")));
  QVariant value = 1, low = 0;
  EXPECT_EQ(divers_->Borner(&value, &low, nullptr), errorStatus(5));
  EXPECT_EQ(value, QVariant(1));
}

TEST_F(DiversTest, SeparatorsComeFromTheLocaleAndAreKept) {
  // The test processes run in the C locale.
  QString list, dec, mil;
  ASSERT_EQ(divers_->SepList(&list), S_OK);
  ASSERT_EQ(divers_->SepDec(&dec), S_OK);
  ASSERT_EQ(divers_->SepMil(&mil), S_OK);
  EXPECT_EQ(list, QStringLiteral(","));
  EXPECT_EQ(dec, QStringLiteral("."));
  EXPECT_EQ(mil, QStringLiteral(","));
  QString again;
  ASSERT_EQ(divers_->SepDec(&again), S_OK);
  EXPECT_EQ(again, dec);
}

TEST_F(DiversTest, NumToleratesGroupingAndUnusualText) {
  EXPECT_FLOAT_EQ(num(QStringLiteral("12.5")), 12.5f);
  EXPECT_FLOAT_EQ(num(QStringLiteral("1 234.5")), 1234.5f);
  EXPECT_FLOAT_EQ(num(QStringLiteral(" 1 234")), 1234.0f);  // a leading blank does not stop the grouping
  EXPECT_FLOAT_EQ(num(QStringLiteral("1\u00A0234")), 1234.0f);
  EXPECT_FLOAT_EQ(num(QStringLiteral("1,234.5")), 1234.5f);
  EXPECT_FLOAT_EQ(num(QStringLiteral("1.2,34")), 1.234f);  // commas dropped beside a dot
  EXPECT_FLOAT_EQ(num(QStringLiteral("1,2,3x")), 123.0f);  // two commas: both removed
  EXPECT_FLOAT_EQ(num(QStringLiteral("3.5 kg")), 3.5f);    // the leading number
  EXPECT_FLOAT_EQ(num(QStringLiteral("-7e2")), -700.0f);
  EXPECT_EQ(num(QString()), 0.0f);
  EXPECT_EQ(num(QStringLiteral("abc")), 0.0f);
  EXPECT_EQ(num(QStringLiteral("12abc")), 0.0f);  // neither a number nor grouped digits
  // Hexadecimal and octal texts, as the runtime reads them.
  EXPECT_EQ(num(QStringLiteral("&H10")), 16.0f);
  EXPECT_EQ(num(QStringLiteral("&o17")), 15.0f);
  // Beyond the double range there is no number: 0, nothing raised.
  EXPECT_EQ(num(QStringLiteral("1e400")), 0.0f);
  EXPECT_EQ(num(QStringLiteral("-1.5e400x")), 0.0f);
  // A double that does not fit the result overflows.
  float r = 0;
  EXPECT_EQ(divers_->Num(QStringLiteral("1e39"), &r), errorStatus(6));
}

TEST_F(DiversTest, CeilingAddsOneToTheIntegerPartOfAnyFraction) {
  auto ceiling = [&](double v) {
    int32_t r = 0;
    EXPECT_EQ(divers_->Ceiling(v, &r), S_OK) << v;
    return r;
  };
  EXPECT_EQ(ceiling(2.0), 2);
  EXPECT_EQ(ceiling(2.1), 3);
  // Below zero too: one above the truncation.
  EXPECT_EQ(ceiling(-2.5), -1);
  EXPECT_EQ(ceiling(-0.5), 1);
  EXPECT_EQ(ceiling(-3.0), -3);
  EXPECT_EQ(ceiling(2147483646.5), 2147483647);
  EXPECT_EQ(ceiling(-2147483648.5), -2147483647);
  int32_t r = 0;
  const libtest::RaisedError e = libtest::raisedError(divers_->Ceiling(2147483647.5, &r), divers_.get());
  EXPECT_EQ(e.number, 6);
  EXPECT_EQ(e.source, QStringLiteral("OrvoLib22"));
  EXPECT_EQ(divers_->Ceiling(-3e9, &r), errorStatus(6));
  EXPECT_EQ(divers_->Ceiling(std::nan(""), &r), errorStatus(6));
}

TEST_F(DiversTest, RemplaceReplacesTheFirstExactMatchOnly) {
  auto remplace = [&](const QString& o, const QString& s, const QString& w) {
    QVariant r;
    EXPECT_EQ(divers_->Remplace(o, s, w, &r), S_OK);
    EXPECT_EQ(r.typeId(), QMetaType::QString);
    return r.toString();
  };
  EXPECT_EQ(remplace(QStringLiteral("a-b-c"), QStringLiteral("-"), QStringLiteral("+")), QStringLiteral("a+b-c"));
  EXPECT_EQ(remplace(QStringLiteral("Abc"), QStringLiteral("a"), QStringLiteral("x")), QStringLiteral("Abc"));
  EXPECT_EQ(remplace(QStringLiteral("abc"), QString(), QStringLiteral(">")), QStringLiteral(">abc"));
  EXPECT_EQ(remplace(QStringLiteral("abcabc"), QStringLiteral("bc"), QString()), QStringLiteral("aabc"));
}

TEST_F(DiversTest, LaunchWaitsForTheProgramWhichInheritsTheEnvironment) {
  const QString dir = testsupport::makeTempDir(QStringLiteral("launch"));
  qputenv("TINDRA_LAUNCH_MARK", "inherited value");
  const QString script = QStringLiteral("-c \"sleep 0.2; echo $TINDRA_LAUNCH_MARK > out.txt\"");
  EXPECT_TRUE(launch(QStringLiteral("/bin/sh"), dir, script));
  // Written after the pause, in the working folder: the call waited for the end.
  EXPECT_EQ(testsupport::readFile(dir + QStringLiteral("/out.txt")), QByteArray("inherited value\n"));

  // A program whose path holds a blank, started hidden.
  const QString spaced = testsupport::makeTempDir(QStringLiteral("with blank")) + QStringLiteral("/run it.sh");
  ASSERT_TRUE(testsupport::writeFile(spaced, "#!/bin/sh\necho \"$1\" > \"$2\"\n"));
  QFile::setPermissions(spaced, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_TRUE(launch(spaced, dir, QStringLiteral("second second.txt"), true));
  EXPECT_EQ(testsupport::readFile(dir + QStringLiteral("/second.txt")), QByteArray("second\n"));
  qunsetenv("TINDRA_LAUNCH_MARK");
}

TEST_F(DiversTest, LaunchReportsAFailedStartAsFalse) {
  const QString dir = testsupport::makeTempDir(QStringLiteral("launch"));
  EXPECT_FALSE(launch(dir + QStringLiteral("/no-such-program"), dir, QString()));
  EXPECT_FALSE(launch(QStringLiteral("/bin/sh"), dir + QStringLiteral("/missing"), QStringLiteral("-c true")));
  EXPECT_FALSE(launch(QString(), dir, QString()));
  // A program that fails still started and ended.
  EXPECT_TRUE(launch(QStringLiteral("/bin/sh"), dir, QStringLiteral("-c \"exit 3\"")));
}

// Run by LocaleNumbersFollowTheUserLocale in a child process whose locale is French.
TEST_F(DiversTest, DISABLED_CommaDecimalLocale) {
  QString list, dec;
  ASSERT_EQ(divers_->SepList(&list), S_OK);
  ASSERT_EQ(divers_->SepDec(&dec), S_OK);
  EXPECT_EQ(dec, QStringLiteral(","));
  EXPECT_EQ(list, QStringLiteral(";"));
  EXPECT_FLOAT_EQ(num(QStringLiteral("1\u00A0234,5")), 1234.5f);
  EXPECT_FLOAT_EQ(num(QStringLiteral("2,25x")), 2.25f);  // the one comma becomes the decimal point
  EXPECT_FLOAT_EQ(num(QStringLiteral("1,234,5")), 12345.0f);
  EXPECT_FLOAT_EQ(num(QStringLiteral("1.5")), 1.5f);
}

TEST(DiversLocaleTest, LocaleNumbersFollowTheUserLocale) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=DiversTest.DISABLED_CommaDecimalLocale"),
               QStringLiteral("--gtest_also_run_disabled_tests")});
  ASSERT_TRUE(child.waitForFinished(60000));
  const QString output = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitCode(), 0) << qPrintable(output);
  EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << qPrintable(output);
}
