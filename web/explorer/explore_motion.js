// Record a motion: the circles and view moved from one scene to another
// over N frames, the same seed in every frame, as an animated WebP that
// downloads. From the scene the address opened to the scene now edited,
// or between two pasted links. The frames are the engine's (scene_motion
// in C++, the same as ./suite render A B --frames N), drawn in the files'
// worker with progress and Stop.
//
//   bindMotion({ renderer, scenes, nameOf, view })
//     scenes() -> { opened, edited }: the scenes as JSON objects, or null
//     nameOf(scene, link): what a file of the scene is named after
const byId = (id) => document.getElementById(id);
const largestFrame = 40e6;  // pixels a frame: as a saved PNG, what the engine's memory holds

export function bindMotion({ renderer, scenes, nameOf, view }) {
  const record = byId('record');
  const progress = byId('motion-progress');
  const tell = (text) => {
    byId('motion-said').textContent = text;
    if (text !== '') byId('motion-said').scrollIntoView({ block: 'nearest' });
  };
  // While recording, the progress takes the hint's place, in view where
  // the button was pressed.
  const showing = (text, fraction) => {
    const shown = progress.hidden;
    progress.hidden = text === '';
    byId('motion-hint').hidden = text !== '';
    byId('motion-text').textContent = text;
    if (shown && text !== '') progress.scrollIntoView({ block: 'nearest' });
    byId('motion-bar').value = fraction;
    record.disabled = text !== '';
  };

  // A pasted link's scene as JSON text, or throws its error line.
  const fromLink = async (pasted) => {
    const query = pasted.includes('?') ? pasted.slice(pasted.indexOf('?') + 1) : pasted;
    const answer = await renderer.readLink(query.split('#')[0]);
    if (answer.error !== undefined) throw new Error(`${pasted.slice(0, 60)}: ${answer.error}`);
    return answer.text;
  };

  record.addEventListener('click', async () => {
    const frames = Number(byId('motion-frames').value);
    const [fromText, toText] = [byId('motion-from').value.trim(), byId('motion-to').value.trim()];
    if (!Number.isInteger(frames) || frames < 2 || frames > Number(byId('motion-frames').max)) {
      tell(`A motion here has 2 to ${byId('motion-frames').max} frames.`);
      return;
    }
    let first;
    let last;
    try {
      if ((fromText === '') !== (toText === '')) throw new Error('Paste both links, or neither.');
      const { opened, edited } = scenes();
      if (opened === null && fromText === '') throw new Error('The scene is still loading.');
      [first, last] = fromText !== ''
        ? [await fromLink(fromText), await fromLink(toText)]
        : [JSON.stringify(opened), JSON.stringify(edited)];
    } catch (error) {
      tell(error.message);
      return;
    }
    const { width, height } = JSON.parse(first);
    if (width * height > largestFrame) {
      tell(`${width} x ${height} is more than the browser's engine draws a frame; ./suite render draws it natively.`);
      return;
    }
    tell('');
    const what = `a motion of ${frames} frames`;
    showing(`Recording ${what} …`, 0);
    const answer = await renderer.motion(first, last, frames, (fraction) =>
      showing(`Recording ${what}: frame ${Math.min(frames, Math.floor(fraction * frames) + 1)} of ${frames} …`,
              fraction));
    showing('', 0);
    if (answer.stopped) {
      tell(`Stopped recording ${what}.`);
    } else if (answer.error !== undefined) {
      tell(`No motion: ${answer.error}`);
    } else {
      const name = `motion-${nameOf(JSON.parse(first), answer.link)}-to-${nameOf(JSON.parse(last), answer.last)}` +
                   `-${frames}-frames.webp`;
      const url = (link) => new URL(`explore.html?${link}`, location.href).href;
      view.download(answer.bytes, 'image/webp', name);
      tell(`Saved ${name}. The same natively: ./suite render '${url(answer.link)}' '${url(answer.last)}' ` +
           `--frames ${frames} --out motion.webp`);
    }
  });
  byId('stop-motion').addEventListener('click', () => renderer.stopFile());
}
