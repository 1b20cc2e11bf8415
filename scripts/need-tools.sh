#!/usr/bin/env bash
# Sourced by the test scripts. A test whose tools are missing (a distribution's build with only
# the build dependencies) reports itself skipped with CTest's skip status instead of failing;
# the test command installs every tool and counts a skip as a failure.
#   need_tools TOOL...    exits 77 naming the missing ones
#   need_display_tools    what scripts/virtual-display.sh needs

need_tools() {
    local missing=() tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || missing+=("$tool")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "$(basename "$0"): skipped: ${missing[*]} not installed (bash scripts/setup.sh test)"
        exit 77
    fi
}

need_display_tools() {
    need_tools xvfb-run Xvfb xauth xdpyinfo flock
}
