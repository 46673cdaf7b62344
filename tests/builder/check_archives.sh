#!/usr/bin/env bash
# Checks the archives and the cabinet that builder_archive_test made under Wine with tools
# that share no code with it: zipinfo and unzip (Info-ZIP), Python's zipfile and cabextract.
# Extracted bytes, names and dates are compared with the source files the test left beside
# them.
# Usage: check_archives.sh OUTPUT-FOLDER
set -uo pipefail
out=${1:?usage: check_archives.sh OUTPUT-FOLDER}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

ok() { passed=$((passed + 1)); }
fail() { echo "FAIL: $*" >&2; failed=$((failed + 1)); }
check() {  # description command...
  local what=$1; shift
  if "$@"; then ok; else fail "$what"; fi
}
same() {  # description expected actual
  if [ "$2" == "$3" ]; then ok; else fail "$1"; diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") >&2; fi
}

# Debian's Info-ZIP shows the names of archives made on FAT systems, which are stored in
# the OEM code page, converted to ISO-8859-1; the source tree holds them in UTF-8.
latin1() { iconv -f UTF-8 -t ISO-8859-1; }

# The DOS time of a file as zipinfo -T prints it: local time, seconds rounded down to even.
dos_time() {
  local t
  t=$(stat -c %Y "$1")
  if [ "$t" -lt "$(date -d 1980-01-01 +%s)" ]; then echo 19800101.000000; return; fi
  date -d "@$((t / 2 * 2))" +%Y%m%d.%H%M%S
}

# Entries of a staging tree as the archive should name them: the top folder as an empty
# name, folders ending in "/".
tree_names() {
  (cd "$1" && { echo; find . -mindepth 1 -type d -printf '%P/\n'; find . -mindepth 1 -type f -printf '%P\n'; }) |
    latin1 | LC_ALL=C sort
}

# zipinfo -T -s lines: "perm version os size type method yyyymmdd.hhmmss name".
zip_column() {  # archive column -> "name<TAB>value" lines
  zipinfo -T -s "$1" | awk -v col="$2" 'NF >= 7 && $1 ~ /^[-d]/ { name = (NF >= 8 ? $8 : ""); print name "\t" $col }'
}

check_tree() {  # archive source-folder method
  local zip=$1 src=$2 method=$3 name
  echo "checking $(basename "$zip")"
  # The top folder's entry has no name; Info-ZIP then reports the name it read before it
  # as a mismatch, so the data test covers the named entries and the listing the rest.
  check "$zip: unzip -t" unzip -tqq "$zip" '?*'
  same "$zip: entry names" "$(tree_names "$src")" "$(zipinfo -1 "$zip" | LC_ALL=C sort)"
  same "$zip: first entry is the nameless top folder" "" "$(zipinfo -1 "$zip" | head -n 1)"
  same "$zip: methods" "$method" "$(zip_column "$zip" 6 | cut -f2 | sort -u)"

  # The OEM bytes of the name outside ASCII, in the local and the central header.
  name=$(printf 'caf\xc3\xa9.txt' | iconv -f UTF-8 -t "CP$(cat "$out/oemcp.txt")")
  same "$zip: OEM name bytes" 2 "$(LC_ALL=C grep -aoF "$name" "$zip" | wc -l)"

  local x="$work/$(basename "$zip").x" f d expected=""
  unzip -qq -d "$x" "$zip" '?*' || fail "$zip: unzip"
  while IFS= read -r f; do
    check "$zip: bytes of $f" cmp -s "$src/$f" "$x/$(printf %s "$f" | latin1)"
  done < <(cd "$src" && find . -type f -printf '%P\n')
  while IFS= read -r d; do
    check "$zip: folder $d" test -d "$x/$(printf %s "$d" | latin1)"
  done < <(cd "$src" && find . -mindepth 1 -type d -printf '%P\n')

  while IFS= read -r f; do
    expected+="$(printf %s "$f" | latin1)"$'\t'"$(dos_time "$src/$f")"$'\n'
  done < <(cd "$src" && { find . -mindepth 1 -type d -printf '%P/\n'; find . -type f -printf '%P\n'; })
  expected+=$'\t'"$(dos_time "$src")"$'\n'
  same "$zip: dates" "$(printf %s "$expected" | LC_ALL=C sort)" "$(zip_column "$zip" 7 | LC_ALL=C sort)"
  same "$zip: a.txt's date" "a.txt"$'\t'"20210615.134530" "$(zip_column "$zip" 7 | grep '^a.txt')"
}

