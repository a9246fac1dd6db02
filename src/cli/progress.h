// The progress line of a long batch: records and claims done, rate, the
// share of the input file read, the time taken and the time left, redrawn a few times a second on
// standard error when it is a terminal, and cleared at the end.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace wcomp837::cli {

struct ProgressFigures {
  std::int64_t records = 0;
  std::int64_t claims = 0;
  double seconds = 0.0;
  std::int64_t bytesRead = 0;
  std::int64_t totalBytes = 0;  // 0 when the input's size is unknown
};

// "12,345 records  1,024 claims  48,000 records/s  37%  0:12 elapsed  0:20 left";
// the time left is estimated from the share read so far.
std::string ProgressText(const ProgressFigures& f);
// Seconds as "m:ss", or "h:mm:ss" from an hour on.
std::string Duration(double seconds);
// 1234567 as "1,234,567".
std::string Grouped(std::int64_t n);

class ProgressLine {
 public:
  // enabled: standard error is a terminal and the user did not ask for quiet.
  ProgressLine(bool enabled, std::int64_t totalBytes);
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Redraws when the last drawing is old enough (the first call draws).
  void Update(std::int64_t records, std::int64_t claims, std::int64_t bytesRead);
  // Removes the line (before other output and at the end).
  void Clear();

 private:
  using Clock = std::chrono::steady_clock;
  bool enabled_;
  bool shown_ = false;
  std::int64_t totalBytes_;
  Clock::time_point start_;
  Clock::time_point lastDraw_;
  bool drawn_ = false;
};

// True when standard error is a terminal.
bool StandardErrorIsTerminal();

}  // namespace wcomp837::cli
