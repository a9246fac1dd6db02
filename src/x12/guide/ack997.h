// Writes the functional acknowledgment (997) a payer's front end would send
// back for the files checked: one interchange with one 997 per functional
// group read (AK1), one AK2 ... AK5 per transaction set with AK3/AK4 for
// the segments and elements in error, and AK9 for the group.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "x12/guide/check.h"

namespace wcomp837::guide {

class AckWriter : public CheckObserver {
 public:
  explicit AckWriter(std::string path) : path_(std::move(path)) {}

  void Interchange(const InterchangeInfo& info) override;
  void GroupStart(const GroupInfo& group) override;
  void SetStart(std::string_view setId, std::string_view control) override;
  void Found(const Finding& finding) override;
  void SetEnd(const SetResult& result) override;
  void GroupEnd(const GroupResult& result) override;

  // Writes the trailers and closes the file; false when no functional group
  // was read (no file is written then). Raises Failure when a write fails.
  bool Close();

 private:
  void Put(std::initializer_list<std::string_view> elements);

  std::string path_;
  OutFile out_;
  std::string senderQualifier_, sender_, receiverQualifier_, receiver_, control_, usage_;
  bool interchangeSeen_ = false;
  bool begun_ = false;
  bool inGroup_ = false;
  bool inSet_ = false;
  std::int64_t acknowledgments_ = 0;  // 997 transaction sets written
  std::int64_t counted_ = 0;          // segments of the open 997
  std::int64_t lastSegment_ = -1;     // the segment the last AK3 names
  int elementNotes_ = 0;              // AK4 under that AK3
  std::string scratch_;
};

}  // namespace wcomp837::guide
