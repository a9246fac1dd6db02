// Where the claim files the component writes depart from the implementation
// guide on purpose. The check reports these as warnings under a stable key,
// never as errors; everything else the guide forbids is an error.
#pragma once

#include <span>
#include <string_view>

#include "x12/guide/findings.h"

namespace wcomp837::guide {

struct Departure {
  std::string_view key;     // stable name, e.g. "billing-contact-without-name"
  std::string_view reason;  // one line: what the component writes and why
  std::string_view loops;   // the loops it happens in, separated by blanks
  std::string_view refs;    // the element references (or segment identifiers)
  Rule rule;                // the finding it turns into a warning
  std::string_view values;  // the values it covers; empty: any value
};

std::span<const Departure> Departures();

// The departure a finding is, or nullptr.
const Departure* FindDeparture(std::string_view loop, std::string_view ref, Rule rule,
                               std::string_view value);

}  // namespace wcomp837::guide
