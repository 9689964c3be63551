#!/usr/bin/env bash
# Times ostra::reader against the bare fgets loops on the same generated
# drawings, measures its peak memory and the growth of its time with the
# drawing's size, and times ostra::writer against a plain fprintf loop that
# writes the same bytes.
#
# usage: bench/compare.sh [--small] [--runs N] [--clock wall|cpu]
#                         [--build DIR] [--dir DIR] [--keep]
#   --small       drawings a tenth of the size, for a quick run
#   --runs N      timings per program and file; the median is reported (5)
#   --clock       which median the ratios use: wall-clock (default) or CPU
#                 time of the process (steadier on a busy machine)
#   --build DIR   build directory with -DOSTRA_BUILD_BENCH=ON (build-bench);
#                 configured and built when it has no bench programs yet
#   --dir DIR     where the drawings go (a new directory under /tmp)
#   --keep        keep the drawings
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
small=0
runs=5
clock=wall
build="$root/build-bench"
dir=""
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --small) small=1 ;;
    --runs) runs=$2; shift ;;
    --clock) clock=$2; shift ;;
    --build) build=$2; shift ;;
    --dir) dir=$2; shift ;;
    --keep) keep=1 ;;
    *) echo "usage: $0 [--small] [--runs N] [--clock wall|cpu] [--build DIR] [--dir DIR] [--keep]" >&2; exit 2 ;;
  esac
  shift
done
case "$clock" in wall) key=seconds ;; cpu) key=cpu ;; *) echo "--clock wall or cpu" >&2; exit 2 ;; esac

