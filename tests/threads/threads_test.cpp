// Objects on different threads have separate working state: batches run at
// the same time on several threads give the same files as one after another.
// Objects on one thread share it, creating one resets it, and it goes with the
// last object that holds it.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <thread>

#include "faults/batch_runner.h"
#include "faults/component_env.h"
#include "host/shared_state.h"

namespace wcomp837::testing {
namespace {

constexpr int kThreads = 4;

struct Outcome {
  HostView view;
  std::string claims;
  std::string nac;
  std::string log;
};

class Threads : public ComponentEnv {
 protected:
  static const std::array<Batch, kThreads>& Batches() {
    static const std::array<Batch, kThreads> batches = [] {
      std::array<Batch, kThreads> b;
      for (int i = 0; i < kThreads; ++i) {
        bench::BatchOptions o;
        o.records = 1500 + 500 * i;
        o.seed = 100 + static_cast<std::uint32_t>(i);
        o.submissionNumber = static_cast<std::int16_t>(4000 + i);
        b[static_cast<std::size_t>(i)] = GeneratedBatch(o);
      }
      return b;
    }();
    return batches;
  }
  // Each batch has its own folder; the serial and the parallel run use the
  // same one so that even the paths in the run log agree.
  Outcome Run(int i) {
    const std::string folder = Out("batch" + std::to_string(i));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Format_Class fc;
    Outcome out;
    out.view = RunBatch(fc, folder, "claims.837", Batches()[static_cast<std::size_t>(i)]);
    out.claims = ReadFile(folder + "/claims.837");
    out.nac = ReadFile(folder + "/claims.837_NAC.Dat");
    out.log = ReadFile(folder + "/QZK_WCOMP_P4_Format.Log");
    return out;
  }
};

// The thread's service line table holds no line of an earlier object.
void ExpectAnEmptyLineTable() {
  const auto& lines = CurrentSharedState()->claim.DETAILArray;
  ASSERT_EQ(lines.size(), 21u);
  for (const DetailLine& line : lines) {
    EXPECT_EQ(line.sUsed + line.sProcedureCode + line.sLineControlNr, "");
    EXPECT_EQ(line.curCharge, Currency());
    EXPECT_FALSE(line.Group);
  }
}

TEST_F(Threads, ConcurrentBatchesMatchTheSameBatchesRunOneAfterAnother) {
  std::array<Outcome, kThreads> serial;
  for (int i = 0; i < kThreads; ++i) serial[i] = Run(i);

  std::array<Outcome, kThreads> parallel;
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] { parallel[i] = Run(i); });
  }
  for (std::thread& t : threads) t.join();

  for (int i = 0; i < kThreads; ++i) {
    SCOPED_TRACE("batch " + std::to_string(i));
    const GuideReport check = CheckGuideText(serial[i].claims);
    EXPECT_TRUE(check.ok()) << ::testing::PrintToString(check.errors);
    EXPECT_GT(check.totals.claims, 10);
    EXPECT_EQ(serial[i].view.endOfFile, 0);
    EXPECT_EQ(parallel[i].view.recordResults, serial[i].view.recordResults);
    EXPECT_EQ(parallel[i].view.messages, serial[i].view.messages);
    EXPECT_EQ(parallel[i].view.endOfFile, serial[i].view.endOfFile);
    EXPECT_TRUE(parallel[i].claims == serial[i].claims);
    EXPECT_TRUE(parallel[i].nac == serial[i].nac);
    EXPECT_TRUE(parallel[i].log == serial[i].log);
  }
  // Different batches really are different files.
  EXPECT_NE(serial[0].claims, serial[1].claims);
}

TEST_F(Threads, ASecondObjectOnTheThreadResetsTheFirstOnesState) {
  Format_Class first;
  const Batch& batch = Batches()[0];
  ASSERT_EQ(first.HereIsAMessage("1", OutFolder()), 0);
  ASSERT_EQ(first.HereIsAMessage("2", "first.837"), 0);
  for (std::size_t i = 0; i < 200; ++i) first.FormatRecord(batch[i].key, batch[i].record);
  ASSERT_EQ(CurrentSharedState()->host.glRecordCount, 200);

  // An object on another thread sees and changes nothing of this thread's.
  std::thread([&] {
    Format_Class other;
    EXPECT_EQ(CurrentSharedState()->host.glRecordCount, 0);
    EXPECT_EQ(other.HereIsAMessage("1", OutFolder()), 0);
  }).join();
  EXPECT_EQ(CurrentSharedState()->host.glRecordCount, 200);
  EXPECT_EQ(CurrentSharedState()->host.gsASCIIFile, Out("first.837"));

  ASSERT_FALSE(CurrentSharedState()->claim.DETAILArray[1].sUsed.empty());
  Format_Class second;
  ExpectAnEmptyLineTable();
  const HostState& h = CurrentSharedState()->host;
  EXPECT_EQ(h.glRecordCount, 0);
  EXPECT_EQ(h.giChargeCount, 0);
  EXPECT_EQ(h.gsASCIIFile, "?");
  EXPECT_EQ(h.gsOutputPath, "?");

  // The first object now works on the reset state: it has no claim file name.
  EXPECT_EQ(first.ProcessFormattedRecords(), 1);
  EXPECT_EQ(first.GetAMessage(1).find("ASCII file name and path were not set."), 4u);

  // The second object runs its own batch from the start.
  const HostView v = RunBatch(second, OutFolder(), "second.837", batch);
  EXPECT_EQ(v.endOfFile, 0);
  EXPECT_TRUE(CheckGuideFile(Out("second.837")).ok());
}

TEST_F(Threads, TheStateGoesWithTheLastObjectThatHoldsIt) {
  auto first = std::make_unique<Format_Class>();
  ASSERT_EQ(first->HereIsAMessage("1", OutFolder()), 0);
  {
    Format_Class second;
    first.reset();
    ASSERT_NE(CurrentSharedState(), nullptr);  // the second object still works on it
    EXPECT_EQ(CurrentSharedState()->host.gsOutputPath, "?");
  }
  // Nothing of the batch outlives its objects.
  EXPECT_EQ(CurrentSharedState(), nullptr);

  // A later object starts from a new state and runs its batch; the one after
  // it takes over the table of its lines, emptied.
  {
    Format_Class third;
    const HostView v = RunBatch(third, OutFolder(), "third.837", Batches()[0]);
    EXPECT_EQ(v.endOfFile, 0);
    EXPECT_TRUE(CheckGuideFile(Out("third.837")).ok());
  }
  Format_Class fourth;
  ExpectAnEmptyLineTable();
  const HostView v = RunBatch(fourth, OutFolder(), "fourth.837", Batches()[0]);
  EXPECT_EQ(v.endOfFile, 0);
  EXPECT_EQ(ReadFile(Out("fourth.837")), ReadFile(Out("third.837")));
}

}  // namespace
}  // namespace wcomp837::testing
