// extern "C" entry points over Format_Class. Nothing thrown crosses them.
#include <cstring>
#include <new>
#include <string>

#include "wcomp837/format_class.h"
#include "wcomp837/wcomp837.h"

struct wcomp837_format {
  wcomp837::Format_Class object;
};

namespace {
constexpr int16_t kBadArgument = -1;

int64_t CopyOut(const std::string& text, char* buf, size_t buf_size) {
  if (buf != nullptr && buf_size > 0) {
    size_t n = text.size() < buf_size - 1 ? text.size() : buf_size - 1;
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
  }
  return static_cast<int64_t>(text.size());
}
}  // namespace

extern "C" {

wcomp837_format* wcomp837_create(void) {
  try {
    return new wcomp837_format();
  } catch (...) {
    return nullptr;
  }
}

void wcomp837_destroy(wcomp837_format* obj) {
  delete obj;
}

int16_t wcomp837_here_is_a_message(wcomp837_format* obj, const char* msg_nr, const char* msg) {
  if (obj == nullptr || msg_nr == nullptr) return kBadArgument;
  try {
    return obj->object.HereIsAMessage(msg_nr, msg ? msg : "");
  } catch (...) {
    return 3;
  }
}

int16_t wcomp837_format_record(wcomp837_format* obj, const char* key, const char* record) {
  if (obj == nullptr || key == nullptr) return kBadArgument;
  try {
    return obj->object.FormatRecord(key, record ? record : "");
  } catch (...) {
    return 3;
  }
}

int16_t wcomp837_process_end_of_file(wcomp837_format* obj) {
  if (obj == nullptr) return kBadArgument;
  try {
    return obj->object.ProcessEndOfFile();
  } catch (...) {
    return 3;
  }
}

int16_t wcomp837_process_formatted_records(wcomp837_format* obj) {
  if (obj == nullptr) return kBadArgument;
  try {
    return obj->object.ProcessFormattedRecords();
  } catch (...) {
    return 3;
  }
}

int64_t wcomp837_get_a_message(wcomp837_format* obj, int32_t index, char* buf, size_t buf_size) {
  if (obj == nullptr) return -1;
  try {
    return CopyOut(obj->object.GetAMessage(index), buf, buf_size);
  } catch (...) {
    return CopyOut("END", buf, buf_size);
  }
}

int64_t wcomp837_error_message(wcomp837_format* obj, char* buf, size_t buf_size) {
  if (obj == nullptr) return -1;
  try {
    return CopyOut(obj->object.msErrorMsg(), buf, buf_size);
  } catch (...) {
    return CopyOut("", buf, buf_size);
  }
}

int16_t wcomp837_set_error_message(wcomp837_format* obj, const char* text) {
  if (obj == nullptr) return kBadArgument;
  try {
    obj->object.set_msErrorMsg(text ? text : "");
    return 0;
  } catch (...) {
    return 3;
  }
}

}  // extern "C"
