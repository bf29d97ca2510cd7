#!/usr/bin/env bash
# The export's command line over odd arguments: each row gives the
# arguments, the status and a piece of what must be said. Arguments are
# checked before anything is built: EXPORT_BUILD names a tree that does not
# exist, so an export that got past its checks says "no headless runner".
#   command_line_test.sh SOURCE_DIR BUILD_TREE
set -uo pipefail
source_dir=$1
build=$2
scratch=$(mktemp -d "/tmp/command line.XXXXXX")  # a space, as in many home folders
trap 'rm -rf -- "$scratch"' EXIT
: >"$scratch/a file"
failures=0

check() {  # STATUS SAYING ARGUMENT...
  local want_status=$1 saying=$2 status=0 said before
  shift 2
  before=$(ls -A "$scratch")
  said=$(cd "$scratch" && EXPORT_BUILD="$scratch/no tree" "$source_dir/scripts/export.sh" "$@" 2>&1) || status=$?
  # Nothing is created before the build has succeeded.
  if [ "$status" -ne "$want_status" ] || [[ "$said" != *"$saying"* ]] || [ "$(ls -A "$scratch")" != "$before" ]; then
    printf 'FAIL: export %q: status %d, said:\n%s\n' "$*" "$status" "$said"
    failures=$((failures + 1))
  fi
}

check 2 "no program called ''" ""
check 2 "no program called 'nope'" coaxal_pencil nope
check 2 "usage:" --clock
check 2 "--clock wants whole seconds from 1, not '0'" --clock 0
check 2 "--clock wants whole seconds from 1, not '000'" --clock 000
check 2 "--clock wants whole seconds" --clock -5
check 2 "--clock wants whole seconds" --clock 17e8
check 2 "--out wants a folder, not the option '-x'" --out -x
check 2 "--out wants a folder" --out ""
check 2 "is a file, not a folder" --out "a file"
check 2 "unknown option --colour" --colour
ln -s "$scratch/nowhere" "$scratch/dangling"
check 2 "--out: 'dangling' is a symbolic link to '$scratch/nowhere', which does not exist" --out dangling
check 1 "no headless runner" coaxal_pencil spoke_inversion --clock 4294967295 --out "odd [dir] 'x'"
check 1 "no headless runner" --clock 0001700000000 --animate
check 1 "no headless runner" ring_zoom --motion

# A real export of two programs, through a tree whose path holds a space:
# both are drawn, and the command it prints draws them again.
ln -s "$build" "$scratch/built tree"
out="$scratch/out dir"
said=$(EXPORT_BUILD="$scratch/built tree" "$source_dir/scripts/export.sh" spoke_inversion coaxal_pencil \
  --clock 1700000000 --out "$out" 2>&1) || { echo "FAIL: two programs: $said"; failures=$((failures + 1)); }
for name in spoke_inversion coaxal_pencil; do
  [ -f "$out/$name/frame-001.png" ] || { echo "FAIL: no frame of $name in: $said"; failures=$((failures + 1)); }
done
again=$(printf '%q ' ./suite export spoke_inversion coaxal_pencil --clock 1700000000 --out "$out")
[[ "$said" == *"${again% }"* ]] || { echo "FAIL: no command to draw again in: $said"; failures=$((failures + 1)); }

# animate_pictures' arguments: the output must be a new .webp file; a bad
# frame or output is named with the system's reason or what is wrong with
# it; nothing is left of a failed output.
animate() {  # STATUS SAYING ARGUMENT...
  local want_status=$1 saying=$2 status=0 said
  shift 2
  said=$(cd "$out" && "$build/headless/animate_pictures" "$@" 2>&1) || status=$?
  if [ "$status" -ne "$want_status" ] || [[ "$said" != *"$saying"* ]] || [ -e "$out/new.webp" ]; then
    printf 'FAIL: animate_pictures %q: status %d, said:\n%s\n' "$*" "$status" "$said"
    failures=$((failures + 1))
  fi
}
: >"$out/empty.png"
mkdir "$out/folder.png"
cp "$out/spoke_inversion/frame-001.png" "$out/picture.webp"
ln -s /dev/full "$out/full.webp"
animate 2 "must end in .webp, not 'coaxal_pencil/frame-001.png'" coaxal_pencil/frame-001.png spoke_inversion/frame-001.png
animate 2 "is also one of the frames" picture.webp coaxal_pencil/frame-001.png picture.webp
animate 1 "empty.png: the file ends too early" new.webp empty.png
animate 1 "folder.png: Is a directory" new.webp folder.png
animate 1 "full.webp: No space left on device" full.webp coaxal_pencil/frame-001.png
rm "$out/picture.webp" "$out/full.webp"

