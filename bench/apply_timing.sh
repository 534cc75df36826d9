#!/usr/bin/env bash
# Times `vexmoctl apply` of a full profile against vexmo-mouse-sim: the spacing of the reports
# in the simulator's log against the 60 ms pause each report is owed, and the whole run.
#   bench/apply_timing.sh BUILD_DIR [RUNS]
set -euo pipefail
build="$1"
runs="${2:-10}"
here="$(cd "$(dirname "$0")" && pwd)"
tmp=$(mktemp -d)
sock="$tmp/sim.sock"
"$build/vexmo-mouse-sim" serve --socket "$sock" --cable >/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -rf "$tmp"' EXIT
for _ in $(seq 50); do [ -S "$sock" ] && break; sleep 0.1; done
ctl() { "$build/vexmo-mouse-sim" ctl --socket "$sock" "$@"; }

for _ in $(seq "$runs"); do
  ctl clear-log
  start=$(date +%s%N)
  VEXMO_MOUSE_SIM="$sock" "$build/vexmoctl" apply "$here/../tests/data/custom.psf"
  end=$(date +%s%N)
  # Commands only: the identity query before them is not paced.
  ctl log | awk -v wall=$(( (end - start) / 1000000 )) '
    tolower(substr($2, 1, 6)) != "0c0120" { t[n++] = $1 }
    END { span = t[n-1] - t[0]; printf "%d %d %.2f %d\n", n, span, span / (n - 1) - 60, wall }'
done > "$tmp/runs"
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
reports=$(head -1 "$tmp/runs" | cut -d' ' -f1)
printf "  reports per apply: %d (owed %d ms of pauses)\n" "$reports" $(( reports * 60 ))
printf "  overhead per report beyond 60 ms (median of %d runs): %s ms\n" "$runs" "$(cut -d' ' -f3 "$tmp/runs" | median)"
printf "  whole vexmoctl apply run (median): %s ms\n" "$(cut -d' ' -f4 "$tmp/runs" | median)"
