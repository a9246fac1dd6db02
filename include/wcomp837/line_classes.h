// The public line-level classes: per-insurance amounts of a service line
// (InsInfo, InsInfoArray, PaymentAdjStruct), drug codes (NDCInfo,
// NDCInfoArray) and custom-form answers (CCFormInfo, CCFormInfoArray).
// Positions are 1-based as the host knows them; a position outside the
// documented range throws wcomp837::Failure (a std::exception: number 9,
// "Subscript out of range").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "wcomp837/currency.h"
#include "wcomp837/export.h"
#include "wcomp837/failure.h"

namespace wcomp837 {

class WCOMP837_API InsInfo {
 public:
  bool bUsed = false;
  bool bBillingInsurance = false;
  std::string sQELInsuranceCategoryCd;
  std::string sMedigap;
  std::string sCrossOver;
  Currency curAmtPayerPaid;
  Currency curAmtAllowed;
  Currency curAmtDeductible;
  Currency curAmtInsWriteOff;
  Currency curAmtCoIns;
  std::string sLastPaymentDate;
  std::string sPaymentAdjCodes;

  void EmptyMe();
};

struct PaymentAdjStruct {
  std::string sGroup;
  std::string sReason;
  Currency curAmount;
  double dfUnit = 0.0;
};

class WCOMP837_API InsInfoArray {
 public:
  InsInfoArray();
  Currency curAmtPatWriteOff;
  Currency curAmtPatientPaid;

  void Empty_Me();
  // Position 1 to 4.
  InsInfo& GetInsInfo(std::int16_t n);
  const InsInfo& GetInsInfo(std::int16_t n) const;
  bool IsPreviousInsuranceMedicare(std::int16_t iIndex) const;
  void AddToMe(const InsInfoArray& obj);

  // Merges sNew into sExisting (adjustment text format group|reason|amount|units|...).
  static void AddThePaymentAdjCodes(std::string& sExisting, const std::string& sNew);
  static std::vector<PaymentAdjStruct> ParsePaymentAdjCodes(const std::string& text);
  static void SortPaymentAdjCodes(std::vector<PaymentAdjStruct>& list);

 private:
  std::array<InsInfo, 4> items_;
};

class WCOMP837_API NDCInfo {
 public:
  std::string sNDCCode;
  std::string sUnitPrice;
  std::string sQuantity;
  std::string sMeasurement;
  std::string sPrescriptionNr;
  void EmptyMe();
};

class WCOMP837_API NDCInfoArray {
 public:
  void Empty_Me();
  // Position 1 to 3.
  NDCInfo& GetNDCInfo(std::int16_t n);
  const NDCInfo& GetNDCInfo(std::int16_t n) const;
  void Fill_Me(const std::string& str);

 private:
  std::array<NDCInfo, 3> items_;
};

class WCOMP837_API CCFormInfo {
 public:
  std::string sChargeCustomForm;
  std::string sQuestionIDName;
  std::string sQuestionType;
  std::string sAnswerValue;
  std::string sQuestionNumber;
  void EmptyMe();
  void DetermineQuestionNumber();
};

class WCOMP837_API CCFormInfoArray {
 public:
  static constexpr int kPositions = 100;
  CCFormInfoArray();
  void Empty_Me();
  // Position 1 to 100.
  CCFormInfo& GetCustomFormInfo(std::int16_t n);
  const CCFormInfo& GetCustomFormInfo(std::int16_t n) const;
  void AddTail(const CCFormInfo& obj);

 private:
  std::array<CCFormInfo, kPositions> items_;
};

}  // namespace wcomp837
