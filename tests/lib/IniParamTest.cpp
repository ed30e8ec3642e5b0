// IniParam, created by class identifier, on files of a private folder.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/RuntimeError.h"
#include "tests/lib/LibTestSupport.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

using rt::com::ComPtr;

namespace {

class IniParamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(rt::com::createInstance(CLSID_IniParam, ini_), S_OK);
    file_ = testsupport::makeTempDir(QStringLiteral("ini")) + QStringLiteral("/settings.ini");
  }

  QString get(const QString& section, const QString& key, const QString& def) {
    QString value = QStringLiteral("unset");
    EXPECT_EQ(ini_->GetPrivateParam(section, key, def, file_, &value), S_OK);
    return value;
  }

  int16_t list(QStringList& tab, const QString& section) {
    int16_t count = -1;
    EXPECT_EQ(ini_->GetPrivateParamsList(&tab, section, file_, &count), S_OK);
    return count;
  }

  // The error a failed member raises on the client side.
  rt::RuntimeError raised(HRESULT status) {
    try {
      rt::com::raiseOnFailure(status, ini_.get());
    } catch (const rt::RuntimeError& e) {
      return e;
    }
    ADD_FAILURE() << "no error raised";
    return rt::RuntimeError(0);
  }

  ComPtr<_IniParam> ini_;
  QString file_;
};

}  // namespace

