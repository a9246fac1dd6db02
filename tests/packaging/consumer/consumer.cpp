// Asks the installed component for its version through the C++ class and
// the C interface; prints it once when both agree.
#include <wcomp837/format_class.h>
#include <wcomp837/line_classes.h>
#include <wcomp837/version.h>

#include <cstdio>
#include <string>

extern "C" int version_through_c(char* buf, unsigned size);

int main() {
  wcomp837::Format_Class component;
  if (component.HereIsAMessage("VER", "") != 1) return 1;
  const std::string entry = component.GetAMessage(1);  // " 1//1306.4.1//"
  char viaC[64];
  if (version_through_c(viaC, sizeof viaC) != 0) return 2;
  if (entry != " 1//" + std::string(viaC) + "//") return 3;
  if (std::string(viaC) != WCOMP837_VERSION) return 4;
  // The public exception crosses the library boundary as a std::exception.
  try {
    wcomp837::NDCInfoArray drugs;
    drugs.GetNDCInfo(4);
    return 5;
  } catch (const std::exception& e) {
    if (std::string(e.what()) != "Subscript out of range") return 6;
  }
  std::printf("%s\n", viaC);
  return 0;
}
