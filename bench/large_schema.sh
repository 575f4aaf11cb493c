#!/usr/bin/env bash
# Makes a database of TABLES tables with COLUMNS columns each (a mix of types, a primary key per
# table, a foreign key in every twentieth table) on SQLite and on a private PostgreSQL server,
# then runs `vantorel new` and `vantorel check` on each and prints their wall time and peak
# resident set against references measured in the same run:
#   - the catalogue read plainly: one `sqlite3` or `psql` pass over every column, key and index
#     of every table (the time `vantorel new` is set against);
#   - the project file parsed plainly: `xmllint --noout` (the time `vantorel check` is set
#     against);
#   - the project file's size (both peaks are set against it).
# Then bench/large_schema_phases.vbs times the steps inside them (the database load, the save,
# the project file's load, the check) with the resident set after each.
#
# With LARGE_SCHEMA_SYNC=1, every tenth table is then changed (on PostgreSQL a column made longer,
# one made nullable and one added; on SQLite, which cannot alter a column, one added) and
# `vantorel sync --yes` is set against `vantorel check` of the changed database, wall time and
# peak; a dry run afterwards must find the project matching its database.
#
# Usage: bench/large_schema.sh [TABLES [COLUMNS]]     (defaults 2000 and 30)
#   VANTOREL=path/to/vantorel chooses the build (default build/vantorel; a Release build gives
#   the meaningful figures); LARGE_SCHEMA_DBMS="sqlite postgresql" chooses the databases;
#   KEEP=1 keeps the temporary folder (databases, projects, logs) and prints where it is.
#
# Everything lives in a temporary folder: the SQLite file, the PostgreSQL server (its own data
# folder, a free port of 127.0.0.1, stopped at the end, never the machine's own instances), the
# ODBC configuration and the user's settings (VANTOREL_HOME). Any failure ends the script with
# a non-zero exit code.
set -euo pipefail
PATH="$PATH:/usr/sbin:/sbin"  # runuser
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"

tables="${1:-2000}"
columns="${2:-30}"
if ! [[ "$tables" =~ ^[1-9][0-9]*$ && "$columns" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: bench/large_schema.sh [TABLES [COLUMNS]] (positive whole numbers)" >&2
  exit 2
fi
read -r -a dbms_list <<<"${LARGE_SCHEMA_DBMS:-sqlite postgresql}"
sync_step="${LARGE_SCHEMA_SYNC:-}"
if [ -n "$sync_step" ] && [ "$columns" -lt 7 ]; then
  echo "large_schema.sh: LARGE_SCHEMA_SYNC needs at least 7 columns" >&2
  exit 2
fi

die() {
  echo "large_schema.sh: $*" >&2
  exit 1
}
say() { echo "large_schema.sh: $*" >&2; }

vantorel="${VANTOREL:-$root/build/vantorel}"
[ -x "$vantorel" ] || die "no vantorel program at $vantorel; build it (Release) or set VANTOREL"
vantorel="$(cd "$(dirname "$vantorel")" && pwd)/$(basename "$vantorel")"

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# What the script needs, installed as the project's scripts install theirs.
need=(time sqlite3 libxml2-utils unixodbc libsqliteodbc)
for d in "${dbms_list[@]}"; do
  case "$d" in
    sqlite) ;;
    postgresql) need+=(postgresql odbc-postgresql) ;;
    *) die "unknown database kind '$d' (sqlite, postgresql)" ;;
  esac
done
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -q >&2
  as_root apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
fi

