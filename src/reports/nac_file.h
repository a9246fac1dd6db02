// The _NAC.Dat file: secondary lines whose prior payer sent no adjustment
// reason codes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "records/records.h"
#include "state/host_state.h"

namespace wcomp837 {

std::string NACFileName(const HostState& h);
// Charge member 5 (the procedure column of a record).
inline constexpr std::size_t kChargeField5 = 5;
// The 85-character record of a service line whose prior payer (one of the
// line's other-insurance records) sent no adjustment reason codes.
// The text stays valid until the next call.
const std::string& FormatNACRecord(const PatientRec& patient, const ChargeRec& charge,
                                   const OInsuranceRec& priorInsurance);
// The claim file is open or not: the file numbers follow it.
std::int16_t OpenNACFileOut(HostState& h, const OutFile& claimFile);
// The practice header of the "this" practice; the caller writes it when the
// practice code differs from msLastNACPractice, which then takes the code.
std::int16_t WriteNACPracticeHeader(HostState& h, const PracticeRec& practice,
                                    std::string& msLastNACPractice);
// Stores one 85-character record (nothing when the file is not open) and
// sets bNACRecordWritten.
std::int16_t WriteNACRecord(HostState& h, const std::string& record);
// The closing remark; writes nothing when a record was written.
std::int16_t WriteNACClosingRemark(HostState& h);
// Flushes and closes; a failed flush or close is reported (3).
std::int16_t CloseNACFile(HostState& h);

}  // namespace wcomp837
