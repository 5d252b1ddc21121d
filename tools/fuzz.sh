#!/usr/bin/env bash
# Fuzzes the core with libFuzzer (clang, AddressSanitizer and UndefinedBehaviorSanitizer).
#
#   bash tools/fuzz.sh run [SECONDS [TARGET...]]   fuzz each target (all four by default)
#                                                  for SECONDS (600 by default), one at a time
#   bash tools/fuzz.sh large [SECONDS [TARGET...]] the same with inputs up to 1 MiB, a timeout
#                                                  of 1 s and large hostile seeds beside the
#                                                  checked-in ones: inputs whose cost grows
#                                                  faster than their size
#   bash tools/fuzz.sh seeds                       rewrite the generated seeds of fuzz/corpus
#   bash tools/fuzz.sh list                        name the targets
#
# TABRIX_FUZZ_PARALLEL=2 runs two targets at once (never more). The build goes to
# build-fuzz/ (TABRIX_FUZZ_BUILD_DIR). New inputs go to build-fuzz/corpus/TARGET, findings
# to build-fuzz/findings/TARGET, the log to build-fuzz/logs/TARGET.log; the checked-in seeds
# are only read. A finding, once fixed, is copied to fuzz/corpus/FOLDER/regression-NAME so
# that the test run replays it. docs/fuzzing.md tells more.
set -euo pipefail

cd "$(dirname "$0")/.."
root=$PWD
build=${TABRIX_FUZZ_BUILD_DIR:-build-fuzz}
parallel=${TABRIX_FUZZ_PARALLEL:-1}
((parallel >= 1 && parallel <= 2)) || {
    echo "TABRIX_FUZZ_PARALLEL must be 1 or 2" >&2
    exit 2
}

targets=(group_address project_reader clipboard_paste project_round_trip)

corpus_of() {
    case "$1" in
    group_address) echo group-address ;;
    project_reader | project_round_trip) echo project ;;
    clipboard_paste) echo clipboard ;;
    *) return 1 ;;
    esac
}

# Longest input a target is offered: an address is short, a document may hold some rows;
# the large campaign offers a MiB.
large=0
max_len_of() {
    case "$1" in
    group_address) echo 64 ;;
    *) ((large)) && echo 1048576 || echo 16384 ;;
    esac
}

