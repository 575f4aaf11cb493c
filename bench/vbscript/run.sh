#!/usr/bin/env bash
# Times each benchmark program in VBScript (`vantorel run`), CPython 3 and Lua 5.4, prints the
# ratios VBScript/Python and VBScript/Lua beside each interpreter's start-up time, and checks
# that peak memory of the short-lived objects program stays flat between 100,000 and 1,000,000
# instances.
#
# Each program takes its size as its first argument; the defaults below make each run for about
# a second, so that start-up does not decide the figures.
#
# Usage: bench/vbscript/run.sh [program[=size] ...]
#   e.g. `run.sh fib=27 arith=1000000` for a quick look at two programs.
#   VANTOREL=path/to/vantorel chooses the build (a Release build gives the meaningful figures);
#   PYTHON and LUA choose the interpreters (default /usr/bin/python3 and /usr/bin/lua5.4, by full
#   path: a version manager's shim on the PATH adds its own start-up to every run);
#   NO_HYPERFINE=1 times with the shell's clock even when hyperfine is installed;
#   TIMING=cpu reports processor time (user + system, best of three) instead of wall time: on a
#   machine shared with other work, wall time also counts the time a program waits for a core.
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

python="${PYTHON:-/usr/bin/python3}"
lua="${LUA:-/usr/bin/lua5.4}"
[ -x "$python" ] || { echo "note: $python is missing: no VBScript/Python ratios (install python3 or set PYTHON)"; python=""; }
[ -x "$lua" ] || { echo "note: $lua is missing: no VBScript/Lua ratios (apt-get install lua5.4 or set LUA)"; lua=""; }
hyperfine="$(command -v hyperfine || true)"
[ -n "${NO_HYPERFINE:-}" ] && hyperfine=""

# The size of each program for about a second of work.
declare -A size=(
  [arith]=30000000    # loop iterations
  [fib]=31            # fib(31)
  [strbuild]=5000000  # appends
  [dict]=1000000      # keys inserted and looked up
  [methods]=10000000  # method calls
  [regex]=400000      # sentences of 50 characters (20 MB)
  [objects]=1000000   # instances
  [redim]=5000000     # elements of one array
)
order=(arith fib strbuild dict methods regex objects redim)

programs=()
for a in "$@"; do
  p="${a%%=*}"
  if [ -z "${size[$p]+set}" ]; then
    echo "error: unknown program '$p' (one of: ${order[*]})" >&2
    exit 2
  fi
  [ "$a" != "$p" ] && size[$p]="${a#*=}"
  programs+=("$p")
done
[ ${#programs[@]} -eq 0 ] && programs=("${order[@]}")

# Seconds (3 decimals) of the best of three runs; "fail" when a run fails.
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

# Processor seconds (user + system, 3 decimals) of the best of three runs, read from the
# children's resource usage.
best_cpu_of_3() {
  "$python" - "$@" <<'PY'
import resource, subprocess, sys
best = None
for _ in range(3):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    done = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode != 0:
        print("fail")
        sys.exit(0)
    used = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    best = used if best is None else min(best, used)
print("%.3f" % best)
PY
}

# The fastest of three runs through hyperfine, else through the shell's clock; processor time
# with TIMING=cpu.
measure() {
  if [ "${TIMING:-wall}" = cpu ]; then
    best_cpu_of_3 "$@"
  elif [ -n "$hyperfine" ] && [ -n "$python" ]; then
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

# Runs program p of language ext (vbs, py, lua) with interpreter and arguments; "-" when there
# is no such interpreter or no such program.
timed() {
  local interp="$1" file="$2"
  shift 2
  if [ -z "$interp" ] || [ ! -f "$file" ]; then echo "-"; return; fi
  measure "$interp" "$@" "$file" "${args[@]}"
}
output() {
  local interp="$1" file="$2"
  shift 2
  if [ -z "$interp" ] || [ ! -f "$file" ]; then echo "-"; return; fi
  "$interp" "$@" "$file" "${args[@]}" 2>&1 | tr -d '\r'
}

echo "vantorel: $vantorel"
echo "python:   ${python:--} $([ -n "$python" ] && "$python" --version 2>&1)"
echo "lua:      ${lua:--} $([ -n "$lua" ] && "$lua" -v 2>&1 | awk '{ print $1, $2 }')"
if [ "${TIMING:-wall}" = cpu ]; then
  if [ -z "$python" ]; then
    echo "error: TIMING=cpu reads processor time through ${PYTHON:-/usr/bin/python3}, which is missing" >&2
    exit 2
  fi
  echo "timing: processor time (user + system), best of 3 runs"
elif [ -n "$hyperfine" ]; then
  echo "timing: hyperfine, fastest of 3 runs"
else
  echo "timing: wall time, best of 3 runs"
fi
args=()
startup_vbs="$(timed "$vantorel" "$here/empty.vbs" run)"
startup_py="$(timed "$python" "$here/empty.py")"
startup_lua="$(timed "$lua" "$here/empty.lua")"
echo "start-up (an empty program): vbs ${startup_vbs} s, py ${startup_py} s, lua ${startup_lua} s"
echo
printf '%-10s %10s %10s %10s %10s %10s %10s  %s\n' program size vbs_s py_s lua_s vbs/py vbs/lua check
redim_s=""
for p in "${programs[@]}"; do
  args=("${size[$p]}")
  vbs_out="$(output "$vantorel" "$here/$p.vbs" run)"
  py_out="$(output "$python" "$here/$p.py")"
  lua_out="$(output "$lua" "$here/$p.lua")"
  check="same output"
  [ "$py_out" != "-" ] && [ "$vbs_out" != "$py_out" ] && check="OUTPUT DIFFERS: vbs='$vbs_out' py='$py_out'"
  [ "$lua_out" != "-" ] && [ "$vbs_out" != "$lua_out" ] && check="OUTPUT DIFFERS: vbs='$vbs_out' lua='$lua_out'"

  t_vbs="$(timed "$vantorel" "$here/$p.vbs" run)"
  t_py="$(timed "$python" "$here/$p.py")"
  t_lua="$(timed "$lua" "$here/$p.lua")"
  [ "$p" = redim ] && redim_s="$t_vbs"
  printf '%-10s %10s %10s %10s %10s %10s %10s  %s\n' "$p" "${size[$p]}" "$t_vbs" "$t_py" "$t_lua" \
    "$(ratio "$t_vbs" "$t_py")" "$(ratio "$t_vbs" "$t_lua")" "$check"
done

if [ -n "$redim_s" ] && [ "$redim_s" != "fail" ] && [ "$startup_vbs" != "fail" ]; then
  echo
  awk -v t="$redim_s" -v s="$startup_vbs" -v n="${size[redim]}" \
    'BEGIN { printf "redim: ReDim of %d elements and its release take %.0f ms beyond start-up\n", n, (t - s) * 1000 }'
fi

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
