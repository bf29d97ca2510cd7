// The explorer's edits of a scene, each a function from a scene (the plain
// object of the scene's JSON file) to a new scene; the old one is never
// changed, so undo keeps old scenes as they are. Also the one conversion
// between the scene's world and the canvas's pixels.
//
// The view is the scene's own frame: the world point at the canvas's centre
// and the pixels per unit, y up; panning and zooming edit it, so the link
// holds the view too.

const copy = (scene) => structuredClone(scene);

// The canvas: the scene's own size, or, for a scene larger than a browser
// should hold, the same view at most largestSide pixels a side. `scale` is
// the pixels a world unit there, as the engine's frame takes it.
const largestSide = 4096;
export function sceneSize(scene) {
  const shrink = Math.min(1, largestSide / scene.width, largestSide / scene.height);
  const width = Math.max(1, Math.floor(scene.width * shrink));
  const height = Math.max(1, Math.floor(scene.height * shrink));
  return { width, height, scale: scene.view.scale * Math.min(width / scene.width, height / scene.height) };
}

// World point -> canvas pixel (column, row), and back.
export function toPixel(scene, x, y) {
  const { width, height, scale } = sceneSize(scene);
  return [width / 2 + (x - scene.view.x) * scale, height / 2 - (y - scene.view.y) * scale];
}

export function toWorld(scene, column, row) {
  const { width, height, scale } = sceneSize(scene);
  return [scene.view.x + (column - width / 2) / scale, scene.view.y - (row - height / 2) / scale];
}

// Each circle's centre and radius in canvas pixels: [[x, y, r], ...].
export function circlesInPixels(scene) {
  const { scale } = sceneSize(scene);
  return scene.circles.map(({ x, y, r }) => [...toPixel(scene, x, y), r * scale]);
}

export function moveCircle(scene, k, x, y) {
  const next = copy(scene);
  Object.assign(next.circles[k], { x, y });
  return next;
}

// A radius of zero (or below) is the engine's to refuse, with its own line.
export function resizeCircle(scene, k, r) {
  const next = copy(scene);
  next.circles[k].r = r;
  return next;
}

// Layers take "all" circles or a list of indices: removing a circle
// renumbers the lists, a layer left with none goes, and a walk's previous
// circle (a position in its layer's choice) follows its circle or, when
// that is the one removed, becomes "none".
export function removeCircle(scene, k) {
  const next = copy(scene);
  next.circles.splice(k, 1);
  next.layers = next.layers.filter((layer) => {
    const chosen = layer.circles === 'all' ? scene.circles.map((_, i) => i) : layer.circles;
    if (layer.draw === 'walk' && typeof layer.previous === 'number') {
      const previous = chosen[layer.previous];
      const kept = chosen.filter((index) => index !== k);
      layer.previous = previous === k ? 'none' : kept.indexOf(previous);
    }
    if (layer.circles === 'all') return next.circles.length > 0;
    layer.circles = layer.circles.filter((index) => index !== k).map((index) => (index > k ? index - 1 : index));
    return layer.circles.length > 0;
  });
  return next;
}

// A new circle, a sixth of the canvas's height across, at the view's
// centre; every layer that takes all circles takes it too.
export function addCircle(scene) {
  const next = copy(scene);
  next.circles.push({ x: next.view.x, y: next.view.y, r: next.height / 12 / next.view.scale });
  return next;
}

// Moves the picture by (columns, rows) pixels on the canvas.
export function pan(scene, columns, rows) {
  const { scale } = sceneSize(scene);
  const next = copy(scene);
  next.view.x -= columns / scale;
  next.view.y += rows / scale;
  return next;
}

// The scale of the view that fits the circles, as a scene without one is
// shown (their bounding box filling nine tenths of the width or height):
// magnifications are relative to it.
export function fittedScale(scene) {
  if (scene.circles.length === 0) return 1;
  const box = scene.circles.reduce(([left, right, bottom, top], { x, y, r }) =>
    [Math.min(left, x - r), Math.max(right, x + r), Math.min(bottom, y - r), Math.max(top, y + r)],
  [Infinity, -Infinity, Infinity, -Infinity]);
  return 0.9 * Math.min(scene.width / (box[1] - box[0]), scene.height / (box[3] - box[2]));
}