if [ ! -x "$build/bench/readdxf" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTRA_BUILD_BENCH=ON -DOSTRA_WERROR=ON >/dev/null
fi
cmake --build "$build" --target gendxf bareloop bareloop_atof readdxf writesegs linecheck >/dev/null
bin="$build/bench"

if [ ! -x /usr/bin/time ]; then
  if [ "$(id -u)" = 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time >/dev/null 2>&1 ||
      { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time >/dev/null; }
  fi
fi

if [ -z "$dir" ]; then dir=$(mktemp -d /tmp/ostra-bench.XXXXXX); fi
mkdir -p "$dir"
cleanup() { if [ "$keep" = 0 ]; then rm -f "$dir"/*.dxf; rmdir "$dir" 2>/dev/null || true; fi; }
trap cleanup EXIT

if [ "$small" = 1 ]; then
  mb12=8.6; mb2000=12.9; blocks=10000; segs=100000
else
  mb12=86; mb2000=129; blocks=100000; segs=1000000
fi
tenth() { awk -v v="$1" 'BEGIN{printf "%g", v / 10}'; }

echo "== machine"
lscpu 2>/dev/null | awk -F: '/^Model name|^CPU\(s\)|^Thread|^L2|^L3/{gsub(/^ +/, "", $2); printf "%s: %s\n", $1, $2}'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

echo "== line layer check"
"$bin/linecheck" 300
echo

echo "== drawings in $dir"
gen() { "$bin/gendxf" "$@" 2>&1 | sed 's/^/  /'; }
gen --preset r12 --mb "$mb12" --blocks 200 "$dir/r12.dxf"
gen --preset r2000 --mb "$mb2000" "$dir/r2000.dxf"
gen --preset r12 --mb "$(tenth "$mb12")" --blocks 20 "$dir/r12-tenth.dxf"
gen --preset r12 --mb 1 --blocks "$blocks" --inserts "$blocks" "$dir/blocks.dxf"
gen --preset r12 --mb 0.1 --blocks $((blocks / 10)) --inserts $((blocks / 10)) "$dir/blocks-tenth.dxf"
# The new files' pages written out now, not while the timings run.
sync
echo

# median FILE: the median of the numbers in FILE, one a line.
median() { sort -g "$1" | awk '{a[NR] = $1} END {if (NR) print a[int((NR + 1) / 2)]; else print "nan"}'; }
# timeall "FILE..." PROG...: every program on every file, runs times,
# interleaved; the wall-clock and CPU seconds go to
# $dir/t.<program>.<file>.{seconds,cpu}.
timeall() {
  local files=$1; shift
  local file p i out
  for file in $files; do
    cat "$file" >/dev/null  # into the page cache before the first timing
    for p in "$@"; do rm -f "$dir/t.$(basename "$p").$(basename "$file").seconds" "$dir/t.$(basename "$p").$(basename "$file").cpu"; done
  done
  for ((i = 0; i < runs; i++)); do
    for file in $files; do
      for p in "$@"; do
        out=$("$p" "$file")
        echo "$out" | awk '$1 == "seconds" {print $2}' >>"$dir/t.$(basename "$p").$(basename "$file").seconds"
        echo "$out" | awk '$1 == "cpu" {print $2}' >>"$dir/t.$(basename "$p").$(basename "$file").cpu"
      done
    done
  done
}
med() { median "$dir/t.$1.$2.$3"; }   # med PROG FILE seconds|cpu
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.3f", a / b}'; }
verdict() { awk -v r="$1" -v lo="$2" -v hi="$3" 'BEGIN{print (r >= lo && r <= hi) ? "ok" : "MISSED"}'; }

echo "== reading: median of $runs runs (wall-clock s / CPU s); ratios on the $clock clock"
printf "%-14s %-19s %-19s %-19s %-11s %s\n" drawing bareloop "bareloop+atof" ostra::reader "reader/bare" "reader/bare+atof"
for f in r12 r2000; do
  timeall "$dir/$f.dxf" "$bin/bareloop" "$bin/bareloop_atof" "$bin/readdxf"
  b=$(med bareloop $f.dxf $key); a=$(med bareloop_atof $f.dxf $key); r=$(med readdxf $f.dxf $key)
  rb=$(ratio "$r" "$b"); ra=$(ratio "$r" "$a")
  printf "%-14s %-19s %-19s %-19s %-11s %s\n" "$f" \
    "$(med bareloop $f.dxf seconds) / $(med bareloop $f.dxf cpu)" \
    "$(med bareloop_atof $f.dxf seconds) / $(med bareloop_atof $f.dxf cpu)" \
    "$(med readdxf $f.dxf seconds) / $(med readdxf $f.dxf cpu)" "$rb" "$ra"
  eval "ratio_$f=$rb"
done
for f in r12 r2000; do
  eval "rb=\$ratio_$f"
  echo "  $f reader/bareloop $rb: target 0.67 $(verdict "$rb" 0 0.67), stretch 0.4 $(verdict "$rb" 0 0.4)"
done
echo

echo "== peak memory (maximum resident set size)"
if [ -x /usr/bin/time ]; then
  for f in r2000 r12 blocks; do
    kb=$( { /usr/bin/time -v "$bin/readdxf" "$dir/$f.dxf" >/dev/null; } 2>&1 | awk -F: '/Maximum resident set size/{gsub(/ /, "", $2); print $2}')
    kbb=$( { /usr/bin/time -v "$bin/bareloop" "$dir/$f.dxf" >/dev/null; } 2>&1 | awk -F: '/Maximum resident set size/{gsub(/ /, "", $2); print $2}')
    mib=$(awk -v k="$kb" 'BEGIN{printf "%.1f", k / 1024}')
    case $f in
      r2000) note="no blocks: target under 16 MiB $(verdict "$mib" 0 15.999)" ;;
      r12) note="200 blocks" ;;
      blocks) note="$blocks blocks with their entities kept for the inserts" ;;
    esac
    printf "  %-8s reader %8s KiB (%s MiB), bareloop %6s KiB; %s\n" "$f" "$kb" "$mib" "$kbb" "$note"
  done
else
  echo "  /usr/bin/time missing (install the package time)"
fi
echo

echo "== linear growth: a drawing 10 times larger should take 10 times as long (within 15 %)"
timeall "$dir/r12.dxf $dir/r12-tenth.dxf" "$bin/readdxf"
timeall "$dir/blocks.dxf $dir/blocks-tenth.dxf" "$bin/readdxf"
for pair in "r12 r12-tenth" "blocks blocks-tenth"; do
  set -- $pair
  big=$(med readdxf $1.dxf $key); tiny=$(med readdxf $2.dxf $key)
  g=$(ratio "$big" "$tiny")
  printf "  %-22s %9s s vs %-22s %9s s: factor %s (8.5 to 11.5: %s)\n" "$1.dxf" "$big" "$2.dxf" "$tiny" "$g" "$(verdict "$g" 8.5 11.5)"
done
echo

echo "== writing $segs line segments (to /dev/null)"
"$bin/writesegs" ostra "$segs" "$dir/w-ostra.dxf" >/dev/null
"$bin/writesegs" fprintf "$segs" "$dir/w-fprintf.dxf" >/dev/null
if cmp -s "$dir/w-ostra.dxf" "$dir/w-fprintf.dxf"; then same="the same bytes ($(wc -c <"$dir/w-ostra.dxf") each)"; else same="DIFFERENT bytes"; fi
rm -f "$dir/w-ostra.dxf" "$dir/w-fprintf.dxf"
rm -f "$dir"/t.w-*.{seconds,cpu}
for ((i = 0; i < runs; i++)); do
  for m in ostra fprintf; do
    out=$("$bin/writesegs" $m "$segs")
    echo "$out" | awk '$1 == "seconds" {print $2}' >>"$dir/t.w-$m.seconds"
    echo "$out" | awk '$1 == "cpu" {print $2}' >>"$dir/t.w-$m.cpu"
  done
done
wo=$(median "$dir/t.w-ostra.$key"); wf=$(median "$dir/t.w-fprintf.$key")
wr=$(ratio "$wo" "$wf")
echo "  ostra::writer $(median "$dir/t.w-ostra.seconds") s / $(median "$dir/t.w-ostra.cpu") s CPU," \
  "fprintf loop $(median "$dir/t.w-fprintf.seconds") s / $(median "$dir/t.w-fprintf.cpu") s CPU; $same"
echo "  writer/fprintf $wr: target 0.5 $(verdict "$wr" 0 0.5)"
rm -f "$dir"/t.*