# repeat TEXT BYTES: the text repeated to about that many bytes.
repeat() {
    local text=$1 bytes=$2 out=$1
    while ((${#out} < bytes)); do out=$out$out; done
    printf '%s' "${out:0:bytes}"
}

# Large hostile documents, written when the large campaign starts (they are too big to
# keep in the repository): a start tag of many attributes, tags at the bound, many empty
# rows, a long name, foreign elements. Project seeds start with an options byte, clipboard
# seeds with a paste byte and a place byte.
write_large_seeds() {
    local dir=$build/large-seeds attributes
    mkdir -p "$dir/project" "$dir/clipboard"
    attributes=$(for ((i = 0; i < 90000; i++)); do printf ' a%d="v"' "$i"; done)
    local bound
    bound=$(for ((i = 0; i < 256; i++)); do printf ' a%d="v"' "$i"; done)
    local head='<GatewayParameters><KonnexDevices><Device id="1"><Property_Identifiers>'
    local tail='</Property_Identifiers></Device></KonnexDevices></GatewayParameters>'
    local clip_head='<marvanezerezoderadazavodoclip>' clip_tail='</marvanezerezoderadazavodoclip>'
    printf '\4%s<Property%s/>%s' "$head" "$attributes" "$tail" >"$dir/project/many-attributes"
    printf '\4%s%s%s' "$head" "$(repeat "<Property$bound/>" 1000000)" "$tail" >"$dir/project/tags-at-the-bound"
    printf '\4%s%s%s' "$head" "$(repeat '<Property/>' 1000000)" "$tail" >"$dir/project/empty-properties"
    printf '\4%s<Property><DatapointName>%s</DatapointName></Property>%s' "$head" \
        "$(repeat n 1000000)" "$tail" >"$dir/project/long-name"
    printf '\10\17%s<row%s/>%s' "$clip_head" "$attributes" "$clip_tail" >"$dir/clipboard/many-attributes"
    printf '\0\21%s%s%s' "$clip_head" "$(repeat "<row$bound/>" 1000000)" "$clip_tail" >"$dir/clipboard/tags-at-the-bound"
    printf '\0\21%s%s%s' "$clip_head" "$(repeat '<row/>' 1000000)" "$clip_tail" >"$dir/clipboard/empty-rows"
    printf '\0\41%s' "$(repeat '<a/>x' 1000000)" >"$dir/clipboard/foreign-elements"
    printf '\0\41%s<row><Name>%s</Name></row>%s' "$clip_head" "$(repeat n 1000000)" "$clip_tail" >"$dir/clipboard/long-name"
}

configure_and_build() {
    CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTABRIX_FUZZ=ON -DTABRIX_BUILD_TESTS=OFF >/dev/null
    cmake --build "$build" -j"${TABRIX_FUZZ_BUILD_JOBS:-2}" --target "$@"
}

fuzz_one() {
    local target=$1 seconds=$2
    local folder dict status
    folder=$(corpus_of "$target")
    dict=$root/fuzz/$folder.dict
    mkdir -p "$build/corpus/$target" "$build/findings/$target" "$build/logs"
    local timeout=10 seeds=()
    if ((large)); then
        timeout=1
        [ -d "$build/large-seeds/$folder" ] && seeds=("$build/large-seeds/$folder")
    fi
    local options=(-max_total_time="$seconds" -max_len="$(max_len_of "$target")"
        -timeout="$timeout" -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$build/findings/$target/")
    [ -f "$dict" ] && options+=(-dict="$dict")
    # One process, in the foreground of its job (-jobs would move its output to a file in
    # the current folder). The first folder takes the new inputs; the seeds are only read.
    if "$build/fuzz/fuzz_$target" "${options[@]}" "$build/corpus/$target" \
        "$root/fuzz/corpus/$folder" "${seeds[@]}" >"$build/logs/$target.log" 2>&1; then
        status=ok
    else
        status="FAILED (see $build/logs/$target.log and $build/findings/$target/)"
    fi
    summary "$target" "$status"
}

# The last status line of a run: executions, coverage and features, and what was found.
summary() {
    local target=$1 status=$2 log=$build/logs/$1.log
    local last execs
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    execs=$(grep -E '^stat::number_of_executed_units:' "$log" | awk '{print $2}' || true)
    printf '%-20s %s | executions %s | %s\n' "$target" "$status" "${execs:-?}" \
        "$(echo "$last" | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]*' || true)"
}

command=${1:-run}
case "$command" in
list)
    printf '%s\n' "${targets[@]}"
    ;;
seeds)
    configure_and_build fuzz_seed_writer
    "$build/fuzz/fuzz_seed_writer" fuzz/corpus tests/core/golden
    # Compressed documents, which the reader must not inflate.
    { printf '\0' && gzip -9nc tests/core/golden/two-rows.xml; } >fuzz/corpus/project/seed-gzip
    { printf '\0\021' && printf '<marvanezerezoderadazavodoclip><row><Name>x</Name></row></marvanezerezoderadazavodoclip>' |
        gzip -9nc; } >fuzz/corpus/clipboard/seed-hostile-gzip
    echo "seeds written to fuzz/corpus"
    ;;
run | large)
    if [ "$command" = large ]; then
        large=1
        write_large_seeds
    fi
    seconds=${2:-600}
    shift $(($# > 1 ? 2 : $#))
    chosen=("$@")
    ((${#chosen[@]})) || chosen=("${targets[@]}")
    for target in "${chosen[@]}"; do
        corpus_of "$target" >/dev/null || {
            echo "unknown target $target; bash tools/fuzz.sh list names them" >&2
            exit 2
        }
    done
    configure_and_build "${chosen[@]/#/fuzz_}"
    echo "fuzzing ${chosen[*]} for $seconds s each, $parallel at a time"
    running=0
    for target in "${chosen[@]}"; do
        fuzz_one "$target" "$seconds" &
        running=$((running + 1))
        if ((running >= parallel)); then
            wait -n || true
            running=$((running - 1))
        fi
    done
    wait
    ;;
*)
    echo "usage: $0 run|large [SECONDS [TARGET...]] | seeds | list" >&2
    exit 2
    ;;
esac
