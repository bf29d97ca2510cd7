// The page's view: everything it shows (menu, texts, picture, counter,
// caption, output, controls) and the canvas's size, and hooks through
// which the controller hears the user: view.bind(action, handler).
//
// canvas#picture keeps its 800 x 600 backing store and carries what the
// browser tests read: data-waits (the picture up, or the waits begun while
// drawing), data-waiting ("true" while a picture is up for a key),
// data-flips (frames drawn up to it, one a flip) and data-done ("true" at
// the end).
import { download } from './download.js';
import { keyAction } from './keys.js';
import { suiteIntroduction, suitePrograms } from './programs.js';

export const view = (() => {
  const element = (id) => document.getElementById(id);
  const picture = element('picture');
  const handlers = {};
  const act = (action, event) => {
    if (!handlers[action]) return false;
    handlers[action](event);
    return true;
  };

  // Text with *emphasis*, as the texts write it, into `target`.
  function write(target, text) {
    target.replaceChildren(...text.split('*').map((part, k) => {
      if (k % 2 === 0) return part;
      const emphasis = document.createElement('em');
      emphasis.textContent = part;
      return emphasis;
    }));
  }

  function picturesText(count) {
    return count === 1 ? '1 picture' : `${count} pictures`;
  }

  function listPrograms(current) {
    const menu = element('menu');
    for (const program of suitePrograms) {
      const item = document.createElement('li');
      const image = document.createElement('img');
      image.src = `gallery/${program.name}.png`;
      image.width = 800;  // the picture's own size keeps its place while it loads
      image.height = 600;
      image.alt = program.alt;
      const heading = document.createElement('h3');
      const link = document.createElement('a');
      link.href = `?program=${program.name}`;
      link.textContent = program.title;
      if (program.name === current) link.setAttribute('aria-current', 'page');
      heading.append(link);
      const text = document.createElement('p');
      text.textContent = `${program.about} (${picturesText(program.pictures)}).`;
      const name = document.createElement('code');
      name.textContent = program.name;
      item.append(image, heading, name, text);
      menu.append(item);
    }
  }

  // The canvas as large as the room allows, with the strip and the
  // program's tallest caption under it in view. Kept sharp, by a whole
  // number of device pixels a picture pixel, when that fills all but a few
  // per cent of the room; otherwise it takes the whole room, smoothed, so
  // that lines one pixel wide stay visible however it is scaled.
  let captions = [];
  function roomBelow() {
    const caption = element('caption');
    const shown = caption.textContent;
    let tallest = caption.offsetHeight;
    for (const text of captions) {
      caption.textContent = text;
      tallest = Math.max(tallest, caption.offsetHeight);
    }
    caption.textContent = shown;
    const gap = caption.getBoundingClientRect().top - picture.getBoundingClientRect().bottom;
    return gap + tallest + parseFloat(getComputedStyle(caption).marginBottom) + 4;  // 4: rounding, the outline
  }

  function fit() {
    const full = document.fullscreenElement === element('figure');
    const ratio = window.devicePixelRatio || 1;
    const top = full ? 0 : element('figure').getBoundingClientRect().top + window.scrollY;
    const width = element('figure').clientWidth;
    const height = Math.max(150, window.innerHeight - top - roomBelow());
    const room = Math.min(width / 800, height / 600) * ratio;  // device pixels per picture pixel
    const sharp = Math.floor(room) >= 1 && Math.floor(room) >= 0.95 * room;
    const scale = sharp ? Math.floor(room) : room;
    picture.style.width = `${800 * scale / ratio}px`;
    picture.style.height = `${600 * scale / ratio}px`;
    picture.classList.toggle('smooth', !sharp);
  }

  function showStatus(text) {
    element('status').textContent = text;
  }

  return {
    screen: picture,  // where the running program's flips go

    bind(action, handler) {
      handlers[action] = handler;
    },

    tell(text) {
      element('notice').textContent = text;
      element('notice').hidden = false;
    },

    showMenu(current) {
      write(element('introduction'), suiteIntroduction);
      listPrograms(current);
    },

    showProgram(program, clock, k, next) {
      document.title = `${program.title}: inversion in circles`;
      element('welcome').hidden = true;
      element('stage').hidden = false;
      element('title').textContent = program.title;
      element('command').textContent = program.name;
      element('paragraph').textContent = program.paragraph;
      element('output-label').textContent = program.output ?? '';
      element('again').textContent = program.random ? 'New random walk' : 'Start again';
      captions = program.captions;
      element('clock').textContent = program.random
        ? `Random walk ${clock}: the number in the address picks the walk's random numbers (it is the clock the program sees), so the same address always draws the same pictures.`
        : `This program draws the same pictures every time.`;
      const tour = element('next-program');
      if (next) {
        tour.href = `?program=${next.name}`;
        tour.textContent = `Next in the tour: ${next.title}`;
      } else {
        tour.href = './';
        tour.textContent = 'The end of the tour: back to all ten programs';
      }
      Object.assign(picture.dataset, { waits: '0', waiting: 'false', flips: '0', done: 'false' });
      showStatus(`Drawing picture ${k} of ${program.pictures} …`);
      fit();
    },

    // Picture k of the program up, waiting for the user, with the output
    // printed up to then. `frame` is the frame it shows, the flips up to
    // it; one that is a scene opens in the explorer.
    showPicture(program, k, frame, output, clock) {
      Object.assign(picture.dataset, { waits: String(k), waiting: 'true', flips: String(frame), done: 'false' });
      const last = k === program.pictures;
      showStatus(`Picture ${k} of ${program.pictures}`);
      picture.setAttribute('aria-label', `${program.title}, picture ${k} of ${program.pictures}`);
      element('caption').textContent = program.captions[k - 1];
      element('output').textContent = output;
      element('previous').disabled = k === 1;
      element('next').disabled = false;
      element('next').textContent = last ? 'End' : 'Next';
      element('tour').hidden = !last;
      element('explore').hidden = !program.scenes.includes(frame);
      element('explore-link').href = `explore.html?program=${program.name}&frame=${frame}&clock=${clock}`;
    },

    showDrawing(program, k) {
      picture.dataset.waiting = 'false';
      element('explore').hidden = true;
      showStatus(`Drawing picture ${k} of ${program.pictures} …`);
      element('next').disabled = true;
    },

    showOutput(output) {
      element('output').textContent = output;
    },

    showEnd(program, flips, output) {
      Object.assign(picture.dataset, { waiting: 'false', flips: String(flips), done: 'true' });
      showStatus(`The end of ${program.title} (${picturesText(program.pictures)})`);
      element('output').textContent = output;
      element('next').disabled = true;
      element('previous').disabled = program.pictures === 1;
      element('tour').hidden = false;
      element('explore').hidden = true;
    },

    showFailure(text) {
      showStatus('');
      element('next').disabled = true;
      this.tell(text);
    },

    // The picture the program drew at a wait, back on the canvas.
    showImage(image) {
      picture.getContext('2d').drawImage(image, 0, 0);
    },

    toggleFullScreen() {
      if (document.fullscreenElement) document.exitFullscreen();
      else element('figure').requestFullscreen?.().catch(() => {});
    },

    // Downloads the canvas's own 800 x 600 pixels as `name`.
    savePicture(name) {
      picture.toBlob((blob) => download(blob, name), 'image/png');
    },

    copyLink() {
      navigator.clipboard.writeText(location.href).then(
        () => { element('copied').textContent = 'Link copied.'; },
        () => { element('copied').textContent = `Copy this address: ${location.href}`; });
    },

    // Keys through the key map, clicks and the controls into the handlers.
    listen() {
      window.addEventListener('keydown', (event) => {
        if (element('stage').hidden) return;
        const action = keyAction(event);
        if (action !== null && act(action, event)) event.preventDefault();
      });
      // One click, one picture: a double click's second click is dropped.
      for (const [id, action] of [['picture', 'next'], ['previous', 'previous'], ['next', 'next'],
                                  ['full', 'fullScreen'], ['save', 'save'], ['copy', 'copy'], ['again', 'again']]) {
        element(id).addEventListener('click', (event) => {
          if (event.detail <= 1) act(action, event);
        });
      }
      window.addEventListener('resize', fit);
      document.addEventListener('fullscreenchange', () => {
        element('full').textContent = document.fullscreenElement ? 'Leave full screen' : 'Full screen';
        fit();
      });
    },
  };
})();
