# Proves the set-up's package list complete: every program the scripts call must come from a package
# that the list installs (or that a listed package depends on), or from an essential package. A program
# that is only there because someone installed it by hand fails here, naming the program and its package.
# Source after setup.sh.

# The packages that installing PACKAGES... brings in: the list and its dependencies, recursively.
ts_package_closure() {
    apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
        --no-enhances "$@" 2>/dev/null | awk '/^[^ <]/ {sub(/:.*/, ""); print}' | sort -u
}

# The package that owns FILE, without its architecture; empty when no package does.
ts_owner_of() {
    dpkg -S "$1" 2>/dev/null | awk -F': ' -v f="$1" '$2 == f {sub(/:.*/, "", $1); print $1; exit}'
}

# The package behind the command at PATH: the owner of the first link on its way that a package ships.
# /usr/bin/wineserver leads through /etc/alternatives to /usr/bin/wineserver-stable (package wine), and
# only then into libwine: the package that made the command is the one that counts.
ts_command_owner() {
    local path=$1 hop owner target
    for hop in 1 2 3 4 5 6 7 8; do
        owner=$(ts_owner_of "$path")
        [ -n "$owner" ] && { echo "$owner"; return 0; }
        [ -L "$path" ] || return 0
        target=$(readlink "$path")
        [[ "$target" == /* ]] || target="$(dirname "$path")/$target"
        path=$(realpath -s "$target")
    done
}

ts_is_essential() { [ "$(dpkg-query -W -f='${Essential}' "$1" 2>/dev/null)" = yes ]; }

# ts_check_programs PACKAGES...: 0 when every program of TS_PROGRAMS (and file of TS_FILES) resolves to one of PACKAGES
# (with their dependencies) or to an essential package; otherwise one line per program that does not.
ts_check_programs() {
    local closure program path candidates candidate owner owners ok bad=0
    closure=$(ts_package_closure "$@")
    [ -n "$closure" ] || { echo "set-up check: apt-cache knows none of the listed packages"; return 1; }
    for program in "${TS_PROGRAMS[@]}" "${TS_FILES[@]}"; do
        if [[ "$program" == /* ]]; then
            path=$program
            [ -e "$path" ] || { echo "set-up check: '$path' is missing (no package of the set-up provides it)"; bad=1; continue; }
        else
            path=$(command -v "$program") || { echo "set-up check: '$program' is not installed (no package of the set-up provides it)"; bad=1; continue; }
        fi
        # The program itself, and for an alternatives link every other choice, since any of them serves.
        candidates=("$path")
        while read -r candidate; do [ -n "$candidate" ] && candidates+=("$candidate"); done \
            < <(update-alternatives --list "$(basename "$path")" 2>/dev/null)
        ok=
        owners=()
        for candidate in "${candidates[@]}"; do
            owner=$(ts_command_owner "$candidate")
            [ -n "$owner" ] || continue
            owners+=("$owner")
            if grep -qxF "$owner" <<<"$closure" || ts_is_essential "$owner"; then ok=1; break; fi
        done
        [ -n "$ok" ] && continue
        bad=1
        if [ ${#owners[@]} -eq 0 ]; then
            echo "set-up check: '$program' ($path) belongs to no Debian package: it was installed by hand"
        else
            echo "set-up check: '$program' ($path) comes from package '${owners[0]}', which the set-up does not install; add it to TS_PACKAGES in scripts/lib/setup.sh"
        fi
    done
    return $bad
}
