#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as .clang-format says (`make format` fixes it).
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top" || exit 1
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' 2>/dev/null || find src tests bench fuzz tools -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror "${files[@]}" || { echo "run 'make format' to format these files"; exit 1; }
echo "${#files[@]} files formatted"
