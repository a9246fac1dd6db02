// A file whose full buffers are written by a thread of its own: every byte
// reaches the file in order, a failed write is raised by a later call and
// never lets the file be called written, and a block in hand is written
// before its file is moved, abandoned or closed.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string>

#include "platform/failure.h"
#include "platform/files.h"
#include "state/messages.h"
#include "support/test_support.h"

namespace wcomp837::testing {
namespace {

constexpr std::size_t kBlock = 128 * 1024;

// Pieces of 1 to 3,000 bytes, now and then one larger than the block, each
// piece's bytes telling where it stands.
std::vector<std::string> Pieces(std::size_t total) {
  std::vector<std::string> pieces;
  std::uint32_t state = 7;
  for (std::size_t at = 0; at < total;) {
    state = state * 1664525u + 1013904223u;
    const std::size_t size = state % 97 == 0 ? kBlock + state % 5000 : 1 + (state >> 8) % 3000;
    pieces.emplace_back(size, static_cast<char>('a' + pieces.size() % 26));
    at += size;
  }
  return pieces;
}

std::string Joined(const std::vector<std::string>& pieces) {
  std::string text;
  for (const std::string& p : pieces) text += p;
  return text;
}

class WriteInBackground : public ::testing::Test {
 protected:
  void TearDown() override { SetWriteFaultForTesting(nullptr); }
  // The n-th physical write of the file (from 1) fails with error.
  void FailWrite(int n, int error) {
    auto count = std::make_shared<std::atomic<int>>(0);
    SetWriteFaultForTesting([count, n, error, file = path](const std::string& written) {
      return written == file && ++*count == n ? error : 0;
    });
  }
  // Opens the file to be written in the background and writes past its
  // usual buffer, which is written at once: the file now has its large
  // buffer, empty.
  void OpenGrown(OutFile& out) {
    out.Open(path, OutFile::Mode::kRecreate);
    out.WriteInBackground(kBlock);
    out.Write(std::string(64 * 1024, 'a'));
    out.Write("a");
    out.Flush();
  }
  TempDir dir;
  const std::string path = dir.File("run.log");
};

TEST_F(WriteInBackground, EveryByteReachesTheFileInOrder) {
  const std::vector<std::string> pieces = Pieces(5 * 1024 * 1024);
  OutFile out;
  out.Open(path, OutFile::Mode::kRecreate);
  out.WriteInBackground(kBlock);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i % 3 == 0) {
      out.Write({pieces[i].substr(0, 1), pieces[i].substr(1)});
    } else {
      out.Write(pieces[i]);
    }
    if (i == pieces.size() / 2) {
      // Flush: what was handed over so far is in the file.
      out.Flush();
      EXPECT_EQ(ReadFile(path).size(), out.bytes_written());
    }
  }
  out.Close();
  EXPECT_EQ(ReadFile(path), Joined(pieces));

  // Appended to in a later opening, moved while a block is in hand.
  OutFile first;
  first.Open(path, OutFile::Mode::kAppend);
  first.WriteInBackground(kBlock);
  first.Write(std::string(64 * 1024, 'w'));
  first.Write("w");  // past the usual buffer: the large one from now on
  first.Write(std::string(kBlock - 10, 'x'));
  first.Write(std::string(20, 'y'));  // fills the buffer: the first block goes
  OutFile second(std::move(first));
  second.Write(std::string(kBlock, 'z'));
  second.Close();
  EXPECT_EQ(ReadFile(path), Joined(pieces) + std::string(64 * 1024 + 1, 'w') +
                                std::string(kBlock - 10, 'x') + std::string(20, 'y') +
                                std::string(kBlock, 'z'));
}

TEST_F(WriteInBackground, AFailedBlockIsRaisedByALaterCallAndTheFileIsNeverComplete) {
  const auto raised = [](auto&& call) {
    try {
      call();
    } catch (...) {
      return CurrentFailure(std::current_exception()).number;
    }
    return 0;
  };
  const std::string block(kBlock, 'b');
  // The first block fails in the background: the write that hands over the
  // next one raises it, and so does every later call.
  OutFile out;
  OpenGrown(out);
  FailWrite(1, ENOSPC);
  out.Write(block);
  EXPECT_EQ(raised([&] { out.Write("one byte more hands the block over"); }), 0);
  EXPECT_EQ(raised([&] { out.Write(block); }), failure::kDiskFull);
  EXPECT_EQ(out.failed(), failure::kDiskFull);
  EXPECT_EQ(raised([&] { out.Write("x"); }), failure::kDiskFull);
  EXPECT_EQ(raised([&] { out.Flush(); }), failure::kDiskFull);
  EXPECT_EQ(raised([&] { out.Close(); }), failure::kDiskFull);
  EXPECT_FALSE(out.IsOpen());

  // The last block handed over fails: Flush and Close wait for it and
  // raise it.
  for (const bool flush : {true, false}) {
    OutFile last;
    OpenGrown(last);
    FailWrite(2, EIO);
    last.Write(std::string(kBlock - 100, 'c'));
    last.Write(std::string(kBlock - 100, 'd'));  // the first block goes
    last.Write(std::string(200, 'e'));           // the second goes, and fails
    const int number = raised([&] { flush ? last.Flush() : last.Close(); });
    EXPECT_EQ(number, failure::kPathFileAccess) << flush;
    EXPECT_EQ(raised([&] { last.Close(); }), flush ? failure::kPathFileAccess : 0);
    EXPECT_FALSE(last.IsOpen());
  }

  // Abandoned with a failed block in hand: nothing is raised, the file is
  // closed.
  OutFile abandoned;
  OpenGrown(abandoned);
  FailWrite(1, EIO);
  abandoned.Write(block);
  abandoned.Write("z");
  abandoned.Abandon();
  EXPECT_FALSE(abandoned.IsOpen());
}

}  // namespace
}  // namespace wcomp837::testing
