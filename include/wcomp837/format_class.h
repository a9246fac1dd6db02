// Format_Class: the claim-format component as its host drives it.
//
// The host creates one object per claim batch, sends its settings through
// HereIsAMessage, hands every record to FormatRecord, ends the batch with
// ProcessEndOfFile and ProcessFormattedRecords, and reads the messages the
// component leaves with GetAMessage after any call that answered non-zero.
// No public method throws. The call sequence, every host message, the
// message list and the record formats: docs/host-protocol.md (installed as
// /usr/share/doc/libwcomp837-dev/host-protocol.md.gz).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "wcomp837/export.h"

namespace wcomp837 {

class WCOMP837_API Format_Class {
 public:
  Format_Class();
  ~Format_Class();
  Format_Class(const Format_Class&) = delete;
  Format_Class& operator=(const Format_Class&) = delete;

  // The text of the last unexpected failure.
  const std::string& msErrorMsg() const;
  void set_msErrorMsg(const std::string& text);

  // Entry lIndex (1-based) of the message list, or "END".
  std::string GetAMessage(std::int32_t lIndex);
  std::int16_t HereIsAMessage(const std::string& sMsgNr, const std::string& sMsg);
  std::int16_t FormatRecord(const std::string& strKey, const std::string& sRec);
  std::int16_t ProcessEndOfFile();
  std::int16_t ProcessFormattedRecords();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace wcomp837
