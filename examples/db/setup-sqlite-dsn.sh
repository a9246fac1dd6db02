#!/bin/sh
# Creates the example reference database as a SQLite file and registers an
# ODBC data source for it. The data source loads qel_attach.so (built here
# from qel_attach.c), which attaches the database a second time as
# QEL_TABLES: the qualified table names wcomp837 tries first then find the
# tables, and a run ends without database messages.
#
#   setup-sqlite-dsn.sh [DSN] [DATABASE_FILE] [CONFIG_DIR]
#
# DSN            data source name to register (default: WCOMP837_DEMO)
# DATABASE_FILE  SQLite file to create (default: ./wcomp837-demo.sqlite);
#                an existing file is replaced
# CONFIG_DIR     when given, odbcinst.ini and odbc.ini are written there and
#                the script prints the ODBCSYSINI/ODBCINI settings to export;
#                otherwise the DSN is added to the user's ~/.odbc.ini
#
# Needs: sqlite3, unixodbc, libsqliteodbc, gcc, libsqlite3-dev (Debian
# package names).
set -eu

DSN=${1:-WCOMP837_DEMO}
DB=${2:-./wcomp837-demo.sqlite}
CONFIG_DIR=${3:-}
HERE=$(cd "$(dirname "$0")" && pwd)
DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so
[ -f "$DRIVER" ] || DRIVER=$(find /usr/lib -name libsqlite3odbc.so 2>/dev/null | head -n 1)
if [ -z "$DRIVER" ] || [ ! -f "$DRIVER" ]; then
  echo "The SQLite3 ODBC driver (libsqlite3odbc.so) is not installed." >&2
  exit 1
fi

mkdir -p "$(dirname "$DB")"
DB=$(cd "$(dirname "$DB")" && pwd)/$(basename "$DB")
rm -f "$DB"
sqlite3 "$DB" < "$HERE/schema.sql"
# The extension lives beside the database file.
ATTACH=$(dirname "$DB")/qel_attach.so
cc -shared -fPIC -O2 -o "$ATTACH" "$HERE/qel_attach.c"

dsn_section() {
  printf '[%s]\nDescription=wcomp837 reference data\nDriver=%s\nDatabase=%s\nNoCreat=1\nLoadExt=%s\n\n' \
    "$DSN" "$1" "$DB" "$ATTACH"
}

# Removes an existing section of that name from an ini file.
drop_section() {
  [ -f "$1" ] || return 0
  awk -v s="[$DSN]" '$0 == s { skip = 1; next } /^\[/ { skip = 0 } !skip' "$1" > "$1.tmp"
  mv "$1.tmp" "$1"
}

if [ -n "$CONFIG_DIR" ]; then
  mkdir -p "$CONFIG_DIR"
  CONFIG_DIR=$(cd "$CONFIG_DIR" && pwd)
  printf '[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=%s\n\n' "$DRIVER" \
    > "$CONFIG_DIR/odbcinst.ini"
  drop_section "$CONFIG_DIR/odbc.ini"
  dsn_section SQLite3 >> "$CONFIG_DIR/odbc.ini"
  echo "Database $DB registered as DSN $DSN in $CONFIG_DIR. Before running wcomp837:"
  echo "  export ODBCSYSINI=$CONFIG_DIR ODBCINI=$CONFIG_DIR/odbc.ini"
else
  INI=${ODBCINI:-$HOME/.odbc.ini}
  drop_section "$INI"
  dsn_section "$DRIVER" >> "$INI"
  echo "Database $DB registered as DSN $DSN in $INI."
fi
echo "Send it to wcomp837 with: --dsn $DSN"
