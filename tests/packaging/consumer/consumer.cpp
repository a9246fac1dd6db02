// Asks the installed component for its version through the C++ class and
// the C interface; prints it once when both agree.
#include <wcomp837/format_class.h>

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
  std::printf("%s\n", viaC);
  return 0;
}
