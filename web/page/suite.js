// The suite's page, its controller: the state (program, clock, the picture
// up) and the running program behind it. Without ?program= the page is the
// menu of the ten programs; ?program=NAME&clock=N&picture=K runs NAME with
// time() pinned to N to its K-th wait. The address follows the picture:
// each picture is an entry of the history, and Back, Forward and a reload
// come back to it, through open(), the one reader of the address.
//
// Performance marks "picture 1", "wait K begins" and "wait K ends" time a
// run (see bridge.js); view.js says what the browser tests read.
import { addressOf, newClock, readAddress } from './address.js';
import { startProgram } from './bridge.js';
import { suitePrograms } from './programs.js';
import { view } from './view.js';
import { embedded, remember, showEmbedded } from './embed.js';

const state = { program: null, clock: null, shown: 0, ended: false, run: null };

function main() {
  const address = readAddress(location.search);
  view.showMenu(address.program?.name ?? null);
  if (address.program !== null) showEmbedded();
  for (const problem of address.problems) view.tell(problem);
  if (address.program === null) return;
  if (typeof WebAssembly !== 'object') {
    view.tell('This browser cannot run WebAssembly, which the programs need; the pictures below show what each one draws.');
    return;
  }
  if (!address.complete) history.replaceState(null, '', addressOf(address.program, address.clock, address.picture) + (embedded ? '&embed=1' : ''));
  start(address);
  view.listen();
  window.addEventListener('popstate', () => open(readAddress(location.search)));
}

function start({ program, clock, picture }) {
  Object.assign(state, { program, clock, shown: 0, ended: false });
  const next = suitePrograms[suitePrograms.indexOf(program) + 1];
  view.showProgram(program, clock, picture, next);
  state.run = startProgram(program, clock, picture, view.screen, {
    waiting: (k) => {
      state.shown = k;
      const { flips, output } = state.run.pictures[k - 1];
      view.showPicture(program, k, flips, output, state.clock);
      const wanted = readAddress(location.search).picture;
      if (wanted !== k) show(wanted);  // Back or Forward while it was drawn
    },
    drawing: (k) => view.showDrawing(program, k),
    output: (text) => view.showOutput(text),
    ended: () => {
      state.ended = true;
      view.showEnd(program, state.run.flips, state.run.output);
    },
    failed: (waits) => view.showFailure(waits === 0
      ? `${program.title} could not be started, so no picture can be drawn. Reload the page; ` +
        'if that does not help, build and serve the site again with ./suite web.'
      : `${program.title} stopped unexpectedly after picture ${waits}. Reload the page to start it again.`),
  });
}

// True while the program draws a picture: the canvas is its own.
function drawing() {
  return !state.run.waiting && !state.run.done;
}

// The page as the address says, once the page is running a program; while
// a picture is drawn, the address is read again when it is up.
function open(address) {
  if (address.program !== state.program || address.clock !== state.clock) {
    location.reload();  // another program or clock needs a fresh run
    return;
  }
  if (!drawing()) show(address.picture);
}

// Picture k up: the copy kept from this run, or the run taken on to it.
function show(k) {
  const { run, program } = state;
  if (k <= run.waits) {
    state.shown = k;
    state.ended = false;
    view.showImage(run.pictures[k - 1].image);
    view.showPicture(program, k, run.pictures[k - 1].flips, run.pictures[k - 1].output, state.clock);
  } else if (!run.done) {
    run.runTo(k);
  }
}

// A new entry in the history for picture k, then the picture.
function go(k) {
  remember(addressOf(state.program, state.clock, k));
  show(k);
}

view.bind('next', () => {
  const { run, program, shown } = state;
  if (state.ended || shown === 0) return;
  if (shown < run.waits) return go(shown + 1);
  if (run.done) {  // back at the last picture of a run that has ended
    state.ended = true;
    view.showImage(run.pictures.at(-1).image);
    view.showEnd(program, run.flips, run.output);
    return;
  }
  if (!run.press()) return;  // still drawing: the press is dropped
  if (shown < program.pictures) remember(addressOf(program, state.clock, shown + 1));
});
view.bind('previous', () => {
  if (drawing()) return;
  if (state.ended && state.program.pictures > 1) go(state.program.pictures - 1);
  else if (!state.ended && state.shown > 1) go(state.shown - 1);
});
view.bind('first', () => {
  if (drawing()) return;
  if (state.shown > 1 || state.ended) go(1);
});
view.bind('fullScreen', () => view.toggleFullScreen());
view.bind('save', () => view.savePicture(`${state.program.name}-${state.clock}-picture-${state.shown}.png`));
view.bind('copy', () => view.copyLink());
view.bind('again', () => {
  if (drawing()) return;
  if (state.program.random) location.assign(addressOf(state.program, newClock(state.clock), 1));
  else go(1);
});

main();
