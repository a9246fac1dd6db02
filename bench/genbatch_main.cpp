// Writes a generated host batch as a records file (key TAB record per line).
//   wcomp837_genbatch RECORDS [SEED] > batch.txt
#include <cstdio>
#include <cstdlib>
#include <string>

#include "batch_generator.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s RECORDS [SEED]\n", argv[0]);
    return 2;
  }
  wcomp837::bench::BatchOptions options;
  options.records = std::atoll(argv[1]);
  if (argc > 2) options.seed = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
  static char buffer[1 << 20];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  std::string line;
  wcomp837::bench::GenerateBatch(options, [&](const std::string& key, const std::string& rec) {
    line.assign(key).append("\t").append(rec).append("\n");
    std::fwrite(line.data(), 1, line.size(), stdout);
  });
  return std::fflush(stdout) == 0 ? 0 : 1;
}
