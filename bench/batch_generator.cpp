#include "batch_generator.h"

#include <cstdio>
#include <random>
#include <vector>

#include "records/records.h"

namespace wcomp837::bench {
namespace {

// A record under construction: a template record (fields joined with "//")
// whose fields are replaced by number. Templates carry every field a parser
// needs, so a generated record has the layout the host sends.
class Fields {
 public:
  explicit Fields(std::string_view templ) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = templ.find("//", start);
      f_.emplace_back(templ.substr(start, end - start));
      if (end == std::string_view::npos) break;
      start = end + 2;
    }
  }
  Fields& Set(std::size_t i, std::string v) {
    if (i >= f_.size()) f_.resize(i + 1);
    f_[i] = std::move(v);
    return *this;
  }
  std::string Join() const {
    std::string out;
    for (std::size_t i = 0; i < f_.size(); ++i) {
      if (i) out += "//";
      out += f_[i];
    }
    return out;
  }

 private:
  std::vector<std::string> f_;
};

// Record templates (one typical record of each type).
constexpr std::string_view kPracticeT =
    "1000//PR01//NORTHSIDE OCCUPATIONAL HEALTH//400 INDUSTRIAL PKWY////ROCKFORD//IL//61101//815//"
    "5550140////////361122334//////////////////207Q00000X////1588667755//USA";
constexpr std::string_view kSubmitterT =
    "1050//NSOH0001////NORTHSIDE OCCUPATIONAL HEALTH//////////////JANET COLE//815//5550141//"
    "WCCLEAR01////////////////////N//////////////////WORKERS COMP CLEARINGHOUSE//NSOH0001//"
    "WCCLEAR01";
constexpr std::string_view kBProviderT =
    "2000//DRKIM//SARAH//KIM//E//////321547698//F//FEMALE//400 INDUSTRIAL PKWY////ROCKFORD//IL//"
    "61101//815//5550140////////////////361122334//////1306849450//////////////207Q00000X//USA";
constexpr std::string_view kInsuranceT =
    "3000//WC01//36101//MIDWEST WORKERS COMP INS CO//PO BOX 4500////CHICAGO//IL//60680//////////"
    "////////PRV7781//GRP2210//WCI////////////////////////////////////USA";
constexpr std::string_view kCalcPrefT = "3100//1//////////1//2//////////0//0//0";
constexpr std::string_view kBreakPrefT =
    "3101//0//0//0//1//0//1//0//0//0//1//0//0//0//0//0//0//0//0//0//0//0//0//0//0";
constexpr std::string_view kPatientT =
    "4000//N30020////MICHAEL//BROWN//T//////07221975//WC8810021//M//MALE//////////////////////////"
    "//////////////2210 HARLEM AVE////ROCKFORD//IL//61103////////////////////////////////USA//USA";
constexpr std::string_view kSubscriberT =
    "5000////////WC8810021////////////1//1////////SLF//////MICHAEL//BROWN//T//////07221975////M//"
    "MALE////////////////////////////////////////2210 HARLEM AVE////ROCKFORD//IL//61103//////////"
    "////////////////////USA//USA";
constexpr std::string_view kChargeT =
    "6000//1001////1//////99214//SERVICE////WC-3020//////////////////////////1//////11//////"
    "844.2////////////////////////////1//180.00//////////EMP////11012026//////11102026////"
    "11102026////////////NONE////0001//0//0////0//0//Y//1//////////////////////////////////0";
constexpr std::string_view kSProviderT =
    "6100//DRPARK//SP7710//DANIEL//PARK//J//////412663901//M//MALE//////////////////////////////"
    "//////207X00000X////////////1417053829";
constexpr std::string_view kReferralT =
    "6120//DRWEST//RF4410//ALAN//WEST//R//////555443333//M//MALE//////////////////////////////////"
    "////364455667//////207R00000X//////////////1093817465//0//////0";
