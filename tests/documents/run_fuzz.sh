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

# Documents of one series (x, y) whose attributes ask for more than the pages allow: colour
# steps of 2^31 - 1 and 32767, a polynomial of 256 terms, hundreds of coefficient items that
# can not be read, long condition lists, extreme counts; and interleaved records.
def values(typ, vals):
    fmt = {1: '>b', 2: '>c', 3: '>h', 4: '>i', 5: '>f', 6: '>d'}[typ]
    b = b''.join(struct.pack(fmt, v) for v in vals)
    return b + b'\0' * (-len(b) % 4)
def attrs(items):
    if not items: return word(0) + word(0)
    h = word(12) + word(len(items))
    for n, typ, vals in items:
        if typ == 2:
            t = vals.encode()
            h += name(n) + word(2) + word(len(t)) + t + b'\0' * (-len(t) % 4)
        else:
            h += name(n) + word(typ) + word(len(vals)) + values(typ, vals)
    return h
def document(gatts, data=(1.0, 2.0, 3.0, 4.0)):
    gatts = list(gatts) + [('Number series and parameters', 4, [1, 2])]
    variables = [('s', [('Data', 4, [0, 0, 1, 2, 2, 1])], 0),
                 ('x', [('aorv size auto shape', 4, [-1, 0, 4, 0]), ('color', 3, [255, 0, 0])], 0),
                 ('y', [('aorv size auto shape', 4, [1, 0, 4, 1]), ('color', 3, [0, 0, 255])], 0),
                 ('All data', [], 8 * len(data))]
    def build(begin):
        h = b'CDF\x01' + word(0) + word(0) + word(0) + attrs(gatts) + word(11) + word(len(variables))
        for n, a, vsize in variables:
            h += name(n) + word(0) + attrs(a) + word(6) + word(vsize) + word(begin)
        return h
    begin = len(build(0))
    return build(begin) + b''.join(struct.pack('>d', v) for v in data)
big = 2147483647
documents = {
    'doc_color_steps_big': [('High and low colors', 4, [0, 0, 0, 255, 255, 255, big, 1, 0])],
    'doc_color_steps_short': [('High and low colors', 3, [0, 0, 0, 255, 255, 255, 32767, 1, 0])],
    'doc_poly_256': [('Constructor Poly', 1, [1] * 256)],
    'doc_user_items': [('User defiened', 2, 'a*x' + '$bad' * 300)],
    'doc_conditions': [('Conditions', 4, [0, 1] * 200), ('Conditions borders', 6, [0.0, 1.0] * 100)],
    'doc_extremes': [('Distribution of one value', 4, [big, 0, 0, 0, 0, 0, 0, 0, big]),
                     ('Distribution of two values', 4, [big, -big, 1, 0, -5]), ('Results', 4, [1, 0, big, -1]),
                     ('Align of legend', 4, [-5, big, 50, 101]), ('Border line', 4, [big, big, 0, 0, 0]),
                     ('Poly Search Param', 4, [1, 0, big, 0, big, 0, 99, 0]), ('NearNeighbor percent', 6, [1e300]),
                     ('Signals', 4, [-big, 2, 0, 99]), ('Constructor', 1, [50] + [34] * 51)],
}
for key, gatts in documents.items():
    open('%s/%s' % (out, key), 'wb').write(document(gatts))
# Two double record variables over 40 records, read record by record.
h = b'CDF\x01' + word(40) + word(10) + word(1) + name('t') + word(0) + word(0) + word(0) + word(11) + word(2)
begin = len(h) + 2 * 36
for i in range(2):
    h += name('r%d' % i) + word(1) + word(0) + word(0) + word(0) + word(6) + word(8) + word(begin + 8 * i)
open('%s/records_interleaved' % out, 'wb').write(h + b''.join(struct.pack('>d', v) for v in range(80)))
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
