#include "x12/claim_data.h"

namespace wcomp837 {

// Member by member, without building an empty line to copy from. The binding
// names every value, so a value added to the line stops this from compiling
// until it is emptied here too.
void DetailLineValues::Reset() {
  auto& [used, procedure, modifier1, modifier2, modifier3, modifier4, charge, patientPaid, units,
         place, fromDate, startTime, toDate, endTime, controlNr, diagCodes, diagPointers, extKeys,
         narrative, emergency, epsdt, familyPlanning, insInfo, narrativeNDC, ndcInfo] = *this;
  for (std::string* text : {&used, &procedure, &modifier1, &modifier2, &modifier3, &modifier4,
                            &place, &fromDate, &startTime, &toDate, &endTime, &controlNr, &extKeys,
                            &narrative, &emergency, &epsdt, &familyPlanning}) {
    text->clear();
  }
  for (std::string& code : diagCodes) code.clear();
  for (std::string& code : narrativeNDC) code.clear();
  diagPointers.fill(0);
  charge = Currency();
  patientPaid = Currency();
  units = 0.0f;
  insInfo.Empty_Me();
  ndcInfo.Empty_Me();
}

}  // namespace wcomp837
