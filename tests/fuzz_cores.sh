# Sourced by the fuzz scripts. BuildCoreArchive OUT ROOT FOLDER...
# compiles the Qt-free sources of the given folders for libFuzzer into OUT/libcores.a, so
# that a fuzz target's link takes only the objects it needs. A file that needs Qt or the
# platform layer, directly or through its headers, is left out, and so is one that does not
# compile here (the link shows whether it was needed).
BuildCoreArchive() {
    local out="$1" root="$2"
    shift 2
    local flags=(-std=c++20 -O1 -g -fno-sanitize-recover=undefined -I"$root")
    local cores=() f deps name running=0 jobs
    jobs="$(nproc)"
    # Through the compiler cache when there is one: the three fuzz scripts build mostly the
    # same objects, and a repeated run finds them all.
    local compile=(clang++)
    command -v ccache >/dev/null && compile=(ccache clang++)
    for folder in "$@"; do
        for f in "$root/$folder"/*.cpp; do
            [ -e "$f" ] || continue
            deps="$(clang++ "${flags[@]}" -MM "$f" 2>/dev/null)" || continue
            if ! grep -q -e 'platform/' -e 'Qt' <<< "$deps"; then
                cores+=("$f")
            fi
        done
    done
    mkdir -p "$out/obj"
    rm -f "$out"/obj/*.o "$out/libcores.a"
    for f in "${cores[@]}"; do
        name="$(basename "$(dirname "$f")")_$(basename "${f%.cpp}").o"
        { "${compile[@]}" "${flags[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$f" \
              -o "$out/obj/$name" || echo "fuzz: left out $f" >&2; } &
        running=$((running + 1))
        if [ "$running" -ge "$jobs" ]; then
            wait -n
            running=$((running - 1))
        fi
    done
    while [ "$running" -gt 0 ]; do
        wait -n
        running=$((running - 1))
    done
    ar rcs "$out/libcores.a" "$out"/obj/*.o
}
