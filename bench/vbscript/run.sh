#!/usr/bin/env bash
# Times each benchmark program in VBScript (`vantorel run`), Python 3 and Lua 5.4, prints the
# ratios VBScript/Python and VBScript/Lua, and checks that peak memory of the short-lived
# objects program stays flat between 100,000 and 1,000,000 instances.
#
# Usage: bench/vbscript/run.sh [program ...]
#   VANTOREL=path/to/vantorel chooses the build (a Release build gives the meaningful figures);
#   NO_HYPERFINE=1 times with the shell's clock even when hyperfine is installed.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"

vantorel="${VANTOREL:-}"
if [ -z "$vantorel" ]; then
  for candidate in "$root/build-release/vantorel" "$root/build/vantorel" "$(command -v vantorel 2>/dev/null)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then vantorel="$candidate"; break; fi
  done
fi
if [ -z "$vantorel" ] || [ ! -x "$vantorel" ]; then
  echo "error: no vantorel program found; build it (Release) or set VANTOREL" >&2
  exit 2
fi

python="$(command -v python3 || true)"
lua="$(command -v lua5.4 || true)"
[ -z "$python" ] && echo "note: python3 is missing: no VBScript/Python ratios (install python3)"
[ -z "$lua" ] && echo "note: lua5.4 is missing: no VBScript/Lua ratios (apt-get install lua5.4)"
hyperfine="$(command -v hyperfine || true)"
[ -n "${NO_HYPERFINE:-}" ] && hyperfine=""

programs=("$@")
[ ${#programs[@]} -eq 0 ] && programs=(arith fib strbuild dict methods regex objects)

# Seconds (3 decimals) of the best of three runs; the output must match the expected line.
best_of_3() {
  local best="" start end ns
  for _ in 1 2 3; do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "fail"; return; }
    end=$(date +%s%N)
    ns=$((end - start))
    if [ -z "$best" ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

# Mean seconds through hyperfine, else the best of three.
measure() {
  if [ -n "$hyperfine" ]; then
    local json
    json="$(mktemp)"
    if hyperfine --runs 3 --warmup 1 --style none --export-json "$json" -- "$(printf '%q ' "$@")" >/dev/null 2>&1; then
      "$python" -c 'import json,sys; print("%.3f" % min(json.load(open(sys.argv[1]))["results"][0]["times"]))' "$json" 2>/dev/null ||
        best_of_3 "$@"
    else
      echo "fail"
    fi
    rm -f "$json"
  else
    best_of_3 "$@"
  fi
}

ratio() {
  if [ "$1" = "-" ] || [ "$2" = "-" ] || [ "$1" = "fail" ] || [ "$2" = "fail" ]; then echo "-"; return; fi
  awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'
}

echo "vantorel: $vantorel"
[ -n "$hyperfine" ] && echo "timing: hyperfine, fastest of 3 runs" || echo "timing: best of 3 runs"
printf '%-10s %10s %10s %10s %10s %10s  %s\n' program vbs_s py_s lua_s vbs/py vbs/lua check
for p in "${programs[@]}"; do
  vbs_out="$("$vantorel" run "$here/$p.vbs" 2>&1 | tr -d '\r')"
  py_out="-"; lua_out="-"
  [ -n "$python" ] && py_out="$("$python" "$here/$p.py" 2>&1)"
  [ -n "$lua" ] && lua_out="$("$lua" "$here/$p.lua" 2>&1)"
  check="same output"
  [ -n "$python" ] && [ "$vbs_out" != "$py_out" ] && check="OUTPUT DIFFERS: vbs='$vbs_out' py='$py_out'"
  [ -n "$lua" ] && [ "$vbs_out" != "$lua_out" ] && check="OUTPUT DIFFERS: vbs='$vbs_out' lua='$lua_out'"

  t_vbs="$(measure "$vantorel" run "$here/$p.vbs")"
  t_py="-"; t_lua="-"
  [ -n "$python" ] && t_py="$(measure "$python" "$here/$p.py")"
  [ -n "$lua" ] && t_lua="$(measure "$lua" "$here/$p.lua")"
  printf '%-10s %10s %10s %10s %10s %10s  %s\n' "$p" "$t_vbs" "$t_py" "$t_lua" \
    "$(ratio "$t_vbs" "$t_py")" "$(ratio "$t_vbs" "$t_lua")" "$check"
done

echo
echo "memory: peak resident set of objects.vbs"
if [ -x /usr/bin/time ]; then
  rss() { /usr/bin/time -v "$vantorel" run "$here/objects.vbs" "$1" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }'; }
  small="$(rss 100000)"
  large="$(rss 1000000)"
  echo "  100,000 instances:   ${small} KB"
  echo "  1,000,000 instances: ${large} KB"
  if [ -n "$small" ] && [ -n "$large" ] && [ "$large" -le $((small * 3 / 2)) ]; then
    echo "  flat: yes (within 1.5x)"
  else
    echo "  flat: NO (peak memory grows with the number of instances)"
  fi
else
  echo "  /usr/bin/time is missing (apt-get install time): no memory check"
fi