constexpr std::string_view kFacilityT =
    "6200//RMH//FAC8821//ROCKFORD MEMORIAL HOSPITAL//2400 N ROCKTON AVE//BUILDING C//ROCKFORD//IL//"
    "61103////////////////////1932105678//USA//0";
constexpr std::string_view kOInsuranceT =
    "6310//GHP01//60054//PRAIRIE GROUP HEALTH PLAN//PGH5521870////GRP1870////////1//1//////SLF////"
    "//MICHAEL//BROWN//////120.00//96.00//24.00//07221975////M//////////////////////////////"
    "2210 HARLEM AVE////ROCKFORD//IL//61103//////////////GHP//////////////////////////////////////"
    "////////11202026//CO|45|60|1|PR|2|24|0";
constexpr std::string_view kAmbulanceT =
    "6050//190//1//////1//////////////////12//I//A////////PATIENT UNABLE TO SIT//////////////////"
    "////////////0";
constexpr std::string_view kChiropractorT =
    "6060//10162026//10182026//////////A//1//LUMBAR REGION//SACRAL REGION//////////10142026////"
    "SUBLUXATION OF THE LUMBAR SPINE AT L4 AND L5";

const char* const kLast[] = {"SMITH",  "JOHNSON", "WILLIAMS", "BROWN", "JONES",  "GARCIA",
                             "MILLER", "DAVIS",   "MARTINEZ", "LOPEZ", "WILSON", "ANDERSON"};
const char* const kFirstM[] = {"JAMES", "ROBERT", "MICHAEL", "DAVID", "CARLOS", "THOMAS"};
const char* const kFirstF[] = {"MARY", "LINDA", "SUSAN", "MARIA", "KAREN", "NANCY"};
const char* const kCity[] = {"SPRINGFIELD", "RIVERSIDE", "FAIRVIEW", "GREENVILLE", "MADISON"};
const char* const kState[] = {"IL", "CA", "TX", "NY", "OH"};
const char* const kProc[] = {"99213", "99214", "97110", "97140", "72100", "20610", "99203"};
const char* const kDiag[] = {"847.0", "847.2", "724.2",  "723.1",  "719.41",
                             "844.2", "840.9", "922.31", "959.01", "E849.3"};
const char* const kDrugs[] = {"00003029305-2.5-4-UN-RX100234", "00009027501-1.75-2-ML-",
                              "50484081001-30-1-ML-RX5555"};

struct Rng {
  std::mt19937 gen;
  explicit Rng(std::uint32_t seed) : gen(seed) {}
  int Below(int n) { return static_cast<int>(gen() % static_cast<unsigned>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <std::size_t N>
  const char* Pick(const char* const (&a)[N]) {
    return a[Below(static_cast<int>(N))];
  }
};

std::string Digits(Rng& r, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>('0' + r.Below(10));
  return s;
}

std::string Date(int month, int day, int year) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d%04d", month, day, year);
  return buf;
}

std::string Money(int cents) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d.%02d", cents / 100, cents % 100);
  return buf;
}

// What a claim carries besides its charges.
struct ClaimKind {
  std::string relationship;  // SLF, WIF or SON
  bool secondary = false;    // billed to a second payer: other insurance per line
  bool tertiary = false;     // and a third payer
  bool ambulance = false;
  bool chiro = false;
  bool referral = false;
  bool facility = false;
};

class Generator {
 public:
  Generator(const BatchOptions& o,
            const std::function<void(const std::string&, const std::string&)>& sink)
      : o_(o), sink_(sink), r_(o.seed) {}

  std::int64_t Run() {
    int practice = 0;
    while (count_ < o_.records) {
      practice_ = practice % o_.practices;
      Practice();
      Submitter();
      for (int p = 0; p < o_.providersPerPractice && count_ < o_.records; ++p) {
        BillingProvider(p);
        for (int claims = 0; claims < 40 && count_ < o_.records; ++claims) Claim();
      }
      ++practice;
    }
    return count_;
  }

