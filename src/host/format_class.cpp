// Format_Class: creation, destruction and the guards of the public methods.
#include "wcomp837/format_class.h"

#include "claim/tables.h"
#include "host/component.h"
#include "host/shared_state.h"
#include "platform/failure.h"
#include "platform/prompt.h"
#include "records/numeric.h"
#include "refdata/lookups.h"
#include "state/messages.h"

namespace wcomp837 {

struct Format_Class::Impl {
  bool freshState = false;
  std::shared_ptr<SharedState> shared = AcquireSharedState(&freshState);
  ObjectState object;
  Ctx ctx() { return Ctx{*shared, object}; }
};

namespace {

// Runs body; a failure in flight is handed to onFailure (which must not let
// another one escape) and answers failureResult. A Failure is taken as it
// stands; anything else is first translated (CurrentFailure).
template <typename R, typename OnFailure>
R Report(R failureResult, OnFailure& onFailure, const Failure& f) noexcept {
  try {
    onFailure(f);
  } catch (...) {
    // The failure report itself failed (memory): nothing more can be said.
  }
  return failureResult;
}

template <typename R, typename Body, typename OnFailure>
R Guarded(R failureResult, Body&& body, OnFailure&& onFailure) noexcept {
  try {
    return body();
  } catch (const Failure& f) {
    return Report(failureResult, onFailure, f);
  } catch (...) {
    Failure f;
    try {
      f = CurrentFailure(std::current_exception());
    } catch (...) {
      return failureResult;
    }
    return Report(failureResult, onFailure, f);
  }
}

// The record key as the failure message shows it: "//" becomes " /".
std::string KeyForMessage(const std::string& key) {
  std::string out;
  out.reserve(key.size());
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (key.compare(i, 2, "//") == 0) {
      out += " /";
      ++i;
    } else {
      out += key[i];
    }
  }
  return out;
}

}  // namespace

Format_Class::Format_Class() : impl_(std::make_unique<Impl>()) {
  Ctx c = impl_->ctx();
  try {
    c.o = ObjectState{};
    Shared_Initialize(c.g, impl_->freshState);
    InitializeClaimTables(c);
  } catch (...) {
    try {
      Failure f = CurrentFailure(std::current_exception());
      CurrentUserPrompt()->Notify(kComponentBaseName,
                                  c.g.host.gsDllName +
                                      " had a problem in Format_Class.Class_Initialize()\n" +
                                      SignedText(f.number) + " " + f.description);
    } catch (...) {
      // The object is created all the same.
    }
  }
}

Format_Class::~Format_Class() {
  try {
    Ctx c = impl_->ctx();
    if (c.g.host.gbDBConnectionIsGood) {
      CloseDatabase(c);
      c.g.host.gbDBConnectionIsGood = false;
    }
  } catch (...) {
    // Releasing the object never fails.
  }
}

const std::string& Format_Class::msErrorMsg() const {
  return impl_->object.msErrorMsg;
}

void Format_Class::set_msErrorMsg(const std::string& text) {
  try {
    impl_->object.msErrorMsg = text;
  } catch (...) {
    // Out of memory: the old text stays.
  }
}

std::string Format_Class::GetAMessage(std::int32_t lIndex) {
  return Guarded<std::string>(
      "END", [&] { return GetAMessageText(impl_->shared->host, lIndex); }, [](const Failure&) {});
}

std::int16_t Format_Class::HereIsAMessage(const std::string& sMsgNr, const std::string& sMsg) {
  Ctx c = impl_->ctx();
  ClearMessageArray(c.g.host);
  return GuardedHostMessage(c, sMsgNr, sMsg);
}

std::int16_t Format_Class::FormatRecord(const std::string& strKey, const std::string& sRec) {
  Ctx c = impl_->ctx();
  HostState& h = c.g.host;
  const auto onFailure = [&](const Failure& f) {
    c.o.msErrorMsg = AddFailureMessage(h, " Had a problem in FormatRecord() Error: ", f);
    std::string text = "Record# " + SignedText(h.glRecordCount);
    text.append(" Record Key: ").append(KeyForMessage(strKey));
    AddToMessageArray(h, kMsgError, text);
  };
  // A key too short to read is reported as a failure of this call, without
  // raising one (it is the most common fault of bad host data).
  bool keyTooShort = false;
  const std::int16_t result = Guarded<std::int16_t>(
      3,
      [&] {
        ClearMessageArray(h);
        return FormatOneRecord(c, strKey, sRec, keyTooShort);
      },
      onFailure);
  if (!keyTooShort) return result;
  try {
    return Report<std::int16_t>(
        3, onFailure, Failure{failure::kSubscript, FailureDescription(failure::kSubscript)});
  } catch (...) {
    return 3;  // no memory even for the failure's text
  }
}

std::int16_t Format_Class::ProcessEndOfFile() {
  Ctx c = impl_->ctx();
  HostState& h = c.g.host;
  return Guarded<std::int16_t>(
      1,
      [&] {
        ClearMessageArray(h);
        return EndOfBatch(c);
      },
      [&](const Failure& f) {
        c.o.msErrorMsg = AddFailureMessage(
            h, " Had a problem in ProcessEndOfFile()  Error: " + std::string(h.keyFields[10]) + " ",
            f);
      });
}

std::int16_t Format_Class::ProcessFormattedRecords() {
  Ctx c = impl_->ctx();
  HostState& h = c.g.host;
  return Guarded<std::int16_t>(
      1,
      [&] {
        ClearMessageArray(h);
        return CheckFormattedRecords(c);
      },
      [&](const Failure& f) {
        c.o.msErrorMsg =
            f.number == failure::kFileNotFound
                ? std::string("ProcessFormattedRecords()  File Not Found: ")
                : "ProcessFormattedRecords()  Error: " + SignedText(f.number) + " " + f.description;
        AddToMessageArray(h, kMsgError, c.o.msErrorMsg);
        AddToMessageArray(h, kMsgError, "File: " + h.gsASCIIFile);
      });
}

}  // namespace wcomp837
