// Links and odd files planted where the component creates its files. The
// claim file, the _NAC.Dat file and both report documents are made afresh in
// their place, the run log is appended to only when it is a plain file of the
// user, and whatever a planted link points at never changes, even while a
// planter keeps replanting during whole batches.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "faults/batch_runner.h"
#include "faults/component_env.h"
#include "platform/printing.h"

namespace wcomp837::testing {
namespace {

namespace fs = std::filesystem;
const std::string kDll = "QZK_WCOMP_P4_Format.Dll";
const std::string kLog = "QZK_WCOMP_P4_Format.Log";
// Every file a batch and its two reports create.
const std::vector<std::string> kCreated = {"claims.837", "claims.837_NAC.Dat",
                                           "claims.837_Summary.pdf", "claims.837_NAC.pdf", kLog};

class PlantedLinks : public ComponentEnv {
 protected:
  // A file outside the output folder for each created file to point at.
  std::string Victim(std::size_t i) const { return home.File("victim" + std::to_string(i)); }
  void WriteVictims() {
    for (std::size_t i = 0; i < kCreated.size(); ++i) WriteFile(Victim(i), kCreated[i]);
  }
  void ExpectVictimsIntact() {
    for (std::size_t i = 0; i < kCreated.size(); ++i) EXPECT_EQ(ReadFile(Victim(i)), kCreated[i]);
  }
  // The example batch, then reports 1 and 2 written as documents only.
  HostView RunWithReports(std::vector<std::int16_t>& reports) {
    Format_Class fc;
    HostView v = RunBatch(fc, OutFolder(), "claims.837", ExampleBatch());
    fc.HereIsAMessage("7", kPdfPrinterName);
    for (const char* nr : {"1", "2"}) reports.push_back(fc.HereIsAMessage("9", nr));
    return v;
  }
};

TEST_F(PlantedLinks, LinksPlantedBeforeTheBatchAreReplacedNeverFollowed) {
  WriteVictims();
  for (std::size_t i = 0; i < kCreated.size(); ++i) fs::create_symlink(Victim(i), Out(kCreated[i]));
  // A dangling link in the claim file's place: its target is not created.
  fs::remove(Out("claims.837"));
  fs::create_symlink(home.File("absent"), Out("claims.837"));

  std::vector<std::int16_t> reports;
  const HostView v = RunWithReports(reports);
  EXPECT_EQ(v.recordResults.at(0), 1);
  EXPECT_TRUE(v.Saw(kDll + " OpenLog()  Error:  75 Path/File access error"));
  EXPECT_EQ(v.endOfFile, 0);
  EXPECT_EQ(v.finalCheck, 0);
  EXPECT_EQ(reports, (std::vector<std::int16_t>{0, 0}));
  ExpectVictimsIntact();
  EXPECT_FALSE(fs::exists(home.File("absent")));
  for (std::size_t i = 0; i + 1 < kCreated.size(); ++i) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Out(kCreated[i])))) << kCreated[i];
  }
  EXPECT_TRUE(CheckGuideFile(Out("claims.837")).ok());
}

TEST_F(PlantedLinks, RunLogIsAppendedToOnlyWhenItIsAPlainFileOfTheUser) {
  const std::string victim = home.File("victim");
  const std::string log = Out(kLog);
  struct Case {
    const char* what;
    std::function<void()> plant;
    bool rootOnly;
  };
  const Case cases[] = {
      {"folder", [&] { fs::create_directories(log); }, false},
      {"link", [&] { fs::create_symlink(victim, log); }, false},
      {"hard link", [&] { fs::create_hard_link(victim, log); }, false},
      {"pipe", [&] { ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0); }, false},
      {"another user's file",
       [&] {
         fs::copy_file(victim, log);
         ASSERT_EQ(::chown(log.c_str(), 65534, 65534), 0);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.rootOnly && ::geteuid() != 0) continue;
    fs::remove_all(OutFolder());
    fs::create_directories(OutFolder());
    WriteFile(victim, "victim\n");
    c.plant();
    Format_Class fc;
    const HostView v = RunBatch(fc, OutFolder(), "claims.837", ExampleBatch());
    // Only the first record hears of it; the batch is complete without a log.
    EXPECT_EQ(v.recordResults.at(0), 1);
    ASSERT_EQ(v.messages.size(), 1u);
    EXPECT_TRUE(v.messages[0].starts_with(" 3//" + kDll + " OpenLog()  Error: ")) << v.messages[0];
    EXPECT_EQ(std::count(v.recordResults.begin(), v.recordResults.end(), 0),
              std::ssize(v.recordResults) - 1);
    EXPECT_EQ(v.endOfFile, 0);
    EXPECT_EQ(v.finalCheck, 0);
    EXPECT_TRUE(CheckGuideFile(Out("claims.837")).ok());
    EXPECT_EQ(ReadFile(victim), "victim\n");
    if (fs::is_regular_file(fs::symlink_status(log))) {
      EXPECT_EQ(ReadFile(log), "victim\n");
    }
  }
}

TEST_F(PlantedLinks, APlanterRacingWholeBatchesNeverRedirectsAFile) {
  WriteVictims();
  std::atomic<bool> stop{false};
  std::atomic<long> planted{0};
  std::thread planter([&] {
    while (!stop) {
      for (std::size_t i = 0; i < kCreated.size(); ++i) {
        const std::string name = Out(kCreated[i]);
        ::unlink(name.c_str());
        if (::symlink(Victim(i).c_str(), name.c_str()) == 0) ++planted;
      }
    }
  });
  // At least eight batches, and as many more as it takes (on a busy machine)
  // for the planter to have planted its links many times over.
  for (int run = 0; run < 8 || (planted < 100 && run < 400); ++run) {
    std::vector<std::int16_t> reports;
    const HostView v = RunWithReports(reports);
    // Only answers of the protocol, whatever the planter did.
    for (std::int16_t r : v.recordResults) EXPECT_TRUE(r == 0 || r == 1 || r == 3) << r;
    for (std::int16_t r : reports) EXPECT_TRUE(r == 0 || r == 3) << r;
  }
  stop = true;
  planter.join();
  EXPECT_GT(planted.load(), 100);
  ExpectVictimsIntact();
}

}  // namespace
}  // namespace wcomp837::testing
