// How a record holds its text: the host's record text is kept once, in the
// record's own buffer, and every member is an offset and a length into it.
// A value a parser or a routine stores that is not already in the buffer is
// appended to it. Parsing therefore copies nothing per member, and copying
// or swapping a record is a couple of memcpy's, without an allocation once
// the buffer has grown to the record's size.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace wcomp837 {

// The text of one member: a view that reads like a string. It stays valid
// until a value is next stored into the same record.
class Text : public std::string_view {
 public:
  constexpr Text() noexcept = default;
  constexpr Text(std::string_view v) noexcept : std::string_view(v) {}
  Text(const std::string& s) noexcept : std::string_view(s) {}
  constexpr Text(const char* s) : std::string_view(s) {}
  operator std::string() const { return std::string(data(), size()); }
};

inline std::string operator+(std::string a, Text b) {
  a.append(b);
  return a;
}
inline std::string operator+(Text a, std::string_view b) {
  std::string s;
  s.reserve(a.size() + b.size());
  s.append(a).append(b);
  return s;
}
inline std::string operator+(Text a, const std::string& b) {
  return a + std::string_view(b);
}
inline std::string operator+(Text a, const char* b) {
  return a + std::string_view(b);
}
inline std::string operator+(Text a, Text b) {
  return a + std::string_view(b);
}
inline std::string operator+(const char* a, Text b) {
  return std::string(a) + b;
}
inline std::string operator+(char a, Text b) {
  return std::string(1, a) + b;
}
inline std::string operator+(Text a, char b) {
  return a + std::string_view(&b, 1);
}

// Where a member's text stands in its record's buffer.
struct Span {
  std::uint32_t off = 0;
  std::uint32_t len = 0;
};

namespace record_text {
// Stores v as the member's value: a value already in the buffer is pointed
// at where it stands, any other is appended.
void Store(std::string& buf, Span& span, std::string_view v);
// Appends a host text to the buffer (first compacting it when old texts
// no member uses make up most of it) and returns where it begins.
std::uint32_t AppendText(std::string& buf, std::span<Span> spans, std::string_view text);
}  // namespace record_text

// A member of a record that may be changed: reads like its text; assigning
// stores a new value.
class MemberRef : public Text {
 public:
  MemberRef(std::string& buf, Span& span)
      : Text(std::string_view(buf.data() + span.off, span.len)), buf_(&buf), span_(&span) {}
  MemberRef& operator=(std::string_view v) {
    // An empty value is only an empty span: no call needed.
    if (v.empty()) {
      *span_ = Span{};
      Text::operator=(std::string_view());
      return *this;
    }
    record_text::Store(*buf_, *span_, v);
    Text::operator=(std::string_view(buf_->data() + span_->off, span_->len));
    return *this;
  }
  MemberRef& operator=(const std::string& v) { return *this = std::string_view(v); }
  MemberRef& operator=(const char* v) { return *this = std::string_view(v); }
  MemberRef& operator=(Text v) { return *this = std::string_view(v); }
  MemberRef& operator=(const MemberRef& v) { return *this = std::string_view(v); }
  MemberRef& operator+=(std::string_view v) {
    thread_local std::string joined;
    joined.assign(data(), size());
    joined.append(v);
    return *this = std::string_view(joined);
  }
  void clear() { *this = std::string_view(); }

 private:
  std::string* buf_;
  Span* span_;
};

// The members of any record, for the routines that read every layout.
class Members {
 public:
  Members(std::string& buf, std::span<Span> spans) : buf_(&buf), spans_(spans) {}
  std::size_t size() const { return spans_.size(); }
  MemberRef operator[](std::size_t i) { return MemberRef(*buf_, spans_[i]); }
  Text Get(std::size_t i) const {
    return std::string_view(buf_->data() + spans_[i].off, spans_[i].len);
  }
  void SetSpan(std::size_t i, Span s) { spans_[i] = s; }
  // Appends a host text; the result is where it begins in the buffer.
  std::uint32_t AppendText(std::string_view text) {
    return record_text::AppendText(*buf_, spans_, text);
  }
  const std::string& buffer() const { return *buf_; }

 private:
  std::string* buf_;
  std::span<Span> spans_;
};

