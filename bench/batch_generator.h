// Generates realistic host batches of any size: several practices and
// billing providers; insured, spouse and child patients; 1 to 12 lines per
// claim; about a tenth of the claims secondary with other insurances and
// adjustment codes; ambulance, chiropractic, referral, facility, extended
// data and drug codes in realistic proportions.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace wcomp837::bench {

struct BatchOptions {
  std::int64_t records = 10000;  // stop after about this many records
  std::uint32_t seed = 1;
  int practices = 3;
  int providersPerPractice = 2;
  std::int16_t submissionNumber = 4711;
};

// Calls sink(key, record) for every record of the batch, in host order.
// Returns the number of records produced.
std::int64_t GenerateBatch(
    const BatchOptions& options,
    const std::function<void(const std::string& key, const std::string& record)>& sink);

}  // namespace wcomp837::bench
