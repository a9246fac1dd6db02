// Printing to a real print queue: a private print server with a PDF queue.
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/printing.h"
#include "report_fixture.h"
#include "reports/print_routines.h"

extern char** environ;

namespace wcomp837::testing {
namespace {

namespace fs = std::filesystem;

const std::string kCupsd = "/usr/sbin/cupsd", kLpadmin = "/usr/sbin/lpadmin",
                  kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", kQueue = "WcompTestPDF";

bool WaitFor(const std::function<bool()>& ready, int seconds) {
  for (int i = 0; i < seconds * 10 && !ready(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return ready();
}

class CupsReportTest : public ReportTest {
 protected:
  void TearDown() override {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    SetPrintServerForTesting(std::nullopt);
    ReportTest::TearDown();
  }
  // A print server of our own, listening on a socket in a temporary folder.
  bool StartServer() {
    const std::string root = server.path();
    for (const char* sub : {"spool", "cache", "state", "tmp", "log"}) {
      fs::create_directories(root + "/" + sub);
    }
    WriteFile(root + "/cupsd.conf", "Listen " + Socket() +
                                        "\nLogLevel warn\nWebInterface No\nBrowsing Off\n"
                                        "DefaultAuthType None\n<Location />\n  Order allow,deny\n"
                                        "  Allow all\n</Location>\n<Policy default>\n"
                                        "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                        "</Policy>\n");
    std::string files = "ServerRoot " + root + "\nRequestRoot " + root + "/spool\nCacheDir " +
                        root + "/cache\nStateDir " + root + "/state\nTempDir " + root + "/tmp\n";
    for (const char* log : {"Error", "Access", "Page"}) {
      files += std::string(log) + "Log " + root + "/log/" + log + "_log\n";
    }
    WriteFile(root + "/cups-files.conf", files + "SystemGroup root\n");
    const std::string conf = root + "/cupsd.conf", filesConf = root + "/cups-files.conf";
    const char* argv[] = {kCupsd.c_str(),    "-f",   "-c", conf.c_str(), "-s",
                          filesConf.c_str(), nullptr};
    if (posix_spawn(&pid_, kCupsd.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ)) {
      pid_ = -1;
    }
    return pid_ > 0 && WaitFor([&] { return fs::exists(Socket()); }, 10);
  }
  std::string Socket() const { return server.File("cups.sock"); }
  std::string Admin(const std::string& args) const {
    return RunCommand("CUPS_SERVER='" + Socket() + "' " + kLpadmin + " " + args + " 2>&1");
  }

  TempDir server;
  pid_t pid_ = -1;
};

// The default queue prints the Summary; the PDF is also written beside the
// claim file, and the queue's output (in the home folder of the job's user)
// has the same page.
TEST_F(CupsReportTest, SummaryGoesToTheDefaultQueue) {
  for (const std::string& tool :
       {kCupsd, kLpadmin, kPpd, std::string("/usr/lib/cups/backend/cups-pdf")}) {
    if (!fs::exists(tool)) GTEST_SKIP() << "no print server here: " << tool << " is missing";
  }
  if (::geteuid() != 0) GTEST_SKIP() << "the PDF queue's backend needs root";
  if (!StartServer()) GTEST_SKIP() << "the private print server did not start";
  SetPrintServerForTesting(Socket());
  const std::string added = Admin("-p " + kQueue + " -E -v cups-pdf:/ -P " + kPpd);
  Admin("-d " + kQueue);
  auto printers = InstalledPrinterNames();
  ASSERT_NE(std::find(printers.begin(), printers.end(), kQueue), printers.end()) << added;
  EXPECT_EQ(DefaultPrinterName(), kQueue);

  WriteFile(claim_file, Isa("T") +
                            "ST*837*0001~HL*1**20*1~NM1*85*2*NORTH CLINIC*****XX*1234567893~" +
                            Claim("Q1", "DOE*JOHN", {{"HC:99213*100*UN*1", "D8*20261101"}}) +
                            "SE*9*0001~" + Iea());
  g.print.selected_printer.clear();  // the default: the queue
  EXPECT_EQ(CurrentPrinterName(c), kQueue);
  ASSERT_EQ(PrintReport(1), 0) << (Messages().empty() ? "" : Messages()[0]);
  const int job = g.print.iLastQueueJob;
  ASSERT_GT(job, 0);
  EXPECT_EQ(PdfPageCount(SummaryPdf()), 1);

  const std::string outputs =
      std::string(::getpwuid(::geteuid())->pw_dir) + "/PDF/*job_" + std::to_string(job) + ".pdf";
  std::string output;
  const bool printed = WaitFor(
      [&] {
        output = RunCommand("ls " + outputs + " 2>/dev/null | head -n 1");
        if (!output.empty()) output.pop_back();
        return !output.empty() && PdfPageCount(output) > 0;
      },
      30);
  ASSERT_TRUE(printed) << ReadFile(server.File("log/Error_log"));
  EXPECT_EQ(PdfPageCount(output), 1);
  fs::remove(output);
}

}  // namespace
}  // namespace wcomp837::testing
