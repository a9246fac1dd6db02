// The self-description rows the host's billing component manager reads.
#include <array>

#include "host/component.h"
#include "state/messages.h"

namespace wcomp837 {
namespace {
// Host table number and the captions of its five fields, as this format uses them.
constexpr std::array<const char*, 10> kTableCaptions = {
    "1603~Billing Code~Field 2~Field 3~Field 4~Field 5",
    "1604~Billing ID~CLIA #~FDA Certification #~Field 4~Field 5",
    "1605~Payor Org #~Field 2~Cmplmnt.Xover (Y/N)~Field 4~Field 5",
    "1606~Billing Code~Field 2~Field 3~Field 4~Field 5",
    "1608~Billing Code~Field 2~Field 3~Field 4~Field 5",
    "1609~Billing ID~Default Clia#~Provider Taxonomy Code~Field 4~Field 5",
    "1610~Billing Code (CPT4)~Extra Modifiers~Field 3~Field 4~Mammography Procedure? (Y/N)",
    "1611~Billing ID~Provider Taxonomy Code~Field 3~Field 4~Field 5",
    "1612~Billing ID~Provider Taxonomy Code~Field 3~Field 4~Field 5",
    "1613~Billing Code~Field 2~Field 3~Field 4~Field 5",
};
}  // namespace

std::string ComponentVersion() {
  return kComponentVersion;
}

void GetBillingComponentManager(HostState& h) {
  ClearMessageArray(h);
  AddToMessageArray(h, kMsgInfo, "BCM//0005//" + ComponentVersion());
  AddToMessageArray(h, kMsgInfo, std::string("BCM//0010//E~") + kFormatDisplayName + "~0~0~A");
  for (const char* row : kTableCaptions) {
    AddToMessageArray(h, kMsgInfo, std::string("BCM//0020//") + row);
  }
}

}  // namespace wcomp837
