#!/bin/sh
# The installed launcher against a stand-in program that records the
# directory it starts in and its arguments.
set -eu
launcher=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
check() {  # description, then a test command
    what=$1; shift
    if "$@"; then :; else echo "FAIL: $what" >&2; failures=$((failures + 1)); fi
}

# An installed tree: prefix/bin, prefix/libexec/orvalin, prefix/share/orvalin.
make_prefix() {  # dir, english (yes/no)
    mkdir -p "$1/bin" "$1/libexec/orvalin" "$1/share/orvalin"
    cp "$launcher" "$1/bin/orvalin"
    printf '#!/bin/sh\npwd > "$RECORD.cwd"\nfor a in "$@"; do echo "$a"; done > "$RECORD.args"\n' \
        > "$1/libexec/orvalin/Orvalin"
    chmod +x "$1/bin/orvalin" "$1/libexec/orvalin/Orvalin"
    echo "[HScale]" > "$1/share/orvalin/cell.sst"
    echo "png" > "$1/share/orvalin/cell.png"
    if [ "$2" = yes ]; then
        cp "$(dirname "$launcher")/english.txt" "$1/share/orvalin/english.txt"
    fi
}
make_prefix "$tmp/ja" no
make_prefix "$tmp/en" yes
ln -s "$tmp/ja/bin/orvalin" "$tmp/link-to-launcher"
export RECORD="$tmp/record" HOME="$tmp/home"
unset XDG_DATA_HOME
work="$tmp/home/.local/share/orvalin"

# First start: the working directory is created and seeded; a relative image
# stays found, an absolute one and an option pass unchanged.
mkdir -p "$tmp/pictures"
: > "$tmp/pictures/a.png"
(cd "$tmp/pictures" && "$tmp/link-to-launcher" a.png)
check "starts in the per-user data directory" [ "$(cat "$RECORD.cwd")" = "$(cd "$work" && pwd)" ]
check "seeds the sample calibration" [ -f "$work/cell.sst" ]
check "seeds the sample image" [ -f "$work/cell.png" ]
check "relative image made absolute" [ "$(cat "$RECORD.args")" = "$tmp/pictures/a.png" ]
(cd "$tmp/pictures" && "$tmp/ja/bin/orvalin" /abs/b.png -style fusion missing.png)
check "absolute path, options and unknown names unchanged" \
    [ "$(cat "$RECORD.args")" = "$(printf '/abs/b.png\n-style\nfusion\nmissing.png')" ]

# Seeding happens only once: a calibration the user deleted stays deleted.
rm "$work/cell.sst"
"$tmp/ja/bin/orvalin"
check "no second seeding" [ ! -e "$work/cell.sst" ]
check "no marker from the Japanese package" [ ! -e "$work/english.txt" ]

# The English package places its marker; the Japanese one takes back only that.
"$tmp/en/bin/orvalin"
check "English package places the marker" cmp -s "$work/english.txt" "$tmp/en/share/orvalin/english.txt"
"$tmp/ja/bin/orvalin"
check "Japanese package removes the English package's marker" [ ! -e "$work/english.txt" ]
: > "$work/english.txt"
"$tmp/ja/bin/orvalin"
check "a marker the user made stays" [ -e "$work/english.txt" ]

# XDG_DATA_HOME moves the working directory.
XDG_DATA_HOME="$tmp/xdg" "$tmp/en/bin/orvalin"
check "XDG_DATA_HOME moves the working directory" [ "$(cat "$RECORD.cwd")" = "$tmp/xdg/orvalin" ]
check "XDG_DATA_HOME directory seeded" [ -f "$tmp/xdg/orvalin/cell.sst" ]

[ "$failures" -eq 0 ] || exit 1
echo "launcher: all checks pass"
