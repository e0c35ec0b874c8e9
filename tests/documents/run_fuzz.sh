#!/usr/bin/env bash
# Builds the document fuzz target with clang's libFuzzer and runs it.
#   tests/documents/run_fuzz.sh OUTPUT_DIR [SECONDS]
# OUTPUT_DIR receives the binary, the corpus and any crash file; SECONDS defaults to 20.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:?usage: run_fuzz.sh OUTPUT_DIR [SECONDS]}"
seconds="${2:-20}"
mkdir -p "$out/corpus" "$out/obj"
out="$(cd "$out" && pwd)"
flags=(-std=c++20 -O1 -g -fno-sanitize-recover=undefined -I"$root")

# The Qt-free sources the document code stands on. A file that needs Qt or the platform
# layer, directly or through its headers, is left out.
cores=()
for f in "$root"/documents/*.cpp "$root"/data/*.cpp "$root"/formula/*.cpp "$root"/statistics/*.cpp "$root"/fitting/*.cpp; do
    [ -e "$f" ] || continue
    deps="$(clang++ "${flags[@]}" -MM "$f" 2>/dev/null)" || continue
    if ! grep -q -e 'platform/' -e 'Qt' <<< "$deps"; then
        cores+=("$f")
    fi
done

rm -f "$out"/obj/*.o "$out/libcores.a"
running=0
for f in "${cores[@]}"; do
    name="$(basename "$(dirname "$f")")_$(basename "${f%.cpp}").o"
    { clang++ "${flags[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$f" \
          -o "$out/obj/$name" || echo "run_fuzz.sh: left out $f" >&2; } &
    running=$((running + 1))
    if [ "$running" -ge 4 ]; then
        wait -n
        running=$((running - 1))
    fi
done
while [ "$running" -gt 0 ]; do
    wait -n
    running=$((running - 1))
done
ar rcs "$out/libcores.a" "$out"/obj/*.o
clang++ "${flags[@]}" -fsanitize=fuzzer,address,undefined \
    "$root/tests/documents/fuzz_document.cpp" "$out/libcores.a" -o "$out/fuzz_document"

# Seeds: small documents in both layouts, written by the reference generator when it is there.
if [ -z "$(ls -A "$out/corpus")" ]; then
    printf 'CDF\001\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' \
        > "$out/corpus/empty"
    if command -v ncgen >/dev/null; then
        cat > "$out/seed.cdl" <<'CDL'
netcdf seed {
dimensions:
  none = UNLIMITED ; n = 4 ;
variables:
  double s(none) ;
    s:Data = 0, 0, 1, 2, 2, 1 ;
  double x(none) ;
    x:aorv\ size\ auto\ shape = -1, 0, 4, 0 ;
    x:color = 255s, 0s, 0s ;
  double y(none) ;
    y:aorv\ size\ auto\ shape = 1, 0, 4, 1 ;
    y:color = 0s, 0s, 255s ;
  double All\ data(n) ;
// global attributes:
  :Title = "seed" ;
  :Active\ tab = 0, 0 ;
  :User\ defiened = "a*x+b$a=1(0.1)[-1,1]$b=2" ;
  :Custom\ approximation = "y;x;x^2" ;
  :Constructor = 2b, 1b, 4b, 0b ;
  :Conditions = 0, 1 ;
  :Conditions\ borders = 0., 1. ;
  :Number\ series\ and\ parameters = 1, 2 ;
data:
  All\ data = 1, 2, 3, 4 ;
}
CDL
        ncgen -k classic -o "$out/corpus/seed" "$out/seed.cdl" || true
        ncgen -k classic -o "$out/corpus/records" - <<'CDL' || true
netcdf records {
dimensions:
  t = UNLIMITED ; k = 3 ;
variables:
  byte r(t, k) ;
  short q(t) ;
data:
  r = 1, 2, 3, 4, 5, 6 ;
  q = 7, 8 ;
}
CDL
    fi
fi

cd "$out"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ./fuzz_document -max_len=4096 -rss_limit_mb=1024 -timeout=5 -max_total_time="$seconds" -print_final_stats=1 corpus
