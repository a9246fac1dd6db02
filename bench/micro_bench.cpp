// Micro-benchmarks of the hot routines of a batch: record split and parse,
// the punctuation filter, segment output and a whole charge group (charge,
// servicing provider and the end-of-charge sequence with the run log on);
// and the implementation-guide check of a claim file held in memory (the
// file named by WCOMP837_BENCH_CLAIM_FILE, else the end-to-end batches'
// claim files repeated to some 8 MB).
//   wcomp837_micro_bench [--benchmark_filter=REGEX]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "claim/state.h"
#include "records/parsers.h"
#include "records/text.h"
#include "wcomp837/format_class.h"
#include "x12/guide/check.h"
#include "x12/segments.h"

namespace {

using namespace wcomp837;

const std::string kChargeRecord =
    "6000//1001////1//////99214//OFFICE VISIT////WC-A3020//////////////////////////1//////11//////"
    "844.2//////723.1//////////////////////2//180.00//////////EMP////11012026//////11102026////"
    "11102026////////////AUTH123456////12/AB//0//0////0//0//Y//1//////////////////////////////////"
    "0";
const std::string kSProviderRecord =
    "6100//DRPARK//SP7710//DANIEL//PARK//J//////412663901//M//MALE////////////////////////////////"
    "////207X00000X////////////1417053829";
const std::string kKeyPrefix = "B20261206//PR1//A1//4711//1//0//0//0//0//0//";

// A folder of its own for the files a benchmark writes, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("wcomp837_micro_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

struct State {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

void BM_SplitFields(benchmark::State& state) {
  std::vector<std::string> fields;
  for (auto _ : state) {
    SplitFields(kChargeRecord, fields, "//");
    benchmark::DoNotOptimize(fields.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitFields);

void BM_ParseChargeRec(benchmark::State& state) {
  auto s = std::make_unique<State>();
  auto charge = std::make_unique<ChargeRec>();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseChargeRec(s->c, kChargeRecord, *charge));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseChargeRec);

void BM_ParseSProviderRec(benchmark::State& state) {
  auto s = std::make_unique<State>();
  SProviderRec provider;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseSProviderRec(s->c, kSProviderRecord, provider));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseSProviderRec);

void BM_SquashAllPunctuation(benchmark::State& state) {
  auto s = std::make_unique<State>();
  const std::string text = "St. Mary's Hospital, Building #4 (North-East) 1200 Main St.";
  for (auto _ : state) {
    benchmark::DoNotOptimize(SquashAllPunctuation(s->g.host, text));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_SquashAllPunctuation);

void BM_WriteCountedSegment(benchmark::State& state) {
  ScratchFolder folder;
  auto s = std::make_unique<State>();
  s->g.host.gsASCIIFile = folder.path() + "/segments.837";
  if (OpenASCIIout(s->c) != 0) {
    state.SkipWithError("claim file not opened");
    return;
  }
  const std::string segment = "SV1*HC:99214:25*180.00*UN*2***1:2**Y*  *";
  for (auto _ : state) {
    benchmark::DoNotOptimize(WriteCountedSegment(s->c, segment));
  }
  CloseASCIIout(s->c);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteCountedSegment);

// One charge group per iteration through the component, with the run log at
// level 2 as in a host batch: the charge, its servicing provider and the
// 6990 record that ends it (the claim breaks and is written every 50 lines).
void BM_ChargeGroup(benchmark::State& state) {
  ScratchFolder folder;
  Format_Class component;
  component.HereIsAMessage("1", folder.path());
  component.HereIsAMessage("2", "micro.837");
  const std::pair<const char*, std::string> top[] = {
      {"1000",
       "1000//PR1//RIVERSIDE CLINIC//400 INDUSTRIAL PKWY////ROCKFORD//IL//61101//815//5550140//////"
       "//361122334//////////////////207Q00000X////1588667755//USA"},
      {"1050",
       "1050//SUB1////RIVERSIDE CLINIC//////////////JANET COLE//815//5550141//WCCLEAR01////////////"
       "////////N//////////////////WORKERS COMP CLEARINGHOUSE//SUB1//WCCLEAR01"},
      {"2000",
       "2000//DRKIM//SARAH//KIM//E//////321547698//F//FEMALE//400 INDUSTRIAL PKWY////ROCKFORD//IL//"
       "61101//815//5550140////////////////361122334//////1306849450//////////////207Q00000X//USA"},
      {"3000",
       "3000//WC01//36101//MIDWEST WORKERS COMP INS CO//PO BOX 4500////CHICAGO//IL//60680////////"
       "//////////PRV7781//GRP2210//WCI////////////////////////////////////USA"},
      {"3100", "3100//1//////////1//2//////////0//0//0"},
      {"3101", "3101//0//0//0//1//0//1//0//0//0//1//0//0//0//0//0//0//0//0//0//0//0//0//0//0"},
      {"4000",
       "4000//A1////MICHAEL//BROWN//T//////07221975//WC8810021//M//MALE//////////////////////////"
       "//////////////2210 HARLEM AVE////ROCKFORD//IL//61103//////////////////////////////"
       "//USA//USA"},
      {"5000",
       "5000////////WC8810021////////////1//1////////SLF//////MICHAEL//BROWN//T//////07221975////"
       "M//MALE////////////////////////////////////////2210 HARLEM AVE////ROCKFORD//IL//61103////"
       "//////////////////////////USA//USA"},
  };
  for (const auto& [type, record] : top) component.FormatRecord(kKeyPrefix + type, record);
  const std::string chargeKey = kKeyPrefix + "6000";
  const std::string providerKey = kKeyPrefix + "6100";
  const std::string endKey = kKeyPrefix + "6990";
  for (auto _ : state) {
    component.FormatRecord(chargeKey, kChargeRecord);
    component.FormatRecord(providerKey, kSProviderRecord);
    benchmark::DoNotOptimize(component.FormatRecord(endKey, "6990"));
  }
  component.ProcessEndOfFile();
  component.ProcessFormattedRecords();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ChargeGroup);

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ClaimFileForCheck() {
  if (const char* path = std::getenv("WCOMP837_BENCH_CLAIM_FILE")) return ReadAll(path);
  std::string one;
  for (const auto& entry :
       std::filesystem::directory_iterator(WCOMP837_SOURCE_DIR "/tests/batches")) {
    if (std::filesystem::exists(entry.path() / "expected.837")) {
      one += ReadAll(entry.path() / "expected.837");
    }
  }
  std::string text;
  while (!one.empty() && text.size() < (8u << 20)) text += one;
  return text;
}

void BM_GuideCheck(benchmark::State& state) {
  const std::string text = ClaimFileForCheck();
  guide::CheckObserver quiet;
  for (auto _ : state) {
    benchmark::DoNotOptimize(guide::CheckText(text, quiet).segments);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_GuideCheck)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
