// The batch's settings, counters, message list and open log and _NAC.Dat
// files: the part of the shared state every subsystem uses.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "state/key_fields.h"
#include "wcomp837/version.h"

namespace wcomp837 {

inline constexpr const char* kComponentBaseName = "QZK_WCOMP_P4_Format";
inline constexpr const char* kFormatDisplayName = "Workers COMP Prof.837 (ANSI 4010 A1)";
inline constexpr const char* kComponentVersion = WCOMP837_VERSION;

struct MessageEntry {
  std::int16_t iMsgType = 0;  // 0 free, 1 information, 3 error
  std::string sMsgText;
};

struct HostState {
  // Settings (host messages).
  std::string gsOutputPath = "?";
  std::string gsASCIIFile = "?";
  bool gbThereWasAFatalError = false;
  float gsngAdjustment1 = 0.0f;
  float gsngAdjustment2 = 0.0f;
  std::int16_t giLogLevel = 0;
  bool gbTestClaims = false;
  std::int16_t giTestClaims_Starting = 0;
  std::int16_t giTestClaims_Ending = 0;
  std::string gsPrinterName;
  std::int16_t giReportNr = 0;
  std::string gsConnectionString;
  bool gbDBConnectionIsGood = false;
  std::string gsBatchRowID;
  std::string gsUserName;
  std::string gsForcedInputFile;

  // Counters and flags. Counters that grow with the batch are wide.
  std::int64_t glRecordCount = 0;
  std::int64_t giChargeCount = 0;
  // Record number of the charge record (6000) of the open charge group; 0
  // once its end of charge group (6990) arrived, whatever became of it.
  std::int64_t glChargeRecordNr = 0;
  bool gbFirstCharge = true;
  std::int64_t giclaims_counted = 0;
  std::int64_t glTotalClaims = 0;
  KeyFields keyFields;

  std::string gsDllName = std::string(kComponentBaseName) + ".Dll";
  std::string gsFormatID = "WCOMP_P4";

  // Message list: 1-based; messages[0] unused; capacity grows by 10.
  std::vector<MessageEntry> gMessageArray = std::vector<MessageEntry>(11);

  // Run log (open when LogFile.IsOpen()).
  OutFile LogFile;

  // _NAC.Dat file and whether a secondary line was written to it.
  OutFile NACFile;
  bool bNACRecordWritten = false;
};

}  // namespace wcomp837
