// Keys, links and history in headless Chromium (node navigation_test.mjs SITE
// NATIVE/CLOCK): each row opens a picture by its link, does what a user does
// and must end waiting at the picture named, the native one of that wait.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { browserSession, canvasPicture, openPage, pageState, pictureDifference, programList, readPng,
         skipWithoutChromium } from './browser.mjs';

skipWithoutChromium();
const [site, native] = process.argv.slice(2);
const clock = path.basename(native);
const session = browserSession(site);

const rows = [
  // Keys that are the browser's leave the picture alone.
  { open: ['two_circle_iteration', 2], steps: ['Tab', 'Shift', 'Shift+Tab', 'KeyN', 'ArrowDown', 'Control+ArrowRight'], ends: 2 },
  { open: ['two_circle_iteration', 1], steps: ['ArrowRight', 'Space', 'Enter'], ends: 4 },
  { open: ['four_circle_packing', 1], steps: ['PageDown', 'PageDown', 'PageUp'], ends: 2 },
  { open: ['four_circle_packing', 4], steps: ['ArrowLeft', 'ArrowLeft', 'ArrowRight'], ends: 3 },
  { open: ['soddy_radius_sweep', 15], steps: ['Home'], ends: 1 },
  { open: ['soddy_radius_sweep', 3], steps: ['click #previous', 'click #next', 'click #next'], ends: 4 },
  // One click, one picture: the second click of a double click is dropped.
  { open: ['two_circle_iteration', 3], steps: ['ArrowLeft', 'double click'], ends: 3 },
  // The history: Back after Next, Forward, a reload.
  { open: ['five_circle_limit', 2], steps: ['ArrowRight', 'back'], ends: 2 },
  { open: ['four_circle_packing', 2], steps: ['ArrowRight', 'ArrowRight', 'back', 'back', 'forward'], ends: 3 },
  { open: ['four_circle_packing', 5], steps: ['reload'], ends: 5 },
  { open: ['ring_zoom', 1], steps: ['Space', 'reload', 'back'], ends: 1 },
  // Links alone, the last pictures of the longest runs.
  { open: ['ring_zoom', 2], steps: [], ends: 2 },
  { open: ['soddy_gasket', 2], steps: [], ends: 2 },
  // Picture 15 shows frame 30, which its "Explore this picture" link names.
  { open: ['soddy_radius_sweep', 15], steps: [], ends: 15, frame: 30 },
  { open: ['image_inversion', 2], steps: [], ends: 2 },
];

// Resolves once the page waits at some picture, with its state then.
async function settle(page) {
  for (const pause of [150, 0]) {  // again after a pause: a press that would be taken late
    await page.waitForFunction(() => document.getElementById('picture').dataset.waiting === 'true', { timeout: 60000 });
    await new Promise((resolve) => { setTimeout(resolve, pause); });
  }
  return pageState(page);
}

async function act(page, step) {
  if (step === 'back') return page.goBack();
  if (step === 'forward') return page.goForward();
  if (step === 'reload') return page.reload();
  if (step === 'double click') return page.click('#picture', { count: 2 });
  if (step.startsWith('click ')) return page.click(step.slice(6));
  const keys = step.split('+');
  for (const key of keys) await page.keyboard.down(key);
  for (const key of keys.reverse()) await page.keyboard.up(key);
}

for (const { open: [name, picture], steps, ends, frame } of rows) {
  test(`${name} opened at picture ${picture}, then ${steps.join(', ') || 'nothing'}: picture ${ends}`, async () => {
    const page = await openPage(session.browser, `${session.server.address}?program=${name}&clock=${clock}&picture=${picture}`);
    for (const step of steps) {
      await settle(page);
      await act(page, step);
    }
    const state = await settle(page);
    assert.equal(state.waits, String(ends));
    assert.equal(new URLSearchParams(state.search).get('picture'), String(ends));
    const file = (leaf) => path.join(native, name, leaf);
    const shown = readPng(file(`frame-${state.flips.padStart(3, '0')}.png`));
    assert.equal(pictureDifference(await canvasPicture(page), shown), null, `flip ${state.flips}`);
    assert.ok((fs.existsSync(file('output.txt')) ? fs.readFileSync(file('output.txt'), 'latin1') : '').startsWith(state.output));
    assert.equal(await page.title(), `${await page.$eval('#title', (title) => title.textContent)}: inversion in circles`);
    // A picture that is a scene opens in the explorer at its frame, the
    // export's number of the file it equals.
    const explore = await page.$eval('#explore', (p) => (p.hidden ? null : p.querySelector('a').getAttribute('href')));
    const scene = programList(site).find((program) => program.name === name).scenes.includes(Number(state.flips));
    if (frame !== undefined) assert.equal(state.flips, String(frame));
    assert.equal(explore, scene ? `explore.html?program=${name}&frame=${state.flips}&clock=${clock}` : null);
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}
