// Temporary placeholder while the component class is being built.
#include "wcomp837/format_class.h"

namespace wcomp837 {
struct Format_Class::Impl { std::string msErrorMsg; };
Format_Class::Format_Class() : impl_(std::make_unique<Impl>()) {}
Format_Class::~Format_Class() = default;
const std::string& Format_Class::msErrorMsg() const { return impl_->msErrorMsg; }
void Format_Class::set_msErrorMsg(const std::string& t) { impl_->msErrorMsg = t; }
std::string Format_Class::GetAMessage(std::int32_t) { return "END"; }
std::int16_t Format_Class::HereIsAMessage(const std::string&, const std::string&) { return 0; }
std::int16_t Format_Class::FormatRecord(const std::string&, const std::string&) { return 0; }
std::int16_t Format_Class::ProcessEndOfFile() { return 0; }
std::int16_t Format_Class::ProcessFormattedRecords() { return 0; }
}  // namespace wcomp837
