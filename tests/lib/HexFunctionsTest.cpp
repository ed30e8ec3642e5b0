// HexFunctions, created by class identifier and called by interface slot as a client does.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/RuntimeError.h"
#include "tests/lib/LibTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using libtest::callSlot;
using libtest::kFirstMemberSlot;
using rt::com::ComPtr;

namespace {

class HexFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex_), S_OK); }

  // Member n (1-based, binding order) by slot.
  template <class... Args>
  HRESULT member(int n, Args... args) {
    return callSlot<Args...>(hex_.get(), kFirstMemberSlot + n - 1, args...);
  }

  ComPtr<_HexFunctions> hex_;
};

}  // namespace

TEST_F(HexFunctionsTest, MembersSitAtTheirBindingPlaces) {
  uint8_t byte = 0;
  int16_t word = 0;
  int32_t dword = 0;
  QString text;
  ASSERT_EQ(member(1, int32_t{0x1234}, &byte), S_OK);  // HiByte
  EXPECT_EQ(byte, 0x12);
  ASSERT_EQ(member(2, int32_t{0x1234}, &byte), S_OK);  // LoByte
  EXPECT_EQ(byte, 0x34);
  ASSERT_EQ(member(3, 305419896.0, &word), S_OK);  // HiWord
  EXPECT_EQ(word, 0x1234);
  ASSERT_EQ(member(4, 305419896.0, &word), S_OK);  // LoWord
  EXPECT_EQ(word, 0x5678);
  ASSERT_EQ(member(5, uint8_t{10}, &text), S_OK);  // Hex2
  EXPECT_EQ(text, QStringLiteral("0A"));
  ASSERT_EQ(member(6, int16_t{-2}, &text), S_OK);  // Hex4
  EXPECT_EQ(text, QStringLiteral("FFFE"));
  ASSERT_EQ(member(7, int32_t{255}, &text), S_OK);  // Hex8
  EXPECT_EQ(text, QStringLiteral("000000FF"));
  ASSERT_EQ(member(8, uint8_t{0x34}, uint8_t{0x12}, &word), S_OK);  // MakeInt(low, high)
  EXPECT_EQ(word, 4660);
  ASSERT_EQ(member(9, int16_t{0x5678}, int16_t{0x1234}, &dword), S_OK);  // MakeLong(low, high)
  EXPECT_EQ(dword, 305419896);
}

TEST_F(HexFunctionsTest, SignAndTwoComplementRules) {
  int16_t word = 0;
  int32_t dword = 0;
  uint8_t byte = 0;
  QString text;

  EXPECT_EQ(hex_->MakeInt(0x00, 0x80, &word), S_OK);
  EXPECT_EQ(word, -32768);
  EXPECT_EQ(hex_->MakeInt(0x12, 0xFF, &word), S_OK);
  EXPECT_EQ(word, -238);
  EXPECT_EQ(hex_->MakeInt(0xFF, 0x7F, &word), S_OK);
  EXPECT_EQ(word, 32767);

  EXPECT_EQ(hex_->MakeLong(-1, 0, &dword), S_OK);
  EXPECT_EQ(dword, 65535);  // the low word is read unsigned
  EXPECT_EQ(hex_->MakeLong(-1, -1, &dword), S_OK);
  EXPECT_EQ(dword, -1);
  EXPECT_EQ(hex_->MakeLong(0, -32768, &dword), S_OK);
  EXPECT_EQ(dword, std::numeric_limits<int32_t>::min());

  EXPECT_EQ(hex_->HiByte(-1, &byte), S_OK);
  EXPECT_EQ(byte, 255);
  EXPECT_EQ(hex_->HiByte(-32768, &byte), S_OK);
  EXPECT_EQ(byte, 0x80);
  EXPECT_EQ(hex_->HiByte(65535, &byte), S_OK);
  EXPECT_EQ(byte, 255);
  EXPECT_EQ(hex_->LoByte(-1, &byte), S_OK);
  EXPECT_EQ(byte, 255);
  EXPECT_EQ(hex_->LoByte(0x7FFFFF80, &byte), S_OK);  // no range check
  EXPECT_EQ(byte, 0x80);

  EXPECT_EQ(hex_->HiWord(4294967295.0, &word), S_OK);
  EXPECT_EQ(word, -1);
  EXPECT_EQ(hex_->LoWord(65535.0, &word), S_OK);
  EXPECT_EQ(word, -1);
  EXPECT_EQ(hex_->HiWord(-2147483648.0, &word), S_OK);
  EXPECT_EQ(word, -32768);
  EXPECT_EQ(hex_->LoWord(2147483648.0, &word), S_OK);  // 0x80000000 seen unsigned
  EXPECT_EQ(word, 0);
  EXPECT_EQ(hex_->LoWord(2.5, &word), S_OK);  // half to even
  EXPECT_EQ(word, 2);
  EXPECT_EQ(hex_->LoWord(3.5, &word), S_OK);
  EXPECT_EQ(word, 4);

  EXPECT_EQ(hex_->Hex4(-1, &text), S_OK);
  EXPECT_EQ(text, QStringLiteral("FFFF"));
  EXPECT_EQ(hex_->Hex8(-1, &text), S_OK);
  EXPECT_EQ(text, QStringLiteral("FFFFFFFF"));
  EXPECT_EQ(hex_->Hex8(std::numeric_limits<int32_t>::min(), &text), S_OK);
  EXPECT_EQ(text, QStringLiteral("80000000"));
  EXPECT_EQ(hex_->Hex2(0xAB, &text), S_OK);
  EXPECT_EQ(text, QStringLiteral("AB"));
}

