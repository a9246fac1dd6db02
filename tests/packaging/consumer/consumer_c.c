/* Asks the installed component for its version through the C interface. */
#include <stdio.h>
#include <string.h>
#include <wcomp837/wcomp837.h>

int version_through_c(char* buf, unsigned size) {
  wcomp837_format* obj = wcomp837_create();
  if (obj == NULL) return 1;
  int rc = wcomp837_here_is_a_message(obj, "VER", "") == 1 ? 0 : 2;
  char entry[64];
  if (rc == 0 && wcomp837_get_a_message(obj, 1, entry, sizeof entry) < (int64_t)sizeof entry &&
      strncmp(entry, " 1//", 4) == 0) {
    size_t n = strlen(entry + 4);
    if (n >= 2 && n - 2 < size) {
      memcpy(buf, entry + 4, n - 2); /* without the trailing "//" */
      buf[n - 2] = '\0';
    } else {
      rc = 3;
    }
  } else if (rc == 0) {
    rc = 4;
  }
  wcomp837_destroy(obj);
  return rc;
}

#ifndef WCOMP837_CONSUMER_NO_MAIN
int main(void) {
  char version[64];
  if (version_through_c(version, sizeof version) != 0) return 1;
  printf("%s\n", version);
  return 0;
}
#endif
