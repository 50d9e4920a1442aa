#!/usr/bin/env bash
# Long fuzz run: fuzz/run-long.sh TARGET [SECONDS] (default 600), for example
#   fuzz/run-long.sh extraction_fuzz 600
# Builds the fuzz targets with clang, ASan and UBSan in build-fuzz/, then fuzzes TARGET from
# its seed corpus. New inputs go to fuzz/findings/TARGET/, crashes to fuzz/findings/.
# An input that found a fault belongs in the seed corpus once the fault is mended.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: fuzz/run-long.sh TARGET [SECONDS]}
seconds=${2:-600}
# A folder of several targets keeps one corpus per target in corpus/TARGET.
seeds=$(ls -d fuzz/*/corpus/"$target" 2>/dev/null ||
        echo "$(dirname "$(grep -l "newsbell_fuzz_target($target " fuzz/*/CMakeLists.txt)")/corpus")
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DNEWSBELL_GUI=OFF -DNEWSBELL_BENCH=OFF -DNEWSBELL_SANITIZE=ON -DNEWSBELL_FUZZ=ON >/dev/null
cmake --build build-fuzz --target "$target"
mkdir -p "fuzz/findings/$target"
exec build-fuzz/bin/"$target" -max_total_time="$seconds" -timeout=10 -max_len=200000 \
    -artifact_prefix=fuzz/findings/ "fuzz/findings/$target" "$seeds"
