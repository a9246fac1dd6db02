// The progress line: on standard error only when it is a terminal.
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "cli_runner.h"

namespace wcomp837::testing {
namespace {

// Runs the shell command with standard error (and input) on a pseudo-terminal
// and returns what the terminal received.
std::string RunOnTerminal(const std::string& command, int& status) {
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) return "forkpty failed";
  if (pid == 0) {
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  std::string seen;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n > 0) {
      seen.append(buf, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // EIO once the child has closed the terminal
    }
  }
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  ::close(master);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return seen;
}

TEST_F(CliTest, ProgressLineOnATerminalOnly) {
  // The example batch several times over: claims of one practice repeat.
  std::string records = ReadFile(ExampleBatch());
  std::string batch;
  for (int i = 0; i < 20; ++i) batch += records;
  const std::string file = Batch("big.txt", batch);

  int status = -1;
  const std::string terminal =
      RunOnTerminal(Cli() + " " + Options() + file + " >" + dir.File("out.txt"), status);
  EXPECT_EQ(status, 0) << terminal;
  EXPECT_TRUE(Contains(terminal, " records  ")) << terminal;
  EXPECT_TRUE(Contains(terminal, " claims  "));
  EXPECT_TRUE(Contains(terminal, " records/s  "));
  EXPECT_TRUE(Contains(terminal, "%  0:0"));
  EXPECT_TRUE(Contains(terminal, " elapsed  0:0"));
  EXPECT_TRUE(Contains(terminal, " left"));
  // The line is erased at the end and the summary is not on the terminal.
  ASSERT_GE(terminal.size(), 5u);
  EXPECT_EQ(terminal.substr(terminal.size() - 5), "\r\x1b[2K") << terminal;
  EXPECT_FALSE(Contains(terminal, "claims written"));
  EXPECT_TRUE(Contains(ReadFile(dir.File("out.txt")), "claims written: 100\n"));

  RunResult piped = Run(Options() + file);
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "");

  const std::string quiet = RunOnTerminal(Cli() + " --quiet " + Options() + file, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(quiet, "");

  // A record key with an escape sequence: on a terminal the message echoing
  // it shows it escaped.
  const std::string hostile =
      Batch("hostile.txt", Key("1000") + "\t" + Practice() + "\n\x1b[31mRED\tX\n");
  const std::string shown = RunOnTerminal(Cli() + " " + Options() + hostile, status);
  EXPECT_EQ(status, 3);
  EXPECT_TRUE(Contains(shown, "Record Key: \\x1B[31mRED")) << shown;
  EXPECT_FALSE(Contains(shown, "\x1b[31m"));
}

}  // namespace
}  // namespace wcomp837::testing
