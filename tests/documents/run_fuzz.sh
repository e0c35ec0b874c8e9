#!/usr/bin/env bash
# Builds the document fuzz target with clang's libFuzzer and runs it.
#   tests/documents/run_fuzz.sh OUTPUT_DIR [SECONDS]
# OUTPUT_DIR receives the binary, the corpus and any crash file; SECONDS defaults to 20.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:?usage: run_fuzz.sh OUTPUT_DIR [SECONDS]}"
seconds="${2:-20}"
mkdir -p "$out/corpus"
out="$(cd "$out" && pwd)"
flags=(-std=c++20 -O1 -g -fno-sanitize-recover=undefined -I"$root")
source "$root/tests/fuzz_cores.sh"
BuildCoreArchive "$out" "$root" documents data formula statistics fitting
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