# The clock's range is export_pictures' own (the shell checks its form): a
# clock past the largest is refused there with one line, status 2, before
# any folder is made.
for clock in 4294967296 99999999999999999999 0004294967296; do
  status=0
  said=$(cd "$scratch" && EXPORT_BUILD="$scratch/built tree" "$source_dir/scripts/export.sh" --clock $clock \
    --out "clock out" 2>&1) || status=$?
  [ "$status" -eq 2 ] && [ "$said" = "--clock wants whole seconds from 1 to 4294967295, not '${clock##000}'" ] &&
    [ ! -e "$scratch/clock out" ] || { echo "FAIL: export --clock $clock: status $status, said: $said"; failures=$((failures + 1)); }
done

# An empty program name for the tour is refused before anything is built.
said=$(DISPLAY= WAYLAND_DISPLAY= "$source_dir/suite" run "" 2>&1)
[ $? -eq 2 ] && [[ "$said" == *"no program called ''"* ]] || { echo "FAIL: run '': $said"; failures=$((failures + 1)); }

# The tour shows what a program prints while the program still runs: a
# stand-in prints a count and waits until the tour has shown it.
mkdir "$scratch/bin"
cat >"$scratch/bin/four_circle_packing" <<STANDIN
#!/usr/bin/env bash
printf '12   '
for _ in \$(seq 100); do [ -e "$scratch/seen" ] && exit 0; sleep 0.05; done
exit 9
STANDIN
chmod +x "$scratch/bin/four_circle_packing"
"$build/tour/tour" "$scratch/bin" four_circle_packing >"$scratch/tour" 2>&1 &
tour=$!
for _ in $(seq 100); do
  grep -q 'four_circle_packing printed: 12' "$scratch/tour" && { touch "$scratch/seen"; break; }
  sleep 0.05
done
wait "$tour" || { echo "FAIL: the tour showed the count only after the program ended:"; cat "$scratch/tour"; failures=$((failures + 1)); }

echo "command line: $failures failure(s)"
# ./suite render checks its arguments' form before anything is built: each
# row is the arguments and a piece of the one line it must say, status 2.
while IFS='|' read -r arguments saying; do
  # shellcheck disable=SC2086
  said=$(cd "$scratch" && "$source_dir/suite" render $arguments 2>&1) && status=0 || status=$?
  [ "$status" -eq 2 ] && [[ "$said" == *"$saying"* ]] ||
    { echo "FAIL: render $arguments: status $status, said: $said"; failures=$((failures + 1)); }
done <<'ROWS'
|no SCENE given
soddy_gasket:1 --size 800:600|--size wants WIDTHxHEIGHT
soddy_gasket:1 --steps 1e9|--steps wants a whole number
soddy_gasket:1 --clock|--clock wants whole seconds
soddy_gasket:1 --threads two|--threads wants a whole number from 1 to 256
soddy_gasket:1 --threads 1000|--threads wants a whole number from 1 to 256, not '1000'
soddy_gasket:1 --out x.gif|--out wants a file name ending in .png, .svg, .json or (with --frames) .webp
soddy_gasket:1 soddy_gasket:2 --frames 0x|--frames wants a whole number from 2 to 1000, not '0x'
soddy_gasket:1 soddy_gasket:2 --frames|--frames wants a whole number
nope:1|no program called 'nope'
missing.json|no scene file 'missing.json'
soddy_gasket:1 --colour red|unknown option --colour
ROWS

[ "$failures" -eq 0 ]
