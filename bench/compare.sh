#!/usr/bin/env bash
# Times ostra::reader against the bare fgets loops on the same generated
# drawings, read through a stream, from a mapped file and from memory, in
# the text and the binary form, in the default and the exact reading;
# measures its peak memory and the growth of its time with the drawing's
# size, and times ostra::writer against a plain fprintf loop that writes the
# same bytes.
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
cmake --build "$build" --target gendxf tobinary bareloop bareloop_atof readdxf writesegs linecheck >/dev/null
bin="$build/bench"

if [ ! -x /usr/bin/time ]; then
  if [ "$(id -u)" = 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time >/dev/null 2>&1 ||
      { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time >/dev/null; }
  fi
fi

if [ -z "$dir" ]; then dir=$(mktemp -d /tmp/ostra-bench.XXXXXX); fi
mkdir -p "$dir"
cleanup() { if [ "$keep" = 0 ]; then rm -f "$dir"/*.dxf "$dir"/*.dxb "$dir"/readdxf-*; rmdir "$dir" 2>/dev/null || true; fi; }
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
# The binary form of the two main drawings (two-byte codes).
for f in r12 r2000; do "$bin/tobinary" --two-byte-codes "$dir/$f.dxf" "$dir/$f.dxb" | sed 's/^/  /'; done
# The new files' pages written out now, not while the timings run.
sync
echo

# readdxf with options, as programs of their own for timeall.
for mode in mmap memory exact exact-mmap; do
  case $mode in
    exact-mmap) opts="--exact --mmap" ;;
    *) opts="--$mode" ;;
  esac
  printf '#!/bin/sh\nexec "%s" %s "$@"\n' "$bin/readdxf" "$opts" >"$dir/readdxf-$mode"
  chmod +x "$dir/readdxf-$mode"
done

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
# timepairs PROG@FILE...: each program on its file, runs times, interleaved.
timepairs() {
  local pair p file i out
  for pair in "$@"; do
    p=${pair%@*}; file=${pair#*@}
    cat "$file" >/dev/null
    rm -f "$dir/t.$(basename "$p").$(basename "$file").seconds" "$dir/t.$(basename "$p").$(basename "$file").cpu"
  done
  for ((i = 0; i < runs; i++)); do
    for pair in "$@"; do
      p=${pair%@*}; file=${pair#*@}
      out=$("$p" "$file")
      echo "$out" | awk '$1 == "seconds" {print $2}' >>"$dir/t.$(basename "$p").$(basename "$file").seconds"
      echo "$out" | awk '$1 == "cpu" {print $2}' >>"$dir/t.$(basename "$p").$(basename "$file").cpu"
    done
  done
}
med() { median "$dir/t.$1.$2.$3"; }   # med PROG FILE seconds|cpu
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.3f", a / b}'; }
verdict() { awk -v r="$1" -v lo="$2" -v hi="$3" 'BEGIN{print (r >= lo && r <= hi) ? "ok" : "MISSED"}'; }

echo "== the same geometry from every input form (readdxf --dump, numbers exact)"
for f in r12 r2000; do
  for opts in "" "--exact"; do
    want=$("$bin/readdxf" $opts --dump "$dir/$f.dxf" | grep -v '^seconds\|^cpu' | md5sum)
    for alt in "--mmap $dir/$f.dxf" "--memory $dir/$f.dxf" "$dir/$f.dxb" "--mmap $dir/$f.dxb"; do
      got=$("$bin/readdxf" $opts --dump $alt | grep -v '^seconds\|^cpu' | md5sum)
      printf "  %-6s %-8s %-28s %s\n" "$f" "${opts:---default}" "$(echo "$alt" | sed "s#$dir/##")" \
        "$([ "$got" = "$want" ] && echo same || echo DIFFERENT)"
    done
  done
done
echo

echo "== reading: median of $runs runs (wall-clock s / CPU s); ratios on the $clock clock"
echo "  stream: through a C stream; mmap: the file mapped (mapping, page faults and release timed);"
echo "  memory: from a copy already in memory; .dxb: the binary form of the same drawing"
row() { printf "%-14s %-26s %-19s %s\n" "$@"; }
row drawing program "time" "/ bareloop"
for f in r12 r2000; do
  timepairs "$bin/bareloop@$dir/$f.dxf" "$bin/bareloop_atof@$dir/$f.dxf" "$bin/readdxf@$dir/$f.dxf" \
    "$dir/readdxf-mmap@$dir/$f.dxf" "$dir/readdxf-memory@$dir/$f.dxf" "$dir/readdxf-exact@$dir/$f.dxf" \
    "$dir/readdxf-exact-mmap@$dir/$f.dxf" "$bin/readdxf@$dir/$f.dxb" "$dir/readdxf-mmap@$dir/$f.dxb" \
    "$dir/readdxf-memory@$dir/$f.dxb"
  b=$(med bareloop $f.dxf $key)
  for pf in "bareloop $f.dxf" "bareloop_atof $f.dxf" "readdxf $f.dxf" "readdxf-mmap $f.dxf" "readdxf-memory $f.dxf" \
            "readdxf-exact $f.dxf" "readdxf-exact-mmap $f.dxf" "readdxf $f.dxb" "readdxf-mmap $f.dxb" \
            "readdxf-memory $f.dxb"; do
    set -- $pf
    row "$2" "$1" "$(med "$1" "$2" seconds) / $(med "$1" "$2" cpu)" "$(ratio "$(med "$1" "$2" $key)" "$b")"
  done
  eval "stream_$f=$(ratio "$(med readdxf $f.dxf $key)" "$b")"
  eval "mmap_$f=$(ratio "$(med readdxf-mmap $f.dxf $key)" "$b")"
  eval "memory_$f=$(ratio "$(med readdxf-memory $f.dxf $key)" "$b")"
  eval "exact_$f=$(ratio "$(med readdxf-exact $f.dxf $key)" "$(med readdxf $f.dxf $key)")"
  eval "exactmmap_$f=$(ratio "$(med readdxf-exact-mmap $f.dxf $key)" "$(med readdxf-mmap $f.dxf $key)")"
  eval "binary_$f=$(ratio "$(med readdxf $f.dxb $key)" "$(med readdxf $f.dxf $key)")"
  eval "binarymmap_$f=$(ratio "$(med readdxf-mmap $f.dxb $key)" "$(med readdxf-mmap $f.dxf $key)")"
done
for f in r12 r2000; do
  eval "s=\$stream_$f m=\$mmap_$f y=\$memory_$f e=\$exact_$f em=\$exactmmap_$f bi=\$binary_$f bm=\$binarymmap_$f"
  echo "  $f stream/bareloop $s: target 0.67 $(verdict "$s" 0 0.67)"
  echo "  $f mmap/bareloop $m: target 0.33 $(verdict "$m" 0 0.33), stretch 0.25 $(verdict "$m" 0 0.25)" \
    "(memory/bareloop $y: $(verdict "$y" 0 0.33))"
  echo "  $f exact/default $e (stream), $em (mmap): target 1.25 $(verdict "$e" 0 1.25) $(verdict "$em" 0 1.25)"
  echo "  $f binary/text $bi (stream), $bm (mmap): target 1.0 $(verdict "$bi" 0 1) $(verdict "$bm" 0 1)"
done
echo

echo "== peak memory (maximum resident set size)"
if [ -x /usr/bin/time ]; then
  maxrss() { { /usr/bin/time -v "$@" >/dev/null; } 2>&1 | awk -F: '/Maximum resident set size/{gsub(/ /, "", $2); print $2}'; }
  for f in r2000.dxf r2000.dxb r12.dxf blocks.dxf; do
    kb=$(maxrss "$bin/readdxf" "$dir/$f")
    kbm=$(maxrss "$bin/readdxf" --mmap "$dir/$f")
    kbb=$(maxrss "$bin/bareloop" "$dir/$f")
    mib=$(awk -v k="$kb" 'BEGIN{printf "%.1f", k / 1024}')
    mibm=$(awk -v k="$kbm" 'BEGIN{printf "%.1f", k / 1024}')
    case $f in
      r2000*) note="no blocks: target under 16 MiB $(verdict "$mib" 0 15.999) $(verdict "$mibm" 0 15.999)" ;;
      r12*) note="200 blocks" ;;
      blocks*) note="$blocks blocks with their entities kept for the inserts" ;;
    esac
    printf "  %-10s stream %8s KiB (%s MiB), mmap %8s KiB (%s MiB), bareloop %6s KiB; %s\n" "$f" "$kb" "$mib" \
      "$kbm" "$mibm" "$kbb" "$note"
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
