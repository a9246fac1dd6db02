// Printing to a real print queue: a private print server with a PDF queue.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/printing.h"
#include "report_fixture.h"
#include "reports/print_routines.h"

extern char** environ;

namespace wcomp837::testing {
namespace {

namespace fs = std::filesystem;

const char* kCupsd = "/usr/sbin/cupsd";
const char* kLpadmin = "/usr/sbin/lpadmin";
const char* kBackend = "/usr/lib/cups/backend/cups-pdf";
const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const char* kQueue = "WcompTestPDF";

bool WaitFor(const std::function<bool()>& ready, int seconds) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < until) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return ready();
}

// A print server of our own, listening on a socket in a temporary folder.
class PrivateCupsd {
 public:
  explicit PrivateCupsd(const std::string& root) : root_(root), socket_(root + "/cups.sock") {
    for (const char* sub : {"spool", "cache", "state", "tmp", "log"}) {
      fs::create_directories(root + "/" + sub);
    }
    WriteFile(root + "/cupsd.conf", "Listen " + socket_ +
                                        "\nLogLevel warn\nWebInterface No\nBrowsing Off\n"
                                        "DefaultAuthType None\n<Location />\n  Order allow,deny\n"
                                        "  Allow all\n</Location>\n<Policy default>\n"
                                        "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                        "</Policy>\n");
    WriteFile(root + "/cups-files.conf",
              "ServerRoot " + root + "\nRequestRoot " + root + "/spool\nCacheDir " + root +
                  "/cache\nStateDir " + root + "/state\nTempDir " + root + "/tmp\nErrorLog " +
                  root + "/log/error_log\nAccessLog " + root + "/log/access_log\nPageLog " + root +
                  "/log/page_log\nSystemGroup root\n");
    std::string conf = root + "/cupsd.conf";
    std::string files = root + "/cups-files.conf";
    const char* argv[] = {kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr};
    if (posix_spawn(&pid_, kCupsd, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
      pid_ = -1;
    }
  }
  ~PrivateCupsd() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool Ready() const {
    return pid_ > 0 && WaitFor([&] { return fs::exists(socket_); }, 10);
  }
  const std::string& socket() const { return socket_; }
  std::string Admin(const std::string& args) const {
    return RunCommand("CUPS_SERVER='" + socket_ + "' " + kLpadmin + " " + args + " 2>&1");
  }

 private:
  std::string root_;
  std::string socket_;
  pid_t pid_ = -1;
};

class CupsReportTest : public ReportTest {
 protected:
  void TearDown() override {
    SetPrintServerForTesting(std::nullopt);
    ReportTest::TearDown();
  }
};

TEST_F(CupsReportTest, SummaryGoesToTheDefaultQueue) {
  for (const char* tool : {kCupsd, kLpadmin, kBackend, kPpd}) {
    if (!fs::exists(tool)) GTEST_SKIP() << "no print server here: " << tool << " is missing";
  }
  if (::geteuid() != 0) GTEST_SKIP() << "the PDF queue's backend needs root";
  TempDir server_dir;
  PrivateCupsd cupsd(server_dir.path());
  if (!cupsd.Ready()) GTEST_SKIP() << "the private print server did not start";
  SetPrintServerForTesting(cupsd.socket());
  std::string added = cupsd.Admin(std::string("-p ") + kQueue + " -E -v cups-pdf:/ -P " + kPpd);
  cupsd.Admin(std::string("-d ") + kQueue);
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
  int job = g.print.iLastQueueJob;
  ASSERT_GT(job, 0);
  EXPECT_EQ(PdfPageCount(SummaryPdf()), 1);  // the PDF beside the claim file as well

  // The queue writes its output to the home folder of the job's user.
  fs::path out_dir = fs::path(::getpwuid(::geteuid())->pw_dir) / "PDF";
  std::string suffix = "job_" + std::to_string(job) + ".pdf";
  fs::path output;
  bool printed = WaitFor(
      [&] {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(out_dir, ec)) {
          std::string name = e.path().filename().string();
          if (name.size() >= suffix.size() &&
              name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
              PdfPageCount(e.path().string()) > 0) {
            output = e.path();
            return true;
          }
        }
        return false;
      },
      30);
  ASSERT_TRUE(printed) << ReadFile(server_dir.File("log/error_log"));
  EXPECT_EQ(PdfPageCount(output.string()), 1);
  fs::remove(output);
}

}  // namespace
}  // namespace wcomp837::testing
