// The rename-settings record: defaults, the change rule, index checks, the one shared record
// and the documents folder.

#include "app/naming/ConfigClass.h"
#include "runtime/RuntimeError.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <limits>
#include <vector>

namespace {

int errorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const rt::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

// One setter exercised twice: with the value the field already holds, then with another one
// that the getter must return.
struct SetterCase {
  const char* name;
  std::function<void(ConfigClass&)> setSame;
  std::function<void(ConfigClass&)> setOther;
  std::function<bool(const ConfigClass&)> holdsOther;
};

std::vector<SetterCase> setterCases() {
  std::vector<SetterCase> cases;
  for (int i = 1; i <= 3; ++i) {
    cases.push_back({"IsDateDigit", [i](ConfigClass& c) { c.SetIsDateDigit(i, true); },
                     [i](ConfigClass& c) { c.SetIsDateDigit(i, false); },
                     [i](const ConfigClass& c) { return !c.IsDateDigit(i); }});
    cases.push_back({"IsTimeDigit", [i](ConfigClass& c) { c.SetIsTimeDigit(i, false); },
                     [i](ConfigClass& c) { c.SetIsTimeDigit(i, true); },
                     [i](const ConfigClass& c) { return c.IsTimeDigit(i); }});
  }
  for (int i = 0; i <= 1; ++i) {
    cases.push_back({"IsDateSep", [i](ConfigClass& c) { c.SetIsDateSep(i, false); },
                     [i](ConfigClass& c) { c.SetIsDateSep(i, true); },
                     [i](const ConfigClass& c) { return c.IsDateSep(i); }});
    cases.push_back({"IsTimeSep", [i](ConfigClass& c) { c.SetIsTimeSep(i, false); },
                     [i](ConfigClass& c) { c.SetIsTimeSep(i, true); },
                     [i](const ConfigClass& c) { return c.IsTimeSep(i); }});
  }
  auto text = [&cases](const char* name, void (ConfigClass::*set)(const QString&),
                       const QString& (ConfigClass::*get)() const) {
    cases.push_back({name, [set](ConfigClass& c) { (c.*set)(QString()); },
                     [set](ConfigClass& c) { (c.*set)(QStringLiteral("x")); },
                     [get](const ConfigClass& c) { return (c.*get)() == "x"; }});
  };
  text("DateSep", &ConfigClass::SetDateSep, &ConfigClass::DateSep);
  text("TimeSep", &ConfigClass::SetTimeSep, &ConfigClass::TimeSep);
  text("DateTimeSep", &ConfigClass::SetDateTimeSep, &ConfigClass::DateTimeSep);
  text("Prefix", &ConfigClass::SetPrefix, &ConfigClass::Prefix);
  text("Postfix", &ConfigClass::SetPostfix, &ConfigClass::Postfix);
  auto flag = [&cases](const char* name, void (ConfigClass::*set)(bool), bool (ConfigClass::*get)() const,
                       bool current) {
    cases.push_back({name, [=](ConfigClass& c) { (c.*set)(current); },
                     [=](ConfigClass& c) { (c.*set)(!current); },
                     [=](const ConfigClass& c) { return (c.*get)() == !current; }});
  };
  flag("IsSuffix", &ConfigClass::SetIsSuffix, &ConfigClass::IsSuffix, true);
  flag("OffsetApply", &ConfigClass::SetOffsetApply, &ConfigClass::OffsetApply, false);
  flag("OffsetNoDate", &ConfigClass::SetOffsetNoDate, &ConfigClass::OffsetNoDate, false);
  flag("Companions", &ConfigClass::SetCompanions, &ConfigClass::Companions, true);
  auto byte = [&cases](const char* name, void (ConfigClass::*set)(uint8_t), uint8_t (ConfigClass::*get)() const,
                       uint8_t current) {
    cases.push_back({name, [=](ConfigClass& c) { (c.*set)(current); },
                     [=](ConfigClass& c) { (c.*set)(255); },
                     [=](const ConfigClass& c) { return (c.*get)() == 255; }});
  };
  byte("SuffixType", &ConfigClass::SetSuffixType, &ConfigClass::SuffixType, 0);
  byte("Digits", &ConfigClass::SetDigits, &ConfigClass::Digits, 2);
  byte("NotExif", &ConfigClass::SetNotExif, &ConfigClass::NotExif, 0);
  byte("Extension", &ConfigClass::SetExtension, &ConfigClass::Extension, 0);
  cases.push_back({"StartNum", [](ConfigClass& c) { c.SetStartNum(1); },
                   [](ConfigClass& c) { c.SetStartNum(std::numeric_limits<int32_t>::min()); },
                   [](const ConfigClass& c) { return c.StartNum() == std::numeric_limits<int32_t>::min(); }});
  cases.push_back({"DateExif", [](ConfigClass& c) { c.SetDateExif(0.0); },
                   [](ConfigClass& c) { c.SetDateExif(45366.5); },
                   [](const ConfigClass& c) { return c.DateExif() == 45366.5; }});
  cases.push_back({"DateReal", [](ConfigClass& c) { c.SetDateReal(0.0); },
                   [](ConfigClass& c) { c.SetDateReal(-1.25); },
                   [](const ConfigClass& c) { return c.DateReal() == -1.25; }});
  return cases;
}

}  // namespace

