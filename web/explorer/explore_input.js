// Pointer and keyboard input on canvas#scene, turned into scene edits.
//
// A gesture starts from the scene as it was at its first pointer and maps
// each later position to a whole new scene (no accumulated drift): from
// nearer a centre than its rim it moves that circle, from a rim it resizes
// the circle, elsewhere it pans; a second pointer makes it a pinch that
// zooms about the fingers' midpoint. The wheel zooms about the pointer.
// The controller sees begin/change/end, so a gesture is one edit. While
// the inversion of a point is shown (`point`, explore_pointer.js), what
// would pan is the point's instead, and only a centre or rim in reach
// takes its circle; Shift gives the pointer back its usual meaning.
import { circlesInPixels, moveCircle, pan, resizeCircle, toWorld, zoomAbout } from './scene_edit.js';

// CSS px: how far from a centre or rim a pointer still takes it; a finger
// covers more than a mouse's tip.
const reachInCss = { touch: 20, pen: 12, mouse: 8 };
// CSS px: how near touching another a dragged circle snaps to touch it
// exactly (Alt held: not at all).
const snapInCss = { touch: 10, pen: 8, mouse: 6 };
const wheelPause = 400;  // ms without a wheel event that ends a wheel zoom

// What a pointer at canvas pixel p takes: of the circles whose centre or rim
// is within reach, the nearest, by its centre where the pointer is nearer
// the centre than the rim; reach is in canvas pixels. Anywhere inside a
// circle nearer its centre than its rim moves it too (unless `within` is
// false), so a small circle can still be moved.
export function grab(scene, [column, row], reach, within = true) {
  let best = { kind: 'pan', distance: Infinity };
  circlesInPixels(scene).forEach(([x, y, r], k) => {
    const centre = Math.hypot(column - x, row - y);
    const rim = Math.abs(centre - r);
    const taken = centre <= rim ? { kind: 'move', k, distance: centre } : { kind: 'resize', k, distance: rim };
    if (taken.distance > reach && !(within && taken.kind === 'move' && centre < r)) return;
    if (taken.distance < best.distance) best = taken;
  });
  return best;
}

// controller: { scene(), begin(), change(scene, event), end(), select(k),
//               compare(k), snap(scene, k, kind, pixels) }; Shift+click (or
// Ctrl+click) on a circle compares it with the selected one.
// point: { takes(event), hover(pixel), down(pixel), move(pixel), up(clicked) }, or null
export function bindPointer(view, controller, point = null) {
  const pointers = new Map();  // pointerId -> canvas pixel
  let gesture = null;

  const canvas = view.canvas;
  const reach = (event, css = reachInCss) => (css[event.pointerType] ?? css.mouse) * canvas.width / canvas.clientWidth;
  const pointing = (event) => point !== null && point.takes(event);
  const taking = (scene, at, event) => {
    const taken = grab(scene, at, reach(event), !pointing(event));
    return taken.kind === 'pan' && pointing(event) ? { kind: 'point' } : taken;
  };

  const start = (event) => {
    const scene = controller.scene();
    const points = [...pointers.values()];
    if (gesture?.kind === 'point') point.up(false);  // a second finger: a pinch, no click
    if (points.length >= 2) {
      const [a, b] = points;
      gesture = { kind: 'pinch', scene, mid: midpoint(a, b), span: Math.hypot(a[0] - b[0], a[1] - b[1]) };
      return;
    }
    // The finger a pinch leaves pans, as it would have.
    const taken = gesture?.kind === 'pinch' ? grab(scene, points[0], reach(event)) : taking(scene, points[0], event);
    if (taken.kind === 'point') point.down(points[0]);
    gesture = { ...taken, scene, from: points[0] };
    if (taken.kind === 'move') {
      const [x, y] = toWorld(scene, ...points[0]);
      gesture.offset = [scene.circles[taken.k].x - x, scene.circles[taken.k].y - y];
    }
    if (taken.k !== undefined) controller.select(taken.k);
    view.setCursor(taken.kind === 'pan' ? 'panning' : taken.kind);
  };

  const follow = (event) => {
    const { kind, scene } = gesture;
    const points = [...pointers.values()];
    if (kind === 'pinch') {
      if (points.length < 2) return;
      const [a, b] = points;
      const mid = midpoint(a, b);
      const span = Math.hypot(a[0] - b[0], a[1] - b[1]);
      const moved = pan(scene, mid[0] - gesture.mid[0], mid[1] - gesture.mid[1]);
      controller.change(zoomAbout(moved, ...mid, span / Math.max(gesture.span, 1)), event);
      return;
    }
    const [x, y] = toWorld(scene, ...points[0]);
    const snapped = (next) => (event.altKey ? next : controller.snap(next, gesture.k, kind, reach(event, snapInCss)));
    if (kind === 'point') {
      point.move(points[0]);
    } else if (kind === 'move') {
      controller.change(snapped(moveCircle(scene, gesture.k, x + gesture.offset[0], y + gesture.offset[1])), event);
    } else if (kind === 'resize') {
      const circle = scene.circles[gesture.k];
      controller.change(snapped(resizeCircle(scene, gesture.k, Math.hypot(x - circle.x, y - circle.y))), event);
    } else {
      controller.change(pan(scene, points[0][0] - gesture.from[0], points[0][1] - gesture.from[1]), event);
    }
  };

  canvas.addEventListener('pointerdown', (event) => {
    if (event.button !== 0 && event.pointerType === 'mouse') return;
    if (controller.scene() === null) return;  // nothing to edit yet
    const compare = (event.shiftKey || event.ctrlKey || event.metaKey) && pointers.size === 0 &&
      grab(controller.scene(), view.eventPixel(event), reach(event));
    if (compare && compare.k !== undefined) {
      controller.compare(compare.k);
      event.preventDefault();
      return;
    }
    canvas.setPointerCapture(event.pointerId);
    canvas.focus({ preventScroll: true });
    pointers.set(event.pointerId, view.eventPixel(event));
    if (gesture === null) controller.begin();
    start(event);  // a second finger turns the gesture into a pinch from here
    event.preventDefault();
  });
  // A drag follows pointerrawupdate where the browser has it: it comes as
  // the pointer moves, where pointermove waits for the next frame.
  const raw = 'onpointerrawupdate' in window;
  canvas.addEventListener(raw ? 'pointerrawupdate' : 'pointermove', (event) => {
    if (!pointers.has(event.pointerId)) return;
    pointers.set(event.pointerId, view.eventPixel(event));
    follow(event);
  });
  canvas.addEventListener('pointermove', (event) => {
    if (gesture === null && controller.scene() !== null) {
      const at = view.eventPixel(event);
      view.setCursor(taking(controller.scene(), at, event).kind);
      if (pointing(event)) point.hover(at);
    }
  });
  const lift = (event) => {
    if (!pointers.delete(event.pointerId)) return;
    if (pointers.size > 0) {
      start(event);  // the finger left goes on panning from here
      return;
    }
    if (gesture.kind === 'point') point.up(true);
    gesture = null;
    view.setCursor('');
    controller.end();
  };
  canvas.addEventListener('pointerup', lift);
  canvas.addEventListener('pointercancel', lift);

  let wheelTimer = null;
  canvas.addEventListener('wheel', (event) => {
    event.preventDefault();
    if (controller.scene() === null) return;
    if (wheelTimer === null) controller.begin();
    clearTimeout(wheelTimer);
    const factor = Math.exp(-event.deltaY * (event.deltaMode === 1 ? 0.05 : 0.0015));
    controller.change(zoomAbout(controller.scene(), ...view.eventPixel(event), factor), event);
    wheelTimer = setTimeout(() => {
      wheelTimer = null;
      controller.end();
    }, wheelPause);
  }, { passive: false });
}

