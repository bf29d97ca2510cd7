# The ten programs in the order of the tour, how many pictures each holds
# for a key press, and one line on what it shows (sourced, not run).

programs=(
  soddy_gasket
  coaxal_pencil
  five_circle_limit
  ring_zoom
  four_circle_packing
  two_circle_iteration
  apollonian_circles
  soddy_radius_sweep
  image_inversion
  spoke_inversion
)

declare -A program_pictures=(
  [soddy_gasket]=2
  [coaxal_pencil]=1
  [five_circle_limit]=4
  [ring_zoom]=2
  [four_circle_packing]=5
  [two_circle_iteration]=4
  [apollonian_circles]=1
  [soddy_radius_sweep]=15
  [image_inversion]=2
  [spoke_inversion]=1
)

declare -A program_about=(
  [soddy_gasket]="three touching circles: a packing grown by inversion, then the limit set of the three inversions"
  [coaxal_pencil]="a pencil of coaxal circles, and its image under inversion in a limiting point: concentric circles"
  [five_circle_limit]="limit sets of a ring of four circles inside a fifth, at three sizes, overlaid"
  [ring_zoom]="the limit set of fourteen circles in a ring, zoomed into in eighteen stages"
  [four_circle_packing]="four nearly touching circles, three generations of their images, and their limit set"
  [two_circle_iteration]="two disjoint circles: alternating inversions close in on their limiting points"
  [apollonian_circles]="the two pencils of circles that two points define, crossing at right angles"
  [soddy_radius_sweep]="the limit set of four circles while the middle one grows, in fifteen steps"
  [image_inversion]="a raster picture carried through inversion, forward and backward, pixel by pixel"
  [spoke_inversion]="a wheel inverted pixel by pixel, against the computed image of its rim"
)

# Fails with the list of names unless $1 is one of the programs.
check_program_name() {
  if [ -z "${program_pictures[$1]+set}" ]; then
    echo "no program called '$1'; the programs are: ${programs[*]}" >&2
    return 2
  fi
}
