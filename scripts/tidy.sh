#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy at the top) over every source of game/, form/ and
# window/ listed in build/compile_commands.json, and over web/'s as em++
# compiles them (build-web-tidy/); any warning fails the run.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
web_build=$root/build-web-tidy

cmake -S "$root" -B "$build" -G Ninja >/dev/null
# The window's sources include what moc and uic generate; build so it exists.
ninja -C "$build" -j2 >/dev/null
# The page's sources need only configuring: nothing of theirs is generated.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
mkdir -p "$web_build"
logs_configure=$web_build/configure.log
if ! emcmake cmake -S "$root/web" -B "$web_build" -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    >"$logs_configure" 2>&1; then
    cat "$logs_configure" >&2
    echo "tidy: configuring web/ with emcmake failed (above)" >&2
    exit 1
fi

# sources DATABASE FOLDER...: the files of those top folders the database compiles.
sources() {
    /usr/bin/python3 - "$root" "$@" <<'PY'
import json, os, sys
root, database, folders = sys.argv[1], sys.argv[2], sys.argv[3:]
paths = set()
for entry in json.load(open(database)):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if os.path.relpath(path, root).split(os.sep)[0] in folders:
        paths.add(path)
print("\n".join(sorted(paths)))
PY
}
mapfile -t sources < <(sources "$build/compile_commands.json" game form window)
mapfile -t web_sources < <(sources "$web_build/compile_commands.json" web)
if [ -z "${sources[*]}" ] || [ -z "${web_sources[*]}" ]; then
    echo "tidy: no sources of game/, form/, window/ or web/ in the compile databases" >&2
    exit 1
fi
# em++ adds its target, system root and macros itself; clang-tidy is told them.
# (Its -mllvm options tune code generation, which clang-tidy does not run.)
web_arguments=()
read -ra words <<<"$(em++ --cflags)"
for ((i = 0; i < ${#words[@]}; i++)); do
    if [ "${words[i]}" = -mllvm ]; then
        i=$((i + 1))
        continue
    fi
    web_arguments+=("--extra-arg=${words[i]}")
done

# One clang-tidy per core, each file's findings kept together. The count of
# warnings clang-tidy hides (those in system headers) is noise and is dropped.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
export logs
status=0
# tidy BUILD [ARGUMENT...] < FILES: clang-tidy over each file, two at a time.
tidy() {
    xargs -P2 -I{} sh -c '
        log="$logs/$(echo "$1" | tr / _)"
        shift
        if ! clang-tidy --quiet "$@" >"$log" 2>&1; then
            grep -v "warnings generated\.$" "$log"
            exit 1
        fi' _ {} -p "$@" {}
}
printf '%s\n' "${sources[@]}" | tidy "$build" || status=$?
printf '%s\n' "${web_sources[@]}" | tidy "$web_build" "${web_arguments[@]}" || status=$?
if [ "$status" -ne 0 ]; then
    echo "tidy: FAILED" >&2
    exit 1
fi
echo "tidy: ${#sources[@]} files of game/, form/ and window/ and ${#web_sources[@]} of web/ clean"