TEST_F(HexFunctionsTest, OutOfRangeRaisesOverflowFromTheLibrary) {
  uint8_t byte = 7;
  int16_t word = 7;
  const HRESULT status = hex_->HiByte(65536, &byte);
  EXPECT_EQ(status, errorStatus(6));
  EXPECT_EQ(byte, 7);  // the result is left as it was
  try {
    rt::com::raiseOnFailure(status, hex_.get());
    FAIL() << "no error raised";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 6);
    EXPECT_EQ(e.description(), QStringLiteral("Dépassement de capacité"));
    // The runtime's default source inside the library is the library, not this program.
    EXPECT_EQ(e.source(), QStringLiteral("OrvoLib22"));
  }
  // The record is handed out once.
  int32_t number = 0;
  EXPECT_EQ(hex_.as<IErrorRecordSource>()->GetErrorRecord(&number, nullptr, nullptr), S_FALSE);

  EXPECT_EQ(hex_->HiByte(-32769, &byte), errorStatus(6));
  EXPECT_EQ(hex_->HiWord(4294967296.0, &word), errorStatus(6));
  EXPECT_EQ(hex_->LoWord(-2147483649.0, &word), errorStatus(6));
  EXPECT_EQ(hex_->HiWord(std::nan(""), &word), errorStatus(6));
  EXPECT_EQ(hex_->LoWord(std::numeric_limits<double>::infinity(), &word), errorStatus(6));
  // Rounding up past the signed range is an overflow too, not a wrap.
  EXPECT_EQ(hex_->LoWord(2147483647.5, &word), errorStatus(6));
  EXPECT_EQ(word, 7);
}

TEST_F(HexFunctionsTest, LateBoundCallsConvertArgumentsAndReportErrors) {
  DISPID ids[2] = {};
  const QString names[2] = {QStringLiteral("makelong"), QStringLiteral("NoSuchMember")};
  EXPECT_EQ(hex_->GetIDsOfNames(IID_IUnknown, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], 9);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);

  QVariant args[2] = {QVariant(0x5678), QStringLiteral("4660")};  // text converts to a number
  DispParams params{args, 2};
  QVariant result;
  ASSERT_EQ(hex_->Invoke(ids[0], IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(result.toInt(), 305419896);

  QVariant one[1] = {QVariant(5)};
  DispParams missing{one, 1};
  uint32_t argErr = 99;
  EXPECT_EQ(hex_->Invoke(ids[0], IID_IUnknown, 0, DISPATCH_METHOD, &missing, &result, nullptr, &argErr),
            DISP_E_PARAMNOTFOUND);  // the high word is missing
  EXPECT_EQ(argErr, 1u);
  QVariant big[2] = {QVariant(70000), QVariant(1)};
  DispParams tooBig{big, 2};
  EXPECT_EQ(hex_->Invoke(ids[0], IID_IUnknown, 0, DISPATCH_METHOD, &tooBig, &result, nullptr, &argErr),
            DISP_E_OVERFLOW);  // does not fit a 16-bit word
  EXPECT_EQ(argErr, 0u);

  QVariant overflow[1] = {QVariant(65536)};
  DispParams hiByte{overflow, 1};
  ExcepInfo info;
  EXPECT_EQ(hex_->Invoke(1, IID_IUnknown, 0, DISPATCH_METHOD, &hiByte, &result, &info, nullptr), DISP_E_EXCEPTION);
  EXPECT_EQ(info.number, 6);
  EXPECT_EQ(info.description, QStringLiteral("Dépassement de capacité"));

  EXPECT_EQ(hex_->Invoke(42, IID_IUnknown, 0, DISPATCH_METHOD, &hiByte, &result, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  uint32_t count = 9;
  EXPECT_EQ(hex_->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
}
