// The explorer: a scene on canvas#scene that pointer, keys and controls
// edit, drawn by the engine in a worker (explore_renderer.js).
//
// The address is the scene. It is read in one place (fromAddress, on load
// and on Back/Forward): ?program=NAME&frame=F&clock=N opens that program
// frame's scene (picture=K, as links said before, frame K), any other
// query is the scene's compact form, and none opens the gallery
// (explore_gallery.js); an address that holds no scene opens
// five_circle_limit's first frame under a notice that says why. With
// embed=1 the page is the picture alone (explore_embed.js). After an edit the address holds
// the drawn scene's compact form: one new history entry per finished edit,
// replaced while a drag goes on. Undo and redo keep whole scenes. The
// address's point=1 shows the inversion of a point (explore_pointer.js),
// kept after the scene's link while it is shown.
import { createRenderer } from './explore_renderer.js';
import { bindKeys, bindPointer } from './explore_input.js';
import { addCircle, atDeepest, circlesInPixels, generationLayer, magnification, moveCircle, pan, removeCircle,
         resizeCircle, sceneSize, setDepth, setWalk, toPixel, toWorld, walkLayer, zoomAbout,
         drawLimitSet, limitLayer } from './scene_edit.js';
import { createView } from './explore_view.js';
import { suitePrograms } from './programs.js';
import { linkTrouble } from './explore_link.js';
import { showGallery } from './explore_gallery.js';
import { galleryClassics } from './gallery.js';
import { embedAddress, embedHtml, readEmbed, showEmbedded } from './explore_embed.js';
import { bindNumbers } from './explore_numbers.js';
import { snapCircle } from './circle_relations.js';
import { bindMotion } from './explore_motion.js';
import { createPointMode } from './explore_pointer.js';

const openedWithout = 'program=five_circle_limit&frame=1&clock=1700000000';
const stepChoices = [1e3, 1e4, 1e5, 1e6, 1e7, 1e8];
const colours = ['black', 'red', 'green', 'blue', 'yellow', 'white'];  // the scene's named colours
const posterWidth = 7680;
const largestSave = 40e6;  // pixels: a picture and its copies must fit the engine's memory
const programs = suitePrograms;  // programs.js's list

const view = createView();
const embedded = readEmbed(location.search).embedded;
const setOpenLink = embedded ? showEmbedded(view.canvas) : () => {};
const pointMode = createPointMode(view, {
  select: (k) => edits.select(k),
  readdress: (search) => {
    flushAddress();
    history.replaceState(null, '', search);
  },
});
const state = {
  scene: null,      // the scene being edited, as its JSON object
  opened: null,     // the scene the address opened, for Reset
  selected: -1,
  compared: -1,     // the circle the selected one is compared with (Numbers)
  undo: [],
  redo: [],
  before: null,     // the scene when the edit in progress began
  edit: 0,          // number of the newest edit; 0: none since the address was read
  addressed: 0,     // the edit whose scene the address holds
  drawnEdit: 0,     // the edit of the newest draw request
  controls: '',     // the layers the controls show, as JSON
  noticeEdit: null, // the edit the notice is about; a newer edit's picture clears it
  openedQuery: null,
  named: null,      // { text, name }: the scene a program's link opened, as JSON, and its name
  walkAside: null,  // { walk, circles }: the walk the limit set word by word replaced, and its count of circles then
};

const renderer = createRenderer({
  onReady: () => view.say('Drawing …'),
  onFrame: (frame, started) => {
    view.showFrame(frame);
    if (started !== null) performance.measure('scene render', { start: started, end: performance.now() });
    view.say(frame.complete ? completeLine(frame) : progressLine(frame));
    showLink(frame.link);
    if (frame.complete) {
      flushAddress();  // the address holds what the complete canvas shows
      view.announce(`The picture is complete: ${completeLine(frame)}`);
      if (state.noticeEdit !== null && state.drawnEdit > state.noticeEdit) tell('', null);
    }
    view.setComplete(frame.complete);
    renderer.giveBack(frame);
  },
  onProgress: (progress) => view.say(progressLine(progress)),
  onError: (message) => {
    view.setComplete(false);
    view.say(message);
    // The picture an address opened, not drawn: the first scene instead.
    if (state.scene !== null && state.drawnEdit === 0 && state.openedQuery !== openedWithout) {
      openInstead(`The explorer cannot draw this link's scene: ${message}`);
      return;
    }
    tell(`This scene cannot be drawn: ${message}`, state.drawnEdit);
  },
});

// The notice, said once to screen readers too; it stays until a picture
// of an edit after `edit` is complete.
function tell(text, edit, insteadShown = false) {
  view.tell(text, insteadShown);
  if (text !== '') view.announce(text);
  state.noticeEdit = text === '' ? null : edit;
}

