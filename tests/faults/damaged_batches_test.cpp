// Generated batches with random damage of the kinds hosts really send
// (separators and control bytes in values, empty tags, out-of-range indexes
// and numbers, missing top records, end-of-charge records doubled or lost):
// either the claim file passes the implementation-guide check or the batch
// does not end with 0, and a host value reaches the file changed only by the
// cleaning rules.
#include <algorithm>
#include <random>
#include <set>

#include "faults/batch_runner.h"
#include "faults/component_env.h"

namespace wcomp837::testing {
namespace {

#ifdef WCOMP837_SANITIZED_BUILD
constexpr int kBatches = 300;
#else
constexpr int kBatches = 2000;
#endif

// clang-format off
const std::string kValues[] = {
    "*", "~", ":", "AC:1*2~3", "\x01\x1B[2J", "\xE9\xFF", "", ".", "0", "5", "X", "-5",
    "2147483648", "922337203685477.5808", "99999999999999.99", "0.5A", std::string(400, 'W'),
    "12312099", "13452026", "SLF"};
// clang-format on
const char* const kTopTypes[] = {"1000", "1050", "2000", "3000", "3100", "4000", "5000"};

std::string TypeOf(const BatchLine& line) {
  return line.key.substr(line.key.rfind("//") + 2);
}

void Damage(Batch& batch, std::mt19937& rng) {
  auto pick = [&rng](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  const std::size_t kind = pick(5);
  if (kind <= 2) {  // a value in a field, or an empty tag
    BatchLine& line = batch[pick(batch.size())];
    std::vector<std::string> fields = Fields(line.record);
    if (kind < 2) {
      fields[pick(fields.size())] = kValues[pick(std::size(kValues))];
    } else {
      fields[0] = pick(2) == 0 ? "" : ".";
    }
    line.record = Joined(fields);
  } else if (kind == 3) {  // a top record missing
    // Every record of that type but a first one, which the host must send.
    const std::string type = kTopTypes[pick(std::size(kTopTypes))];
    batch.erase(std::remove_if(batch.begin() + 1, batch.end(),
                               [&](const BatchLine& l) { return TypeOf(l) == type; }),
                batch.end());
  } else if (const std::size_t at = pick(batch.size()); TypeOf(batch[at]) == "6990") {
    // An end of charge doubled or lost.
    const auto it = batch.begin() + static_cast<std::ptrdiff_t>(at);
    if (pick(2) == 0) {
      batch.insert(it, batch[at]);
    } else {
      batch.erase(it);
    }
  }
}

// A value as the cleaning rules let it into an element.
std::string Cleaned(const std::string& value) {
  std::string out;
  for (char ch : value) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x20 && byte < 0x7F && ch != '*' && ch != '~' && ch != ':') out += ch;
  }
  return out;
}

class DamagedBatches : public ComponentEnv {};

TEST_F(DamagedBatches, EndWithZeroOnlyOverAFileThatPassesTheCheck) {
  std::mt19937 rng(837);
  int endedWithZero = 0;
  for (int n = 0; n < kBatches; ++n) {
    Batch batch = GeneratedBatch({.records = 30, .seed = static_cast<std::uint32_t>(n + 1)});
    for (int d = 0; d <= n % 3; ++d) Damage(batch, rng);  // one to three damages
    // Every batch carries one account number full of what must not reach
    // the file as it is.
    for (BatchLine& line : batch) {
      if (TypeOf(line) != "4000") continue;
      std::vector<std::string> fields = Fields(line.record);
      if (fields.size() < 2) continue;
      fields[1] = "A" + kValues[n % std::size(kValues)] + std::to_string(n);
      line.record = Joined(fields);
      break;
    }

    std::set<std::string> accounts;
    for (const BatchLine& line : batch) {
      const std::vector<std::string> fields = Fields(line.record);
      if (TypeOf(line) == "4000" && fields.size() > 1) accounts.insert(Cleaned(fields[1]));
    }
    std::filesystem::remove_all(OutFolder());
    std::filesystem::create_directories(OutFolder());
    Format_Class fc;
    const HostView v = RunBatch(fc, OutFolder(), "claims.837", batch);
    SCOPED_TRACE("batch " + std::to_string(n));
    const std::string claims = ReadFile(Out("claims.837"));
    if (v.endOfFile == 0 && v.finalCheck == 0 &&
        std::ranges::all_of(v.recordResults, [](std::int16_t r) { return r == 0; })) {
      ++endedWithZero;
      const GuideReport check = CheckGuideFile(Out("claims.837"));
      EXPECT_TRUE(claims.empty() || check.ok()) << ::testing::PrintToString(check.errors);
    }
    for (const std::string& segment : SplitSegments(claims)) {
      if (!segment.starts_with("CLM*")) continue;
      const std::string account = segment.substr(4, segment.find('*', 4) - 4);
      EXPECT_TRUE(std::any_of(accounts.begin(), accounts.end(), [&](const std::string& a) {
        return a.substr(0, account.size()) == account;
      })) << segment;
    }
  }
  // The damage leaves many batches sound: the property is not met vacuously.
  EXPECT_GT(endedWithZero, kBatches / 10);
}

}  // namespace
}  // namespace wcomp837::testing
