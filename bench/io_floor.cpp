// The I/O floor of a batch run: reads the records file and writes the same
// number of bytes the run wrote, through plain 1 MB buffers, so that the
// whole-process benchmark can show how close the component comes to it.
//   wcomp837_io_floor INPUT OUTPUT BYTES
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s INPUT OUTPUT BYTES\n", argv[0]);
    return 2;
  }
  std::FILE* in = std::fopen(argv[1], "rb");
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!in || !out) {
    std::perror("wcomp837_io_floor");
    return 1;
  }
  long long remaining = std::atoll(argv[3]);
  std::vector<char> buffer(1 << 20);
  std::size_t got = 0;
  // Copy input to output while both last, then pad the output to its size.
  while ((got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
    const std::size_t put = remaining < static_cast<long long>(got) ? remaining : got;
    if (std::fwrite(buffer.data(), 1, put, out) != put) return 1;
    remaining -= static_cast<long long>(put);
  }
  while (remaining > 0) {
    const std::size_t put =
        remaining < static_cast<long long>(buffer.size()) ? remaining : buffer.size();
    if (std::fwrite(buffer.data(), 1, put, out) != put) return 1;
    remaining -= static_cast<long long>(put);
  }
  const bool ok = std::ferror(in) == 0 && std::fclose(out) == 0;
  std::fclose(in);
  return ok ? 0 : 1;
}
