// RegBase, created by class identifier, on the test process's private registry store.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComPtr.h"
#include "runtime/RegistryStore.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>


using rt::com::ComPtr;

namespace {

class RegBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(rt::com::createInstance(CLSID_RegBase, reg_), S_OK); }

  bool setFails(int32_t root, const QString& key, const QString& value, QVariant name = {}) {
    VARIANT_BOOL r = 5;
    EXPECT_EQ(reg_->SetRegKey(root, key, value, name.isValid() ? &name : nullptr, &r), S_OK);
    return r == VARIANT_TRUE;
  }
  QString get(int32_t root, QString key, QVariant name = {}) {
    QString r = QStringLiteral("unset");
    EXPECT_EQ(reg_->GetRegKey(&root, &key, name.isValid() ? &name : nullptr, &r), S_OK);
    return r;
  }
  bool associate(const QString& app, const QString& ext, QVariant icon = {}) {
    VARIANT_BOOL r = 5;
    EXPECT_EQ(reg_->SetRegExtAssociation(app, ext, QStringLiteral("\"%1\""), QStringLiteral("Vue"),
                                         icon.isValid() ? &icon : nullptr, &r),
              S_OK);
    return r == VARIANT_TRUE;
  }
  static QString classesValue(const QString& key) {
    return rt::reg::queryValue(rt::reg::ClassesRoot, key, QString()).value_or(QStringLiteral("<none>"));
  }

  ComPtr<_RegBase> reg_;
};

}  // namespace

TEST_F(RegBaseTest, ValuesRoundTripAndSetRegKeyReportsFailureAsTrue) {
  const QString key = QStringLiteral("Software\\Tindra Tests\\RoundTrip");
  EXPECT_FALSE(setFails(HKEY_CURRENT_USER, key, QStringLiteral("défaut")));  // created
  EXPECT_FALSE(setFails(HKEY_CURRENT_USER, key, QStringLiteral("12"), QStringLiteral("Count")));
  EXPECT_EQ(get(HKEY_CURRENT_USER, key), QStringLiteral("défaut"));
  EXPECT_EQ(get(HKEY_CURRENT_USER, key, QStringLiteral("count")), QStringLiteral("12"));
  EXPECT_EQ(rt::reg::queryValue(HKEY_CURRENT_USER, key, QStringLiteral("Count")), QStringLiteral("12"));
  EXPECT_FALSE(setFails(HKEY_CURRENT_USER, key, QString(), QStringLiteral("Count")));
  EXPECT_EQ(get(HKEY_CURRENT_USER, key, QStringLiteral("Count")), QString());

  // Missing keys and values read as "".
  EXPECT_EQ(get(HKEY_CURRENT_USER, key, QStringLiteral("Nothing")), QString());
  EXPECT_EQ(get(HKEY_CURRENT_USER, key + QStringLiteral("\\Below")), QString());
  EXPECT_EQ(get(HKEY_LOCAL_MACHINE, key), QString());

  // A bad root or key path is a failure: true.
  EXPECT_TRUE(setFails(12345, key, QStringLiteral("x")));
  EXPECT_TRUE(setFails(HKEY_CURRENT_USER, QString(), QStringLiteral("x")));
  EXPECT_TRUE(setFails(HKEY_CURRENT_USER, QStringLiteral("a\\\\b"), QStringLiteral("x")));

  // Deleting: only a key without subkeys goes.
  QString parent = QStringLiteral("Software\\Tindra Tests");
  ASSERT_EQ(reg_->DelRegKey(HKEY_CURRENT_USER, &parent), S_OK);
  EXPECT_TRUE(rt::reg::keyExists(HKEY_CURRENT_USER, key));
  QString leaf = key;
  ASSERT_EQ(reg_->DelRegKey(HKEY_CURRENT_USER, &leaf), S_OK);
  EXPECT_FALSE(rt::reg::keyExists(HKEY_CURRENT_USER, key));
  EXPECT_EQ(get(HKEY_CURRENT_USER, key), QString());
  ASSERT_EQ(reg_->DelRegKey(HKEY_CURRENT_USER, &leaf), S_OK);  // nothing left: no error
}

TEST_F(RegBaseTest, AssociationWritesTheFileTypeForItsProgram) {
  const QString app = QStringLiteral("/opt/Prog/viewer.bin");
  EXPECT_TRUE(associate(app, QStringLiteral("tvx"), 2));
  EXPECT_EQ(classesValue(QStringLiteral(".tvx")), QStringLiteral("viewer.tvx"));
  EXPECT_EQ(classesValue(QStringLiteral("viewer.tvx\\shell\\Open\\command")), QStringLiteral("/opt/Prog/viewer.bin \"%1\""));
  EXPECT_EQ(classesValue(QStringLiteral("viewer.tvx\\DefaultIcon")), QStringLiteral("/opt/Prog/viewer.bin, 2"));
  EXPECT_EQ(classesValue(QStringLiteral("viewer.tvx")), QStringLiteral("Vue"));
  // Written again for the same type name in another case: accepted, icon rank 0 by default.
  ASSERT_TRUE(rt::reg::setValue(rt::reg::ClassesRoot, QStringLiteral(".tvx"), QString(), QStringLiteral("VIEWER.TVX")));
  EXPECT_TRUE(associate(QStringLiteral("/usr/bin/viewer"), QStringLiteral("tvx")));
  EXPECT_EQ(classesValue(QStringLiteral("viewer.tvx\\DefaultIcon")), QStringLiteral("/usr/bin/viewer, 0"));
}

TEST_F(RegBaseTest, AnExtensionOfAnotherProgramIsLeftUnchanged) {
  ASSERT_TRUE(rt::reg::createKey(rt::reg::ClassesRoot, QStringLiteral(".tvy")));
  ASSERT_TRUE(rt::reg::setValue(rt::reg::ClassesRoot, QStringLiteral(".tvy"), QString(), QStringLiteral("editor.tvy")));
  const QByteArray before = testsupport::readFile(rt::reg::hiveFile(rt::reg::ClassesRoot));
  EXPECT_FALSE(associate(QStringLiteral("/opt/viewer.bin"), QStringLiteral("tvy")));
  EXPECT_EQ(testsupport::readFile(rt::reg::hiveFile(rt::reg::ClassesRoot)), before);
  EXPECT_EQ(classesValue(QStringLiteral(".tvy")), QStringLiteral("editor.tvy"));
  EXPECT_FALSE(rt::reg::keyExists(rt::reg::ClassesRoot, QStringLiteral("viewer.tvy")));
}