const midpoint = (a, b) => [(a[0] + b[0]) / 2, (a[1] + b[1]) / 2];

// The key map: each entry's test and what it does. Keys the map does not
// hold keep their usual meaning (Tab past the last circle leaves the canvas).
export function bindKeys(view, actions) {
  const step = (event) => (event.shiftKey ? 1 : 10);  // canvas pixels
  const map = [
    ['Tab', 'select the next circle (Shift: the previous)',
      (event) => event.key === 'Tab' && !event.ctrlKey && !event.altKey,
      (event) => actions.selectNext(event.shiftKey ? -1 : 1)],
    ['Escape', 'select no circle (with a point inverted: first clear its stroke and orbit)',
      (event) => event.key === 'Escape', () => actions.selectNone()],
    ['Arrows', 'move the selected circle, or the view when none is (Shift: a tenth); with a point inverted, the point',
      (event) => event.key.startsWith('Arrow') && !event.ctrlKey && !event.altKey,
      (event) => {
        const d = step(event);
        const [dx, dy] = { ArrowLeft: [-d, 0], ArrowRight: [d, 0], ArrowUp: [0, -d], ArrowDown: [0, d] }[event.key];
        actions.nudge(dx, dy, event);
      }],
    ['+ and -', 'enlarge or shrink the selected circle by a twentieth',
      (event) => (event.key === '+' || event.key === '=' || event.key === '-') && !event.altKey,
      (event) => actions.grow(event.key === '-' ? 1 / 1.05 : 1.05, event)],
    ['Delete', 'remove the selected circle', (event) => event.key === 'Delete' || event.key === 'Backspace',
      (event) => actions.remove(event)],
    ['Page Up, Page Down', 'zoom in, out about the centre',
      (event) => event.key === 'PageUp' || event.key === 'PageDown',
      (event) => actions.zoom(event.key === 'PageUp' ? 1.25 : 0.8, event)],
    ['Enter', 'with a point inverted: draw its orbit', (event) => event.key === 'Enter', () => actions.mark()],
    ['Home', 'back to the scene as opened', (event) => event.key === 'Home', (event) => actions.reset(event)],
    ['F', 'fit the view to the circles', (event) => event.key.toLowerCase() === 'f' && !event.altKey,
      (event) => actions.fit(event)],
  ];
  const history = [
    ['Ctrl+Z', 'undo', (event) => event.key.toLowerCase() === 'z' && !event.shiftKey, () => actions.undo()],
    ['Ctrl+Shift+Z, Ctrl+Y', 'redo',
      (event) => (event.key.toLowerCase() === 'z' && event.shiftKey) || event.key.toLowerCase() === 'y',
      () => actions.redo()],
  ];

  view.canvas.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.metaKey || !actions.ready()) return;  // the window's handler below
    const entry = map.find(([, , matches]) => matches(event));
    if (entry === undefined) return;
    // Tab past the last circle (or before the first) leaves the canvas.
    if (event.key === 'Tab' && !actions.canSelectNext(event.shiftKey ? -1 : 1)) return;
    event.preventDefault();
    entry[3](event);
  });
  // Undo and redo anywhere but in a field that has its own.
  window.addEventListener('keydown', (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey) return;
    if (event.target instanceof HTMLInputElement || !actions.ready()) return;
    const entry = history.find(([, , matches]) => matches(event));
    if (entry === undefined) return;
    event.preventDefault();
    entry[3](event);
  });
  return [...map, ...history].map(([key, what]) => [key, what]);
}
