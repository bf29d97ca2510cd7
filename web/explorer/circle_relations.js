// How two circles lie, in numbers, and the snap that makes them touch.
// Circles are { x, y, r } in the scene's units; d is the distance of the
// centres.
//
//   relation(a, b, tolerance) -> { kind, inside, delta, angle, gap }
//       kind: 'apart', 'nested' (one inside the other), 'outside' (touching
//       from outside), 'inside' (touching, one inside the other),
//       'crossing' or 'same'; inside: which of a, b lies in the other
//       ('a' or 'b', else null); delta: the inversive distance
//       (d² − ra² − rb²) / (2 ra rb); angle: where they cross, the angle in
//       degrees of the corner inside both discs, θ with cos θ = δ (0 when
//       touching from outside, 180 from inside, null when they do not
//       meet); gap: d less the sum or difference of the radii that is
//       nearer, what a touch is away. Touching is decided within
//       `tolerance` (scene units) of the gap.
//   touching(a, b) -> { x, y }: a's centre moved along the line of centres
//       so that it touches b, from outside or inside, whichever is nearer
//   snapCircle(scene, k, kind, pixels) -> { scene, to }
import { sceneSize } from './scene_edit.js';

// A snapped touch is exact to within exactUlps units in the last place of
// the largest number of the two circles: the centre is placed with a few
// roundings of numbers that size, and hypot adds one (measured: at most 2.9
// over 10^5 random pairs).
export const exactUlps = 4;
const ulps = (...circles) =>
  Math.max(...circles.flatMap(({ x, y, r }) => [Math.abs(x), Math.abs(y), r])) * Number.EPSILON;

// Both sums a touch can mean: d = ra + rb (outside) and d = |ra − rb|
// (inside); δ written about the nearer one, (d − s)(d + s) over 2 ra rb
// from ±1, so that near a touch it loses nothing to cancellation.
function measured(a, b) {
  const d = Math.hypot(b.x - a.x, b.y - a.y);
  const sum = a.r + b.r;
  const difference = Math.abs(a.r - b.r);
  const outside = Math.abs(d - sum) <= Math.abs(d - difference);
  const s = outside ? sum : difference;
  const delta = (outside ? 1 : -1) + (d - s) * (d + s) / (2 * a.r * b.r);
  return { d, gap: d - s, outside, delta };
}

export function relation(a, b, tolerance) {
  const { d, gap, outside, delta } = measured(a, b);
  const smaller = a.r < b.r ? 'a' : 'b';
  const angle = Math.abs(delta) <= 1 ? Math.acos(delta) * 180 / Math.PI : null;
  const touches = Math.abs(gap) <= tolerance;
  let kind;
  if (a.x === b.x && a.y === b.y && a.r === b.r) kind = 'same';
  else if (touches) kind = outside ? 'outside' : 'inside';
  else if (delta > 1) kind = 'apart';
  else if (delta < -1) kind = 'nested';
  else kind = 'crossing';
  const inside = kind === 'inside' || kind === 'nested' ? smaller : null;
  return { kind, inside, delta, angle: touches ? (outside ? 0 : 180) : angle, gap };
}

// Whether the touch is exact as far as doubles go.
export const exact = (a, b) => Math.abs(measured(a, b).gap) <= exactUlps * ulps(a, b);

// a's centre at distance s from b's along the line of centres (to the
// right of b when the centres coincide).
function placed(a, b, s) {
  const d = Math.hypot(a.x - b.x, a.y - b.y);
  const [ux, uy] = d > 0 ? [(a.x - b.x) / d, (a.y - b.y) / d] : [1, 0];
  return { x: b.x + s * ux, y: b.y + s * uy };
}

export function touching(a, b) {
  const { outside } = measured(a, b);
  // Equal circles touch from inside only by being the same circle.
  return placed(a, b, outside || a.r === b.r ? a.r + b.r : Math.abs(a.r - b.r));
}

// The touches circle k could be moved or resized to, each against another
// circle j: [{ j, gap, circle }], gap in scene units from where k is now.
function candidates(circles, k, kind) {
  const a = circles[k];
  return circles.flatMap((b, j) => {
    if (j === k) return [];
    const d = Math.hypot(a.x - b.x, a.y - b.y);
    if (kind === 'move') {
      const sums = [a.r + b.r, ...(a.r !== b.r ? [Math.abs(a.r - b.r)] : [])];
      return sums.map((s) => ({ j, gap: d - s, circle: { ...a, ...placed(a, b, s) } }));
    }
    // Radii that touch b: from outside, inside b, or around b.
    return [d - b.r, b.r - d, d + b.r].filter((r) => r > 0).map((r) => ({ j, gap: a.r - r, circle: { ...a, r } }));
  });
}

// Circle k of `scene` just moved or resized (kind 'move' or 'resize'): where
// a touch with another circle is within `pixels` canvas pixels, the circle
// set to touch it exactly, the nearest such; `to` is that other circle, or
// -1.
export function snapCircle(scene, k, kind, pixels) {
  const { scale } = sceneSize(scene);
  const near = candidates(scene.circles, k, kind).filter(({ gap }) => Math.abs(gap) * scale <= pixels);
  if (near.length === 0) return { scene, to: -1 };
  const best = near.reduce((nearest, found) => (Math.abs(found.gap) < Math.abs(nearest.gap) ? found : nearest));
  const next = structuredClone(scene);
  next.circles[k] = best.circle;
  return { scene: next, to: best.j };
}