# ------------------------------------------------------------------------------ the folder
work="$(mktemp -d /tmp/vantorel-large-schema-XXXXXX)"
# The server's own user must reach its folder inside.
chmod 755 "$work"
pg_data=""
pg_user=""
pg_bin=""
cleanup() {
  local status=$?
  if [ -n "$pg_data" ] && [ -f "$pg_data/postmaster.pid" ]; then
    as_user "$pg_user" "$pg_bin/pg_ctl" -D "$pg_data" -m fast -w -t 60 stop >/dev/null 2>&1 ||
      { say "PostgreSQL in $pg_data did not stop"; status=1; }
  fi
  if [ -n "${KEEP:-}" ]; then
    say "kept $work"
  else
    rm -rf "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

as_user() {
  local user="$1"
  shift
  if [ -z "$user" ]; then "$@"; else runuser -u "$user" -- "$@"; fi
}

# The engine's settings and the ODBC drivers are the run's own.
export VANTOREL_HOME="$work/home/config" HOME="$work/home" XDG_DOCUMENTS_DIR="$work/home/Documents"
mkdir -p "$VANTOREL_HOME" "$XDG_DOCUMENTS_DIR"
odbc_driver() {
  local dir
  for dir in /usr/lib/odbc /usr/local/lib/odbc /usr/lib64 /usr/lib/*/odbc; do
    if [ -e "$dir/$1" ]; then
      echo "$dir/$1"
      return
    fi
  done
  die "the ODBC driver $1 is not installed"
}
{
  printf '[SQLite3]\nDriver = %s\n\n' "$(odbc_driver libsqlite3odbc.so)"
  if [[ " ${dbms_list[*]} " == *" postgresql "* ]]; then
    printf '[PostgreSQL Unicode]\nDriver = %s\nCommLog = 0\nDebug = 0\n\n' \
      "$(odbc_driver psqlodbcw.so)"
  fi
} >"$work/odbcinst.ini"
: >"$work/odbc.ini"
export ODBCSYSINI="$work" ODBCINI="$work/odbc.ini"

# ------------------------------------------------------------------------------ the schema
# One CREATE TABLE per table in one transaction: column 1 the key, then the types in turn; in
# every twentieth table after the first, column 2 refers to the key of the table before.
make_schema() {  # make_schema sqlite|postgresql
  awk -v tables="$tables" -v columns="$columns" -v dbms="$1" 'BEGIN {
    if (dbms == "sqlite") {
      n = split("INTEGER VARCHAR(50) TEXT NUMERIC(10,2) DATE TIMESTAMP BOOLEAN REAL BIGINT BLOB", type, " ")
    } else {
      n = split("integer varchar(50) text numeric(10,2) date timestamp boolean double_precision bigint bytea", type, " ")
    }
    print "BEGIN;"
    for (t = 1; t <= tables; t++) {
      name = sprintf("t%05d", t)
      line = "CREATE TABLE " name " (c01_id INTEGER NOT NULL PRIMARY KEY"
      for (c = 2; c <= columns; c++) {
        if (c == 2 && t > 1 && t % 20 == 0) {
          line = line sprintf(", c02_ref INTEGER REFERENCES t%05d (c01_id)", t - 1)
          continue
        }
        ty = type[(c - 2) % n + 1]
        gsub("_", " ", ty)
        col = sprintf("c%02d_%s", c, ty)
        sub(/[ (].*/, "", col)
        col = tolower(col)
        line = line ", " col " " ty ((c % 7 == 0) ? " NOT NULL" : "")
      }
      print line ");"
    }
    print "COMMIT;"
  }'
}

# The changes before the sync: every tenth table. Columns 3 (varchar(50)) and 7 (NOT NULL) are
# the ones make_schema gives those types.
change_schema() {  # change_schema sqlite|postgresql
  awk -v tables="$tables" -v dbms="$1" 'BEGIN {
    print "BEGIN;"
    for (t = 10; t <= tables; t += 10) {
      name = sprintf("t%05d", t)
      if (dbms == "sqlite") {
        print "ALTER TABLE " name " ADD COLUMN c99_added INTEGER;"
      } else {
        print "ALTER TABLE " name " ALTER COLUMN c03_varchar TYPE varchar(80)," \
              " ALTER COLUMN c07_timestamp DROP NOT NULL, ADD COLUMN c99_added integer;"
      }
    }
    print "COMMIT;"
  }'
}

