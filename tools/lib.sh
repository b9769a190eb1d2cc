# shellcheck shell=sh
# Shared by the scripts in tools/: sourced, not run.

# Installs those of the given Debian packages that are missing, as root or through sudo.
install_packages() {
    missing=""
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $p"
    done
    [ -z "$missing" ] && return 0

    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}

# Configures the release-with-debug-info build in directory $1 with Ninja; further arguments go
# to cmake. ccache is used when it is installed (and dropped again when it is not).
configure() {
    dir="$1"
    shift
    launcher=""
    command -v ccache >/dev/null 2>&1 && launcher=ccache
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" "$@" >/dev/null
}

# The developer build in build/: tests included (the browser tests too), every warning an error. tools/run-tests,
# tools/run-sample and tools/screenshots all configure it exactly so, naming every option, so
# whichever runs second reuses the first one's work and nothing is inherited from an older cache.
configure_build() {
    configure build -DGOMCFG_BUILD_TESTS=ON -DGOMCFG_WERROR=ON -DGOMCFG_BROWSER_TESTS=ON
}

# Builds gomcfg2 to be run, and sets program_dir to the build directory that holds it: build/,
# shared with tools/run-tests. A user's command must not stop on a warning that only a newer
# compiler than ours reports, so when a warning made an error stops that build, gomcfg2 is built
# again in build-lenient/ with warnings allowed; build/ keeps its configuration.
build_program() {
    configure_build
    log="$(mktemp)"
    { cmake --build build --target gomcfg2 2>&1 && echo ok >"$log.ok"; } | tee "$log"
    # shellcheck disable=SC2034 # read by the scripts that source this file
    program_dir=build
    if [ ! -e "$log.ok" ]; then
        if ! grep -q -- '-Werror' "$log"; then
            rm -f "$log"
            return 1
        fi
        echo "A warning stopped the build in build/ (warnings are errors there);" \
            "building in build-lenient/ with warnings allowed."
        configure build-lenient -DGOMCFG_BUILD_TESTS=OFF -DGOMCFG_WERROR=OFF
        cmake --build build-lenient --target gomcfg2
        # shellcheck disable=SC2034
        program_dir=build-lenient
    fi
    rm -f "$log" "$log.ok"
}

# Qt warns at every start when XDG_RUNTIME_DIR is unset (a root login without a session, a
# container, CI). Gives the programs this script starts a private one in directory $1, mode
# 0700 as Qt requires, unless the session has its own.
use_private_runtime_dir() {
    [ -z "${XDG_RUNTIME_DIR:-}" ] || return 0
    mkdir -p "$1"
    chmod 0700 "$1"
    XDG_RUNTIME_DIR="$(cd "$1" && pwd)"
    export XDG_RUNTIME_DIR
}
