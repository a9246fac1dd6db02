#include "platform/clock.h"

#include <fmt/format.h>

#include <atomic>
#include <cctype>
#include <ctime>
#include <mutex>

namespace wcomp837 {
namespace {
std::mutex g_clock_mutex;
std::optional<DateTime> g_fixed;
std::atomic<bool> g_has_fixed{false};

const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};

bool ValidDate(int y, int m, int d) {
  if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  static const int kLen[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int len = kLen[m - 1];
  if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) len = 29;
  return d <= len;
}
}  // namespace

DateTime Now() {
  if (g_has_fixed.load(std::memory_order_acquire)) {
    std::lock_guard<std::mutex> lock(g_clock_mutex);
    if (g_fixed) return *g_fixed;
  }
  // Records ask many times a second; the local time of the second is kept.
  thread_local bool known = false;
  thread_local std::time_t last = 0;
  thread_local DateTime local{};
  const std::time_t now = std::time(nullptr);
  if (!known || now != last) {
    std::tm tm{};
    localtime_r(&now, &tm);
    local =
        DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    last = now;
    known = true;
  }
  return local;
}

void SetFixedClock(std::optional<DateTime> fixed) {
  std::lock_guard<std::mutex> lock(g_clock_mutex);
  g_fixed = fixed;
  g_has_fixed.store(fixed.has_value(), std::memory_order_release);
}

int Weekday(const DateTime& t) {
  // Sakamoto's method.
  static const int kOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int y = t.year - (t.month < 3 ? 1 : 0);
  return (y + y / 4 - y / 100 + y / 400 + kOffset[(t.month - 1) % 12] + t.day) % 7;
}

std::string LongDate(const DateTime& t) {
  return fmt::format("{}, {} {}, {}", kDays[Weekday(t)], kMonths[(t.month - 1) % 12], t.day,
                     t.year);
}

DateBuffer GeneralDateText(const DateTime& t) {
  int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  DateBuffer out;
  out.size = fmt::format_to_n(out.text, sizeof out.text, "{}/{}/{} {}:{:02}:{:02} {}", t.month,
                              t.day, t.year, h12, t.minute, t.second, t.hour < 12 ? "AM" : "PM")
                 .out -
             out.text;
  return out;
}

std::string GeneralDate(const DateTime& t) {
  return std::string(GeneralDateText(t).view());
}

std::string Time24(const DateTime& t) {
  return fmt::format("{:02}:{:02}:{:02}", t.hour, t.minute, t.second);
}

int DateKey(const DateTime& t) {
  return t.year * 10000 + t.month * 100 + t.day;
}

std::optional<DateTime> ParseDate(const std::string& text) {
  // Collect up to three runs of digits and the separator used.
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  int parts[3] = {0, 0, 0};
  int lens[3] = {0, 0, 0};
  int n = 0;
  char sep = 0;
  while (i < text.size() && n < 3) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isdigit(c)) {
      if (lens[n] >= 8) return std::nullopt;
      parts[n] = parts[n] * 10 + (c - '0');
      ++lens[n];
      ++i;
    } else if ((c == '/' || c == '-' || c == '.') && lens[n] > 0 && n < 2) {
      if (sep != 0 && sep != static_cast<char>(c)) return std::nullopt;
      sep = static_cast<char>(c);
      ++n;
      ++i;
    } else {
      break;
    }
  }
  // Whatever follows must be blank or a time.
  if (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) return std::nullopt;
  DateTime d;
  if (n == 0 && lens[0] == 8) {
    d.year = parts[0] / 10000;
    d.month = parts[0] / 100 % 100;
    d.day = parts[0] % 100;
  } else if (n == 2 && lens[0] == 4) {
    d.year = parts[0];
    d.month = parts[1];
    d.day = parts[2];
  } else if (n == 2 && lens[0] <= 2 && lens[1] <= 2 && (lens[2] == 4 || lens[2] <= 2)) {
    d.month = parts[0];
    d.day = parts[1];
    d.year = lens[2] == 4 ? parts[2] : (parts[2] < 30 ? 2000 + parts[2] : 1900 + parts[2]);
  } else {
    return std::nullopt;
  }
  if (!ValidDate(d.year, d.month, d.day)) return std::nullopt;
  return d;
}

}  // namespace wcomp837
