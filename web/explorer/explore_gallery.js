// The gallery explore.html opens without a scene: the classic
// configurations (gallery_scenes.js, their texts from gallery.js) and every
// picture of the programs that is a scene (programs.js), each a link to its
// scene framed to fit, with a thumbnail the engine draws in its worker.
//
//   showGallery(section, renderer, programs, classics)
//
// An entry's link and thumbnail come together from the engine
// (renderer.framed): until then the entry is its title and text, no link.
// The first configurations open showing the inversion of a point (their
// links end in &point=1, explore_pointer.js).
// What the browser tests read: each entry's a[href] once set, and
// data-drawn="true" on the section once every thumbnail is drawn.
import { classicScene, pointShown, ringCount } from './gallery_scenes.js';

const thumbnail = { width: 200, height: 150 };
const clock = 1700000000;  // the programs' pictures at one clock, so the gallery is the same each time

const make = (tag, properties = {}, children = []) => {
  const element = Object.assign(document.createElement(tag), properties);
  element.append(...children);
  return element;
};

// One entry: a link around the thumbnail and the title, then the text.
function entry(title, text) {
  const canvas = make('canvas', { width: thumbnail.width, height: thumbnail.height });
  canvas.setAttribute('aria-hidden', 'true');
  const link = make('a', {}, [canvas, make('span', { className: 'entry-title', textContent: title })]);
  const item = make('li', {}, [link, make('p', { textContent: text })]);
  return { item, link, canvas };
}

export function showGallery(section, renderer, programs, classics) {
  let waiting = 0;
  // wanted(): whether the answer is still the one to show; flag: what the link adds to the scene's.
  const draw = ({ link, canvas }, job, wanted = () => true, flag = '') => {
    waiting += 1;
    section.dataset.drawn = 'false';
    renderer.framed({ ...job, ...thumbnail, picture: true }).then((answer) => {
      if (!wanted()) {
        // a newer choice's answer comes
      } else if (answer.error !== undefined) {
        link.after(make('p', { className: 'entry-error', textContent: answer.error }));
      } else {
        link.href = `explore.html?${answer.link}${flag}`;
        const pixels = new Uint8ClampedArray(answer.buffer);
        canvas.getContext('2d').putImageData(new ImageData(pixels, thumbnail.width, thumbnail.height), 0, 0);
      }
      waiting -= 1;
      section.dataset.drawn = String(waiting === 0);
    });
  };

  const classicList = make('ul', { className: 'gallery-list' });
  for (const { name, title, text } of classics) {
    const shown = entry(title, text);
    const flag = pointShown.includes(name) ? '&point=1' : '';
    classicList.append(shown.item);
    if (name !== 'ring') {
      draw(shown, { scene: JSON.stringify(classicScene(name)) }, undefined, flag);
      continue;
    }
    // The ring's count: each choice redraws the entry and its link.
    const count = make('input', { type: 'number', min: ringCount.least, max: ringCount.most, step: 1,
                                  value: ringCount.initial, id: 'ring-count' });
    shown.item.append(make('label', { className: 'entry-choice' }, ['Circles in the ring ', count]));
    let latest = 0;
    const redraw = () => {
      const n = Number(count.value);
      if (!(Number.isInteger(n) && n >= ringCount.least && n <= ringCount.most)) return;
      const asked = ++latest;
      shown.link.removeAttribute('href');
      draw(shown, { scene: JSON.stringify(classicScene('ring', n)) }, () => asked === latest, flag);
    };
    count.addEventListener('change', redraw);
    redraw();
  }

  const programSections = programs.filter((program) => program.scenes.length > 0).map((program) => {
    const list = make('ul', { className: 'gallery-list' });
    for (const frame of program.scenes) {
      // Captions are a program's pictures held for a key; where those are
      // its frames too, each frame has its own.
      const caption = program.pictures === program.frames ? program.captions[frame - 1] : '';
      const shown = entry(`${program.title}, frame ${frame}`, caption);
      list.append(shown.item);
      draw(shown, { query: `program=${program.name}&frame=${frame}&clock=${clock}` });
    }
    const first = program.paragraph.replace(/\*/g, '').match(/^.*?[.](?= |$)/)[0];
    return make('section', {}, [make('h3', { textContent: `${program.title}: ${program.heading}` }),
                                make('p', { textContent: first }), list]);
  });

  section.replaceChildren(
    make('h2', { textContent: 'Start from a picture' }),
    make('p', { textContent: 'Open a configuration to drag its circles and watch its limit set follow. ' +
                             'Each is a link: open it in a new tab, or share it.' }),
    make('h3', { textContent: 'Classic configurations' }), classicList,
    make('h2', { textContent: 'The programs’ pictures' }), ...programSections);
  section.hidden = false;
}
