#!/usr/bin/env bash
# Fails when a tracked C++ file is not as the repository's .clang-format would write it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "check-format: every C++ file is formatted"