check_tree "$out/tree_deflated.zip" "$out/tree_deflated.zip_src" defX
check_tree "$out/tree_stored.zip" "$out/tree_stored.zip_src" stor

# Names the ANSI code page cannot hold. Debian's Info-ZIP converts every name of a FAT-made
# archive from OEM and passes over the UTF-8 flag, so Python's zipfile reads these: OEM
# (code page 437) names without the flag, UTF-8 names with it. Each file holds its own
# name in UTF-8, with "\" for a folder.
echo "checking names.zip"
omega=$'\xce\xa9' nihon=$'\xe6\x97\xa5\xe6\x9c\xac' go=$'\xe8\xaa\x9e' cafe=$'caf\xc3\xa9'
tab=$'\t'
expected=$(printf '%s\n' "$tab" "plain.txt${tab}plain.txt" "${omega}mega.txt$tab${omega}mega.txt" "$nihon/$tab" \
  "$nihon/$cafe.txt$tab$nihon\\$cafe.txt" "$nihon$go.txt$tab$nihon$go.txt")
same "names.zip: names and contents" "$expected" \
  "$(python3 - "$out/names.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in sorted(z.infolist(), key=lambda i: i.filename):
        data = b"" if i.filename.endswith("/") or not i.filename else z.read(i)
        sys.stdout.buffer.write(i.filename.encode("utf-8") + b"\t" + data + b"\n")
PY
)"

echo "checking folders.zip"
check "folders.zip: unzip -t" unzip -tqq "$out/folders.zip" '?*'
same "folders.zip: entries" $'\nX/\nX/Y/' "$(zipinfo -1 "$out/folders.zip")"

echo "checking extend.zip"
zip=$out/extend.zip
check "extend.zip: unzip -t" unzip -tqq "$zip"
same "extend.zip: entries in order" $'one.txt\ntwo.bin\nempty.dat' "$(zipinfo -1 "$zip")"
unzip -qq -d "$work/extend" "$zip" || fail "extend.zip: unzip"
for f in one.txt two.bin empty.dat; do
  check "extend.zip: bytes of $f" cmp -s "$out/extend_src/$f" "$work/extend/$f"
done

# Packed by several workers: whole, and every file's bytes as in the source tree.
echo "checking workers.zip"
zip=$out/workers.zip
check "workers.zip: unzip -t" unzip -tqq "$zip" '?*'
same "workers.zip: entry names" "$(tree_names "$out/workers_src")" "$(zipinfo -1 "$zip" | LC_ALL=C sort)"
unzip -qq -d "$work/workers" "$zip" '?*' || fail "workers.zip: unzip"
while IFS= read -r f; do
  check "workers.zip: bytes of $f" cmp -s "$out/workers_src/$f" "$work/workers/$f"
done < <(cd "$out/workers_src" && find . -type f -printf '%P\n')

# Cancelled extensions leave the archive as it was: one entry, intact.
for zip in "$out"/cancel_*.zip; do
  echo "checking $(basename "$zip")"
  check "$zip: unzip -t" unzip -tqq "$zip"
  same "$zip: entries" kept.txt "$(zipinfo -1 "$zip")"
done
[ -e "$out/cancel_file_extend.zip" ] || fail "no cancelled archives to check"

echo "checking Setup.cab"
cab=$out/cab/new/deeper/Setup.cab
check "Setup.cab: cabextract -t" cabextract -q -t "$cab" >/dev/null
same "Setup.cab: names" "$(cut -f1 "$out/cab_expected.txt")" \
  "$(cabextract -l "$cab" | awk -F' [|] ' 'NF == 3 && $1 !~ /File size/ { print $3 }')"
for f in Desktop.dat Variables.dat; do
  check "Setup.cab: empty $f is left out" bash -c "! cabextract -l '$cab' | grep -q ' $f\$'"
done
cabextract -q -d "$work/cab" "$cab" || fail "Setup.cab: cabextract"
while IFS=$'\t' read -r name source; do
  check "Setup.cab: bytes of $name" cmp -s "$out/cab_src/$source" "$work/cab/$name"
  same "Setup.cab: date of $name" "$(date -d "@$(($(stat -c %Y "$out/cab_src/$source") / 2 * 2))" '+%d.%m.%Y %H:%M:%S')" \
    "$(cabextract -l "$cab" | awk -F' [|] ' -v n="$name" '$3 == n { print $2 }')"
done < "$out/cab_expected.txt"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
