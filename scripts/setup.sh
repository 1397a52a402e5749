#!/usr/bin/env bash
# Installs the missing Debian packages, then configures and builds Tavelo into build/.
# Sourced by run.sh and test.sh; safe to run again (it does only what is missing).
set -euo pipefail

TAVELO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

tavelo_missing_packages() {
    local pkg
    while read -r pkg; do
        [[ -z "$pkg" || "$pkg" == \#* ]] && continue
        if [[ "$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null)" != installed ]]; then
            echo "$pkg"
        fi
    done <"$TAVELO_ROOT/scripts/packages.txt"
}

tavelo_install_packages() {
    local missing
    missing=$(tavelo_missing_packages | tr '\n' ' ')
    [[ -z "${missing// /}" ]] && return 0
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
            sudo=(sudo -n)
        elif command -v sudo >/dev/null && [[ -t 0 ]]; then
            sudo=(sudo)
        else
            echo "Tavelo needs these Debian packages, and installing them needs root or sudo:" >&2
            echo "  $missing" >&2
            echo "Install them (apt-get install $missing) and run this command again." >&2
            exit 1
        fi
    fi
    echo "Installing: $missing"
    "${sudo[@]}" apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing
}

# tavelo_build DIR [cmake options...]: configures once, then builds what changed.
tavelo_build() {
    local dir=$1
    shift
    local werror=OFF
    [[ "${CI:-}" == true ]] && werror=ON
    if [[ ! -f "$TAVELO_ROOT/$dir/build.ninja" ]]; then
        cmake -S "$TAVELO_ROOT" -B "$TAVELO_ROOT/$dir" -G Ninja -DTAVELO_WERROR=$werror "$@" >/dev/null
    fi
    cmake --build "$TAVELO_ROOT/$dir"
}

tavelo_install_packages
tavelo_build build
