// StringArray, created by class identifier: sorted insertion, positional members and their
// errors.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComPtr.h"
#include "tests/lib/LibTestSupport.h"
#include "tests/lib/RaisedError.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QStringList>

using rt::com::ComPtr;

namespace {

class StringArrayTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(rt::com::createInstance(CLSID_StringArray, array_), S_OK); }

  QStringList items() {
    int32_t count = -1;
    EXPECT_EQ(array_->get_Count(&count), S_OK);
    QStringList all;
    for (int32_t i = 0; i < count; ++i) {
      QString item;
      EXPECT_EQ(array_->Item(i, &item), S_OK);
      all.append(item);
    }
    return all;
  }
  void add(const QStringList& strings) {
    for (const QString& s : strings) ASSERT_EQ(array_->Add(s), S_OK);
  }
  // Checks the library error of a failed call and that the list did not change.
  template <class Call>
  void expectLibraryError(Call call, int32_t number, const QString& description) {
    const QStringList before = items();
    const libtest::RaisedError e = libtest::raisedError(call(), array_.get());
    EXPECT_EQ(e.number, number);
    EXPECT_EQ(e.source, QStringLiteral("OrvoLib22"));
    EXPECT_EQ(e.description, description);
    EXPECT_EQ(items(), before);
  }

  ComPtr<_StringArray> array_;
};

const QString kSubscript = QStringLiteral("L'indice n'appartient pas à la sélection");

}  // namespace

