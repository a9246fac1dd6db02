/* A SQLite extension that attaches the connection's own database a second
 * time under the schema name QEL_TABLES, so the qualified table names
 * wcomp837 tries first ("QEL_TABLES".PRACTICE) find the same tables as the
 * plain ones. The SQLite3 ODBC driver loads it for a data source with
 * LoadExt=<path of the built library> (setup-sqlite-dsn.sh does this).
 *
 *   cc -shared -fPIC -O2 -o qel_attach.so qel_attach.c    (needs libsqlite3-dev)
 */
#include <stddef.h>
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#ifdef __GNUC__
__attribute__((visibility("default")))
#endif
int sqlite3_extension_init(sqlite3* db, char** error, const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  const char* file = sqlite3_db_filename(db, "main");
  if (file == NULL || file[0] == '\0') {
    *error = sqlite3_mprintf("qel_attach: the main database has no file to attach");
    return SQLITE_ERROR;
  }
  sqlite3_stmt* attach = NULL;
  int rc = sqlite3_prepare_v2(db, "ATTACH DATABASE ?1 AS QEL_TABLES", -1, &attach, NULL);
  if (rc == SQLITE_OK) {
    sqlite3_bind_text(attach, 1, file, -1, SQLITE_TRANSIENT);
    rc = sqlite3_step(attach) == SQLITE_DONE ? SQLITE_OK : SQLITE_ERROR;
  }
  if (rc != SQLITE_OK) *error = sqlite3_mprintf("qel_attach: %s", sqlite3_errmsg(db));
  sqlite3_finalize(attach);
  return rc;
}