export const magnification = (scene) => scene.view.scale / fittedScale(scene);

// The deepest scale at which doubles still place a point to a pixel about
// the world point (x, y): a pixel must span pixelInUlps times the largest
// coordinate there (the point's, or a circle's reach) times 2^-52, since
// the circles' centres and radii, the view and each walk's points are
// doubles of that size. A circle's outline stays within the rasteriser's
// pixel down to a pixel of one such unit and strays by 2 to 3.5 pixels at
// a third to a tenth of one; a walk's point, a few roundings from its
// circles, may be off by a few units, hence four.
const pixelInUlps = 4;
export function deepestScale(scene, x, y) {
  const largest = scene.circles.reduce((most, c) => Math.max(most, Math.abs(c.x) + c.r, Math.abs(c.y) + c.r),
                                       Math.max(Math.abs(x), Math.abs(y)));
  return 1 / (pixelInUlps * largest * Number.EPSILON);
}

// Whether the view is as deep as doubles place to a pixel (a zoom in
// would be refused): within a hundredth of the deepest scale.
export const atDeepest = (scene) => scene.view.scale >= 0.99 * deepestScale(scene, scene.view.x, scene.view.y);

// Zooms by factor keeping the world point under (column, row) in place, no
// deeper than deepestScale there; a zoom in from the deepest gives the
// same scene back.
export function zoomAbout(scene, column, row, factor) {
  const [x, y] = toWorld(scene, column, row);
  const deepest = deepestScale(scene, x, y);
  const scale = factor > 1 ? Math.max(scene.view.scale, Math.min(scene.view.scale * factor, deepest))
    : scene.view.scale * factor;
  if (scale === scene.view.scale) return scene;
  const next = copy(scene);
  next.view.scale = scale;
  const [x2, y2] = toWorld(next, column, row);
  next.view.x += x - x2;
  next.view.y += y - y2;
  return next;
}

// The walk and generation layers the controls edit: the first of each.
export const walkLayer = (scene) => scene.layers.find((layer) => layer.draw === 'walk') ?? null;

// The first layer that draws the limit set: a walk, or a limit_set layer
// (word by word); null when the scene has neither.
export const limitLayer = (scene) =>
  scene.layers.find((layer) => layer.draw === 'walk' || layer.draw === 'limit_set') ?? null;

// The limit set drawn word by word (a limit_set layer in the walk's place,
// over its circles, in its colour) or by a walk again: `walk`, the walk set
// aside, or else a walk of 10^6 steps in the layer's colour.
export function drawLimitSet(scene, how, walk = null) {
  const next = copy(scene);
  const k = next.layers.indexOf(limitLayer(next));
  const { circles, colour } = next.layers[k];
  next.layers[k] = how === 'words' ? { draw: 'limit_set', circles, colour: colour ?? 'red' }
    : walk ?? { draw: 'walk', circles, steps: 1000000, seed: 1, colour: colour ?? 'red' };
  return next;
}
export const generationLayer = (scene) => scene.layers.find((layer) => layer.draw === 'generations') ?? null;

export function setWalk(scene, fields) {
  const next = copy(scene);
  Object.assign(walkLayer(next), fields);
  return next;
}

// Generations come one colour each. Depth 0 removes the layer; a scene
// without one gets it under every other layer, as discs of all circles.
const generationColours = ['black', 'red', 'green', 'blue', 'yellow'];
export function setDepth(scene, depth) {
  const next = copy(scene);
  let layer = generationLayer(next);
  if (depth === 0) {
    next.layers = next.layers.filter((other) => other !== layer);
    return next;
  }
  if (layer === null) {
    layer = { draw: 'generations', circles: 'all', style: 'discs', colours: [] };
    next.layers.unshift(layer);
  }
  const { colours } = layer;
  while (colours.length < depth) colours.push(generationColours[colours.length % generationColours.length]);
  colours.length = depth;
  return next;
}