// A walk's work is its steps; a limit set drawn word by word is known only
// once it is drawn, so its progress is a share.
const walking = () => state.scene !== null && walkLayer(state.scene) !== null;
function completeLine({ steps, elapsed }) {
  return walking() ? `${steps.toLocaleString('en')} walk steps drawn in ${elapsed.toFixed(0)} ms.`
    : `Drawn in ${elapsed.toFixed(0)} ms.`;
}
function progressLine({ steps, total }) {
  if (!walking()) return `Drawing … ${Math.floor(100 * steps / total)} %`;
  return `Walking … ${steps.toLocaleString('en')} of ${total.toLocaleString('en')} steps ` +
         `(${Math.floor(100 * steps / total)} %)`;
}

// The address, at most every addressPause ms while one edit goes on:
// browsers refuse more than a few hundred changes in ten seconds. A new
// edit's entry is pushed at once, after the last one's waiting address.
const addressPause = 100;
const address = { timer: null, waiting: null, at: -Infinity };
function setAddress(query, push) {
  const now = performance.now();
  if (push) {
    flushAddress();
    history.pushState(null, '', query);
    address.at = now;
  } else if (address.timer === null && now - address.at >= addressPause) {
    history.replaceState(null, '', query);
    address.at = now;
  } else {
    address.waiting = query;
    address.timer ??= setTimeout(flushAddress, addressPause - (now - address.at));
  }
}
function flushAddress() {
  clearTimeout(address.timer);
  address.timer = null;
  if (address.waiting !== null) history.replaceState(null, '', address.waiting);
  address.waiting = null;
  address.at = performance.now();
}

// The drawn scene's link into the address and the poster command.
function showLink(link) {
  const edit = state.drawnEdit;
  const search = embedAddress(link, embedded) + pointMode.flag();
  if (edit !== 0 && search !== location.search) {
    setAddress(search, edit !== state.addressed && !embedded);  // no entries in a framing page's history
    state.addressed = edit;
  }
  setOpenLink(link);
  const href = new URL(`explore.html?${link}`, location.href).href;
  const { width, height } = sceneSize(state.scene);
  view.setCommand(`./suite render '${href}' --size ${posterWidth}x${Math.round(posterWidth * height / width)}`);
}

// Shows the scene and asks the engine for it; `event` is the input that
// caused it (its time starts the "scene render" measure), or null.
function show(scene, event) {
  state.scene = scene;
  const { width, height } = sceneSize(scene);
  view.setSize(width, height);
  if (state.selected >= scene.circles.length) state.selected = -1;
  if (state.compared >= scene.circles.length) state.compared = -1;
  marks();
  view.setMagnification(magnification(scene), atDeepest(scene));
  // The controls change only with the layers they show, not at every move.
  const controls = JSON.stringify([limitLayer(scene), generationLayer(scene)]);
  if (controls !== state.controls) {
    state.controls = controls;
    const drawn = limitLayer(scene) === null ? null : limitLayer(scene).draw === 'walk' ? 'walk' : 'words';
    view.setControls(drawn, walkLayer(scene), generationLayer(scene), choicesFor(walkLayer(scene)), colours);
  }
  view.setHistory(state.undo.length > 0, state.redo.length > 0);
  view.setComplete(false);
  state.drawnEdit = state.edit;
  renderer.draw(JSON.stringify(scene), width, height, event ? event.timeStamp : null, state.before !== null);
}

function choicesFor(walk) {
  if (walk === null || stepChoices.includes(walk.steps)) return stepChoices;
  return [...stepChoices, walk.steps].sort((a, b) => a - b);
}

// One edit: begin, any number of changes, end. A lone change is a whole edit.
const edits = {
  scene: () => state.scene,
  begin() {
    state.before = state.scene;
    state.edit += 1;
  },
  change(scene, event) {
    if (scene === state.scene) return;  // a zoom in at the deepest: nothing changes
    // Within a gesture, or a held key's repeat: part of the edit going on.
    if (state.before !== null || event?.repeat) {
      show(scene, event);
      return;
    }
    edits.begin();
    show(scene, event);
    edits.end();
  },
  end() {
    if (state.before !== null && state.before !== state.scene) {
      state.undo.push(state.before);
      state.redo = [];
      view.setHistory(true, false);
    }
    state.before = null;
  },
  select(k) {
    if (k === state.compared) state.compared = state.selected;  // the two change places
    state.selected = k;
    marks();
  },
  compare(k) {
    state.compared = k === state.selected ? -1 : k;
    marks();
  },
  // Circle k just dragged: touching another where it comes within `pixels`
  // of it; with none compared yet, the circle it touches is.
  snap(scene, k, kind, pixels) {
    const snapped = snapCircle(scene, k, kind, pixels);
    if (snapped.to !== -1 && state.compared === -1) state.compared = snapped.to;
    return snapped.scene;
  },
};