 private:
  void Emit(const char* type, const std::string& record) {
    key_ = "B20261206//PR" + std::to_string(practice_ + 1) + "//" + account_ + "//" +
           std::to_string(o_.submissionNumber) + "//" + std::to_string(line_) +
           "//0//0//0//0//0//" + type;
    sink_(key_, record);
    ++count_;
  }
  void Emit(const char* type, const Fields& f) { Emit(type, f.Join()); }

  void Practice() {
    using namespace wcomp837::Practice;
    account_.clear();
    line_ = 0;
    Fields f(kPracticeT);
    f.Set(sPracticeCode, "PR" + std::to_string(practice_ + 1))
        .Set(sName, std::string(kLast[practice_ % 12]) + " OCCUPATIONAL MEDICINE")
        .Set(sAddress1, std::to_string(100 + practice_ * 7) + " MAIN ST")
        .Set(sCity, kCity[practice_ % 5])
        .Set(sState, kState[practice_ % 5])
        .Set(sZip, "6270" + std::to_string(practice_ % 10))
        .Set(sPhone, "5551" + Digits(r_, 3))
        .Set(sTaxId, "37" + Digits(r_, 7))
        .Set(sNPI, "1" + Digits(r_, 9));
    Emit("1000", f);
  }

  void Submitter() {
    using namespace wcomp837::Submitter;
    Fields f(kSubmitterT);
    f.Set(sSubmitterId, "SUB" + std::to_string(12345 + practice_))
        .Set(sName, std::string(kLast[practice_ % 12]) + " OCCUPATIONAL MEDICINE");
    Emit("1050", f);
  }

  void BillingProvider(int p) {
    using namespace wcomp837::BProvider;
    const bool male = r_.Chance(50);
    Fields f(kBProviderT);
    f.Set(sProviderCode, "DR" + std::to_string(practice_) + std::to_string(p))
        .Set(sFirstName, male ? r_.Pick(kFirstM) : r_.Pick(kFirstF))
        .Set(sLastName, r_.Pick(kLast))
        .Set(sSSN, Digits(r_, 9))
        .Set(sGender, male ? "M" : "F")
        .Set(sGenderDesc, male ? "MALE" : "FEMALE")
        .Set(sCity, r_.Pick(kCity))
        .Set(sTaxId, "36" + Digits(r_, 7))
        .Set(sNPI, "1" + Digits(r_, 9));
    Emit("2000", f);
    Insurance();
    // Half the providers bill under the practice, half under themselves.
    Emit("3100", Fields(kCalcPrefT).Set(CalcPref::sBillingOption, p % 2 ? "0" : "1"));
    Emit("3101", Fields(kBreakPrefT));
  }

  void Insurance() {
    using namespace wcomp837::Insurance;
    const int i = r_.Below(3);
    const char* names[] = {"STATE COMPENSATION FUND", "EMPLOYERS MUTUAL WC", "WORKCOMP ASSURANCE"};
    Fields f(kInsuranceT);
    f.Set(sInsuranceCode, "WC0" + std::to_string(i + 1))
        .Set(sPayerId, std::to_string(36101 + i))
        .Set(sPayerName, names[i])
        .Set(sAddress1, "PO BOX " + std::to_string(1000 + i * 17))
        .Set(sPayerProviderId1, "PRV" + Digits(r_, 4));
    Emit("3000", f);
  }

  ClaimKind PickKind() {
    ClaimKind k;
    const int who = r_.Below(10);  // 0-6 insured, 7-8 spouse, 9 child
    k.relationship = who < 7 ? "SLF" : (who < 9 ? "WIF" : "SON");
    k.secondary = r_.Chance(10);
    k.tertiary = k.secondary && r_.Chance(20);
    k.ambulance = r_.Chance(3);
    k.chiro = !k.ambulance && r_.Chance(8);
    k.referral = r_.Chance(20);
    k.facility = r_.Chance(15);
    return k;
  }

