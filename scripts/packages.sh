# Sourced by the scripts in this folder: installs the Debian packages they need.

# ensure_packages PACKAGE...: installs those not yet installed. Runs `apt-get update` once,
# and only when something is missing. Without root it names the command to run and fails.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if [[ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != "install ok installed" ]]; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]} == 0)); then
        echo "All needed packages are installed."
        return 0
    fi
    echo "Missing packages: ${missing[*]}"
    if ((EUID != 0)); then
        echo "Not running as root, so they cannot be installed here. Run as root:" >&2
        echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y "${missing[@]}"
}

heading() {
    printf '\n==== %s ====\n' "$*"
}
