#!/usr/bin/env bash
# Installs the build into a prefix of its own under a temporary folder and checks that a desktop
# finds everything there: both programs, the help pages with every page they link, the icons and
# the desktop entries; then lets the launch tests look up the recorder and the help in that tree.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR LAUNCH_TEST_EXECUTABLE
set -euo pipefail
build_dir=$1
source_dir=$2
launch_tests=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix with space"
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2
    exit 1
}

for program in orvindel ambrevo; do
    [[ -x "$prefix/bin/$program" ]] || fail "bin/$program is not an installed program"
done

help="$prefix/share/orvindel/help"
for page in "$source_dir"/resources/help/*.htm "$source_dir"/resources/help/help.css; do
    name=$(basename "$page")
    cmp -s "$page" "$help/$name" || fail "help page $name is missing or differs"
done
[[ -f "$help/Introduction.htm" ]] || fail "no help/Introduction.htm"
# Every page, style sheet and picture a help page refers to must be installed beside it.
for page in "$help"/*.htm; do
    for target in $(grep -o '\(href\|src\)="[^"#:]*"' "$page" | sed 's/^[a-z]*="//; s/"$//'); do
        [[ -e "$help/$target" ]] || fail "$(basename "$page") links the missing $target"
    done
done

applications="$prefix/share/applications"
for program in orvindel ambrevo; do
    entry="$applications/$program.desktop"
    if [[ ! -f "$entry" ]]; then
        fail "no share/applications/$program.desktop"
        continue
    fi
    head -n 1 "$entry" | grep -qx '\[Desktop Entry\]' || fail "$program.desktop has no group header"
    for key in Type Name Exec Icon Categories; do
        grep -q "^$key=" "$entry" || fail "$program.desktop has no $key"
    done
    # Exec names the installed program by its path, quoted here since the prefix has a blank;
    # Orvindel takes the files it is given ("Open with").
    exec_value=$(sed -n 's/^Exec=//p' "$entry")
    expected_exec="\"$prefix/bin/$program\""
    [[ "$program" == orvindel ]] && expected_exec+=" %F"
    [[ "$exec_value" == "$expected_exec" ]] ||
        fail "$program.desktop starts $exec_value, not $expected_exec"
    desktop-file-validate "$entry" || fail "$program.desktop does not validate"
    if [[ -f "$source_dir/resources/images/$program/program.svg" ]]; then
        icon=$(sed -n 's/^Icon=//p' "$entry")
        [[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ]] ||
            fail "icon $icon.svg of $program.desktop is not installed"
    fi
done
# The project file's type, so file managers open *.orvindel with Orvindel.
grep -q 'glob pattern="\*.orvindel"' "$prefix/share/mime/packages/orvindel.xml" 2>/dev/null ||
    fail "the project file's MIME type is not installed"
grep -q '^MimeType=application/x-orvindel-project;' "$prefix/share/applications/orvindel.desktop" ||
    fail "orvindel.desktop does not take project files"

# The installed Orvindel finds the installed Ambrevo and help through its lookup functions.
ORVINDEL_INSTALLED_PREFIX="$prefix" "$launch_tests" --gtest_filter='InstalledTree.*' >"$work/launch.log" 2>&1 || {
    cat "$work/launch.log" >&2
    fail "the launch look-ups do not find the installed tree"
}
grep -q '\[  PASSED  \] [1-9]' "$work/launch.log" || {
    cat "$work/launch.log" >&2
    fail "the installed-tree launch tests did not run"
}

if ((failures > 0)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed tree complete: $prefix"