// The stored defaults are checked through the file a fresh record writes (SettingsFileTest).
TEST(ConfigClassTest, FreshRecordHasNoCorrectionPathOrMark) {
  const ConfigClass c;
  EXPECT_FALSE(c.OffsetApply());
  EXPECT_FALSE(c.OffsetNoDate());
  EXPECT_EQ(c.DateExif(), 0.0);
  EXPECT_EQ(c.DateReal(), 0.0);
  EXPECT_EQ(c.Path(), "");
  EXPECT_FALSE(c.Modified());
}

TEST(ConfigClassTest, OnlyAChangedValueMarksTheRecord) {
  for (const SetterCase& s : setterCases()) {
    ConfigClass c;
    s.setSame(c);
    EXPECT_FALSE(c.Modified()) << s.name << " marked the record with an equal value";
    s.setOther(c);
    EXPECT_TRUE(c.Modified()) << s.name;
    EXPECT_TRUE(s.holdsOther(c)) << s.name << " did not store its value";
    s.setSame(c);  // changing back never clears the mark
    EXPECT_TRUE(c.Modified()) << s.name;
  }
}

TEST(ConfigClassTest, SettersTouchOnlyTheirOwnField) {
  const auto cases = setterCases();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    ConfigClass c;
    cases[i].setOther(c);
    for (std::size_t j = 0; j < cases.size(); ++j) {
      if (j == i) continue;
      EXPECT_FALSE(cases[j].holdsOther(c)) << cases[i].name << " changed " << cases[j].name;
    }
  }
}

TEST(ConfigClassTest, PathNeverMarksTheRecord) {
  ConfigClass c;
  c.SetPath("/somewhere/else.tdc");
  EXPECT_EQ(c.Path(), "/somewhere/else.tdc");
  c.SetPath("");
  EXPECT_FALSE(c.Modified());
}

TEST(ConfigClassTest, BadIndexesRaiseSubscriptErrorAndChangeNothing) {
  ConfigClass c;
  for (int32_t bad : {0, 4, -1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    EXPECT_EQ(errorNumberOf([&] { (void)c.IsDateDigit(bad); }), rt::ErrSubscript) << bad;
    EXPECT_EQ(errorNumberOf([&] { c.SetIsDateDigit(bad, false); }), rt::ErrSubscript) << bad;
    EXPECT_EQ(errorNumberOf([&] { (void)c.IsTimeDigit(bad); }), rt::ErrSubscript) << bad;
    EXPECT_EQ(errorNumberOf([&] { c.SetIsTimeDigit(bad, true); }), rt::ErrSubscript) << bad;
  }
  for (int32_t bad : {2, -1, 3}) {
    EXPECT_EQ(errorNumberOf([&] { (void)c.IsDateSep(bad); }), rt::ErrSubscript) << bad;
    EXPECT_EQ(errorNumberOf([&] { c.SetIsDateSep(bad, true); }), rt::ErrSubscript) << bad;
    EXPECT_EQ(errorNumberOf([&] { (void)c.IsTimeSep(bad); }), rt::ErrSubscript) << bad;
    EXPECT_EQ(errorNumberOf([&] { c.SetIsTimeSep(bad, true); }), rt::ErrSubscript) << bad;
  }
  EXPECT_FALSE(c.Modified());
  EXPECT_EQ(c.FormatName("20240315143025"), "20240315");
}

TEST(ConfigClassTest, CurrentConfigIsOneSharedRecord) {
  ConfigClass& first = CurrentConfig();
  EXPECT_EQ(&first, &CurrentConfig());
  const QString before = first.Prefix();
  first.SetPrefix(before + "z");
  EXPECT_EQ(CurrentConfig().Prefix(), before + "z");
  first.SetPrefix(before);
}

TEST(ConfigClassTest, PersonalFolderIsDocumentsElseHomeElseEmpty) {
  const QByteArray savedHome = qgetenv("HOME");
  const QString home = testsupport::makeTempDir("home");
  qputenv("HOME", QFile::encodeName(home));
  EXPECT_EQ(GetPersonalFolder(), QDir::cleanPath(home));
  ASSERT_TRUE(QDir(home).mkpath("Documents"));
  EXPECT_EQ(GetPersonalFolder(), QDir::cleanPath(home + "/Documents"));
  qputenv("HOME", QFile::encodeName(home + "/missing"));
  EXPECT_EQ(GetPersonalFolder(), "");
  qputenv("HOME", savedHome);
}
