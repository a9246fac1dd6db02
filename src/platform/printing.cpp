#include "platform/printing.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <cups/cups.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string_view>
#include <utility>

#include "platform/failure.h"
#include "platform/files.h"

namespace wcomp837 {
namespace {

// US Letter in points, and the edge a printer cannot print on.
constexpr double kLetterShort = 612.0;
constexpr double kLetterLong = 792.0;
constexpr double kDeviceMargin = 18.0;  // a quarter inch
constexpr double kPointsPerInch = 72.0;

// Faces that stand in for the fonts the reports ask for (same metrics).
struct FontSubstitute {
  const char* requested;
  const char* installed;
};
constexpr FontSubstitute kFontSubstitutes[] = {
    {"Courier New", "Liberation Mono"},
};

std::string InstalledFace(const std::string& requested) {
  for (const auto& s : kFontSubstitutes) {
    if (requested == s.requested) return s.installed;
  }
  return requested;
}

std::mutex g_server_mutex;
std::optional<std::string> g_server;
std::atomic<bool> g_null_printing{false};

// libcups keeps the server per thread: apply the chosen one before each call.
void UsePrintServer() {
  std::lock_guard<std::mutex> lock(g_server_mutex);
  cupsSetServer(g_server ? g_server->c_str() : nullptr);
}

struct Dests {
  cups_dest_t* list = nullptr;
  int count = 0;
  Dests() {
    UsePrintServer();
    count = cupsGetDests2(CUPS_HTTP_DEFAULT, &list);
  }
  ~Dests() { cupsFreeDests(count, list); }
  Dests(const Dests&) = delete;
  Dests& operator=(const Dests&) = delete;
};

// One byte is one character cell: bytes above 127 are taken as Latin-1 and
// control characters print as blanks, so any input keeps the columns and
// gives the renderer valid UTF-8. Written into out, whose buffer is reused.
void ToUtf8Cells(std::string_view text, std::string& out) {
  out.clear();
  for (unsigned char ch : text) {
    if (ch < 0x20 || ch == 0x7f) {
      out += ' ';
    } else if (ch < 0x80) {
      out += static_cast<char>(ch);
    } else {
      out += static_cast<char>(0xC0 | (ch >> 6));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    }
  }
}

// Every character from blank to "~": the text cairo can be given as it is.
constexpr char kPrintableAscii[] =
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
    "abcdefghijklmnopqrstuvwxyz{|}~";
static_assert(sizeof kPrintableAscii == 0x7f - 0x20 + 1);

// strspn stops at the first character outside the set, an embedded NUL
// included, so these answer for the whole of text.
bool AllBlank(const std::string& text) {
  return std::strspn(text.c_str(), " ") == text.size();
}
bool AllPrintableAscii(const std::string& text) {
  return std::strspn(text.c_str(), kPrintableAscii) == text.size();
}

void ApplyFont(cairo_t* cr, const std::string& name, double size, bool bold) {
  cairo_select_font_face(cr, InstalledFace(name).c_str(), CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

}  // namespace

std::vector<std::string> InstalledPrinterNames() {
  std::vector<std::string> names{kPdfPrinterName};
  Dests dests;
  for (int i = 0; i < dests.count; ++i) {
    if (dests.list[i].instance == nullptr) names.emplace_back(dests.list[i].name);
  }
  return names;
}

std::string DefaultPrinterName() {
  Dests dests;
  for (int i = 0; i < dests.count; ++i) {
    if (dests.list[i].is_default && dests.list[i].instance == nullptr) return dests.list[i].name;
  }
  return kPdfPrinterName;
}

void SetPrintServerForTesting(std::optional<std::string> server) {
  std::lock_guard<std::mutex> lock(g_server_mutex);
  g_server = std::move(server);
}

void SetNullPrintingForTesting(bool on) {
  g_null_printing = on;
}

struct PrintJob::Impl {
  cairo_surface_t* measure_surface = nullptr;
  cairo_t* measure = nullptr;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  bool null_surface = false;
  std::string cells;  // a line converted to UTF-8 cells
  // The PDF document, written by cairo through WriteDocument.
  OutFile document;
  // The failure that lost the document (it could not be created, or a write
  // to it failed); 0 while it is sound.
  int failure = 0;
  bool abandoned = false;

  Impl() {
    measure_surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    measure = cairo_create(measure_surface);
  }
  ~Impl() {
    // An unfinished document is incomplete: nothing more goes into it and
    // the part written is removed.
    abandoned = true;
    DestroySurface();
    if (document.IsOpen()) document.Discard();
    cairo_destroy(measure);
    cairo_surface_destroy(measure_surface);
  }
  // Finishes the surface (the rest of the document is written) and answers
  // its final status.
  cairo_status_t DestroySurface() {
    if (cr) cairo_destroy(cr);
    cr = nullptr;
    if (!surface) return CAIRO_STATUS_SUCCESS;
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    surface = nullptr;
    return status;
  }
};

namespace {
// cairo's stream callback: the document's bytes go to its OutFile, and the
// first failure is kept, since cairo itself only knows "write error".
cairo_status_t WriteDocument(void* closure, const unsigned char* data, unsigned int length) {
  auto* impl = static_cast<PrintJob::Impl*>(closure);
  if (impl->abandoned || impl->failure != 0) return CAIRO_STATUS_WRITE_ERROR;
  try {
    impl->document.Write(std::string_view(reinterpret_cast<const char*>(data), length));
    return CAIRO_STATUS_SUCCESS;
  } catch (const Failure& f) {
    impl->failure = f.number;
  } catch (...) {
    impl->failure = failure::kPathFileAccess;
  }
  return CAIRO_STATUS_WRITE_ERROR;
}

[[noreturn]] void RaiseDocumentFailure(int number) {
  if (number == kPrinterFailure) Raise(kPrinterFailure, kPrinterFailureText);
  Raise(number);
}
}  // namespace

PrintJob::PrintJob(std::string pdfPath, std::string printer, std::string title)
    : impl_(std::make_unique<Impl>()),
      pdf_path_(std::move(pdfPath)),
      printer_(std::move(printer)),
      title_(std::move(title)) {}

PrintJob::~PrintJob() = default;

void PrintJob::SetOrientation(Orientation orientation) {
  orientation_ = orientation;
}

void PrintJob::FontChanged() {
  height_ = -1.0;
  font_applied_ = false;
}

void PrintJob::SetFont(const std::string& name, double points) {
  font_name_ = name;
  font_size_ = points;
  for (Metrics& m : weights_) m = Metrics{};
  FontChanged();
}

void PrintJob::SetBold(bool bold) {
  if (bold != bold_) FontChanged();
  bold_ = bold;
}

void PrintJob::Measure() const {
  if (height_ >= 0.0) return;
  Metrics& m = weights_[bold_ ? 1 : 0];
  if (m.height < 0.0) {
    ApplyFont(impl_->measure, font_name_, font_size_, bold_);
    cairo_font_extents_t extents{};
    cairo_font_extents(impl_->measure, &extents);
    m.height = extents.height;
    m.ascent = extents.ascent;
    cairo_text_extents_t h{};
    cairo_text_extents(impl_->measure, "H", &h);
    m.advance = h.x_advance;
  }
  height_ = m.height;
  ascent_ = m.ascent;
  advance_ = m.advance;
}

double PrintJob::TextHeight() const {
  Measure();
  return height_;
}

void PrintJob::SetCurrentY(double y) {
  y_ = y < 0.0 ? 0.0 : y;
}

double PrintJob::PrintableHeight() const {
  double page = orientation_ == Orientation::kLandscape ? kLetterShort : kLetterLong;
  return page - 2 * kDeviceMargin;
}

double PrintJob::OffsetXInches() const {
  return kDeviceMargin / kPointsPerInch;
}
double PrintJob::OffsetYInches() const {
  return kDeviceMargin / kPointsPerInch;
}

void PrintJob::StartPage() {
  bool landscape = orientation_ == Orientation::kLandscape;
  double width = landscape ? kLetterLong : kLetterShort;
  double height = landscape ? kLetterShort : kLetterLong;
  Impl& impl = *impl_;
  // A document that could not be created was reported once; its pages are
  // not drawn.
  if (impl.failure != 0) return;
  if (impl.surface == nullptr) {
    impl.null_surface = g_null_printing;
    if (impl.null_surface) {
      // One pixel: everything drawn is clipped away, nothing is kept.
      impl.surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    } else {
      try {
        impl.document.Open(pdf_path_, OutFile::Mode::kRecreate);
      } catch (const Failure& f) {
        impl.failure = f.number;
        throw;
      }
      impl.surface = cairo_pdf_surface_create_for_stream(WriteDocument, &impl, width, height);
      cairo_pdf_surface_set_metadata(impl.surface, CAIRO_PDF_METADATA_TITLE, title_.c_str());
    }
    impl.cr = cairo_create(impl.surface);
    if (cairo_status(impl.cr) != CAIRO_STATUS_SUCCESS) {
      impl.failure = kPrinterFailure;
      impl.abandoned = true;
      impl.DestroySurface();
      impl.document.Discard();
      RaiseDocumentFailure(kPrinterFailure);
    }
  } else if (!impl.null_surface) {
    cairo_pdf_surface_set_size(impl.surface, width, height);
  }
  page_open_ = true;
  ++pages_;
}

void PrintJob::PrintText(const std::string& text) {
  if (ended_) Raise(failure::kInvalidCall);
  Measure();
  if (!page_open_) StartPage();
  if (page_open_ && !AllBlank(text)) DrawText(text);
  y_ += height_;
}

void PrintJob::DrawText(const std::string& text) {
  cairo_t* cr = impl_->cr;
  if (!font_applied_) {
    ApplyFont(cr, font_name_, font_size_, bold_);
    font_applied_ = true;
  }
  cairo_move_to(cr, kDeviceMargin, kDeviceMargin + y_ + ascent_);
  // What lies beyond the printable width would not show: leave it out.
  double width =
      (orientation_ == Orientation::kLandscape ? kLetterLong : kLetterShort) - 2 * kDeviceMargin;
  std::size_t cells = advance_ > 0 ? static_cast<std::size_t>(width / advance_) + 1 : text.size();
  // Printable ASCII that fits, the usual line, is drawn as it is.
  if (text.size() <= cells && AllPrintableAscii(text)) {
    cairo_show_text(cr, text.c_str());
  } else {
    ToUtf8Cells(std::string_view(text).substr(0, cells), impl_->cells);
    cairo_show_text(cr, impl_->cells.c_str());
  }
  // A document that lost a write is reported once, when it ends.
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS && impl_->failure == 0) {
    RaiseDocumentFailure(kPrinterFailure);
  }
}

void PrintJob::NewPage() {
  if (ended_) Raise(failure::kInvalidCall);
  // A page with nothing on it yet is ended by starting the next one.
  if (!page_open_) StartPage();
  if (page_open_) cairo_show_page(impl_->cr);
  page_open_ = false;
  y_ = 0.0;
}

void PrintJob::EndDoc() {
  if (ended_) return;
  ended_ = true;
  Impl& impl = *impl_;
  if (impl.surface == nullptr) {
    if (impl.failure != 0) RaiseDocumentFailure(impl.failure);
    return;
  }
  if (page_open_) cairo_show_page(impl.cr);
  page_open_ = false;
  const cairo_status_t status = impl.DestroySurface();
  if (impl.null_surface) return;
  // The document is complete only when every byte reached the file.
  int failed = impl.failure;
  if (failed == 0 && status != CAIRO_STATUS_SUCCESS) failed = kPrinterFailure;
  if (failed == 0) {
    try {
      impl.document.Flush();
      impl.document.Close();
    } catch (const Failure& f) {
      failed = f.number;
    }
  }
  if (failed != 0) {
    impl.document.Discard();
    RaiseDocumentFailure(failed);
  }
  if (printer_ == kPdfPrinterName) return;
  UsePrintServer();
  queue_job_ = cupsPrintFile(printer_.c_str(), pdf_path_.c_str(), title_.c_str(), 0, nullptr);
  if (queue_job_ == 0) {
    Raise(kPrinterFailure, std::string(kPrinterFailureText) + ": " + cupsLastErrorString());
  }
}

}  // namespace wcomp837
