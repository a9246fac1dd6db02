#include "cli/progress.h"

#include <unistd.h>

#include <cstdio>

namespace wcomp837::cli {
namespace {
constexpr std::chrono::milliseconds kRedrawInterval{250};
// Carriage return, then erase the whole line.
constexpr const char* kEraseLine = "\r\x1b[2K";
}  // namespace

std::string Grouped(std::int64_t n) {
  std::string digits = std::to_string(n < 0 ? -n : n);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return n < 0 ? "-" + out : out;
}

std::string Duration(double seconds) {
  const std::int64_t total = seconds > 0.0 ? static_cast<std::int64_t>(seconds + 0.5) : 0;
  const std::int64_t h = total / 3600, m = total / 60 % 60, s = total % 60;
  char text[32];
  if (h > 0) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(h),
                  static_cast<long long>(m), static_cast<long long>(s));
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(m),
                  static_cast<long long>(s));
  }
  return text;
}

std::string ProgressText(const ProgressFigures& f) {
  std::string text = Grouped(f.records) + " records  " + Grouped(f.claims) + " claims";
  if (f.seconds > 0.0) {
    text += "  " + Grouped(static_cast<std::int64_t>(f.records / f.seconds)) + " records/s";
  }
  if (f.totalBytes > 0) {
    const std::int64_t percent =
        f.bytesRead >= f.totalBytes ? 100 : f.bytesRead * 100 / f.totalBytes;
    text += "  " + std::to_string(percent) + "%";
  }
  text += "  " + Duration(f.seconds) + " elapsed";
  if (f.totalBytes > 0 && f.bytesRead > 0 && f.bytesRead <= f.totalBytes) {
    const double share = static_cast<double>(f.bytesRead) / static_cast<double>(f.totalBytes);
    text += "  " + Duration(f.seconds * (1.0 - share) / share) + " left";
  }
  return text;
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

ProgressLine::ProgressLine(bool enabled, std::int64_t totalBytes)
    : enabled_(enabled), totalBytes_(totalBytes), start_(Clock::now()) {}

void ProgressLine::Update(std::int64_t records, std::int64_t claims, std::int64_t bytesRead) {
  if (!enabled_) return;
  const Clock::time_point now = Clock::now();
  if (drawn_ && now - lastDraw_ < kRedrawInterval) return;
  drawn_ = true;
  lastDraw_ = now;
  ProgressFigures f;
  f.records = records;
  f.claims = claims;
  f.seconds = std::chrono::duration<double>(now - start_).count();
  f.bytesRead = bytesRead;
  f.totalBytes = totalBytes_;
  std::fprintf(stderr, "%s%s", kEraseLine, ProgressText(f).c_str());
  std::fflush(stderr);
  shown_ = true;
}

void ProgressLine::Clear() {
  if (!shown_) return;
  std::fputs(kEraseLine, stderr);
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace wcomp837::cli
