// The inversion of a point, shown over the picture: with the mode on, the
// pointer (a finger while it is down, or the arrow keys) is a point P, and
// the overlay draws its image P' in the selected circle, the ray from the
// centre O through both, and the readout |OP| · |OP'| beside r². A drag on
// empty space draws a stroke, and its image beside it; a click (or Enter)
// marks the point whose orbit under the limit set's inversions is drawn, a
// colour a generation. The overlay is an SVG over canvas#scene: the engine's
// pixels are never touched, and the scene is never edited here.
//
//   const mode = createPointMode(view, { select(k), readdress(search) })
//   mode.read(query, embedded) -> the query without the mode's flag (point=1),
//       the mode set as the address asks
//   mode.flag() -> '&point=1' while the mode is on, else ''
//   mode.update(scene, selected)   after each scene shown or circle selected
//   mode.on(), mode.nudge(dx, dy), mode.mark(), mode.clear() -> whether
//       there was a stroke or an orbit to clear
//   mode.gestures: what explore_input.js hands the pointer while the mode
//       takes it (takes, hover, down, move, up)
//
// What the browser tests read: in svg#point-marks, circle.point and
// circle.image (P and P' in canvas pixels, absent when not drawn), the
// paths .stroke and .stroke-image (M/L polylines), and one path
// .generation a generation, a square (M...z) a point.
import { limitLayer, sceneSize, toPixel, toWorld } from './scene_edit.js';
import { clipRay, distances, invertPoint, orbit } from './point_images.js';

const flag = 'point=1';
const mostOrbitPoints = 4096;  // drawn at once, in a few ms: 6 generations of 4 circles' words, 3 of 16 circles'
const mostStrokePoints = 400;
const strokeSpacing = 2;        // CSS px between a stroke's points
const clickReach = 4;           // CSS px a click may wander and stay a click
const far = 1e5;                // canvas px: images further out are not drawn
// A colour a generation, each apart from the others and from the scene's named colours.
const generationColours = ['#6a1b9a', '#283593', '#00838f', '#2e7d32', '#9e9d24', '#ff8f00', '#4e342e', '#546e7a'];
const svgNamespace = 'http://www.w3.org/2000/svg';
const byId = (id) => document.getElementById(id);
const touchOnly = () => matchMedia('(hover: none) and (pointer: coarse)').matches;
const svg = (tag, className) => {
  const element = document.createElementNS(svgNamespace, tag);
  element.setAttribute('class', className);
  return element;
};
const fixed = (value) => value.toFixed(2);

