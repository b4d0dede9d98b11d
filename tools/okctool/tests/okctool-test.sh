#!/usr/bin/env bash
# One okctool check against the shipped tables. Usage: okctool-test.sh OKCTOOL DATADIR CASE
# Expected bytes come from the system's iconv where it has the code set.
set -u
tool=$1
data=$2
case_name=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs okctool with stdin from a file; sets status, leaves out/err in $work.
run() {
    local input=$1
    shift
    "$tool" "$@" <"$input" >"$work/out" 2>"$work/err"
    status=$?
}

expect_status() {
    [ "$status" -eq "$1" ] || fail "exit $status, expected $1; stderr: $(cat "$work/err")"
}

case "$case_name" in
dump-windows-1252)
    run /dev/null dump "$data/windows-1252.okc"
    expect_status 0
    printf 'Start of the table = 128\nNumber of entries = 128\nUndefined values =\n    0x81 0x8d 0x8f 0x90 0x9d ' >"$work/expected"
    cmp "$work/out" "$work/expected" || fail "dump differs: $(od -c "$work/out")"
    ;;
dump-windows-932)
    run /dev/null dump "$data/windows-932.okc"
    expect_status 0
    grep -q '^Start of single-byte table = 128$' "$work/out" || fail "start: $(cat "$work/out")"
    grep -q '^    0x81 0x82 0x83 ' "$work/out" || fail "lead bytes: $(cat "$work/out")"
    ;;
decode-cafe)
    printf 'Caf\xe9' >"$work/in"
    run "$work/in" decode "$data/windows-1252.okc"
    expect_status 0
    printf 'Caf\xe9' | iconv -f WINDOWS-1252 -t UTF-16LE >"$work/expected"
    cmp "$work/out" "$work/expected" || fail "decoded $(od -An -tx1 "$work/out")"
    ;;
decode-truncated-sjis)
    # "A", a complete two-byte character, then a lead byte with nothing after it.
    printf 'A\x93\xfa\x82' >"$work/in"
    run "$work/in" decode "$data/windows-932.okc"
    expect_status 3
    printf 'A\x93\xfa' | iconv -f CP932 -t UTF-16LE >"$work/expected"
    cmp "$work/out" "$work/expected" || fail "kept $(od -An -tx1 "$work/out")"
    grep -q 'offset 3' "$work/err" && grep -q 'CodeSetTruncated' "$work/err" ||
        fail "stderr: $(cat "$work/err")"
    ;;
decode-named-entity)
    printf 'a&amp;b&eacute;' >"$work/in"
    run "$work/in" decode "$data/windows-1252.okc" --flags 0x1
    expect_status 0
    printf 'a&b\xc3\xa9' | iconv -f UTF-8 -t UTF-16LE >"$work/expected"
    cmp "$work/out" "$work/expected" || fail "decoded $(od -An -tx1 "$work/out")"
    ;;
round-trip)
    # A mixed text through each table and back.
    for table in windows-1252:WINDOWS-1252:'Grüße, café' windows-932:CP932:'日本語のテキスト ｶﾀｶﾅ' \
        windows-936:GBK:'中文文本' windows-950:BIG5:'中文文本' windows-949:UHC:'한국어' \
        utf-8:UTF-8:'Grüße 日本語'; do
        IFS=: read -r name charset text <<<"$table"
        printf '%s' "$text" | iconv -f UTF-8 -t UTF-16LE >"$work/units"
        run "$work/units" encode "$data/$name.okc"
        expect_status 0
        printf '%s' "$text" | iconv -f UTF-8 -t "$charset" >"$work/expected"
        cmp "$work/out" "$work/expected" || fail "$name encoded $(od -An -tx1 "$work/out")"
        cp "$work/out" "$work/bytes"
        run "$work/bytes" decode "$data/$name.okc"
        expect_status 0
        cmp "$work/out" "$work/units" || fail "$name decoded $(od -An -tx1 "$work/out")"
    done
    ;;
encode-entities)
    # Markup is escaped and a character the table lacks becomes its named entity.
    printf '<a href="x">&\xe2\x82\xac</a>' | iconv -f UTF-8 -t UTF-16LE >"$work/in"
    run "$work/in" encode "$data/iso-8859-1.okc" --flags 101
    expect_status 0
    printf '&lt;a href=&quot;x&quot;>&amp;&euro;&lt;/a>' >"$work/expected"
    cmp "$work/out" "$work/expected" || fail "encoded $(cat "$work/out")"
    run "$work/in" encode "$data/iso-8859-1.okc"
    printf '<a href="x">&?</a>' >"$work/expected"
    cmp "$work/out" "$work/expected" || fail "encoded without flags $(cat "$work/out")"
    ;;