  void Claim() {
    const ClaimKind kind = PickKind();
    const bool male = r_.Chance(50);
    const std::string last = r_.Pick(kLast);
    const std::string first = male ? r_.Pick(kFirstM) : r_.Pick(kFirstF);
    const std::string city = r_.Pick(kCity);
    const std::string address = std::to_string(10 + r_.Below(9000)) + " OAK AVE";
    const std::string member = "WC" + Digits(r_, 7);
    const std::string birth = Date(1 + r_.Below(12), 1 + r_.Below(28), 1960 + r_.Below(40));
    account_ = "A" + std::to_string(++accounts_);
    line_ = 0;

    {
      using namespace wcomp837::Patient;
      const bool child = kind.relationship == "SON";
      Fields pat(kPatientT);
      pat.Set(sAccountNr, account_)
          .Set(sFirstName, child ? "KEVIN" : (kind.relationship == "WIF" ? "MARY" : first))
          .Set(sLastName, last)
          .Set(sBirthDate, child ? Date(4, 12, 2012) : birth)
          .Set(sMemberId, member)
          .Set(sGender, child || (kind.relationship == "SLF" && male) ? "M" : "F")
          .Set(sGenderDesc, child || (kind.relationship == "SLF" && male) ? "MALE" : "FEMALE")
          .Set(sAddress1, address)
          .Set(sCity, city);
      Emit("4000", pat);
    }
    {
      using namespace wcomp837::Subscriber;
      const bool subMale = kind.relationship == "SLF" ? male : true;
      Fields sub(kSubscriberT);
      sub.Set(sPolicyNrPart1, member)
          .Set(sRelationship, kind.relationship)
          .Set(sFirstName, kind.relationship == "SLF" ? first : "ROBERT")
          .Set(sLastName, last)
          .Set(sBirthDate, birth)
          .Set(sGender, subMale ? "M" : "F")
          .Set(sGenderDesc, subMale ? "MALE" : "FEMALE")
          .Set(sAddress1, address)
          .Set(sCity, city);
      Emit("5000", sub);
    }
    // Claim-level extended data: the accident state.
    if (r_.Chance(20)) Emit("5012", "5012//20003//" + std::string(r_.Pick(kState)));

    const int lines = 1 + r_.Below(12);
    const int month = 1 + r_.Below(10);
    const std::string onset = Date(month, 1, 2026);
    const std::string diag1 = r_.Pick(kDiag);
    const std::string diag2 = r_.Chance(40) ? r_.Pick(kDiag) : "";
    for (int line = 0; line < lines && count_ < o_.records; ++line) {
      line_ = line + 1;
      Charge(kind, month, onset, diag1, diag2, line);
      if (r_.Chance(10)) Emit("6012", "6012//20010//" + std::string(r_.Pick(kDrugs)));
      if (r_.Chance(5)) Emit("6010", "6010//10001//REEVALUATION DUE " + Date(month + 2, 1, 2026));
      if (r_.Chance(5)) Emit("6020", "6020//20002//ATT" + Digits(r_, 5));
      if (r_.Chance(2)) Emit("6005", "6005//CMS-849//AMBULATE//N");
      if (kind.ambulance) Emit("6050", Fields(kAmbulanceT));
      if (kind.chiro) Emit("6060", Fields(kChiropractorT));
      SProvider();
      if (kind.referral) Referral();
      if (kind.facility) Facility();
      if (kind.secondary) OtherInsurance(first, last, birth, kind.tertiary);
      Emit("6990", "6990");
    }
  }

