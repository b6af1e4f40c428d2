#!/usr/bin/env bash
# Moves the GUI-free sources of app/ into core/ and points every reference at
# the new place. Safe to run again at any time, e.g. after merging a branch
# that still includes "app/textrules.h" or that added a new GUI-free pair to
# app/: it moves what is still in app/, rewrites what still says app/, and
# lists core/ in core/CMakeLists.txt.
#
#   tools/refactor/move-core.sh [extra-name...]
#
# A name is a file's base name without extension (e.g. "datafileopen"); both
# app/<name>.h and app/<name>.cpp move when they exist. Run from anywhere in
# the work tree.
set -euo pipefail

cd "$(git rev-parse --show-toplevel)"

names=(cp1250 textrules datafilereader datafileobserver wexalstate wexalerror "$@")

mkdir -p core
for name in "${names[@]}"; do
  if [[ ! "$name" =~ ^[A-Za-z0-9_]+$ ]]; then
    echo "move-core: not a base name: $name" >&2
    exit 2
  fi
  for ext in h cpp; do
    from="app/$name.$ext" to="core/$name.$ext"
    [[ -e "$from" ]] || continue
    if [[ -e "$to" ]]; then
      echo "move-core: both $from and $to exist; merge them by hand" >&2
      exit 1
    fi
    if git ls-files --error-unmatch "$from" >/dev/null 2>&1; then
      git mv "$from" "$to"
    else
      mv "$from" "$to"
    fi
    echo "moved $from -> $to"
  done
done

# Every reference app/<name>.h or app/<name>.cpp in sources, CMake files and
# the fuzz targets (includes, and source paths in CMake) becomes core/.
alternation=$(IFS='|'; echo "${names[*]}")
mapfile -t files < <(git ls-files -- '*.h' '*.cpp' '*CMakeLists.txt' '*.cmake' \
  | while IFS= read -r f; do [[ -f "$f" ]] && printf '%s\n' "$f"; done)
if ((${#files[@]})); then
  mapfile -t hits < <(grep -lE "(^|[^A-Za-z0-9_])app/($alternation)\.(h|cpp)([^A-Za-z0-9_]|$)" -- "${files[@]}" || true)
  for f in "${hits[@]}"; do
    perl -pi -e "s{(^|[^A-Za-z0-9_])app/($alternation)\.(h|cpp)(?![A-Za-z0-9_])}{\$1core/\$2.\$3}g" "$f"
    echo "rewrote $f"
  done
fi

# app/CMakeLists.txt no longer lists the moved files: their names leave the
# lines that hold them, a line left empty goes, and so does a target_sources
# block left with nothing in it.
if [[ -f app/CMakeLists.txt ]]; then
  perl -ni -e "
    if (/(?<![A-Za-z0-9_.])(?:$alternation)\.(?:h|cpp)(?![A-Za-z0-9_.])/) {
      s{[ \t]*(?<![A-Za-z0-9_.])(?:$alternation)\.(?:h|cpp)(?![A-Za-z0-9_.])}{}g;
      next if /^\s*\$/;
    }
    print;
  " app/CMakeLists.txt
  perl -0pi -e 's{^target_sources\([A-Za-z0-9_]+ PRIVATE[ \t]*\n\)\n\n?}{}mg; s{\A\n+}{};' app/CMakeLists.txt
fi

# core/ is wexal_core and nothing else: list every source it holds.
shopt -s nullglob
bases=()
for path in core/*.h core/*.cpp; do
  base=${path#core/}
  bases+=("${base%.*}")
done
mapfile -t bases < <(printf '%s\n' "${bases[@]}" | sort -u)
{
  echo "# GUI-free rules shared by every folder: Windows-1250, text rules, the"
  echo "# data-file line reader, the program-wide state and the error type."
  echo "# tools/refactor/move-core.sh lists every source of this folder here."
  echo "target_sources(wexal_core PRIVATE"
  for base in "${bases[@]}"; do
    [[ -n "$base" ]] || continue
    line=""
    [[ -f "core/$base.cpp" ]] && line="$base.cpp"
    [[ -f "core/$base.h" ]] && line="${line:+$line }$base.h"
    echo "  $line"
  done
  echo ")"
} > core/CMakeLists.txt
git add core/CMakeLists.txt

if ! grep -q '^add_subdirectory(core)' CMakeLists.txt; then
  perl -0pi -e 's{^add_subdirectory\(app\)\n}{add_subdirectory(core)\nadd_subdirectory(app)\n}m' CMakeLists.txt
  grep -q '^add_subdirectory(core)' CMakeLists.txt || {
    echo "move-core: add add_subdirectory(core) to CMakeLists.txt by hand" >&2
    exit 1
  }
fi

echo "move-core: done; check with: git status && grep -rn '\"app/' core"
