#!/usr/bin/env bash
# Builds the document fuzz target with clang's libFuzzer and runs it.
#   tests/documents/run_fuzz.sh OUTPUT_DIR [SECONDS]
# OUTPUT_DIR receives the binary, the corpus, the seeds and any crash file; SECONDS defaults
# to 20.
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

# Seeds, written afresh each run beside the corpus the fuzzer grows: small documents in both
# layouts (by the reference generator when it is there), and headers of wide dimensions and
# record variables whose counts multiply or add up to more than 64 bits.
rm -rf "$out/seeds"
mkdir -p "$out/seeds"
printf 'CDF\001\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' \
    > "$out/seeds/empty"
python3 - "$out/seeds" <<'PY'
import struct, sys
out = sys.argv[1]
def word(v): return struct.pack('>I', v & 0xFFFFFFFF)
def name(n):
    b = n.encode()
    return word(len(b)) + b + b'\0' * (-len(b) % 4)
def header(numrecs, dims, variables, begin, kind=1):
    h = b'CDF\x01' + word(numrecs) + word(10) + word(len(dims))
    for i, d in enumerate(dims): h += name('d%d' % i) + word(d)
    h += word(0) + word(0) + word(11) + word(len(variables))
    for i, ids in enumerate(variables):
        h += name('v%d' % i) + word(len(ids)) + b''.join(word(x) for x in ids) + word(0) + word(0)
        h += word(kind) + word(4) + word(begin)
    return h
top = 0xFFFFFFFF
seeds = {
    'wrap_records': header(1 << 24, [0, 1 << 20, 1 << 20], [[0, 1, 2]], 112),
    'wrap_fixed': header(0, [top, top, top], [[0, 1, 2]], 128),
    'wrap_record_sum': header(0, [0, top, top], [[0, 1, 2], [0, 1, 2]], 160),
    'streaming_wide': header(top, [0, top, 8], [[0, 1, 2]], 112),
    'records_three': header(3, [0, 2, 3], [[0, 1], [0, 2], [0]], 184, 3),
    'wide_no_records': header(0, [0, 1 << 16, 1 << 16, 1 << 15], [[0, 1, 2, 3], [0, 3]], 168, 6),
}
for key, data in seeds.items():
    open('%s/%s' % (out, key), 'wb').write(data + b'\0' * max(0, 256 - len(data)))
PY
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
    ncgen -k classic -o "$out/seeds/seed" "$out/seed.cdl" || true
    ncgen -k classic -o "$out/seeds/records" - <<'CDL' || true
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
    # Wide dimensions over a record dimension that holds no record: a header alone.
    ncgen -k classic -o "$out/seeds/wide" - <<'CDL' || true
netcdf wide {
dimensions:
  t = UNLIMITED ; a = 250000000 ; b = 65536 ; c = 3 ;
variables:
  double r(t, a) ;
  int s(t, b, c) ;
  char w(c) ;
data:
  w = "abc" ;
}
CDL
fi

cd "$out"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ./fuzz_document -max_len=4096 -rss_limit_mb=1024 -timeout=5 -max_total_time="$seconds" -print_final_stats=1 corpus seeds
