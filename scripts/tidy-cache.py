#!/usr/bin/env python3
"""Remembers which sources clang-tidy found clean, so that a later check of the same bytes
can pass them over: a source's key covers its compile command, the content of every file the
build saw it include (ninja's record of the last build), the checks and the tool's version.
Any change to one of them is a new key, and the source is checked again.

  tidy-cache.py pending BUILD_DIR CACHE_DIR FILE_PATTERN TIDY_VERSION_FILE KEYS_OUT
      prints, for each source matching FILE_PATTERN that has no clean key in CACHE_DIR, a
      pattern that matches it alone, one a line; writes every matching source's key to
      KEYS_OUT
  tidy-cache.py record CACHE_DIR KEYS_OUT
      keeps every key of KEYS_OUT as clean (after a check with no finding)
"""
import hashlib
import json
import os
import re
import subprocess
import sys


def ninja_dependencies(build):
    """Each object's inputs as the last build recorded them."""
    listing = subprocess.run(["ninja", "-C", build, "-t", "deps"], check=True,
                             capture_output=True, text=True).stdout
    inputs = {}
    current = None
    for line in listing.splitlines():
        if not line.strip():
            current = None
        elif not line.startswith(" "):
            target, _, state = line.partition(": ")
            current = [] if "(VALID)" in state else None
            if current is not None:
                inputs[os.path.normpath(os.path.join(build, target))] = current
        elif current is not None:
            current.append(line.strip())
    return inputs


def alone(source):
    return "^" + re.escape(source) + "$"


def pending(build, cache, pattern, version_file, keys_out):
    build = os.path.abspath(build)
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as listing:
        entries = json.load(listing)
    inputs = ninja_dependencies(build)
    digests = {}

    def digest(path):
        if path not in digests:
            with open(path, "rb") as content:
                digests[path] = hashlib.sha256(content.read()).hexdigest()
        return digests[path]

    common = hashlib.sha256()
    for path in (".clang-tidy", version_file, sys.argv[0], "scripts/check-tidy.sh"):
        common.update(digest(path).encode())
    source_pattern = re.compile(pattern)
    with open(keys_out, "w", encoding="utf-8") as keys:
        for entry in entries:
            source = entry["file"]
            if not source_pattern.search(source):
                continue
            output = os.path.normpath(os.path.join(
                entry["directory"], re.search(r" -o (\S+)", entry["command"]).group(1)))
            included = inputs.get(output)
            if included is None:
                print(alone(source))  # never built, or built before ninja kept its inputs
                continue
            key = common.copy()
            key.update(entry["command"].encode())
            for path in included:
                key.update(path.encode())
                key.update(digest(os.path.join(entry["directory"], path)).encode())
            name = key.hexdigest()
            keys.write(name + "\n")
            if not os.path.exists(os.path.join(cache, name)):
                print(alone(source))


def record(cache, keys_out):
    os.makedirs(cache, exist_ok=True)
    with open(keys_out, encoding="utf-8") as keys:
        for name in keys.read().split():
            with open(os.path.join(cache, name), "w", encoding="utf-8"):
                pass


if __name__ == "__main__":
    if sys.argv[1:2] == ["pending"] and len(sys.argv) == 7:
        pending(*sys.argv[2:])
    elif sys.argv[1:2] == ["record"] and len(sys.argv) == 4:
        record(*sys.argv[2:])
    else:
        sys.exit(__doc__)
