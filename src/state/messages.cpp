#include "state/messages.h"

#include <new>
#include <stdexcept>

#include "state/signed_text.h"

namespace wcomp837 {

// The entries keep their text buffers for the next messages.
void ClearMessageArray(HostState& h) {
  // Messages always take the first free entries (GetNextEntryNr): the used
  // ones end at the first free one, however far a busy call grew the list.
  for (std::size_t i = 1; i < h.gMessageArray.size() && h.gMessageArray[i].iMsgType != 0; ++i) {
    h.gMessageArray[i].iMsgType = 0;
    h.gMessageArray[i].sMsgText.clear();
  }
}

std::int32_t GetNextEntryNr(HostState& h) {
  const std::size_t upper = h.gMessageArray.size() - 1;
  for (std::size_t i = 1; i <= upper; ++i) {
    if (h.gMessageArray[i].iMsgType == 0) return static_cast<std::int32_t>(i);
  }
  h.gMessageArray.resize(upper + 1 + 10);
  return static_cast<std::int32_t>(upper + 1);
}

void AddToMessageArray(HostState& h, std::int16_t type, const std::string& text) {
  try {
    MessageEntry& entry = h.gMessageArray[static_cast<std::size_t>(GetNextEntryNr(h))];
    // Room for the "//" that reading the message adds.
    entry.sMsgText.reserve(text.size() + 2);
    entry.sMsgText.assign(text);
    entry.iMsgType = type;
  } catch (...) {
    // There is nowhere to report a failure of the message list itself.
  }
}

std::int32_t MessageCount(const HostState& h) {
  std::int32_t n = 0;
  for (std::size_t i = 1; i < h.gMessageArray.size() && h.gMessageArray[i].iMsgType != 0; ++i) ++n;
  return n;
}

std::int16_t HighestMessageType(const HostState& h) {
  std::int16_t highest = 0;
  for (std::size_t i = 1; i < h.gMessageArray.size() && h.gMessageArray[i].iMsgType != 0; ++i) {
    if (h.gMessageArray[i].iMsgType > highest) highest = h.gMessageArray[i].iMsgType;
  }
  return highest;
}

std::string GetAMessageText(HostState& h, std::int32_t lIndex) {
  if (lIndex < 1 || static_cast<std::size_t>(lIndex) >= h.gMessageArray.size()) return "END";
  MessageEntry& entry = h.gMessageArray[static_cast<std::size_t>(lIndex)];
  if (entry.iMsgType == 0) return "END";
  const std::string& t = entry.sMsgText;
  if (t.size() >= 2 && t.compare(t.size() - 2, 2, "//") != 0) entry.sMsgText += "//";
  const std::string type = SignedText(entry.iMsgType);
  std::string out;
  out.reserve(type.size() + 2 + entry.sMsgText.size());
  out.append(type).append("//").append(entry.sMsgText);
  return out;
}

Failure CurrentFailure(std::exception_ptr e) {
  try {
    if (e) std::rethrow_exception(e);
  } catch (const Failure& f) {
    return f;
  } catch (const std::bad_alloc&) {
    return Failure{7, "Out of memory"};
  } catch (const std::length_error&) {
    return Failure{7, "Out of memory"};
  } catch (const std::out_of_range&) {
    return Failure{9, "Subscript out of range"};
  } catch (...) {
    return Failure{5, "Invalid procedure call or argument"};
  }
  return Failure{5, "Invalid procedure call or argument"};
}

std::string AddFailureMessage(HostState& h, const std::string& routineText, const Failure& f) {
  const std::string number = SignedText(f.number);
  std::string text;
  text.reserve(h.gsDllName.size() + routineText.size() + number.size() + 1 + f.description.size());
  text.append(h.gsDllName).append(routineText).append(number).append(" ").append(f.description);
  AddToMessageArray(h, kMsgError, text);
  return text;
}

std::string AddFailureMessage(HostState& h, const std::string& routineText, std::exception_ptr e) {
  return AddFailureMessage(h, routineText, CurrentFailure(e));
}

}  // namespace wcomp837
