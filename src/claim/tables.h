// The service line table, the diagnosis table, line insurance amounts and
// drug codes of the claim being built.
#pragma once

#include <cstdint>
#include <string>

#include "host/state.h"

namespace wcomp837 {

// Sizes the tables and clears the claim record (component creation).
void InitializeClaimTables(Ctx& c);
// Empties both tables after a claim was written.
void ResetClaimTables(Ctx& c);
// Clears mClaim (and its insurance totals).
void ClearClaimRecord(Ctx& c);

std::int16_t DealWithLastGroup(Ctx& c);
std::int16_t GetNextDetailIndex(Ctx& c);
void Redim_DETAILArray(Ctx& c, bool bPreserve);
std::int16_t FillDetailArrayElement(Ctx& c, DetailLine& line);
bool GetExtDataValue(Ctx& c, std::int16_t iSlot, const std::string& sKey, std::string& sValue);
bool FindExtDataValue(const std::string& sExtData, const std::string& sKey, std::string& sValue);
bool NumberToBase(std::string& sText, double dfValue, std::int16_t iBase, std::int16_t iWidth);

std::int16_t AddToDiagnosisArray(Ctx& c, std::int16_t& iCount);
bool DoesDiagnosisCauseOverflow(Ctx& c, std::int16_t& iCount);
std::int16_t GetIndexForDiagnosis(Ctx& c, const std::string& sCode);

std::int16_t FillDetailInsInfo(Ctx& c, DetailLine& line);
void ExtractNDCFromNarrative(Ctx& c, DetailLine& line);

}  // namespace wcomp837