rtf-example)
    # C a f U+00E9 CR LF { x }: the whole document, byte for byte.
    printf 'Caf\xc3\xa9\r\n{x}' | iconv -f UTF-8 -t UTF-16LE >"$work/in"
    run "$work/in" rtf "$data/windows-1252.okc" --lang 1033
    expect_status 0
    printf '%s' '{\rtf1\ansi\ansicpg1252\uc1 \deff0\deflang1033\deflangfe1033\pard\plain \widctlpar\fs20\lang1033 Caf\u233 \'"'"'e9\par \{x\}}' >"$work/expected"
    cmp "$work/out" "$work/expected" || fail "rtf $(cat "$work/out")"
    # A double-byte character, then a one-byte one: the count of one is written again.
    printf '\xe3\x81\x82\xef\xbd\xb1' | iconv -f UTF-8 -t UTF-16LE >"$work/in"
    run "$work/in" rtf "$data/windows-932.okc" --lang 1041
    expect_status 0
    printf '%s' '\lang1041 \uc2\u12354\'"'"'82\'"'"'a0\uc1\u65393 \'"'"'b1}' >"$work/expected"
    tail -c "$(wc -c <"$work/expected")" "$work/out" | cmp - "$work/expected" ||
        fail "rtf 932 $(cat "$work/out")"
    ;;
rtf-reads-back)
    # What a word processor makes of the document: every character comes back.
    command -v soffice >/dev/null || { echo "soffice is not installed"; exit 77; }
    text='Grüße – 日本語 {braces} back\slash ①'
    printf '%s' "$text" | iconv -f UTF-8 -t UTF-16LE >"$work/in"
    mkdir "$work/rtf"
    run "$work/in" rtf "$data/windows-932.okc"
    expect_status 0
    cp "$work/out" "$work/rtf/example.rtf"
    soffice "-env:UserInstallation=file://$work/profile" --headless \
        --convert-to 'txt:Text (encoded):UTF8' --outdir "$work/rtf" "$work/rtf/example.rtf" \
        >"$work/soffice.log" 2>&1 || fail "soffice: $(cat "$work/soffice.log")"
    printf '\xef\xbb\xbf%s\n' "$text" >"$work/expected"
    cmp "$work/rtf/example.txt" "$work/expected" || fail "read back $(cat "$work/rtf/example.txt")"
    ;;
utf-8-above-bmp)
    # A character above U+FFFF is four bytes, and four bytes are its surrogate pair.
    printf 'a\xf0\x9f\x98\x80b' | iconv -f UTF-8 -t UTF-16LE >"$work/units"
    run "$work/units" encode "$data/utf-8.okc"
    expect_status 0
    [ "$(od -An -tx1 "$work/out" | tr -d ' \n')" = 61f09f988062 ] ||
        fail "encoded $(od -An -tx1 "$work/out")"
    cp "$work/out" "$work/bytes"
    run "$work/bytes" decode "$data/utf-8.okc"
    expect_status 0
    cmp "$work/out" "$work/units" || fail "decoded $(od -An -tx1 "$work/out")"
    ;;
encode-undefined-marker)
    # U+FFFF marks the table's bytes without a character; it is no character of its own.
    printf '\xff\xff\x41\x00' >"$work/in"
    run "$work/in" encode "$data/windows-936.okc"
    expect_status 0
    [ "$(cat "$work/out")" = '?A' ] || fail "encoded $(od -An -tx1 "$work/out")"
    ;;
files-and-list)
    # Files named on the command line give what standard input and output give; a text
    # longer than a block, whose two-byte characters straddle the block boundaries, comes
    # through whole; list shows the tables with their display names.
    for _ in $(seq 20000); do printf 'A\x93\xfa\x96\x7b '; done >"$work/in"
    run "$work/in" decode "$data/windows-932.okc"
    expect_status 0
    iconv -f CP932 -t UTF-16LE "$work/in" | cmp - "$work/out" || fail "decoded differs from iconv"
    "$tool" decode "$data/windows-932.okc" "$work/in" -o "$work/named" 2>"$work/err" ||
        fail "decode with files: $(cat "$work/err")"
    cmp "$work/named" "$work/out" || fail "decode with files differs"
    "$tool" encode "$data/windows-932.okc" -o "$work/bytes" - <"$work/out" || fail "encode to a file"
    cmp "$work/bytes" "$work/in" || fail "round trip through files differs"
    "$tool" decode "$data/windows-932.okc" "$work/no-such" >/dev/null 2>"$work/err"
    status=$?
    expect_status 4
    run /dev/null list "$data"
    expect_status 0
    grep -q '^windows-1252  *Western European (Windows)$' "$work/out" || fail "list: $(head "$work/out")"
    [ "$(wc -l <"$work/out")" -eq "$(ls "$data"/*.okc | wc -l)" ] || fail "list: $(cat "$work/out")"
    run /dev/null --help
    expect_status 0
    grep -q 'Exit codes' "$work/out" || fail "help: $(cat "$work/out")"
    ;;
missing-file)
    run /dev/null dump "$work/no-such.okc"
    expect_status 2
    grep -q '10001 CodeSetOpenFailed' "$work/err" || fail "stderr: $(cat "$work/err")"
    ;;
bad-file)
    printf '\x06\x00OKC100' >"$work/upper.okc"
    run /dev/null decode "$work/upper.okc"
    expect_status 2
    grep -q '10003 CodeSetBadMagic' "$work/err" || fail "stderr: $(cat "$work/err")"
    ;;
bad-arguments)
    for args in "decode $data/windows-1252.okc --flags 12z" "dump $data/windows-1252.okc --flags 1" \
        "convert $data/windows-1252.okc" "decode" "decode $data/windows-1252.okc a b" \
        "encode $data/windows-1252.okc -o"; do
        # shellcheck disable=SC2086
        run /dev/null $args
        expect_status 1
    done
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
exit 0