export function createPointMode(view, { select, readdress }) {
  const canvas = view.canvas;
  const marks = svg('svg', '');
  marks.id = 'point-marks';
  marks.setAttribute('aria-hidden', 'true');
  const shapes = {
    ray: svg('line', 'ray'), stroke: svg('path', 'stroke'), strokeImage: svg('path', 'stroke-image'),
    orbit: svg('g', 'orbit'), pointName: svg('text', 'name'), imageName: svg('text', 'name'),
    centreName: svg('text', 'name'), marked: svg('circle', 'marked'), centre: svg('circle', 'centre'),
    point: svg('circle', 'point'), image: svg('circle', 'image'),
  };  // in the order drawn: the dots over the names
  shapes.pointName.textContent = 'P';
  shapes.imageName.textContent = 'P′';
  shapes.centreName.textContent = 'O';
  marks.append(...Object.values(shapes));
  canvas.after(marks);
  const sceneLabel = canvas.getAttribute('aria-label');

  const state = {
    on: false,
    scene: null,
    selected: -1,
    wantsCircle: false,  // select a circle at the next scene: the mode was just turned on
    point: null,         // P, in world units
    stroke: [],          // the stroke's points, in world units
    marked: null,        // the point whose orbit is drawn
    drawnOrbit: null,    // what the orbit's paths were drawn for
    gesture: null,       // a drag on empty space: { from, moved, points }
  };

  // Canvas pixels a CSS pixel: marks keep their size however large the picture is shown.
  const unit = () => canvas.width / Math.max(canvas.clientWidth, 1);
  const world = (pixel) => toWorld(state.scene, ...pixel);
  const pixel = (point) => toPixel(state.scene, ...point);
  const shown = ([x, y]) => Math.abs(x) < far && Math.abs(y) < far;
  const inside = ([x, y]) => x >= 0 && y >= 0 && x <= canvas.width && y <= canvas.height;
  const circle = () => {
    const chosen = state.scene?.circles[state.selected];
    return chosen ? [chosen.x, chosen.y, chosen.r] : null;
  };

  const place = (element, [x, y], r) => {
    element.style.display = '';
    element.setAttribute('cx', fixed(x));
    element.setAttribute('cy', fixed(y));
    element.setAttribute('r', fixed(r));
  };
  const name = (element, [x, y]) => {
    element.style.display = '';
    element.setAttribute('x', fixed(x + 6 * unit()));
    element.setAttribute('y', fixed(y - 6 * unit()));
    element.setAttribute('font-size', fixed(15 * unit()));
  };
  const hide = (...elements) => elements.forEach((element) => { element.style.display = 'none'; });

  // A polyline in pixels, broken where a point is too far to draw or a
  // step jumps across the picture (an image passing near infinity).
  function polyline(points) {
    const jump = Math.max(canvas.width, canvas.height) / 4;
    let path = '';
    let last = null;
    for (const point of points) {
      if (!shown(point)) {
        last = null;
        continue;
      }
      const joined = last !== null && Math.hypot(point[0] - last[0], point[1] - last[1]) < jump;
      path += `${joined ? 'L' : 'M'}${fixed(point[0])} ${fixed(point[1])}`;
      last = point;
    }
    return path;
  }

  // The circles the limit set is drawn with: the orbit's letters.
  function orbitCircles() {
    const layer = limitLayer(state.scene);
    const chosen = layer === null || layer.circles === 'all' ? state.scene.circles.map((unused, k) => k) : layer.circles;
    return chosen.map((k) => state.scene.circles[k]).filter(Boolean).map(({ x, y, r }) => [x, y, r]);
  }

  function drawOrbit() {
    const depth = Number(byId('point-depth').value);
    const key = [state.scene, state.marked, depth, canvas.clientWidth];  // the marks' size follows the picture's
    if (state.drawnOrbit !== null && key.every((part, k) => part === state.drawnOrbit.key[k])) return state.drawnOrbit.line;
    shapes.orbit.replaceChildren();
    hide(shapes.marked);
    let line = '';
    if (state.marked !== null && Number.isInteger(depth) && depth >= 1 && depth <= 8) {
      const letters = orbitCircles();
      const { generations, stopped } = orbit(letters, state.marked, depth, mostOrbitPoints);
      // A square a point, in tenths of a pixel: thousands of them, at once.
      const [side, half] = [3 * unit(), 1.5 * unit()];
      const square = `h${fixed(side)}v${fixed(side)}h${fixed(-side)}z`;
      const tenths = (value) => Math.round(10 * value) / 10;
      const { width, height, scale } = sceneSize(state.scene);
      const [left, top] = [width / 2 - state.scene.view.x * scale - half, height / 2 + state.scene.view.y * scale - half];
      generations.forEach((points, k) => {
        const path = svg('path', 'generation');
        path.setAttribute('fill', generationColours[k % generationColours.length]);
        let d = '';
        for (const [x, y] of points) {
          const [column, row] = [left + x * scale, top - y * scale];  // toPixel's, inline
          if (Math.abs(column) < far && Math.abs(row) < far) d += `M${tenths(column)} ${tenths(row)}${square}`;
        }
        path.setAttribute('d', d);
        shapes.orbit.append(path);
      });
      place(shapes.marked, pixel(state.marked), 4 * unit());
      line = `The orbit in ${limitLayer(state.scene) === null ? 'all' : 'the limit set\'s'} ${letters.length} circles: ` +
             `${generations.map((points) => points.length.toLocaleString('en')).join(', ')} points.`;
      if (stopped > 0) {
        line += ` Generation ${generations.length + 1} (${stopped.toLocaleString('en')}) is left out: ` +
                `at most ${mostOrbitPoints.toLocaleString('en')} are drawn.`;
      }
      legend(generations.length);
    } else {
      legend(0);
    }
    state.drawnOrbit = { key, line };
    return line;
  }

  // The generations' colours, numbered, after the orbit's line.
  function legend(count) {
    byId('point-legend').replaceChildren(...Array.from({ length: count }, (unused, k) => {
      const swatch = document.createElement('span');
      swatch.className = 'swatch';
      swatch.style.background = generationColours[k % generationColours.length];
      swatch.setAttribute('aria-hidden', 'true');
      const item = document.createElement('span');
      item.append(swatch, String(k + 1));
      return item;
    }));
  }

  function draw() {
    const readout = byId('point-readout');
    marks.style.display = state.on && state.scene !== null ? '' : 'none';
    readout.hidden = !state.on || state.scene === null;
    if (readout.hidden) return;
    marks.setAttribute('viewBox', `0 0 ${canvas.width} ${canvas.height}`);
    const around = circle();
    const p = state.point;
    const u = unit();

    shapes.stroke.setAttribute('d', polyline(state.stroke.map(pixel)));
    const strokeImage = around === null ? [] : state.stroke.map((point) => invertPoint(around, point));
    shapes.strokeImage.setAttribute('d', polyline(strokeImage.filter(Boolean).map(pixel)));
    const orbitLine = drawOrbit();

    hide(shapes.ray, shapes.centre, shapes.centreName, shapes.image, shapes.imageName);
    if (p !== null) {
      place(shapes.point, pixel(p), 4 * u);
      name(shapes.pointName, pixel(p));
    } else {
      hide(shapes.point, shapes.pointName);
    }
    let said;
    if (around === null) {
      said = `Select the circle to invert in: ${touchOnly() ? 'touch' : 'click'} its centre or rim` +
             `${touchOnly() ? '' : ', or Tab on the picture'}.`;
    } else {
      const o = pixel(around);
      if (shown(o)) {
        place(shapes.centre, o, 3 * u);
        name(shapes.centreName, o);
      }
      // Within a millionth of a pixel of O, P is O but for the roundings of pixel to world.
      const numbers = p === null || Math.hypot(...pixel(p).map((v, k) => v - o[k])) < 1e-6 ? null : distances(around, p);
      if (p === null) {
        said = 'Move the pointer over the picture: it is the point P.';
      } else if (numbers === null) {
        said = `P is the centre O of circle ${state.selected + 1}: the centre has no image.`;
      } else {
        const image = pixel(invertPoint(around, p));
        const ray = clipRay(o, pixel(p), [0, 0, canvas.width, canvas.height]);
        if (ray !== null) {
          shapes.ray.style.display = '';
          [['x1', ray[0][0]], ['y1', ray[0][1]], ['x2', ray[1][0]], ['y2', ray[1][1]]]
            .forEach(([attribute, value]) => shapes.ray.setAttribute(attribute, fixed(value)));
        }
        if (inside(image)) {
          place(shapes.image, image, 4 * u);
          name(shapes.imageName, image);
        }
        said = `P′ is P's image in circle ${state.selected + 1}: |OP| · |OP′| = ${numbers.op} × ${numbers.opImage} = ` +
               `${numbers.product}, r² = ${numbers.r}² = ${numbers.rSquared}.${inside(image) ? '' : ' P′ is off the picture.'}`;
      }
    }
    byId('point-said').textContent = said;
    byId('point-orbit-said').textContent = orbitLine;
  }

  // P where it starts: inside the selected circle, off its centre, so that
  // both it and its image are in view; else the picture's centre.
  function startingPoint() {
    const around = circle();
    if (around !== null) {
      const start = [around[0] + 0.6 * around[2] * Math.cos(Math.PI / 6), around[1] + 0.6 * around[2] * Math.sin(Math.PI / 6)];
      if (inside(pixel(start))) return start;
    }
    return world([canvas.width / 2, canvas.height / 2]);
  }

  function setOn(on) {
    state.on = on;
    state.wantsCircle = on;
    byId('point-mode').checked = on;
    byId('point-panel').dataset.on = String(on);
    byId('how').hidden = on;
    byId('point-how').hidden = !on;
    if (on && !touchOnly()) {
      canvas.setAttribute('aria-label', 'The scene, with the inversion of a point: arrows move the point P, ' +
                          'Enter marks it for its orbit, Tab selects the circle to invert in');
    } else if (sceneLabel !== null) {
      canvas.setAttribute('aria-label', sceneLabel);
    }
  }

  const mode = {
    read(query, embedded) {
      const parts = query.split('&').filter((part) => part !== '' && !part.startsWith('point='));
      setOn(!embedded && query.split('&').includes(flag));
      byId('point-panel').hidden = embedded;
      return parts.join('&');
    },
    flag: () => (state.on ? `&${flag}` : ''),
    on: () => state.on,
    update(scene, selected) {
      state.scene = scene;
      state.selected = selected;
      if (state.on && state.wantsCircle && scene !== null) {
        state.wantsCircle = false;
        if (selected === -1 && scene.circles.length > 0) {
          select(firstLetter(scene));
          return;  // select() shows it, and calls here again
        }
      }
      if (state.on && state.point === null && scene !== null) state.point = startingPoint();
      draw();
    },
    // Arrows: P moves by canvas pixels, and stays on the picture.
    nudge(dx, dy) {
      const [x, y] = pixel(state.point ?? startingPoint());
      state.point = world([Math.min(Math.max(x + dx, 0), canvas.width), Math.min(Math.max(y + dy, 0), canvas.height)]);
      draw();
    },
    mark() {
      if (!state.on || state.point === null) return;
      state.marked = state.point;
      draw();
    },
    clear() {
      const had = state.on && (state.stroke.length > 0 || state.marked !== null);
      state.stroke = [];
      state.marked = null;
      draw();
      return had;
    },
    gestures: {
      takes: (event) => state.on && !event.shiftKey,
      hover(at) {
        state.point = world(at);
        draw();
      },
      down(at) {
        state.gesture = { from: at, moved: false, points: [world(at)], last: at };
        mode.gestures.hover(at);
      },
      move(at) {
        const gesture = state.gesture;
        state.point = world(at);
        if (!gesture.moved && Math.hypot(at[0] - gesture.from[0], at[1] - gesture.from[1]) >= clickReach * unit()) {
          gesture.moved = true;
          state.stroke = gesture.points;  // the new stroke replaces the last
        }
        if (Math.hypot(at[0] - gesture.last[0], at[1] - gesture.last[1]) >= strokeSpacing * unit() &&
            gesture.points.length < mostStrokePoints) {
          gesture.points.push(state.point);
          gesture.last = at;
        }
        draw();
      },
      // The pointer lifted (clicked: the gesture ends there, not in a pinch).
      up(clicked) {
        if (clicked && state.gesture !== null && !state.gesture.moved) mode.mark();
        state.gesture = null;
      },
    },
  };

  byId('point-mode').addEventListener('change', (event) => {
    setOn(event.target.checked);
    readdress(`?${location.search.slice(1).split('&').filter((part) => part !== '' && !part.startsWith('point=')).join('&')}${mode.flag()}`);
    mode.update(state.scene, state.selected);
  });
  byId('point-depth').addEventListener('input', draw);
  addEventListener('resize', () => state.on && draw());  // marks keep their size on the screen
  draw();
  return mode;
}

// The first circle of the limit set's inversions (its walk's, or its
// limit_set layer's), or else the first circle.
function firstLetter(scene) {
  const layer = limitLayer(scene);
  return layer === null || layer.circles === 'all' || layer.circles.length === 0 ? 0 : layer.circles[0];
}