// The selection's marks and numbers.
function marks() {
  view.setCircles(circlesInPixels(state.scene), state.selected, state.compared);
  numbers?.show(state.scene, state.selected, state.compared);
  pointMode.update(state.scene, state.selected);
}

function travel(from, to, event) {
  if (from.length === 0) return;
  to.push(state.scene);
  state.edit += 1;
  show(from.pop(), event);
}

const actions = {
  ready: () => state.scene !== null,
  canSelectNext(direction) {
    const next = state.selected + direction;
    return state.selected === -1 ? state.scene.circles.length > 0 : next >= 0 && next < state.scene.circles.length;
  },
  selectNext(direction) {
    const n = state.scene.circles.length;
    edits.select(state.selected === -1 ? (direction > 0 ? 0 : n - 1) : state.selected + direction);
  },
  selectNone: () => pointMode.clear() || edits.select(-1),
  mark: () => pointMode.mark(),
  nudge(dx, dy, event) {
    const { scene, selected } = state;
    if (pointMode.on()) {
      pointMode.nudge(dx, dy);
      return;
    }
    if (selected === -1) {
      edits.change(pan(scene, -dx, -dy), event);
      return;
    }
    const [column, row] = toPixel(scene, scene.circles[selected].x, scene.circles[selected].y);
    edits.change(moveCircle(scene, selected, ...toWorld(scene, column + dx, row + dy)), event);
  },
  grow(factor, event) {
    if (state.selected === -1) return;
    edits.change(resizeCircle(state.scene, state.selected, state.scene.circles[state.selected].r * factor), event);
  },
  remove(event) {
    if (state.selected === -1) return;
    const k = state.selected;
    state.selected = -1;
    if (state.compared > k) state.compared -= 1;  // the circles after k are renumbered
    else if (state.compared === k) state.compared = -1;
    edits.change(removeCircle(state.scene, k), event);
  },
  zoom(factor, event) {
    const { width, height } = sceneSize(state.scene);
    edits.change(zoomAbout(state.scene, width / 2, height / 2, factor), event);
  },
  reset: (event) => edits.change(state.opened, event),
  // The view fitted to the circles by the engine's rule; an edit, unless
  // the scene changed while the engine framed it.
  async fit(event) {
    const scene = state.scene;
    const answer = await renderer.framed({ scene: JSON.stringify(scene), picture: false });
    if (answer.error !== undefined) view.say(answer.error);
    else if (state.scene === scene) edits.change(JSON.parse(answer.text), event);
  },
  undo: (event) => travel(state.undo, state.redo, event),
  redo: (event) => travel(state.redo, state.undo, event),
};

// The address read into a scene: the one way a scene arrives from outside.
async function fromAddress() {
  clearTimeout(address.timer);  // Back or Forward: no edit's address may replace it
  address.timer = null;
  address.waiting = null;
  if (location.search === '') {
    showGallery(document.getElementById('gallery'), renderer, programs, galleryClassics);
    return;
  }
  const query = pointMode.read(readEmbed(location.search).query, embedded) || openedWithout;
  const answer = await renderer.readLink(query);
  if (answer.failed) {  // the engine's fault, not the link's
    tell(answer.error, state.edit);
  } else if (answer.error === undefined) {
    tell('', null);
    open(answer.text, query);
  } else if (state.scene !== null) {
    tell(linkTrouble(query, answer.error, programs), state.edit);  // Back to it: the scene shown stays
  } else {
    openInstead(linkTrouble(query, answer.error, programs));
  }
}

function open(sceneText, query) {
  const fields = new URLSearchParams(query);
  state.named = fields.has('program')
    ? { text: JSON.stringify(JSON.parse(sceneText)), name: `${fields.get('program')}-${fields.get('frame') ?? fields.get('picture') ?? 1}` }
    : null;
  state.opened ??= JSON.parse(sceneText);
  state.openedQuery = query;
  state.edit = 0;
  state.addressed = 0;
  show(JSON.parse(sceneText), null);
  view.setReady(true);
}

// A link without a drawable scene: the sentence, and the first scene to edit.
async function openInstead(sentence) {
  tell(sentence, 0, true);
  const answer = await renderer.readLink(openedWithout);
  if (answer.error !== undefined) {  // the engine itself fails: nothing to edit
    view.say(answer.error);
    return;
  }
  open(answer.text, openedWithout);
}

