// What inversion does to a point, in plain doubles, for the explorer's
// illustration of it (explore_pointer.js): nothing here is drawn exactly,
// and nothing here touches the scene. Points are [x, y], circles [x, y, r].
//
//   invertPoint(circle, point) -> its image, or null for the centre
//   orbit(circles, point, depth, most) -> { generations, stopped }
//   clipRay(from, through, box) -> [start, end] of the ray inside box, or null
//   distances(circle, point) -> the readout's numbers, as text

// P' = O + r² (P − O) / |P − O|²: on the ray from O through P, with
// |OP| |OP'| = r². The centre has no image; nor has a point so near it that
// its image is beyond the doubles.
export function invertPoint([x, y, r], [px, py]) {
  const dx = px - x;
  const dy = py - y;
  const k = r * r / (dx * dx + dy * dy);
  const image = [x + k * dx, y + k * dy];
  return Number.isFinite(image[0]) && Number.isFinite(image[1]) ? image : null;
}

// The images of a point under the reduced words of the inversions (no
// circle twice in a row, since an inversion undoes itself): generation k
// holds the images under the words of k letters, n (n − 1)^(k − 1) of them
// for n circles, each the image of one of generation k − 1 in a circle other
// than the last it was inverted in. Generations stop before the one that
// would bring the count past `most`; `stopped` is then that generation's
// size. A point with no image (at a centre) has no descendants.
export function orbit(circles, point, depth, most) {
  const generations = [];
  let [last, letters] = [[point], [-1]];  // a generation's points, and the circle each was inverted in last
  let count = 0;
  for (let k = 1; k <= depth; k++) {
    const size = last.length * (k === 1 ? circles.length : circles.length - 1);
    if (count + size > most) return { generations, stopped: size };
    const [next, nextLetters] = [[], []];
    last.forEach((at, i) => {
      for (let j = 0; j < circles.length; j++) {
        const image = j === letters[i] ? null : invertPoint(circles[j], at);
        if (image !== null) {
          next.push(image);
          nextLetters.push(j);
        }
      }
    });
    generations.push(next);
    count += next.length;
    [last, letters] = [next, nextLetters];
  }
  return { generations, stopped: 0 };
}

// The ray from `from` through `through`, clipped to box = [left, top, right,
// bottom] (Liang–Barsky): the part of it drawn. null when it misses the box
// or `through` is `from`.
export function clipRay(from, through, [left, top, right, bottom]) {
  const d = [through[0] - from[0], through[1] - from[1]];
  const length = Math.hypot(...d);
  if (!(length > 0)) return null;
  let [t0, t1] = [0, Infinity];
  for (const [p, q] of [[-d[0], from[0] - left], [d[0], right - from[0]], [-d[1], from[1] - top], [d[1], bottom - from[1]]]) {
    if (p === 0) {
      if (q < 0) return null;
      continue;
    }
    const t = q / p;
    if (p < 0) t0 = Math.max(t0, t);
    else t1 = Math.min(t1, t);
  }
  if (!(t0 <= t1) || t1 === Infinity) return null;
  return [t0, t1].map((t) => [from[0] + t * d[0], from[1] + t * d[1]]);
}

// A length in world units to four significant digits, in exponent form
// outside 0.001 to 100000 (a deep zoom's lengths are tiny).
export function readable(value) {
  if (value === 0) return '0';
  const form = Math.abs(value) >= 1e-3 && Math.abs(value) < 1e5 ? value.toPrecision(4) : value.toExponential(3);
  return form.replace('e+', 'e');
}

// The numbers the student reads: |OP|, |OP'|, their product and r², each
// worked out on its own, so that the product equals r² as read, not as
// written; null for the centre.
export function distances(circle, point) {
  const image = invertPoint(circle, point);
  if (image === null) return null;
  const op = Math.hypot(point[0] - circle[0], point[1] - circle[1]);
  const opImage = Math.hypot(image[0] - circle[0], image[1] - circle[1]);
  return { op: readable(op), opImage: readable(opImage), product: readable(op * opImage),
           r: readable(circle[2]), rSquared: readable(circle[2] * circle[2]) };
}
