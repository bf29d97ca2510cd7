// The bridge to a running program: loads NAME.js, the program compiled to
// WebAssembly, against the hooks page_calls.js calls, and keeps a copy of
// every picture it waited at, with the flips and output up to then, so that
// earlier pictures come back without running it again.
//
// A run goes on to a target wait: on its way it takes a press at every wait
// before the target at once, and draws without waiting for the browser to
// paint (paint is false), so a picture opened by its link is up as soon as
// it is computed; a picture the user asked for is painted flip by flip.
// The program's own script is emscripten's, a classic script that finds
// its hooks in window.Module.

// Starts `program` at `clock` towards wait `target`, drawing on `screen`;
// tells `events` waiting(k), drawing(k), output(text), ended() and
// failed(waits).
export function startProgram(program, clock, target, screen, events) {
  const surface = document.createElement('canvas');  // SDL draws here; a flip shows it
  surface.getContext('2d', { willReadFrequently: true });  // SDL reads it back at every lock
  document.getElementById('surface').append(surface);
  const shown = screen.getContext('2d');
  const decoder = new TextDecoder();
  const errors = new TextDecoder();
  const run = {
    waits: 0, waiting: false, done: false, flips: 0, output: '', pictures: [],
    target, paint: false, pressed: false,
    // Ends the current wait unless the program is drawing; true if it did.
    press() {
      if (!run.waiting || run.pressed) return false;
      run.pressed = true;
      run.paint = true;
      run.target = run.waits + 1;
      return true;
    },
    // Runs on, unpainted, to wait k.
    runTo(k) {
      run.target = Math.max(run.target, k);
      if (run.waiting && run.waits < k) {
        run.pressed = true;
        run.paint = false;
      }
    },
  };

  window.Module = {
    canvas: surface,
    doNotCaptureKeyboard: true,  // keys reach the program through the page, as presses
    page: {
      clock,
      pressPending: () => run.pressed,
      takePress: () => {
        run.pressed = false;
      },
      waitBegins: () => {
        run.waits += 1;
        performance.mark(`wait ${run.waits} begins`);
        const copy = document.createElement('canvas');
        [copy.width, copy.height] = [screen.width, screen.height];
        copy.getContext('2d').drawImage(screen, 0, 0);
        run.pictures.push({ image: copy, flips: run.flips, output: run.output });
        if (run.waits < run.target) {
          run.pressed = true;  // on the way to the target
          return;
        }
        run.waiting = true;
        events.waiting(run.waits);
      },
      waitEnds: () => {
        performance.mark(`wait ${run.waits} ends`);
        run.waiting = false;
        if (run.paint && run.waits < program.pictures) events.drawing(run.waits + 1);
      },
      // Each write as it happens: output without a newline shows at once.
      write: (fd, bytes) => {
        if (fd !== 1) {
          console.error(errors.decode(bytes, { stream: true }));
          return;
        }
        run.output += decoder.decode(bytes, { stream: true });
        if (run.paint) events.output(run.output);
      },
      // Copies the flip to the screen; true when the browser is to paint it.
      present: () => {
        shown.drawImage(surface, 0, 0);
        run.flips += 1;
        if (run.flips === 1) performance.mark('picture 1');
        return run.paint;
      },
    },
    onExit: () => {
      run.done = true;
      events.ended();
    },
    onAbort: () => {
      if (run.done) return;
      run.done = true;
      events.failed(run.waits);
    },
  };
  // However loading fails (the script refused or broken, the WebAssembly not
  // fetched or not compiled), it ends in failed(), not in a rejection or an
  // error nobody handles.
  window.addEventListener('unhandledrejection', (event) => {
    event.preventDefault();
    Module.onAbort();
  });
  window.addEventListener('error', (event) => {
    event.preventDefault();
    Module.onAbort();
  });
  const script = document.createElement('script');
  script.src = `${program.name}.js`;
  script.onerror = () => Module.onAbort();
  document.body.append(script);
  return run;
}