// A file is named after what it shows: the program's picture its link
// opened, or else its circles and a short hash of its link.
function fileName(scene, link, size, format) {
  return `${shows(scene, link)}-${size}.${format}`;
}
function shows(scene, link) {
  return state.named !== null && JSON.stringify(scene) === state.named.text
    ? state.named.name : `scene-${scene.circles.length}-circles-${shortHash(link)}`;
}

// FNV-1a, 32 bits, as 8 hex digits: tells links apart, no more.
function shortHash(text) {
  let hash = 0x811c9dc5;
  for (const byte of new TextEncoder().encode(text)) hash = Math.imul(hash ^ byte, 0x01000193) >>> 0;
  return hash.toString(16).padStart(8, '0');
}

async function save(format, times) {
  const scene = state.scene;
  const { width, height } = sceneSize(scene);
  const size = `${width * times}x${height * times}`;
  if (width * times * height * times > largestSave) {
    view.say(`${width * times} x ${height * times} is more than the browser's engine draws; the command below draws it natively.`);
    return;
  }
  const what = `the ${format.toUpperCase()} at ${width * times} x ${height * times}`;
  view.showSaving(`Drawing ${what} …`, 0);
  const answer = await renderer.file(JSON.stringify(scene), width * times, height * times, format,
                                     (fraction) => view.showSaving(`Drawing ${what} …`, fraction));
  view.showSaving('', 0);
  if (answer.stopped) {
    view.say(`Stopped drawing ${what}.`);
  } else if (answer.error !== undefined) {
    view.say(answer.error);
  } else {
    view.download(answer.bytes, format === 'svg' ? 'image/svg+xml' : 'image/png',
                  fileName(scene, answer.link, size, format));
    view.say(`Saved ${what}.`);
  }
}

let numbers = null;

function main() {
  if (typeof WebAssembly !== 'object' || typeof Worker !== 'function') {
    view.tell('This browser cannot run WebAssembly in a worker, which the explorer needs.');
    return;
  }
  view.setReady(false);
  view.listPrograms(programs);
  view.listKeys(bindKeys(view, actions));
  bindPointer(view, edits, pointMode.gestures);
  numbers = bindNumbers({ scene: () => state.scene, select: edits.select, compare: edits.compare,
                          commit: edits.change, check: renderer.check });
  view.bindButton('add', (event) => {
    edits.change(addCircle(state.scene), event);
    edits.select(state.scene.circles.length - 1);
  });
  view.bindButton('remove', (event) => actions.remove(event));
  view.bindButton('undo', (event) => actions.undo(event));
  view.bindButton('redo', (event) => actions.redo(event));
  view.bindButton('reset', (event) => actions.reset(event));
  view.bindButton('fit', (event) => actions.fit(event));
  view.bindButton('zoom-in', (event) => actions.zoom(1.25, event));
  view.bindButton('zoom-out', (event) => actions.zoom(0.8, event));
  view.bindControl('drawn', (value, event) => {
    const aside = state.walkAside;
    if (value === 'words') state.walkAside = { walk: walkLayer(state.scene), circles: state.scene.circles.length };
    // The walk set aside comes back while the scene has as many circles as it had.
    const walk = aside !== null && aside.circles === state.scene.circles.length ? aside.walk : null;
    edits.change(drawLimitSet(state.scene, value, value === 'walk' ? walk : null), event);
  });
  view.bindControl('steps', (value, event) => edits.change(setWalk(state.scene, { steps: Number(value) }), event));
  view.bindControl('pick', (value, event) => edits.change(setWalk(state.scene, { pick: value }), event));
  view.bindControl('inside', (value, event) => edits.change(setWalk(state.scene, { inside: value }), event));
  view.bindControl('colour', (value, event) => edits.change(setWalk(state.scene, { colour: value }), event));
  view.bindControl('depth', (value, event) => {
    const depth = Number(value);
    if (Number.isInteger(depth) && depth >= 0 && depth <= 8) edits.change(setDepth(state.scene, depth), event);
  });
  view.bindSaves(save);
  view.bindButton('stop-save', () => renderer.stopFile());
  bindMotion({ renderer, scenes: () => ({ opened: state.opened, edited: state.scene }), nameOf: shows, view });
  view.bindButton('copy', async () => {
    flushAddress();
    try {
      await navigator.clipboard.writeText(location.href);
      view.say('The link is copied.');
    } catch {
      view.say(`Copy the address: ${location.href}`);
    }
  });
  view.bindButton('copy-embed', async () => {
    flushAddress();
    const html = embedHtml(location.href, view.canvas.width, view.canvas.height);
    try {
      await navigator.clipboard.writeText(html);
      view.say('The HTML of an embedded view is copied: paste it into your page.');
    } catch {
      view.say(`Paste this into your page: ${html}`);
    }
  });
  window.addEventListener('popstate', fromAddress);
  fromAddress();
}

main();
