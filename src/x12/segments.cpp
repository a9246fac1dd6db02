#include "x12/segments.h"

#include <algorithm>

#include "host/messages.h"
#include "host/runlog.h"
#include "platform/failure.h"

namespace wcomp837 {

std::int16_t OpenASCIIout(Ctx& c) {
  try {
    WriterState& w = c.g.writer;
    if (!w.ASCIIFile.IsOpen()) {
      KillFile(c.g.host.gsASCIIFile);
      w.ASCIIFile.Open(c.g.host.gsASCIIFile, OutFile::Mode::kTruncate);
    }
    return 0;
  } catch (...) {
    AddFailureMessage(c.g.host, " OpenASCIIout() ", std::current_exception());
    return 3;
  }
}

std::int16_t CloseASCIIout(Ctx& c) {
  try {
    c.g.writer.ASCIIFile.Close();
    return 0;
  } catch (...) {
    AddFailureMessage(c.g.host, " CloseASCIIout() ", std::current_exception());
    AddToMessageArray(c.g.host, kMsgError, "File: " + c.g.host.gsASCIIFile);
    return 3;
  }
}

void IncrementSegmentCount(Ctx& c) {
  ++c.g.writer.SegmentCount;
}
void DecrementSegmentCount(Ctx& c) {
  --c.g.writer.SegmentCount;
}

void StripTrailingDelimiters(std::string& text, std::string delimiter) {
  while (!delimiter.empty() && delimiter.back() == ' ') delimiter.pop_back();
  while (!text.empty() && text.back() == ' ') text.pop_back();
  while (!delimiter.empty() && delimiter.size() <= text.size() &&
         text.compare(text.size() - delimiter.size(), delimiter.size(), delimiter) == 0) {
    text.resize(text.size() - delimiter.size());
  }
}

void ANSI_TrimLeadingZeroOnMoney(std::string& segment) {
  std::size_t pos;
  while ((pos = segment.find("*0.")) != std::string::npos) {
    for (std::size_t p = pos; (p = segment.find("*0.", p)) != std::string::npos;) {
      segment.erase(p + 1, 1);
      ++p;
    }
  }
}

std::int16_t WriteASCIIOUT(Ctx& c, std::string& segment) {
  HostState& h = c.g.host;
  try {
    StripTrailingDelimiters(segment, "*");
    if (segment.find('*') == std::string::npos) {
      LogLine(h, "#### NOT WRITING OUTPUT REC -- NOTHING BUT RECORD TYPE ####");
      LogLine(h, "   rec is: " + segment);
      bool envelope = segment.compare(0, 3, "ISA") == 0 || segment.compare(0, 3, "IEA") == 0 ||
                      segment.compare(0, 2, "GS") == 0 || segment.compare(0, 2, "GE") == 0;
      if (!envelope) DecrementSegmentCount(c);
      return 0;
    }
    // The interchange header is fixed-width and holds no amounts: the money
    // rule would shift its columns.
    bool fixedWidth = segment.compare(0, 3, "ISA") == 0;
    std::size_t money = fixedWidth ? std::string::npos : segment.find("0.");
    if (money != std::string::npos && money + 2 < segment.size() && segment[money + 2] >= '0' &&
        segment[money + 2] <= '9') {
      ANSI_TrimLeadingZeroOnMoney(segment);
    }
    OutFile& out = c.g.writer.ASCIIFile;
    if (!out.IsOpen()) Raise(failure::kBadFileNumber);
    out.Write(segment);
    out.Write("~");
    return 0;
  } catch (...) {
    AddFailureMessage(h, " WriteASCIIOUT() ", std::current_exception());
    AddToMessageArray(h, kMsgError, "The Data was: " + segment);
    return 3;
  }
}

std::int16_t WriteCountedSegment(Ctx& c, std::string segment) {
  IncrementSegmentCount(c);
  return WriteASCIIOUT(c, segment);
}

std::string DateToCCYYMMDD(const std::string& date) {
  if (date.size() >= 6 && date.size() <= 8) return date.substr(4) + date.substr(0, 4);
  return date;
}

std::string CutTrim(const std::string& text, std::size_t n) {
  std::string cut = text.substr(0, std::min(n, text.size()));
  std::size_t b = cut.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  std::size_t e = cut.find_last_not_of(' ');
  return cut.substr(b, e - b + 1);
}

}  // namespace wcomp837
