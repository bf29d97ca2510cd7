// The gallery's classic configurations, computed from their geometry in
// doubles, each as a scene without a view, which the engine fits to its
// circles (as for any scene file that leaves its view out).
//
//   classicCircles.NAME(n?) -> { circles: [[x, y, r], ...], ... }  the geometry
//   classicScene(NAME, n?) -> the scene's JSON object
//   ringCount: { least, most, initial }  the ring's circles to choose from
//   pointShown: the configurations that open showing the inversion of a point
export const ringCount = { least: 3, most: 15, initial: 6 };
export const pointShown = ['apollonian_gasket', 'ring', 'schottky'];

const distance = ([ax, ay], [bx, by]) => Math.hypot(ax - bx, ay - by);

// The circle through three points, as [x, y, r].
export function circleThrough([ax, ay], [bx, by], [cx, cy]) {
  const d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
  const a2 = ax * ax + ay * ay;
  const b2 = bx * bx + by * by;
  const c2 = cx * cx + cy * cy;
  const x = (a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d;
  const y = (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d;
  return [x, y, distance([x, y], [ax, ay])];
}

// The point where two tangent circles touch.
function contact([ax, ay, ar], [bx, by, br]) {
  const d = distance([ax, ay], [bx, by]);
  const toward = Math.abs(d - (ar + br)) < Math.abs(d - Math.abs(ar - br)) || ar >= br ? 1 : -1;
  return [ax + toward * ar * (bx - ax) / d, ay + toward * ar * (by - ay) / d];
}

// Inversion of a circle not through the centre of inversion (cx, cy, s).
function invertCircle([x, y, r], [cx, cy, s]) {
  const k = s * s / ((x - cx) ** 2 + (y - cy) ** 2 - r * r);
  return [cx + k * (x - cx), cy + k * (y - cy), Math.abs(k) * r];
}

export const classicCircles = {
  // Three equal circles touching one another and the small circle between
  // them, then the four dual circles, each through the three points where three
  // of the four touch: inversions in the duals keep the four and draw the
  // gasket in between.
  apollonian_gasket() {
    const d = 2 / Math.sqrt(3);
    const inner = [0, 1, 2].map((k) => [d * Math.cos(Math.PI / 2 + 2 * Math.PI * k / 3),
                                        d * Math.sin(Math.PI / 2 + 2 * Math.PI * k / 3), 1]);
    const tangent = [...inner, [0, 0, d - 1]];
    const triples = [[0, 1, 2], [0, 1, 3], [1, 2, 3], [0, 2, 3]];
    const duals = triples.map(([a, b, c]) => circleThrough(
      contact(tangent[a], tangent[b]), contact(tangent[b], tangent[c]), contact(tangent[a], tangent[c])));
    const around = [0, 0, d + 1];  // touches the three: the gasket's rim, framed with it
    return { circles: [...tangent, ...duals, around], tangent, duals, triples };
  },
  // n circles on a ring, each touching its two neighbours and the circle
  // around them all.
  ring(n) {
    const r = Math.sin(Math.PI / n);
    const ring = Array.from({ length: n }, (unused, k) =>
      [Math.cos(2 * Math.PI * k / n), Math.sin(2 * Math.PI * k / n), r]);
    return { circles: [...ring, [0, 0, 1 + r]] };
  },
  // Four disjoint circles: their inversions make a Schottky group, whose
  // limit set is a dust of points.
  schottky() {
    return { circles: [[1, 0, 0.69], [0, 1, 0.69], [-1, 0, 0.69], [0, -1, 0.69]] };
  },
  // Six circles in a ring between two concentric ones, each touching its
  // neighbours and both, then all inverted in a circle outside them: the
  // chain between two circles that are not concentric.
  steiner_chain() {
    const n = 6;
    const s = Math.sin(Math.PI / n);
    const inner = (1 - s) / (1 + s);
    const middle = (1 + inner) / 2;
    const chain = Array.from({ length: n }, (unused, k) =>
      [middle * Math.cos(2 * Math.PI * k / n), middle * Math.sin(2 * Math.PI * k / n), (1 - inner) / 2]);
    const centre = [1.6, 0, 1.2];
    return { circles: [[0, 0, 1], [0, 0, inner], ...chain].map((circle) => invertCircle(circle, centre)) };
  },
  // Two disjoint circles and, as small circles, their limiting points: the
  // two points that are each other's image in both circles.
  limiting_points() {
    const [a, b] = [[-1.5, 0, 1], [1.5, 0, 0.6]];
    const axis = (a[2] ** 2 - b[2] ** 2 + b[0] ** 2 - a[0] ** 2) / (2 * (b[0] - a[0]));  // radical axis x
    const reach = Math.sqrt((axis - a[0]) ** 2 - a[2] ** 2);
    const points = [[axis - reach, 0], [axis + reach, 0]];
    return { circles: [a, b, ...points.map(([x, y]) => [x, y, 0.03])], points };
  },
  // Circles through two points, (-1, 0) and (1, 0): their centres on the
  // line between them.
  pencil() {
    const heights = [-2.4, -1.2, -0.6, -0.25, 0, 0.25, 0.6, 1.2, 2.4];
    return { circles: heights.map((t) => [0, t, Math.hypot(1, t)]), points: [[-1, 0], [1, 0]] };
  },
};

// Each configuration's layers over its circles (indices from 0).
const indices = (first, count) => Array.from({ length: count }, (unused, k) => first + k);
const walk = (circles, steps, more = {}) => ({ draw: 'walk', circles, steps, seed: 1700000000, burn_in: 100, ...more });
const layers = {
  apollonian_gasket: () => [{ draw: 'outlines', circles: [0, 1, 2, 3, 8], colour: 'blue' }, walk([4, 5, 6, 7], 1000000)],
  ring: (n) => [{ draw: 'outlines', colour: 'blue' }, walk('all', 1000000)],
  schottky: () => [{ draw: 'outlines', colour: 'blue' }, walk('all', 300000, { colour: 'red', plot: 'ring1' })],
  steiner_chain: () => [{ draw: 'discs', circles: indices(2, 6), colour: 'yellow' }, { draw: 'outlines', colour: 'blue' }],
  limiting_points: () => [{ draw: 'outlines', circles: [0, 1], colour: 'blue' },
                          { draw: 'discs', circles: [2, 3], colour: 'red' },
                          walk([0, 1], 2000, { pick: 'cyclic', burn_in: 10, plot: 'ring2' })],
  pencil: () => [{ draw: 'outlines', colour: 'blue' }],
};

// The configuration as a scene file's JSON object, its view left to the
// engine, which fits it to the circles.
export function classicScene(name, n = ringCount.initial) {
  const { circles } = classicCircles[name](n);
  return { circles: circles.map(([x, y, r]) => ({ x, y, r })), layers: layers[name](n) };
}
