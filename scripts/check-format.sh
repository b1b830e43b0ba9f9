#!/usr/bin/env bash
# Fails when a C++ file of the project is not as .clang-format has it; names
# each such file and the command that formats it.
# Usage: check-format.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
command -v clang-format >/dev/null ||
    { echo "clang-format is missing: apt-get install clang-format" >&2; exit 1; }
status=0
while IFS= read -r file; do
    if ! clang-format --dry-run -Werror "$file" >/dev/null 2>&1; then
        echo "not formatted: $file (clang-format -i $file)" >&2
        status=1
    fi
done < <(git ls-files '*.cpp' '*.h')
[ $status -eq 0 ] && echo "Format: every C++ file is as .clang-format has it."
exit $status