  void Charge(const ClaimKind& kind, int month, const std::string& onset, const std::string& d1,
              const std::string& d2, int line) {
    using namespace wcomp837::Charge;
    const std::string proc = kind.ambulance ? "A0428" : (kind.chiro ? "98940" : r_.Pick(kProc));
    const std::string from = Date(month + 1, 2 + line % 25, 2026);
    Fields f(kChargeT);
    f.Set(sLineKeyPart1, std::to_string(++lineKeys_))
        .Set(sLineKeyPart2, std::to_string(line + 1))
        .Set(sProcedureCode, proc)
        .Set(sProcedureDesc, kind.ambulance ? "BLS TRANSPORT" : "OFFICE VISIT")
        .Set(sCaseId, "WC-" + account_)
        .Set(sModifier1, r_.Chance(20) ? "25" : "")
        .Set(sPOSCode, kind.ambulance ? "41" : "11")
        .Set(sDiagnosis1, d1)
        .Set(sDiagnosis2, d2)
        .Set(sUnits, std::to_string(1 + r_.Below(3)))
        .Set(sChargeAmount, Money(2500 + r_.Below(30000)))
        .Set(sOnsetDate, onset)
        .Set(sFromDate, from)
        .Set(sToDate, from)
        .Set(sPrimaryApprovalNr, r_.Chance(30) ? "AUTH" + Digits(r_, 6) : "NONE")
        .Set(sAmtPatientPaid, r_.Chance(5) ? "10.00" : "0")
        .Set(sBillingInsIndex, kind.tertiary ? "3" : (kind.secondary ? "2" : "1"))
        .Set(sNarrative, r_.Chance(3) ? "NDC 00409379301 GIVEN IM" : "");
    Emit("6000", f);
  }

  void SProvider() {
    using namespace wcomp837::SProvider;
    Fields f(kSProviderT);
    f.Set(sProviderNr, "SP" + std::to_string(7710 + practice_))
        .Set(sNPI, "141705382" + std::to_string(practice_));
    Emit("6100", f);
  }

  void Referral() {
    using namespace wcomp837::Referral;
    Fields f(kReferralT);
    f.Set(sProviderNr, "RF" + Digits(r_, 4)).Set(sNPI, "1" + Digits(r_, 9));
    Emit("6120", f);
  }

  void Facility() {
    using namespace wcomp837::Facility;
    Fields f(kFacilityT);
    f.Set(sFacilityNr, "FN" + Digits(r_, 4)).Set(sNPI, "1" + Digits(r_, 9));
    Emit("6200", f);
  }

  void OtherInsurance(const std::string& first, const std::string& last, const std::string& birth,
                      bool tertiary) {
    using namespace wcomp837::OInsurance;
    const int allowed = 4000 + r_.Below(20000);
    const int paid = allowed * 4 / 5;
    Fields f(kOInsuranceT);
    f.Set(sMemberIdPart1, "MEM" + Digits(r_, 6))
        .Set(sFirstName, first)
        .Set(sLastName, last)
        .Set(sAmtAllowed, Money(allowed))
        .Set(sAmtPayerPaid, Money(paid))
        .Set(sAmtWriteOff, Money(allowed - paid))
        .Set(sBirthDate, birth)
        // Seven in ten earlier payers sent adjustment reason codes.
        .Set(sPaymentAdjCodes, r_.Chance(70) ? "CO|45|" + Money(allowed / 5) + "|1|PR|2|" +
                                                   Money(allowed - paid) + "|0"
                                             : "");
    Emit("6310", f);
    if (tertiary) {
      f.Set(0, "6320")
          .Set(sInsuranceCode, "CI03")
          .Set(sPayerId, "87726")
          .Set(sPayerName, "CONTINENTAL INDEMNITY")
          .Set(sPaymentAdjCodes, "");
      Emit("6320", f);
    }
  }

  const BatchOptions& o_;
  const std::function<void(const std::string&, const std::string&)>& sink_;
  Rng r_;
  std::int64_t count_ = 0;
  std::int64_t accounts_ = 0;
  std::int64_t lineKeys_ = 0;
  int practice_ = 0;
  int line_ = 0;
  std::string account_;
  std::string key_;
};

}  // namespace

std::int64_t GenerateBatch(
    const BatchOptions& options,
    const std::function<void(const std::string& key, const std::string& record)>& sink) {
  Generator g(options, sink);
  return g.Run();
}

}  // namespace wcomp837::bench
