# The programs of programs/programs.list, in the order of the tour (sourced,
# not run): programs (names), program_pictures (pictures held for a key),
# program_frames (frames drawn, one a flip) and program_about (one line each).
programs=()
declare -A program_pictures=() program_frames=() program_about=()
while IFS=$'\t' read -r name pictures frames about; do
  case "$name" in '' | '#'*) continue ;; esac
  programs+=("$name")
  program_pictures[$name]=$pictures
  program_frames[$name]=$frames
  program_about[$name]=$about
done <"$(dirname "${BASH_SOURCE[0]}")/../programs/programs.list"

# Fails with the list of names unless $1 is one of the programs.
check_program_name() {
  if [ -z "$1" ] || [ -z "${program_pictures[$1]+set}" ]; then
    echo "no program called '$1'; the programs are: ${programs[*]}" >&2
    return 2
  fi
}