// A record of N text members (rec[Practice::sName]).
template <std::size_t N>
class Rec {
 public:
  static constexpr std::size_t kSize = N;
  Rec() = default;
  // The first members, in order; the others empty.
  Rec(std::initializer_list<std::string_view> values) {
    std::size_t i = 0;
    for (std::string_view v : values) (*this)[i++] = v;
  }
  Text operator[](std::size_t i) const {
    return std::string_view(buf_.data() + spans_[i].off, spans_[i].len);
  }
  MemberRef operator[](std::size_t i) {
    settledFor_ = nullptr;
    return MemberRef(buf_, spans_[i]);
  }
  static constexpr std::size_t size() { return N; }
  Members members() {
    settledFor_ = nullptr;
    return Members(buf_, spans_);
  }
  const std::string& buffer() const { return buf_; }
  std::span<const Span> spans() const { return spans_; }
  // Every member the same value.
  void fill(std::string_view v) {
    Clear();
    (*this)[0] = v;
    spans_.fill(spans_[0]);
  }
  // Exchanges the members of two records. An empty buffer means every
  // member is empty, so two empty records have nothing to exchange.
  friend void swap(Rec& a, Rec& b) noexcept {
    if (a.buf_.empty() && b.buf_.empty()) return;
    a.spans_.swap(b.spans_);
    a.buf_.swap(b.buf_);
    std::swap(a.settledFor_, b.settledFor_);
  }
  friend bool operator==(const Rec& a, const Rec& b) {
    for (std::size_t i = 0; i < N; ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }
  // Every member empty; the buffer keeps its capacity.
  void Clear() {
    // Members are spans of the buffer: an empty buffer means every member is
    // already empty.
    if (buf_.empty()) return;
    spans_.fill(Span{});
    buf_.clear();
    settledFor_ = nullptr;
  }
  // Whether every member but the listed (distinct) ones is empty: as many
  // members are filled as listed ones.
  bool HoldsOnly(std::span<const std::size_t> kept) const {
    if (settledFor_ != nullptr && settledFor_ == kept.data()) return true;
    std::uint32_t filled = 0;
    for (const Span& s : spans_) filled += s.len != 0;
    std::uint32_t listed = 0;
    for (std::size_t k : kept) listed += spans_[k].len != 0;
    return filled == listed;
  }
  // Every member but the listed ones empty; the buffer then holds the kept
  // values only.
  void ClearExcept(std::span<const std::size_t> kept) {
    if (kept.empty() || buf_.empty()) {
      Clear();
      return;
    }
    // Cleared at the last charge and not written since: nothing to do.
    if (HoldsOnly(kept)) {
      settledFor_ = kept.data();
      return;
    }
    thread_local std::string keptText;
    keptText.clear();
    std::array<Span, 16> keptSpans{};
    for (std::size_t k = 0; k < kept.size() && k < keptSpans.size(); ++k) {
      const Span s = spans_[kept[k]];
      keptSpans[k] = Span{static_cast<std::uint32_t>(keptText.size()), s.len};
      keptText.append(buf_, s.off, s.len);
    }
    Clear();
    buf_.assign(keptText);
    for (std::size_t k = 0; k < kept.size() && k < keptSpans.size(); ++k) {
      spans_[kept[k]] = keptSpans[k];
    }
    settledFor_ = kept.data();
  }

 private:
  std::array<Span, N> spans_{};
  std::string buf_;
  // The kept-member list of the last ClearExcept while nothing has been
  // stored since (any writable access forgets it): the record then holds
  // those members only, and clearing it again needs no look at its members.
  const std::size_t* settledFor_ = nullptr;
};

// Any record seen as a row of texts.
class RecordView {
 public:
  RecordView() = default;
  template <std::size_t N>
  RecordView(const Rec<N>& rec) : buf_(rec.buffer().data()), spans_(rec.spans()) {}
  std::size_t size() const { return spans_.size(); }
  Text operator[](std::size_t i) const {
    return std::string_view(buf_ + spans_[i].off, spans_[i].len);
  }

 private:
  const char* buf_ = nullptr;
  std::span<const Span> spans_;
};

template <std::size_t N>
inline bool Received(const Rec<N>& rec) {
  return !rec[0].empty();
}

// The record when it was received, else an empty one.
template <std::size_t N>
const Rec<N>& ReceivedOrEmpty(const Rec<N>& rec) {
  static const Rec<N> kEmpty;
  return Received(rec) ? rec : kEmpty;
}

}  // namespace wcomp837