TEST_F(StringArrayTest, CreatableObjectsAreIndependentAndItemIsTheEighthMember) {
  ComPtr<_StringArray> other;
  ASSERT_EQ(rt::com::createInstance(CLSID_StringArray, other), S_OK);
  add({QStringLiteral("x")});
  int32_t count = -1;
  ASSERT_EQ(other->get_Count(&count), S_OK);
  EXPECT_EQ(count, 0);
  QString item;
  ASSERT_EQ((libtest::callSlot<int32_t, QString*>(array_.get(), libtest::kFirstMemberSlot + 7, 0, &item)), S_OK);
  EXPECT_EQ(item, QStringLiteral("x"));
  // Item is the default member of late-bound calls.
  QVariant index[1] = {QVariant(0)};
  DispParams params{index, 1};
  QVariant result;
  ASSERT_EQ(array_->Invoke(DISPID_VALUE, IID_IUnknown, 0, DISPATCH_PROPERTYGET, &params, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(result.toString(), QStringLiteral("x"));
}

TEST_F(StringArrayTest, SortedInsertionIgnoresCaseAndPutsNewEqualsFirst) {
  ASSERT_EQ(array_->put_Sorted(VARIANT_TRUE), S_OK);
  add({QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("C"), QStringLiteral("B")});
  EXPECT_EQ(items(), (QStringList{"a", "B", "b", "C"}));
  add({QStringLiteral("0"), QStringLiteral("z")});
  EXPECT_EQ(items(), (QStringList{"0", "a", "B", "b", "C", "z"}));
  // Emptied, the list stays sorted.
  ASSERT_EQ(array_->DeleteAll(), S_OK);
  VARIANT_BOOL sorted = 0;
  ASSERT_EQ(array_->get_Sorted(&sorted), S_OK);
  EXPECT_EQ(sorted, VARIANT_TRUE);
  add({QStringLiteral("y"), QStringLiteral("x")});
  EXPECT_EQ(items(), (QStringList{"x", "y"}));
}

TEST_F(StringArrayTest, SortedInsertionFollowsTheUsersCollation) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  ASSERT_EQ(array_->put_Sorted(VARIANT_TRUE), S_OK);
  add({QStringLiteral("zèbre"), QStringLiteral("été"), QStringLiteral("Eu"), QStringLiteral("Abc"),
       QStringLiteral("Été")});
  QLocale::setDefault(saved);
  // Accented letters sort with their base letter; case still makes no difference.
  EXPECT_EQ(items(), (QStringList{"Abc", "Été", "été", "Eu", "zèbre"}));
}

TEST_F(StringArrayTest, SortedListRefusesPositionalChanges) {
  add({QStringLiteral("one")});
  expectLibraryError([&] { return array_->put_Sorted(VARIANT_TRUE); }, 1043,
                     QStringLiteral("La propriété Sorted d'un objet StringArray n'est autorisée que si le tableau est vide."));
  VARIANT_BOOL sorted = -1;
  ASSERT_EQ(array_->get_Sorted(&sorted), S_OK);
  EXPECT_EQ(sorted, VARIANT_FALSE);

  ASSERT_EQ(array_->DeleteAll(), S_OK);
  ASSERT_EQ(array_->put_Sorted(VARIANT_TRUE), S_OK);
  add({QStringLiteral("one")});
  QString text = QStringLiteral("two");
  expectLibraryError([&] { return array_->InsertAt(0, text); }, 1040,
                     QStringLiteral("L'insertion à une position donnée dans un tableau trié n'est pas autorisée."));
  expectLibraryError([&] { return array_->SetAt(0, &text); }, 1041,
                     QStringLiteral("L'écriture à une position donnée dans un tableau trié n'est pas autorisée."));
  expectLibraryError([&] { return array_->SetCount(5); }, 1042,
                     QStringLiteral("Le changement de taille direct d'un tableau de chaines n'est pas autorisé si le tableau est trié."));
}

TEST_F(StringArrayTest, PositionalMembersOnAnUnsortedList) {
  add({QStringLiteral("a"), QStringLiteral("c")});
  ASSERT_EQ(array_->InsertAt(1, QStringLiteral("b")), S_OK);
  ASSERT_EQ(array_->InsertAt(3, QStringLiteral("d")), S_OK);  // at Count: appends
  ASSERT_EQ(array_->InsertAt(0, QStringLiteral("_")), S_OK);
  EXPECT_EQ(items(), (QStringList{"_", "a", "b", "c", "d"}));
  QString text = QStringLiteral("B");
  ASSERT_EQ(array_->SetAt(2, &text), S_OK);
  ASSERT_EQ(array_->Delete(0), S_OK);
  ASSERT_EQ(array_->Delete(3), S_OK);
  EXPECT_EQ(items(), (QStringList{"a", "B", "c"}));
  // SetCount shortens the list to lIndex + 1 elements; a larger size changes nothing.
  ASSERT_EQ(array_->SetCount(QStringLiteral("1")), S_OK);
  EXPECT_EQ(items(), (QStringList{"a", "B"}));
  ASSERT_EQ(array_->SetCount(10.0), S_OK);
  EXPECT_EQ(items(), (QStringList{"a", "B"}));
  ASSERT_EQ(array_->Add(QStringLiteral("z")), S_OK);
  EXPECT_EQ(items(), (QStringList{"a", "B", "z"}));
}

TEST_F(StringArrayTest, IndexesOutsideTheListRaiseSubscriptErrors) {
  QString item = QStringLiteral("kept");
  expectLibraryError([&] { return array_->Item(0, &item); }, 9, kSubscript);
  add({QStringLiteral("only")});
  expectLibraryError([&] { return array_->Item(-1, &item); }, 9, kSubscript);
  expectLibraryError([&] { return array_->Item(1, &item); }, 9, kSubscript);
  EXPECT_EQ(item, QStringLiteral("kept"));
  expectLibraryError([&] { return array_->Delete(1); }, 9, kSubscript);
  expectLibraryError([&] { return array_->Delete(-1); }, 9, kSubscript);
  expectLibraryError([&] { return array_->InsertAt(2, QStringLiteral("x")); }, 9, kSubscript);
  expectLibraryError([&] { return array_->InsertAt(-1, QStringLiteral("x")); }, 9, kSubscript);
  expectLibraryError([&] { return array_->SetAt(1, &item); }, 9, kSubscript);
  expectLibraryError([&] { return array_->SetCount(-1); }, 9, kSubscript);
  EXPECT_EQ(libtest::raisedError(array_->SetCount(QStringLiteral("many")), array_.get()).number, 13);
  // Deleting the only element leaves an empty list.
  ASSERT_EQ(array_->Delete(0), S_OK);
  EXPECT_TRUE(items().isEmpty());
  expectLibraryError([&] { return array_->Item(0, &item); }, 9, kSubscript);
}
