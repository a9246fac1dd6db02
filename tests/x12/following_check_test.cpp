// The check that follows a claim file while it is written finds what reading
// the finished file back finds, and stands for the file only while the file
// at the name is the one it read, as it read it.
#include "x12/guide/following_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/files.h"
#include "support/test_support.h"

namespace wcomp837::guide {
namespace {

using testing::ReadFile;
using testing::ReplaceAll;
using testing::SourceDir;
using testing::TempDir;
using testing::WriteFile;

struct Outcome {
  std::vector<std::string> kept;
  std::int64_t notKept = 0;
  bool operator==(const Outcome&) const = default;
};

Outcome Of(const FindingList& list) {
  Outcome o;
  for (const FindingList::Kept& k : list.kept()) o.kept.push_back(k.text);
  o.notKept = list.notKept();
  return o;
}

std::string Reviewed() {
  return ReadFile(SourceDir() + "/tests/batches/fifty_lines/expected.837");
}

// Forty interchanges of a reviewed file, larger than the writer's buffer;
// damaged: some of their claims, with findings past the kept ones.
std::string LargeFile(bool damaged) {
  const std::string one = Reviewed();
  std::string text;
  for (int i = 0; i < 40; ++i) {
    text += damaged && i % 7 == 3 ? ReplaceAll(one, "CLM*", "CLM*X:") : one;
  }
  return text;
}

class FollowingCheckTest : public ::testing::Test {
 protected:
  static constexpr std::size_t kLimit = 5;
  // Writes text to path in pieces of `piece` bytes, the check following.
  void Write(FollowingCheck& check, const std::string& text, std::size_t piece) {
    OutFile out;
    out.Open(path, OutFile::Mode::kRecreate);
    check.Start(path, out.device(), out.inode());
    out.Watch(&check);
    for (std::size_t at = 0; at < text.size(); at += piece) {
      out.Write(std::string_view(text).substr(at, piece));
    }
    out.Close();
  }
  Outcome ReadBack() {
    FindingList list(kLimit);
    CheckFile(path, list);
    return Of(list);
  }
  TempDir dir;
  const std::string path = dir.File("claims.837");
};

TEST_F(FollowingCheckTest, FindsWhatReadingTheFinishedFileBackFinds) {
  const std::string damaged = LargeFile(true);
  ASSERT_GT(damaged.size(), 3u * 64 * 1024);
  // Small pieces through the buffer, and pieces larger than the buffer
  // that reach the file directly.
  for (std::size_t piece : {std::size_t{7}, std::size_t{100000}}) {
    FollowingCheck check(kLimit);
    Write(check, damaged, piece);
    const FindingList* followed = check.Finish(path);
    ASSERT_NE(followed, nullptr) << piece;
    const Outcome expected = ReadBack();
    EXPECT_EQ(expected.kept.size(), kLimit);
    EXPECT_GT(expected.notKept, 0);
    EXPECT_EQ(Of(*followed), expected) << piece;
  }

  // A sound file: no finding. The same object follows a second file.
  FollowingCheck check(kLimit);
  Write(check, damaged, 4096);
  Write(check, LargeFile(false), 4096);
  const FindingList* followed = check.Finish(path);
  ASSERT_NE(followed, nullptr);
  EXPECT_EQ(Of(*followed), Outcome{});
  // Once only: a later check reads the file back.
  EXPECT_EQ(check.Finish(path), nullptr);
  // A file written whole when it is closed is read back, with no thread.
  Write(check, Reviewed(), 4096);
  EXPECT_EQ(check.Finish(path), nullptr);
}

TEST_F(FollowingCheckTest, StandsOnlyForTheFileAsItWasRead) {
  const std::string sound = LargeFile(false);
  const auto finishedAfter = [&](auto&& change) {
    FollowingCheck check(kLimit);
    Write(check, sound, 512);
    change();
    return check.Finish(path) != nullptr;
  };
  EXPECT_TRUE(finishedAfter([] {}));
  // Read but not changed.
  EXPECT_TRUE(finishedAfter([&] { EXPECT_EQ(ReadFile(path), sound); }));
  // Rewritten in place.
  EXPECT_FALSE(finishedAfter([&] { WriteFile(path, ReplaceAll(sound, "CLM*", "CLM*X:")); }));
  // Cut short, or grown.
  EXPECT_FALSE(finishedAfter([&] { std::filesystem::resize_file(path, sound.size() / 2); }));
  // Another file put in its place, or none there.
  EXPECT_FALSE(finishedAfter([&] {
    WriteFile(path + ".new", sound);
    std::filesystem::rename(path + ".new", path);
  }));
  EXPECT_FALSE(finishedAfter([&] { std::filesystem::remove(path); }));
  // A link in its place, even to the file itself.
  EXPECT_FALSE(finishedAfter([&] {
    std::filesystem::rename(path, path + ".moved");
    std::filesystem::create_symlink(path + ".moved", path);
  }));
  // Asked about another name.
  FollowingCheck check(kLimit);
  Write(check, sound, 512);
  EXPECT_EQ(check.Finish(path + ".other"), nullptr);
}

TEST_F(FollowingCheckTest, AFileLeftUnfinishedEndsTheCheckWithoutAResult) {
  const std::string sound = LargeFile(false);
  {
    // Still being written when the check goes away: it ends, it does not wait.
    auto check = std::make_unique<FollowingCheck>(kLimit);
    OutFile out;
    out.Open(path, OutFile::Mode::kRecreate);
    check->Start(path, out.device(), out.inode());
    out.Watch(check.get());
    out.Write(sound.substr(0, 100000));
    out.Flush();
    check.reset();
    out.Watch(nullptr);
  }
  // Never started, or stopped: nothing stands for the file.
  FollowingCheck idle(kLimit);
  EXPECT_EQ(idle.Finish(path), nullptr);
  FollowingCheck stopped(kLimit);
  Write(stopped, sound, 512);
  stopped.Stop();
  EXPECT_EQ(stopped.Finish(path), nullptr);
}

}  // namespace
}  // namespace wcomp837::guide
