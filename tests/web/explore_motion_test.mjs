// The explorer's "Record a motion" against ./suite render A B --frames N:
//   node explore_motion_test.mjs SITE
// a motion recorded by keys from the scene opened to the one edited, its
// frames decoded by the browser against the native file's and the first
// against the native still; at four screens the new controls in view with
// the picture, a motion begun by mouse or touch and stopped; axe-core.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { browserSession, openPage, pictureDifference, readPng, root, skipWithoutChromium, seriousViolations } from './browser.mjs';
import { complete, openExplorer, phone, screens } from './explorer_page.mjs';

skipWithoutChromium();
const session = browserSession(process.argv[2]);
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'explore-motion-'));
process.on('exit', () => fs.rmSync(scratch, { recursive: true, force: true }));
const render = process.env.RENDER_SCENE ? [process.env.RENDER_SCENE] : [path.join(root, 'suite'), 'render'];
const native = (...args) => execFileSync(render[0], [...render.slice(1), ...args], { stdio: 'pipe' });

const small = 'size=160x120&view=0,0,40&circle=0,0,1&circle=1.5,0,0.5&outlines=' +
              '&walk=steps:20000,seed:5,x:0.3,y:0.2,colour:red';

const openAt = (screen, query) => openExplorer(session, screen, query);

// Each frame of each animated WebP file, decoded by the browser (WebCodecs'
// ImageDecoder, the frames composed) into RGBA, as arrays of numbers.
const decoded = (page, files) => page.evaluate(async (encoded) => Promise.all(encoded.map(async (base64) => {
  const data = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
  const decoder = new ImageDecoder({ data, type: 'image/webp', colorSpaceConversion: 'none' });
  await decoder.tracks.ready;
  const frames = [];
  for (let k = 0; k < decoder.tracks.selectedTrack.frameCount; k++) {
    const { image } = await decoder.decode({ frameIndex: k });
    const context = new OffscreenCanvas(image.displayWidth, image.displayHeight).getContext('2d');
    context.drawImage(image, 0, 0);
    frames.push(Array.from(context.getImageData(0, 0, image.displayWidth, image.displayHeight).data));
    image.close();
  }
  return frames;
})), files.map((file) => fs.readFileSync(file).toString('base64')));

test('a motion recorded by keys equals ./suite render A B --frames 3, frame by frame', async () => {
  const page = await openAt({ width: 1366, height: 768 }, small);
  const folder = fs.mkdtempSync(path.join(scratch, 'saved-'));
  const cdp = await session.browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  await page.focus('#scene');
  for (const key of ['Tab', 'Tab', 'ArrowRight', 'ArrowUp', 'PageUp']) await page.keyboard.press(key);
  await complete(page);
  const edited = await page.evaluate(() => location.search.slice(1));
  await page.$eval('#motion-frames', (input) => { input.focus(); input.select(); });
  await page.keyboard.type('3');
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'record');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.getElementById('motion-said').textContent.startsWith('Saved'),
                             { timeout: 120000 });
  const said = await page.$eval('#motion-said', (line) => line.textContent), name = /^Saved (\S+)\./.exec(said)[1];
  assert.match(name, /^motion-scene-2-circles-[0-9a-f]{8}-to-scene-2-circles-[0-9a-f]{8}-3-frames\.webp$/);
  const recorded = path.join(folder, name);
  for (let wait = 0; !fs.existsSync(recorded) && wait < 100; wait++) await new Promise((resolve) => setTimeout(resolve, 100));
  const file = path.join(scratch, 'native.webp');
  native(small, edited, '--frames', '3', '--out', file);
  native(small, '--out', path.join(scratch, 'first.png'));
  const [browser, natively] = await decoded(page, [recorded, file]);
  assert.deepEqual([browser.length, natively.length], [3, 3]);
  for (let k = 0; k < 3; k++) assert.ok(browser[k].every((v, i) => v === natively[k][i]), `frame ${k + 1}`);
  assert.ok(browser[1].some((v, i) => v !== browser[0][i]), 'the circles moved');
  const first = readPng(path.join(scratch, 'first.png'));
  assert.equal(pictureDifference({ width: 160, height: 120, data: Uint8Array.from(browser[0]) }, first), null);
  assert.match(said, /\.\/suite render '[^']+' '[^']+' --frames 3 --out motion\.webp$/);
  assert.deepEqual(page.errors, []);
  await page.close();
});

// The controls in view with the picture at each screen (scrolled to, as a
// person would); a long motion begun by a click or a tap shows its progress
// and Stop there, and Stop ends it.
for (const screen of screens) {
  test(`the motion's controls, progress and Stop in view with the picture at ${screen.width} x ${screen.height}`,
    async () => {
      const page = await openAt(screen, small.replace('steps:20000', 'steps:10000000'));
      const box = (selector) => page.$eval(selector, (element) => element.getBoundingClientRect().toJSON());
      const inView = async (selector) => {
        const b = await box(selector);
        // A scroll may leave a box a fraction of a pixel past the edge.
        assert.ok(b.width > 0 && b.top >= -1 && b.left >= 0 && b.bottom <= screen.height + 1 && b.right <= screen.width,
                  `${selector} in view: ${JSON.stringify(b)}`);
      };
      const pictureShown = async () => {
        const b = await box('#scene');
        assert.ok(Math.min(b.bottom, screen.height) - Math.max(b.top, 0) >= b.height / 2, 'half the picture in view');
      };
      await page.$eval('#motion', (element) => element.scrollIntoView({ block: 'nearest' }));
      for (const selector of ['#motion legend', '#motion-hint', '#motion-frames', '#record', '#motion-links summary']) await inView(selector);
      await pictureShown();
      if (screen === phone) await page.tap('#record');
      else await page.click('#record');
      await page.waitForFunction(() => !document.getElementById('motion-progress').hidden);
      for (const selector of ['#motion-text', '#motion-bar', '#stop-motion']) await inView(selector);
      await pictureShown();
      if (screen === phone) await page.tap('#stop-motion');
      else await page.click('#stop-motion');
      await page.waitForFunction(() => document.getElementById('motion-said').textContent.startsWith('Stopped'),
                                 { timeout: 60000 });
      await inView('#motion-said');
      assert.deepEqual(page.errors, []);
      await page.close();
    });
}

test('axe-core finds nothing serious on the explorer with the motion\'s links and progress shown', async () => {
  const page = await openAt({ width: 1280, height: 720 }, small);
  await page.click('#motion-links summary');
  await page.$eval('#motion-frames', (input) => { input.value = '120'; });
  await page.click('#record');
  await page.waitForFunction(() => !document.getElementById('motion-progress').hidden);
  const found = await seriousViolations(page);
  assert.deepEqual(found, []);
  await page.close();
});
