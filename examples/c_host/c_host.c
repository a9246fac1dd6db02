/* A small C host: drives one claim batch through the C interface.
 *
 * usage: c_host OUTPUT_DIR CLAIM_FILE_NAME RECORDS_FILE
 * RECORDS_FILE holds one host record per line: the record key, one TAB, the
 * record (a line without a TAB is all key). Blank lines and lines starting
 * with '#' are skipped. Every message
 * the component leaves is printed on standard error. The exit status is the
 * worst result code seen (0, 1 or 3), or 2 for a usage or input error.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "wcomp837/wcomp837.h"

static int worst = 0;

static void print_messages(wcomp837_format* obj, long line_nr) {
  char small[256];
  for (int32_t i = 1;; ++i) {
    int64_t len = wcomp837_get_a_message(obj, i, small, sizeof small);
    if (len < 0) return;
    char* text = small;
    char* big = NULL;
    if ((size_t)len >= sizeof small) {
      big = malloc((size_t)len + 1);
      if (big == NULL) return;
      wcomp837_get_a_message(obj, i, big, (size_t)len + 1);
      text = big;
    }
    int end = strcmp(text, "END") == 0;
    if (!end) fprintf(stderr, "line %ld: %s\n", line_nr, text);
    free(big);
    if (end) return;
  }
}

/* Some settings answer 0 even when they leave error messages (a failed
 * database connection), so the list is read after every call. */
static void note(wcomp837_format* obj, int16_t rc, long line_nr) {
  if (rc > worst) worst = rc;
  print_messages(obj, line_nr);
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: %s OUTPUT_DIR CLAIM_FILE_NAME RECORDS_FILE\n", argv[0]);
    return 2;
  }
  FILE* in = fopen(argv[3], "rb");
  if (in == NULL) {
    perror(argv[3]);
    return 2;
  }
  wcomp837_format* obj = wcomp837_create();
  if (obj == NULL) {
    fclose(in);
    return 2;
  }
  note(obj, wcomp837_here_is_a_message(obj, "1", argv[1]), 0);
  note(obj, wcomp837_here_is_a_message(obj, "2", argv[2]), 0);

  char* line = NULL;
  size_t cap = 0;
  long line_nr = 0;
  ssize_t n;
  while ((n = getline(&line, &cap, in)) >= 0) {
    ++line_nr;
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
    if (line[strspn(line, " \t")] == '\0' || line[0] == '#') continue;
    char* tab = strchr(line, '\t');
    const char* record = "";
    if (tab != NULL) {
      *tab = '\0';
      record = tab + 1;
    }
    note(obj, wcomp837_format_record(obj, line, record), line_nr);
  }
  free(line);
  fclose(in);
  note(obj, wcomp837_process_end_of_file(obj), line_nr);
  note(obj, wcomp837_process_formatted_records(obj), line_nr);
  wcomp837_destroy(obj);
  printf("claim file: %s/%s\n", argv[1], argv[2]);
  return worst;
}
