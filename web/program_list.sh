#!/usr/bin/env bash
# Writes the page's list of programs, as JavaScript, from the suite's one
# list (scripts/programs.sh): names in the order of the tour, how many
# pictures each holds for a key, and one line on what it shows.
#   web/program_list.sh > build/web/site/programs.js
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/programs.sh"

json_string() {
  local text=${1//\\/\\\\}
  printf '"%s"' "${text//\"/\\\"}"
}

echo "// Made by web/program_list.sh from scripts/programs.sh; not to be edited."
echo "const suitePrograms = ["
separator=""
for name in "${programs[@]}"; do
  printf '%s  { "name": %s, "pictures": %d, "about": %s }' "$separator" \
    "$(json_string "$name")" "${program_pictures[$name]}" "$(json_string "${program_about[$name]}")"
  separator=$',\n'
done
printf '\n];\n'
