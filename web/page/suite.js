// The suite's page. Without ?program= it is the menu of the ten programs;
// ?program=NAME&clock=N runs NAME's WebAssembly build with time() pinned to
// N on canvas#picture, above the menu. Without a clock the page pins the
// current time and writes it into the address, so the address draws the
// very pictures seen.
//
// What the browser tests read: canvas#picture (800 x 600) carries data-waits
// (waits for a key begun), data-waiting ("true" during one), data-flips
// (pictures shown) and data-done ("true" once the program returned);
// pre#output holds what the program wrote to standard output; performance
// marks "picture 1", "wait K begins" and "wait K ends" time the run.
'use strict';

const largestClock = 4294967295;  // natively, the clock seeds srand as 32 bits

function main() {
  const params = new URLSearchParams(location.search);
  const name = params.get('program');
  listPrograms(name);
  if (name === null) return;
  const program = suitePrograms.find((entry) => entry.name === name);
  if (program === undefined) {
    tell(`There is no program called “${name}”: choose one of the ten below.`);
    return;
  }
  if (location.protocol === 'file:') {  // the browser refuses the program's files from disk
    tell('This page was opened from disk, where the browser will not run the programs: the site must be served. ' +
         'Run ./suite web and open the address it prints.');
    return;
  }
  if (typeof WebAssembly !== 'object') {
    tell('This browser cannot run WebAssembly, which the programs need; the pictures below show what each one draws.');
    return;
  }
  let clock = wholeSeconds(params.get('clock'));
  if (clock === null) {
    if (params.has('clock')) {
      tell(`The clock “${params.get('clock')}” is not a whole number of seconds from 1 to ${largestClock}: the current time is used instead.`);
    }
    clock = currentClock();
    params.set('clock', String(clock));
    history.replaceState(null, '', `?${params}`);
  }
  run(program, clock);
}

// The clock's digits as a number, or null unless it is 1 to largestClock.
function wholeSeconds(text) {
  if (text === null || !/^[0-9]+$/.test(text)) return null;
  const seconds = Number(text);
  return seconds >= 1 && seconds <= largestClock ? seconds : null;
}

function currentClock() {
  return Math.floor(Date.now() / 1000);
}

// The current time as a clock unlike `clock`, both within 1 to largestClock
// (past largestClock the time starts again from 1).
function newClock(clock) {
  const now = (currentClock() - 1) % largestClock + 1;
  return now !== clock ? now : clock % largestClock + 1;
}

function tell(text) {
  const notice = document.getElementById('notice');
  notice.textContent = text;
  notice.hidden = false;
}

function say(text) {
  document.getElementById('status').textContent = text;
}

function picturesText(count) {
  return count === 1 ? '1 picture' : `${count} pictures`;
}

function listPrograms(current) {
  const menu = document.getElementById('menu');
  for (const program of suitePrograms) {
    const link = document.createElement('a');
    link.href = `?program=${program.name}`;
    if (program.name === current) link.setAttribute('aria-current', 'page');
    const image = document.createElement('img');
    image.src = `gallery/${program.name}.png`;
    image.width = 800;  // the picture's own size keeps its place while it loads
    image.height = 600;
    image.alt = `The last picture of ${program.name}`;
    const title = document.createElement('strong');
    title.textContent = program.name;
    const text = document.createElement('span');
    text.textContent = `${program.about} (${picturesText(program.pictures)})`;
    link.append(image, title, text);
    const item = document.createElement('li');
    item.append(link);
    menu.append(item);
  }
}

// Loads NAME.js, which starts the program against the hooks on Module.
function run(program, clock) {
  const picture = document.getElementById('picture');
  const shown = picture.getContext('2d');
  const surface = document.createElement('canvas');  // SDL draws here; a flip shows it
  surface.getContext('2d', { willReadFrequently: true });  // SDL reads it back at every lock
  document.getElementById('surface').append(surface);
  const output = document.getElementById('output');
  const decoder = new TextDecoder();
  const errors = new TextDecoder();
  let presses = 0;
  let waits = 0;
  let flips = 0;
  let done = false;

  document.title = `${program.name}: inversion in circles`;
  document.getElementById('stage').hidden = false;
  document.getElementById('title').textContent = program.name;
  const about = program.about[0].toUpperCase() + program.about.slice(1);
  document.getElementById('about').textContent = `${about} (${picturesText(program.pictures)}).`;
  document.getElementById('clock').textContent = `clock ${clock}`;
  Object.assign(picture.dataset, { waits: '0', waiting: 'false', flips: '0', done: 'false' });
  say(`Drawing picture 1 of ${program.pictures} …`);

  const press = () => {
    if (!done) presses += 1;
  };
  window.addEventListener('keydown', (event) => {
    if (event.repeat || event.ctrlKey || event.metaKey || event.altKey) return;  // the browser's shortcuts
    if (event.target instanceof Element && event.target.closest('a, button')) return;  // the control's own key
    event.preventDefault();  // Space would scroll the page
    press();
  });
  picture.addEventListener('click', press);  // a tap arrives as a click too
  document.getElementById('again').addEventListener('click', () => {
    location.assign(`?program=${program.name}&clock=${newClock(clock)}`);
  });

  window.Module = {
    canvas: surface,
    doNotCaptureKeyboard: true,  // keys reach the program through the page, as presses
    page: {
      clock,
      pressPending: () => presses > 0,
      takePress: () => {
        presses -= 1;
      },
      waitBegins: () => {
        waits += 1;
        performance.mark(`wait ${waits} begins`);
        Object.assign(picture.dataset, { waits: String(waits), waiting: 'true' });
        const next = waits < program.pictures ? 'the next picture' : 'the end';
        say(`Picture ${waits} of ${program.pictures}. Press any key, click or tap for ${next}.`);
      },
      waitEnds: () => {
        performance.mark(`wait ${waits} ends`);
        picture.dataset.waiting = 'false';
        if (waits < program.pictures) say(`Drawing picture ${waits + 1} of ${program.pictures} …`);
      },
      // Each write as it happens: output without a newline shows at once.
      write: (fd, bytes) => {
        if (fd === 1) output.append(decoder.decode(bytes, { stream: true }));
        else console.error(errors.decode(bytes, { stream: true }));
      },
      present: () => {
        shown.drawImage(surface, 0, 0);
        flips += 1;
        if (flips === 1) performance.mark('picture 1');
        picture.dataset.flips = String(flips);
      },
    },
    onExit: (status) => {
      done = true;
      picture.dataset.done = 'true';
      say(status === 0
        ? `The end of ${program.name} (${picturesText(waits)}). Draw again with a new clock, or choose a program below.`
        : `${program.name} ended with status ${status}.`);
    },
    onAbort: () => {
      fail(waits === 0
        ? `${program.name} could not be started, so no picture can be drawn. Reload the page; ` +
          'if that does not help, build and serve the site again with ./suite web.'
        : `${program.name} stopped unexpectedly after picture ${waits}. Reload the page to start it again.`);
    },
  };
  // However loading fails (the script refused, the WebAssembly not fetched or
  // not compiled), the page ends with one message, not a status that waits.
  const fail = (text) => {
    if (done) return;
    done = true;
    say('');
    tell(text);
  };
  window.addEventListener('unhandledrejection', (event) => {
    event.preventDefault();
    Module.onAbort();
  });
  const script = document.createElement('script');
  script.src = `${program.name}.js`;
  script.onerror = () => Module.onAbort();
  document.body.append(script);
}

main();