# The plain catalogue pass: every column of every table, then its keys and indexes.
sqlite_catalogue() {
  cat <<'SQL'
SELECT m.name, c.cid, c.name, c.type, c."notnull", c.dflt_value, c.pk
  FROM sqlite_schema AS m, pragma_table_info(m.name) AS c WHERE m.type IN ('table', 'view');
SELECT m.name, f.* FROM sqlite_schema AS m, pragma_foreign_key_list(m.name) AS f
  WHERE m.type = 'table';
SELECT m.name, i.name, i."unique", x.seqno, x.name
  FROM sqlite_schema AS m, pragma_index_list(m.name) AS i, pragma_index_info(i.name) AS x
  WHERE m.type = 'table';
SQL
}
postgresql_catalogue() {
  cat <<'SQL'
SELECT c.relname, a.attnum, a.attname, format_type(a.atttypid, a.atttypmod), a.attnotnull,
       pg_get_expr(d.adbin, d.adrelid)
  FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
  JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped
  LEFT JOIN pg_attrdef d ON d.adrelid = c.oid AND d.adnum = a.attnum
  WHERE n.nspname = 'public' AND c.relkind IN ('r', 'v') ORDER BY c.relname, a.attnum;
SELECT conrelid::regclass, conname, contype, pg_get_constraintdef(oid)
  FROM pg_constraint WHERE connamespace = 'public'::regnamespace;
SELECT t.relname, i.relname, x.indisunique, x.indisprimary, pg_get_indexdef(x.indexrelid)
  FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid JOIN pg_class t ON t.oid = x.indrelid
  JOIN pg_namespace n ON n.oid = t.relnamespace WHERE n.nspname = 'public';
SQL
}

# ------------------------------------------------------------------------------ PostgreSQL
free_port() {
  local port
  for _ in $(seq 1 200); do
    port=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return
    fi
  done
  die "no free port on 127.0.0.1"
}

# psql as "test" over TCP to a database of the private server, stopping at the first error.
pg_psql() {
  local database="$1"
  shift
  PGPASSWORD="test" psql -X -q -v ON_ERROR_STOP=1 \
    -d "host=127.0.0.1 port=$pg_port user=test dbname=$database" "$@"
}

# As the tests' servers: superuser "test"/"test", loopback only, no durability.
start_postgresql() {
  pg_bin="$(printf '%s\n' /usr/lib/postgresql/*/bin | sort -V | tail -n 1)"
  [ -x "$pg_bin/initdb" ] || die "PostgreSQL's server programs are not installed"
  if [ "$(id -u)" -eq 0 ]; then pg_user=postgres; fi
  local folder="$work/postgresql"
  mkdir -p "$folder"
  chmod 755 "$folder"
  [ -z "$pg_user" ] || chown "$pg_user" "$folder"
  echo test >"$folder/password"
  chmod 644 "$folder/password"
  as_user "$pg_user" "$pg_bin/initdb" -D "$folder/data" -U test --pwfile="$folder/password" \
    -E UTF8 --locale=C --auth-local=trust --auth-host=scram-sha-256 --no-sync \
    >"$folder/initdb.log" 2>&1 || {
    cat "$folder/initdb.log" >&2
    die "initdb failed"
  }
  pg_data="$folder/data"
  pg_port="$(free_port)"
  as_user "$pg_user" "$pg_bin/pg_ctl" -D "$pg_data" -l "$folder/server.log" -w -t 120 \
    -o "-p $pg_port -k '$folder' -c listen_addresses=127.0.0.1 -c fsync=off \
        -c synchronous_commit=off -c full_page_writes=off" start >/dev/null || {
    tail -n 20 "$folder/server.log" >&2
    die "PostgreSQL did not start"
  }
  pg_psql postgres -c "CREATE DATABASE wide" >/dev/null || die "cannot make the database"
}

# ------------------------------------------------------------------------------ measuring
# measure NAME COMMAND...: runs the command under /usr/bin/time -v (output to NAME.out, its
# errors to NAME.err) and sets `wall` (seconds), `cpu` (user + system seconds) and `peak` (MB).
measure() {
  local name="$1"
  shift
  if ! /usr/bin/time -v -o "$work/$name.time" "$@" >"$work/$name.out" 2>"$work/$name.err"; then
    tail -n 20 "$work/$name.err" >&2
    die "$name failed: $*"
  fi
  read -r wall cpu peak < <(awk -F': ' '
    /Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i] }
    /User time/ { u = $2 } /System time/ { k = $2 }
    /Maximum resident set size/ { m = $2 }
    END { printf "%.2f %.2f %.1f\n", s, u + k, m / 1024 }' "$work/$name.time")
}

