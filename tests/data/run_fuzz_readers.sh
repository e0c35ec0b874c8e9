#!/usr/bin/env bash
# Builds the readers' fuzz targets with clang's libFuzzer and runs each for a while:
# the text-file reader (fuzz_text_reader) and the Access statement checker and condition
# evaluator (fuzz_access_statement).
#   tests/data/run_fuzz_readers.sh OUTPUT_DIR [SECONDS]
# OUTPUT_DIR receives the binaries, their corpora and any crash file; SECONDS (per target)
# defaults to 20.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:?usage: run_fuzz_readers.sh OUTPUT_DIR [SECONDS]}"
seconds="${2:-20}"
mkdir -p "$out/text_corpus" "$out/access_corpus"
out="$(cd "$out" && pwd)"
flags=(-std=c++20 -O1 -g -fno-sanitize-recover=undefined -fsanitize=fuzzer,address,undefined -I"$root")

clang++ "${flags[@]}" "$root/tests/data/fuzz_text_reader.cpp" \
    "$root/data/text_lines.cpp" "$root/data/record_text.cpp" "$root/data/fast_number.cpp" \
    -o "$out/fuzz_text_reader" &
clang++ "${flags[@]}" "$root/tests/platform/fuzz_access_statement.cpp" \
    "$root/platform/access_statement.cpp" "$root/platform/access_condition.cpp" \
    "$root/platform/access_values.cpp" -o "$out/fuzz_access_statement" &
wait -n
wait -n

# Seeds: the first byte picks the separators, the rest is the file or the statement.
if [ -z "$(ls -A "$out/text_corpus")" ]; then
    printf '\001x y\n1 2\n\n3 4\r\n5\r6 7\r' > "$out/text_corpus/lines"
    printf '\002a,b,c\n1,,3\n1e400,2,3\n4,5\000,6\n7,8' > "$out/text_corpus/fields"
    printf '\203\t\t1\t2\t3\t4\n' > "$out/text_corpus/tabs"
fi
if [ -z "$(ls -A "$out/access_corpus")" ]; then
    printf '%s' "SELECT a, [b c] FROM t WHERE a > 1 AND NOT b LIKE 'x*' OR c IS NULL" > "$out/access_corpus/where"
    printf '%s' "SELECT TOP 5 COUNT(*) FROM [My Table];" > "$out/access_corpus/count"
    printf '%s' "select * from t where a = 'it''s' and b <> 2147483648" > "$out/access_corpus/numbers"
fi

cd "$out"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
./fuzz_text_reader -max_len=4096 -timeout=5 -max_total_time="$seconds" -print_final_stats=1 text_corpus
./fuzz_access_statement -max_len=512 -timeout=5 -max_total_time="$seconds" -print_final_stats=1 access_corpus
