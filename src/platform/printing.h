// The printer: installed printers, the current one, and a print job that
// renders pages to a PDF (US Letter, fixed-pitch font) and, when the printer
// is a print queue, submits that PDF to it. Measures are in points; the
// vertical position counts from the top of the printable area.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wcomp837 {

// The printer that only writes the PDF file.
inline constexpr const char* kPdfPrinterName = "PDF";
// Failure number and description of a printer that refuses a job or a
// document that cannot be rendered.
inline constexpr int kPrinterFailure = 482;
inline constexpr const char* kPrinterFailureText = "Printer error";

enum class Orientation { kPortrait, kLandscape };

// "PDF" followed by the print queues of the print server.
std::vector<std::string> InstalledPrinterNames();
// The server's default queue, else "PDF".
std::string DefaultPrinterName();
// Test seam: the print server to ask (a socket path or host); nullopt = the
// system's own.
void SetPrintServerForTesting(std::optional<std::string> server);
// Test seam: print jobs render to a one-pixel surface that keeps nothing, and neither
// write a document nor send one to a printer (fuzzing the reports).
void SetNullPrintingForTesting(bool on);

class PrintJob {
 public:
  // pdfPath: where the document is written; printer: "PDF" or a queue name;
  // title: the job's name at the queue.
  PrintJob(std::string pdfPath, std::string printer, std::string title);
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  void SetOrientation(Orientation orientation);
  Orientation orientation() const { return orientation_; }
  void SetFont(const std::string& name, double points);
  void SetBold(bool bold);
  bool bold() const { return bold_; }
  const std::string& font_name() const { return font_name_; }
  double font_size() const { return font_size_; }

  // Height of one line of text in the current font.
  double TextHeight() const;
  double CurrentY() const { return y_; }
  void SetCurrentY(double y);
  double PrintableHeight() const;
  // Left and top margins the device cannot print on, in inches.
  double OffsetXInches() const;
  double OffsetYInches() const;

  // Prints one line at the current position and moves down one line.
  void PrintText(const std::string& text);
  void NewPage();
  // Finishes the document: writes the PDF and, for a queue, submits it.
  // A job that printed nothing produces no document. Raises Failure; a
  // document that could not be written completely is removed first. A job
  // destroyed before EndDoc removes what it wrote.
  void EndDoc();
  int pages() const { return pages_; }
  // Job number given by the queue (0 when none).
  int queue_job() const { return queue_job_; }

 public:
  struct Impl;  // the cairo surface and the document file

 private:
  void StartPage();
  void Measure() const;
  void DrawText(const std::string& text);
  void FontChanged();
  std::unique_ptr<Impl> impl_;
  std::string pdf_path_;
  std::string printer_;
  std::string title_;
  Orientation orientation_ = Orientation::kPortrait;
  std::string font_name_ = "Courier New";
  double font_size_ = 10.0;
  bool bold_ = false;
  // Line height and ascent of the current font.
  mutable double height_ = -1.0;
  mutable double ascent_ = 0.0;
  mutable double advance_ = 0.0;  // width of one character cell
  // The same of the regular and the bold weight of the font, measured once
  // each (reports switch to bold and back for every heading).
  struct Metrics {
    double height = -1.0;
    double ascent = 0.0;
    double advance = 0.0;
  };
  mutable Metrics weights_[2];
  bool font_applied_ = false;  // the page's context has the current font
  double y_ = 0.0;
  bool page_open_ = false;
  bool ended_ = false;
  int pages_ = 0;
  int queue_job_ = 0;
};

}  // namespace wcomp837
