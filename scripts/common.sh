# Shared by the set-up scripts: run as root directly, or as a normal user who may use sudo.

INSTALL_FOLDER=/opt/RevuredAVeze

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Installs the Debian packages named in the given list files that are not installed yet.
install_missing() {
    local missing=()
    local package
    for package in $(cat "$@"); do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing ${missing[*]}"
        as_root apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
    fi
}
