# Shared by the install tests: what must hold after every install step, and an earlier version's
# installation. Sourced; needs $folder (the installation folder) and $data (the data folder).

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Every program file and folder belongs to root, nobody else may change it, and none carries a
# set-user-id or set-group-id bit.
check_program_files() { # STEP, then further paths to check besides the installation folder
    local step=$1
    shift
    local others
    others=$(find "$folder" "$@" ! -type l \( ! -user root -o -perm /6022 \) -printf '%M %u %p\n')
    [ -z "$others" ] || fail "$step: program files that others may change:"$'\n'"$others"
}

# The fixed path leads to a database that its owner alone may read and change.
check_settings() { # STEP OWNER
    local step=$1 owner=$2 other=nobody
    [ "$owner" != nobody ] || other=daemon
    local link="$folder/xcopy.mdb"
    [ "$(readlink "$link")" = "$data/xcopy.mdb" ] || fail "$step: $link does not lead into $data"
    [ "$(stat -c '%U %a' "$data")" = "$owner 700" ] ||
        fail "$step: $data is $(stat -c '%U %a' "$data"), not $owner's alone"
    [ "$(stat -c '%U %a' "$data/xcopy.mdb")" = "$owner 600" ] ||
        fail "$step: the database is $(stat -c '%U %a' "$data/xcopy.mdb"), not $owner's alone"
    # The installation folder is closed to the owner too: a save works only when SQLite follows
    # the link and writes its journal beside the real file.
    runuser -u "$owner" -- sqlite3 "$link" "INSERT INTO tblPath1 (Path1) VALUES ('$step')" ||
        fail "$step: $owner cannot save the settings"
    if runuser -u "$other" -- sqlite3 "$link" "SELECT count(*) FROM tblPath1" 2>/dev/null; then
        fail "$step: $other can read the settings"
    fi
    if runuser -u "$other" -- sqlite3 "$link" "INSERT INTO tblPath1 (Path1) VALUES ('x')" 2>/dev/null; then
        fail "$step: $other can change the settings"
    fi
}

# The settings still hold what was saved at an earlier step.
check_kept() { # STEP EARLIER-STEP
    [ "$(sqlite3 "$data/xcopy.mdb" "SELECT count(*) FROM tblPath1 WHERE Path1 = '$2'")" = 1 ] ||
        fail "$1: the settings saved at \"$2\" are lost"
}

# The installation folder as an earlier version left it when it could not tell the desktop
# user: the settings in it, and the folder open to the group users, one of whom replaced the
# program by another file with the same time stamp.
make_earlier_layout() { # PROGRAM-FILE to take the time stamp from
    install -d -o root -g users -m 2775 "$folder"
    sqlite3 "$folder/xcopy.mdb" "CREATE TABLE tblPath1 (id INTEGER PRIMARY KEY AUTOINCREMENT, Path1 TEXT);
        INSERT INTO tblPath1 (Path1) VALUES ('earlier version')"
    cp /usr/bin/true "$folder/RevuredAVeze"
    touch -r "$1" "$folder/RevuredAVeze"
    chown daemon:users "$folder/xcopy.mdb" "$folder/RevuredAVeze"
}
