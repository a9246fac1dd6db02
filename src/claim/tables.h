// The service line table, the diagnosis table, line insurance amounts and
// drug codes of the claim being built.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "claim/state.h"

namespace wcomp837 {

// Sizes the tables and clears the claim record (component creation). A
// service line table handed down from an earlier object keeps its lines,
// emptied.
void InitializeClaimTables(Ctx& c);
// Empties every line as a new one would be: no values, no charge group.
void EmptyDetailLines(std::vector<DetailLine>& lines) noexcept;
// Empties both tables after a claim was written.
void ResetClaimTables(Ctx& c);
// Re-creates the diagnosis table with every entry free.
void ResetDiagnosisTable(Ctx& c);

// A claim holds at most this many service lines.
inline constexpr std::int16_t kMaxLinesPerClaim = 50;

// The values a line control number is made of.
struct LineKeySource {
  std::string sPracticeCode;
  double dfLineCounter = 0.0;
  double dfKeyPart1 = 0.0;
  double dfKeyPart2 = 0.0;
  std::string sInsuranceCode;
};

std::int16_t DealWithLastGroup(Ctx& c);
std::int16_t GetNextDetailIndex(Ctx& c);
void Redim_DETAILArray(Ctx& c, bool bPreserve);
std::int16_t FillDetailArrayElement(Ctx& c, DetailLine& line);
bool NumberToBase(std::string& sText, double dfValue, std::int16_t iBase, std::int16_t iWidth);
// The 17-character line control number.
void MakeLineControlNumber(const LineKeySource& key, std::string& sText);

std::int16_t AddToDiagnosisArray(Ctx& c, std::int16_t& iCount);
bool DoesDiagnosisCauseOverflow(Ctx& c, std::int16_t& iCount);
std::int16_t GetIndexForDiagnosis(Ctx& c, std::string_view sCode);

std::int16_t FillDetailInsInfo(Ctx& c, DetailLine& line);
void ExtractNDCFromNarrative(Ctx& c, DetailLine& line);

}  // namespace wcomp837