# ratio A B [DECIMALS]: A / B, one decimal unless told.
ratio() {
  awk -v a="$1" -v b="$2" -v d="${3:-1}" \
    'BEGIN { if (b > 0) printf("%." d "f", a / b); else print "-" }'
}

rows=()
row_format='%-10s %-6s %8s %8s %8s  %-16s %7s %7s %7s %7s %7s %7s'
# row DATABASE STEP WALL CPU PEAK REFERENCE REF_WALL REF_CPU REF_PEAK (then the ratios)
row() {
  # shellcheck disable=SC2059 # one format for the heading and the rows
  rows+=("$(printf "$row_format" "$@" "$(ratio "$3" "$7")" "$(ratio "$4" "$8")" \
    "$(ratio "$5" "$size_mb")")")
}
phase_rows=()

run_database() {  # run_database sqlite|postgresql
  local dbms="$1" connect phase_connect catalogue project="$work/$1.vtp"
  say "$dbms: making $tables tables x $columns columns"
  make_schema "$dbms" >"$work/$dbms.sql"
  if [ "$dbms" = sqlite ]; then
    sqlite3 -bail "$work/wide.sqlite" <"$work/$dbms.sql" || die "sqlite3 could not make the database"
    connect="Driver=SQLite3;Database=$work/wide.sqlite"
    phase_connect="$connect"
    sqlite_catalogue >"$work/catalogue.sql"
    catalogue=(sqlite3 -readonly "$work/wide.sqlite" ".read $work/catalogue.sql")
  else
    start_postgresql
    pg_psql wide -f "$work/$dbms.sql" >/dev/null || die "psql could not make the database"
    connect="Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=$pg_port;Database=wide"
    phase_connect="$connect;UID=test;PWD=test"
    postgresql_catalogue >"$work/catalogue.sql"
    # A program, not the function, for /usr/bin/time to run.
    catalogue=(env PGPASSWORD="test" psql -X -q -v ON_ERROR_STOP=1
      -d "host=127.0.0.1 port=$pg_port user=test dbname=wide" -f "$work/catalogue.sql")
  fi

  say "$dbms: catalogue read plainly"
  measure "$dbms-catalogue" "${catalogue[@]}"
  local cat_wall=$wall cat_cpu=$cpu cat_peak=$peak

  say "$dbms: vantorel new"
  measure "$dbms-new" env VANTOREL_PASSWORD=test "$vantorel" new "$project" --connect "$connect" \
    --user test --destination "$work/$dbms-site"
  local new_wall=$wall new_cpu=$cpu new_peak=$peak
  [ -s "$project" ] || die "$dbms: vantorel new wrote no project file"
  local held_tables held_fields
  held_tables="$(grep -o '<Table ' "$project" | wc -l)"
  held_fields="$(grep -o '<Field ' "$project" | wc -l)"
  if [ "$held_tables" -ne "$tables" ] || [ "$held_fields" -ne $((tables * columns)) ]; then
    die "$dbms: the project holds $held_tables tables and $held_fields fields," \
      "not $tables and $((tables * columns))"
  fi
  size_mb="$(awk -v b="$(stat -c %s "$project")" 'BEGIN { printf "%.1f", b / 1048576 }')"

  say "$dbms: project file parsed plainly"
  measure "$dbms-xmllint" xmllint --noout "$project"
  local xml_wall=$wall xml_cpu=$cpu xml_peak=$peak

  say "$dbms: vantorel check"
  measure "$dbms-check" "$vantorel" check "$project" --destination "$work/$dbms-site"
  local check_wall=$wall check_cpu=$cpu check_peak=$peak
  grep -q '^[0-9]* outputs$' "$work/$dbms-check.out" || die "$dbms: vantorel check listed nothing"
  local pages
  pages="$(grep -c '^[+-] ' "$work/$dbms-check.out" || true)"
  [ "$pages" -gt "$tables" ] || die "$dbms: vantorel check listed $pages outputs for $tables tables"

  row "$dbms" new "$new_wall" "$new_cpu" "$new_peak" "catalogue query" "$cat_wall" "$cat_cpu" \
    "$cat_peak"
  row "$dbms" check "$check_wall" "$check_cpu" "$check_peak" "xmllint --noout" "$xml_wall" \
    "$xml_cpu" "$xml_peak"
  rows+=("$(printf '%-10s project file %s MB, %s outputs listed' "$dbms" "$size_mb" "$pages")")

  if [ -n "$sync_step" ]; then
    say "$dbms: every tenth table changed"
    change_schema "$dbms" >"$work/$dbms-changes.sql"
    if [ "$dbms" = sqlite ]; then
      sqlite3 -bail "$work/wide.sqlite" <"$work/$dbms-changes.sql" || die "sqlite3 could not change"
    else
      pg_psql wide -f "$work/$dbms-changes.sql" >/dev/null || die "psql could not change"
    fi
    say "$dbms: vantorel check of the changed database"
    measure "$dbms-changed-check" "$vantorel" check "$project" --destination "$work/$dbms-site"
    local ccheck_wall=$wall ccheck_peak=$peak
    say "$dbms: vantorel sync --dry-run (the same work but the save)"
    measure "$dbms-sync-preview" "$vantorel" sync "$project" --dry-run
    local preview_wall=$wall preview_peak=$peak
    say "$dbms: vantorel sync --yes"
    measure "$dbms-sync" "$vantorel" sync "$project" --yes
    local sync_wall=$wall sync_peak=$peak
    grep -q '^Synchronized ' "$work/$dbms-sync.out" || die "$dbms: the sync synchronised nothing"
    measure "$dbms-sync-after" "$vantorel" sync "$project" --dry-run
    grep -q 'the project matches its database' "$work/$dbms-sync-after.out" ||
      die "$dbms: the project differs from its database after the sync"
    rows+=("$(printf '%-10s sync %s s, peak %s MB; check of the changed database %s s, peak %s MB: wall x%s, peak x%s' \
      "$dbms" "$sync_wall" "$sync_peak" "$ccheck_wall" "$ccheck_peak" \
      "$(ratio "$sync_wall" "$ccheck_wall" 2)" "$(ratio "$sync_peak" "$ccheck_peak" 2)")")
    rows+=("$(printf '%-10s sync --dry-run %s s, peak %s MB: wall x%s, peak x%s of the check' \
      "$dbms" "$preview_wall" "$preview_peak" "$(ratio "$preview_wall" "$ccheck_wall" 2)" \
      "$(ratio "$preview_peak" "$ccheck_peak" 2)")")
  fi

  say "$dbms: the steps one by one"
  measure "$dbms-phases" "$vantorel" run "$here/large_schema_phases.vbs" \
    "$phase_connect" "$work/$dbms-phases.vtp" "$work/$dbms-site"
  local line
  line="$(awk '$1 == "phase" && $2 != "start" && $2 != "release" {
      printf " %s %s s (%s/%s MB)", $2, $3, $4, $5 }' "$work/$dbms-phases.out")"
  [ -n "$line" ] || die "$dbms: the steps printed nothing"
  phase_rows+=("$(printf '%-10s%s' "$dbms" "$line")")
}

for d in "${dbms_list[@]}"; do run_database "$d"; done

echo "vantorel: $vantorel"
echo "schema: $tables tables x $columns columns; $(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "wall_x, cpu_x: the step's wall and processor time (user + system) against the reference's;"
echo "peak_x: the step's peak resident set against the project file's size"
# shellcheck disable=SC2059
printf "$row_format\n" database step wall_s cpu_s peak_MB reference ref_s ref_cpu ref_MB \
  wall_x cpu_x peak_x
printf '%s\n' "${rows[@]}"
echo "steps (wall time, then resident set after the step / peak so far):"
printf '%s\n' "${phase_rows[@]}"
