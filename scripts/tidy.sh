#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy at the top) over every source of game/, form/ and
# window/ listed in build/compile_commands.json; any warning fails the run.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

cmake -S "$root" -B "$build" -G Ninja >/dev/null
# The window's sources include what moc and uic generate; build so it exists.
ninja -C "$build" -j2 >/dev/null

mapfile -t sources < <(/usr/bin/python3 - "$build/compile_commands.json" "$root" <<'PY'
import json, os, sys
database, root = sys.argv[1], sys.argv[2]
paths = set()
for entry in json.load(open(database)):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if os.path.relpath(path, root).split(os.sep)[0] in ("game", "form", "window"):
        paths.add(path)
print("\n".join(sorted(paths)))
PY
)
if [ -z "${sources[*]}" ]; then
    echo "tidy: no sources of game/, form/ or window/ in $build/compile_commands.json" >&2
    exit 1
fi

# One clang-tidy per core, each file's findings kept together. The count of
# warnings clang-tidy hides (those in system headers) is noise and is dropped.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
export build logs
status=0
printf '%s\n' "${sources[@]}" | xargs -P2 -I{} sh -c '
    log="$logs/$(echo "$1" | tr / _)"
    if ! clang-tidy -p "$build" --quiet "$1" >"$log" 2>&1; then
        grep -v "warnings generated\.$" "$log"
        exit 1
    fi' _ {} || status=$?
if [ "$status" -ne 0 ]; then
    echo "tidy: FAILED" >&2
    exit 1
fi
echo "tidy: ${#sources[@]} files of game/, form/ and window/ clean"