TEST_F(IniParamTest, MembersSitAtTheirBindingPlaces) {
  using libtest::callSlot;
  using libtest::kFirstMemberSlot;
  using S = const QString&;
  const QString section = QStringLiteral("S");
  ASSERT_EQ((callSlot<S, S, S, S>(ini_.get(), kFirstMemberSlot + 1, section, QStringLiteral("k"),
                                  QStringLiteral("v"), file_)),
            S_OK);  // SetPrivateParam
  ASSERT_EQ((callSlot<S, S, S, S>(ini_.get(), kFirstMemberSlot + 1, section, QStringLiteral("gone"),
                                  QStringLiteral("x"), file_)),
            S_OK);
  ASSERT_EQ((callSlot<S, S, S>(ini_.get(), kFirstMemberSlot + 2, section, QStringLiteral("gone"), file_)),
            S_OK);  // DelPrivateParam
  QString value;
  ASSERT_EQ((callSlot<S, S, S, S, QString*>(ini_.get(), kFirstMemberSlot + 0, section, QStringLiteral("k"),
                                            QStringLiteral("d"), file_, &value)),
            S_OK);  // GetPrivateParam
  EXPECT_EQ(value, QStringLiteral("v"));
  QStringList tab;
  int16_t count = 0;
  ASSERT_EQ((callSlot<QStringList*, S, S, int16_t*>(ini_.get(), kFirstMemberSlot + 4, &tab, section, file_, &count)),
            S_OK);  // GetPrivateParamsList
  EXPECT_EQ(count, 1);
  EXPECT_EQ(tab, QStringList{QStringLiteral("k")});
  ASSERT_EQ((callSlot<S, S>(ini_.get(), kFirstMemberSlot + 3, section, file_)), S_OK);  // DelPrivateSection
  EXPECT_EQ(get(section, QStringLiteral("k"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST_F(IniParamTest, ReadsValuesAndDefaultsTrimmedOfSpacesOnly) {
  ASSERT_TRUE(testsupport::writeFile(file_, "[Files]\r\nspaced =   two words   \r\nempty=\r\n"));
  EXPECT_EQ(get(QStringLiteral("Files"), QStringLiteral("spaced"), QStringLiteral("x")), QStringLiteral("two words"));
  EXPECT_EQ(get(QStringLiteral("files"), QStringLiteral("SPACED"), QStringLiteral("x")), QStringLiteral("two words"));
  // Present but empty: the default is not used.
  EXPECT_EQ(get(QStringLiteral("Files"), QStringLiteral("empty"), QStringLiteral("x")), QString());
  // Absent key, section or file: the default, trimmed of spaces but not of tabs.
  EXPECT_EQ(get(QStringLiteral("Files"), QStringLiteral("none"), QStringLiteral("  def  ")), QStringLiteral("def"));
  EXPECT_EQ(get(QStringLiteral("Other"), QStringLiteral("k"), QStringLiteral("\tdef ")), QStringLiteral("\tdef"));
  file_ += QStringLiteral(".absent");
  EXPECT_EQ(get(QStringLiteral("Files"), QStringLiteral("spaced"), QStringLiteral(" d")), QStringLiteral("d"));
  EXPECT_FALSE(QFileInfo::exists(file_));
}

TEST_F(IniParamTest, LongValuesComeBackCutTo1023Characters) {
  const QString value(1500, QLatin1Char('v'));
  ASSERT_EQ(ini_->SetPrivateParam(QStringLiteral("S"), QStringLiteral("long"), value, file_), S_OK);
  EXPECT_EQ(get(QStringLiteral("S"), QStringLiteral("long"), QString()), value.left(1023));
  EXPECT_EQ(get(QStringLiteral("S"), QStringLiteral("absent"), value), value.left(1023));
}

TEST_F(IniParamTest, WritesEmptyValuesAndDeletesKeysAndSections) {
  const QString s = QStringLiteral("S");
  ASSERT_EQ(ini_->SetPrivateParam(s, QStringLiteral("a"), QStringLiteral("1"), file_), S_OK);
  ASSERT_EQ(ini_->SetPrivateParam(s, QStringLiteral("b"), QString(), file_), S_OK);
  // An empty value is a value, not a deletion.
  EXPECT_EQ(get(s, QStringLiteral("b"), QStringLiteral("def")), QString());
  ASSERT_EQ(ini_->SetPrivateParam(s, QStringLiteral("a"), QStringLiteral("  keeps spaces  "), file_), S_OK);
  EXPECT_EQ(get(s, QStringLiteral("a"), QString()), QStringLiteral("keeps spaces"));

  ASSERT_EQ(ini_->DelPrivateParam(s, QStringLiteral("a"), file_), S_OK);
  EXPECT_EQ(get(s, QStringLiteral("a"), QStringLiteral("def")), QStringLiteral("def"));
  EXPECT_EQ(get(s, QStringLiteral("b"), QStringLiteral("def")), QString());
  ASSERT_EQ(ini_->DelPrivateSection(s, file_), S_OK);
  EXPECT_EQ(get(s, QStringLiteral("b"), QStringLiteral("def")), QStringLiteral("def"));

  // Removing what does not exist does nothing and raises nothing.
  const QString absent = file_ + QStringLiteral(".absent");
  EXPECT_EQ(ini_->DelPrivateParam(s, QStringLiteral("x"), file_), S_OK);
  EXPECT_EQ(ini_->DelPrivateSection(QStringLiteral("Nope"), absent), S_OK);
  EXPECT_EQ(ini_->DelPrivateParam(s, QStringLiteral("x"), absent), S_OK);
  EXPECT_FALSE(QFileInfo::exists(absent));
}

TEST_F(IniParamTest, ListsKeysInFileOrderAndLeavesTheArrayAloneWhenThereAreNone) {
  ASSERT_TRUE(testsupport::writeFile(file_, "[Cols]\nzeta=1\nAlpha=2\nmid=3\n[Empty]\n"));
  QStringList tab{QStringLiteral("old0"), QStringLiteral("old1"), QStringLiteral("old2"),
                  QStringLiteral("old3"), QStringLiteral("old4")};
  EXPECT_EQ(list(tab, QStringLiteral("Cols")), 3);
  EXPECT_EQ(tab, (QStringList{QStringLiteral("zeta"), QStringLiteral("Alpha"), QStringLiteral("mid")}));

  const QStringList kept{QStringLiteral("x"), QStringLiteral("y")};
  for (const QString& section : {QStringLiteral("Empty"), QStringLiteral("Absent")}) {
    QStringList same = kept;
    EXPECT_EQ(list(same, section), 0);
    EXPECT_EQ(same, kept);
  }
  file_ += QStringLiteral(".absent");
  QStringList same = kept;
  EXPECT_EQ(list(same, QStringLiteral("Cols")), 0);
  EXPECT_EQ(same, kept);
}

TEST_F(IniParamTest, KeyListStopsAtItsBuffer) {
  // 100 names of 50 characters: 80 of them fill 4080 of the 4096 characters.
  QByteArray text = "[Many]\n";
  QStringList names;
  for (int i = 0; i < 100; ++i) {
    const QString name = QStringLiteral("k%1").arg(i, 3, 10, QLatin1Char('0')) + QString(46, QLatin1Char('x'));
    names.append(name);
    text += name.toUtf8() + "=v\n";
  }
  ASSERT_TRUE(testsupport::writeFile(file_, text));
  QStringList tab;
  const int16_t count = list(tab, QStringLiteral("Many"));
  EXPECT_EQ(count, tab.size());
  ASSERT_GE(count, 80);
  EXPECT_LE(count, 81);
  EXPECT_EQ(tab.mid(0, 80), names.mid(0, 80));
}

TEST_F(IniParamTest, WriteFailuresRaiseTheFileErrorWithTheLibraryAsSource) {
  const QString folder = testsupport::makeTempDir(QStringLiteral("ini-fail"));
  const QString inMissingFolder = folder + QStringLiteral("/missing/settings.ini");
  const HRESULT status = ini_->SetPrivateParam(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"), inMissingFolder);
  EXPECT_TRUE(failed(status));
  const rt::RuntimeError e = raised(status);
  EXPECT_TRUE(e.number() == 53 || e.number() == 75 || e.number() == 76) << e.number();
  EXPECT_EQ(e.source(), QStringLiteral("OrvoLib22"));
  EXPECT_EQ(e.description(), rt::errorDescription(e.number()));
  EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/missing")));

  // A folder where the file should be.
  const HRESULT onFolder = ini_->SetPrivateParam(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"), folder);
  EXPECT_TRUE(failed(onFolder));
  EXPECT_EQ(raised(onFolder).source(), QStringLiteral("OrvoLib22"));
  EXPECT_TRUE(QFileInfo(folder).isDir());

  // A file over the size cap: named in the description, with the reason, and left as it was.
  ASSERT_TRUE(testsupport::writeFile(file_, "[S]\nk=old\n"));
  ASSERT_TRUE(QFile(file_).resize(4 * 1024 * 1024 + 1));
  const rt::RuntimeError oversize = raised(ini_->SetPrivateParam(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"), file_));
  EXPECT_EQ(oversize.number(), 75);
  EXPECT_EQ(oversize.description(),
            QStringLiteral("Le fichier « %1 » dépasse la taille maximale de 4 Mo : il n'est ni lu ni modifié.").arg(file_));
  EXPECT_EQ(QFileInfo(file_).size(), 4 * 1024 * 1024 + 1);
  EXPECT_TRUE(testsupport::readFile(file_).startsWith("[S]\nk=old\n"));
}

TEST_F(IniParamTest, LateBoundCallsWriteBackTheArray) {
  ASSERT_TRUE(testsupport::writeFile(file_, "[S]\na=1\nb=2\n"));
  const QString name = QStringLiteral("GetPrivateParamsList");
  DISPID id = 0;
  ASSERT_EQ(ini_->GetIDsOfNames(IID_IUnknown, &name, 1, 0, &id), S_OK);
  EXPECT_EQ(id, 5);
  QVariant args[3] = {QStringList{QStringLiteral("old")}, QStringLiteral("S"), file_};
  DispParams params{args, 3};
  QVariant result;
  ASSERT_EQ(ini_->Invoke(id, IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(result.toInt(), 2);
  EXPECT_EQ(args[0].toStringList(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

  // A member without result called with a missing required argument.
  QVariant two[2] = {QStringLiteral("S"), QStringLiteral("a")};
  DispParams tooFew{two, 2};
  EXPECT_EQ(ini_->Invoke(3, IID_IUnknown, 0, DISPATCH_METHOD, &tooFew, nullptr, nullptr, nullptr), DISP_E_PARAMNOTFOUND);
}
