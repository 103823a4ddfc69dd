# Sourced by the book tests: the readers they need, and the check of every book of a folder.
# Out: status (1 once a check failed).

status=0

# Exits 77 (skipped) unless every reader the checks use is installed.
require_readers() {  # script-name
    for tool in enum_chmLib extract_chmLib 7z python3; do
        command -v "$tool" >/dev/null 2>&1 || { echo "$1: $tool is not installed; skipped"; exit 77; }
    done
}

# Checks the book of every source listed in CODECS ("name<TAB>codec" lines) in FOLDER.
check_books() {  # folder codecs [--pages-only]
    while IFS="$(printf '\t')" read -r name codec; do
        base=${name%%.*}
        book="$1/$base/$base.chm"
        if [ ! -f "$book" ]; then
            echo "FAIL: no book for $name"
            status=1
            continue
        fi
        python3 "$(dirname "$0")/check_book.py" ${3:-} "$book" "$1/$base" "$1/$name" "$codec" || status=1
    done <"$2"
}

# Fills FOLDER with the samples and the sources books have gone wrong on, and lists them with
# their codecs in CODECS.
make_test_folder() {  # folder samples codecs
    mkdir -p "$1"
    cp "$2"/* "$1"/
    python3 "$(dirname "$0")/make_sources.py" "$1" >"$3"
    for name in "$2"/*; do printf '%s\tgbk\n' "$(basename "$name")" >>"$3"; done
}
