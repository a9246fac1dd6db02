// The C interface in-process (handles, caller buffers and failure texts),
// and the C host example, which drives the example batch through it.
#include <regex>

#include "cli_runner.h"
#include "wcomp837/wcomp837.h"

namespace wcomp837::testing {
namespace {

TEST(CApi, NullHandlesAndKeysAreRefused) {
  char buf[8] = "x";
  EXPECT_EQ(wcomp837_here_is_a_message(nullptr, "VER", ""), -1);
  EXPECT_EQ(wcomp837_format_record(nullptr, "k", "r"), -1);
  EXPECT_EQ(wcomp837_process_end_of_file(nullptr), -1);
  EXPECT_EQ(wcomp837_process_formatted_records(nullptr), -1);
  EXPECT_EQ(wcomp837_get_a_message(nullptr, 1, buf, sizeof buf), -1);
  EXPECT_EQ(wcomp837_error_message(nullptr, buf, sizeof buf), -1);
  EXPECT_EQ(wcomp837_set_error_message(nullptr, "t"), -1);
  EXPECT_STREQ(buf, "x");
  wcomp837_destroy(nullptr);

  wcomp837_format* obj = wcomp837_create();
  ASSERT_NE(obj, nullptr);
  EXPECT_EQ(wcomp837_here_is_a_message(obj, nullptr, "x"), -1);
  EXPECT_EQ(wcomp837_format_record(obj, nullptr, "r"), -1);
  // A null value is the empty text: message 1 with "" sets the folder.
  EXPECT_EQ(wcomp837_here_is_a_message(obj, "1", nullptr), 0);
  wcomp837_destroy(obj);
}

TEST(CApi, MessagesFitTheCallersBuffer) {
  wcomp837_format* obj = wcomp837_create();
  ASSERT_NE(obj, nullptr);
  ASSERT_EQ(wcomp837_here_is_a_message(obj, "8", ""), 1);
  const std::string full = " 1//Summary//Secondaries Missing Adjustment Reason Codes//";

  EXPECT_EQ(wcomp837_get_a_message(obj, 1, nullptr, 0), static_cast<int64_t>(full.size()));
  char small[6] = "#####";
  EXPECT_EQ(wcomp837_get_a_message(obj, 1, small, sizeof small), static_cast<int64_t>(full.size()));
  EXPECT_STREQ(small, " 1//S");  // cut to buf_size - 1 and terminated
  char one[1] = {'#'};
  wcomp837_get_a_message(obj, 1, one, 1);
  EXPECT_EQ(one[0], '\0');

  std::string big(full.size() + 1, '#');
  EXPECT_EQ(wcomp837_get_a_message(obj, 1, big.data(), big.size()),
            static_cast<int64_t>(full.size()));
  EXPECT_STREQ(big.c_str(), full.c_str());
  for (int32_t index : {0, -1, 2, 1 << 30}) {
    char end[8];
    EXPECT_EQ(wcomp837_get_a_message(obj, index, end, sizeof end), 3) << index;
    EXPECT_STREQ(end, "END");
  }
  wcomp837_destroy(obj);
}

TEST(CApi, FailureTextIsReadableAndWritable) {
  wcomp837_format* obj = wcomp837_create();
  ASSERT_NE(obj, nullptr);
  EXPECT_EQ(wcomp837_error_message(obj, nullptr, 0), 0);
  EXPECT_EQ(wcomp837_here_is_a_message(obj, "6", "5"), 3);  // no "//"
  char text[128];
  const int64_t n = wcomp837_error_message(obj, text, sizeof text);
  EXPECT_GT(n, 0);
  EXPECT_EQ(std::string(text).rfind("QZK_WCOMP_P4_Format.Dll  HereIsAMessage()  Error: ", 0), 0u)
      << text;
  EXPECT_EQ(wcomp837_set_error_message(obj, "cleared by the host"), 0);
  wcomp837_error_message(obj, text, sizeof text);
  EXPECT_STREQ(text, "cleared by the host");
  EXPECT_EQ(wcomp837_set_error_message(obj, nullptr), 0);
  EXPECT_EQ(wcomp837_error_message(obj, text, sizeof text), 0);
  wcomp837_destroy(obj);
}

// The C host writes the same claim file as the command line (but for the
// creation times in ISA, GS and BHT); errors reach it with their messages
// and the worst result.
TEST_F(CliTest, CHostWritesTheSameClaimFileAsTheCommandLine) {
  const auto withoutTimes = [](const std::string& claims) {
    return std::regex_replace(claims, std::regex("(ISA|GS|BHT)\\*[^~]*"), "$1");
  };
  ASSERT_EQ(Run(Options() + "--quiet " + ExampleBatch()).status, 0);
  TempDir other;
  const RunResult c = RunProgram(CHost(), other.path() + " c.837 " + ExampleBatch());
  EXPECT_EQ(c.status, 0) << c.err;
  EXPECT_EQ(c.out, "claim file: " + other.File("c.837") + "\n");
  const std::string fromC = ReadFile(other.File("c.837"));
  ASSERT_FALSE(fromC.empty());
  EXPECT_EQ(withoutTimes(fromC), withoutTimes(ReadFile(dir.File("c.837"))));
  EXPECT_EQ(ReadFile(other.File("c.837_NAC.Dat")).size(),
            ReadFile(dir.File("c.837_NAC.Dat")).size());

  const RunResult failed =
      RunProgram(CHost(), other.path() + " d.837 " + Batch("bad.txt", Key("4000") + "\tP\n"));
  EXPECT_EQ(failed.status, 3);
  EXPECT_TRUE(Contains(failed.err, "line 1:  3//1st Record was not Practice Info (type:1000)//"))
      << failed.err;
  EXPECT_EQ(RunProgram(CHost(), "too few").status, 2);
}

}  // namespace
}  // namespace wcomp837::testing
