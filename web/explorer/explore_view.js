// The explorer's DOM: canvas#scene and its marks, the status line and the
// controls. The controller (explore.js) calls the setters and hands its
// handlers to the bind* hooks; nothing here keeps the scene.
//
// What the browser tests read: canvas#scene's backing store is the scene's
// size; data-complete is "true" once the full walk is drawn and shown;
// data-circles holds [[x, y, r], ...], each circle in canvas pixels.
import { download } from './download.js';

const byId = (id) => document.getElementById(id);
const svgNamespace = 'http://www.w3.org/2000/svg';
// A screen touched with a finger and no hovering pointer: a phone or tablet,
// where no keys are at hand (explore.css shows its texts by the same test).
const touchOnly = () => matchMedia('(hover: none) and (pointer: coarse)').matches;

export function createView() {
  const canvas = byId('scene');
  const context = canvas.getContext('2d');
  // The selected circle's mark lies over the canvas, never in its pixels.
  const marks = document.createElementNS(svgNamespace, 'svg');
  marks.id = 'marks';
  marks.setAttribute('aria-hidden', 'true');
  const ring = document.createElementNS(svgNamespace, 'circle');
  const second = document.createElementNS(svgNamespace, 'circle');  // the circle compared with it
  second.classList.add('compared');
  marks.append(ring, second);
  canvas.after(marks);
  if (!touchOnly()) {
    canvas.setAttribute('aria-label',
                        'The scene; Tab selects a circle, arrows move it, + and - resize it, Delete removes it');
  }

  const view = {
    canvas,

    // The canvas pixel under a pointer event: the one conversion from the
    // page's CSS pixels, whatever size the canvas is shown at.
    eventPixel(event) {
      const box = canvas.getBoundingClientRect();  // its border too
      return [(event.clientX - box.left - canvas.clientLeft) * canvas.width / canvas.clientWidth,
              (event.clientY - box.top - canvas.clientTop) * canvas.height / canvas.clientHeight];
    },

    setSize(width, height) {
      if (canvas.width === width && canvas.height === height) return;
      canvas.width = width;
      canvas.height = height;
      marks.setAttribute('viewBox', `0 0 ${width} ${height}`);
    },

    showFrame(frame) {
      view.setSize(frame.width, frame.height);
      const pixels = new ImageData(new Uint8ClampedArray(frame.buffer), frame.width, frame.height);
      context.putImageData(pixels, 0, 0);
    },

    setComplete(complete) {
      canvas.dataset.complete = String(complete);
    },

    setCircles(circles, selected, compared = -1) {
      canvas.dataset.circles = JSON.stringify(circles);
      marks.setAttribute('viewBox', `0 0 ${canvas.width} ${canvas.height}`);
      const circle = circles[selected];
      for (const [mark, marked] of [[ring, circle], [second, circles[compared]]]) {
        mark.style.display = marked ? '' : 'none';
        if (!marked) continue;
        mark.setAttribute('cx', marked[0]);
        mark.setAttribute('cy', marked[1]);
        mark.setAttribute('r', Math.max(marked[2], 6));
      }
      byId('selection').textContent = circle
        ? `Circle ${selected + 1} of ${circles.length} selected.`
        : `${circles.length} circles; ${touchOnly() ? 'touch one to select it' : 'Tab on the picture selects one'}.`;
      byId('remove').disabled = !circle;
    },

    setCursor(kind) {
      canvas.style.cursor = { move: 'move', resize: 'nesw-resize', pan: 'grab', panning: 'grabbing',
                              point: 'crosshair' }[kind] ?? '';
    },

    // The magnification over the picture, and at the deepest zoom a line
    // that says so (to screen readers too, once); Zoom in then does nothing.
    setMagnification(times, deepest) {
      const line = byId('magnification');
      const shown = times >= 1000 ? times.toExponential(1).replace('e+', 'e') : String(Number(times.toPrecision(2)));
      const text = deepest ? `× ${shown}: as deep as doubles draw exactly here; zooming in stops.` : `× ${shown}`;
      if (deepest && line.dataset.deepest !== 'true') view.announce(text);
      line.textContent = text;
      line.dataset.deepest = String(deepest);
      byId('zoom-in').disabled = deepest;
    },

    // The status line, where the eye is; not a live region, since a walk
    // changes it many times a second.
    say(text) {
      byId('status').textContent = text;
    },

    // To screen readers, once: a picture complete or failed.
    announce(text) {
      byId('announce').textContent = text;
    },

    // The notice above the picture; `insteadShown` adds the way on from a
    // link that held no scene.
    tell(text, insteadShown = false) {
      byId('notice-text').textContent = text;
      byId('notice-way').hidden = !insteadShown;
      byId('notice').hidden = text === '';
    },

    // The controls take no click until there is a scene to edit.
    setReady(ready) {
      for (const set of byId('controls').querySelectorAll('fieldset')) {
        set.disabled = !ready || set.dataset.none === 'true';
      }
    },

    // A save in progress: what it draws and how far (0 to 1), or '' once done.
    showSaving(text, fraction) {
      byId('saving').hidden = text === '';
      byId('saving-text').textContent = text;
      byId('saving-progress').value = fraction;
      for (const id of ['png-1', 'png-2', 'png-4', 'svg']) byId(id).disabled = text !== '';
    },

    // How the limit set is drawn ('walk', 'words'), the walk's and the
    // generations' controls show the scene's values; a scene without such
    // a layer disables them.
    setControls(drawn, walk, generations, stepChoices, colours) {
      byId('limit-controls').dataset.none = String(drawn === null);
      byId('limit-controls').disabled = drawn === null;
      if (drawn !== null) byId('drawn').value = drawn;
      const steps = byId('steps');
      steps.replaceChildren(...stepChoices.map((count) => new Option(count.toLocaleString('en'), String(count))));
      const colour = byId('colour');
      const named = walk === null || colours.includes(walk.colour) ? colours : [...colours, walk.colour];
      colour.replaceChildren(...named.map((name) => new Option(name, name)));
      byId('walk-controls').dataset.none = String(walk === null);
      byId('walk-controls').disabled = walk === null;
      if (walk !== null) {
        steps.value = String(walk.steps);
        byId('pick').value = walk.pick;
        byId('inside').value = walk.inside;
        colour.value = walk.colour;
      }
      byId('depth').value = String(generations === null ? 0 : generations.colours.length);
    },

    setHistory(canUndo, canRedo) {
      byId('undo').disabled = !canUndo;
      byId('redo').disabled = !canRedo;
    },

    setCommand(link) {
      byId('command').textContent = link;
    },

    listKeys(keys) {
      byId('keys').replaceChildren(...keys.flatMap(([key, what]) => {
        const term = document.createElement('dt');
        term.textContent = key;
        const description = document.createElement('dd');
        description.textContent = what;
        return [term, description];
      }));
    },

    listPrograms(programs) {
      byId('programs').replaceChildren(...programs.flatMap((program, k) => {
        const link = document.createElement('a');
        link.href = `./?program=${program.name}`;
        link.textContent = program.name;
        return k === 0 ? [link] : [', ', link];
      }));
    },

    // Hooks: each takes the controller's handler.
    bindControl(id, handler) {
      byId(id).addEventListener('change', (event) => handler(event.target.value, event));
    },
    bindButton(id, handler) {
      byId(id).addEventListener('click', (event) => handler(event));
    },
    bindSaves(handler) {
      for (const id of ['png-1', 'png-2', 'png-4']) {
        byId(id).addEventListener('click', () => handler('png', Number(byId(id).dataset.times)));
      }
      byId('svg').addEventListener('click', () => handler('svg', 1));
    },

    download(bytes, type, name) {
      download(new Blob([bytes], { type }), name);
    },
  };
  return view;
}
