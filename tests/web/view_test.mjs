// What a program page shows, in headless Chromium:
//   node view_test.mjs SITE
// the picture, its counter and the Previous and Next controls on screen at
// each size, the canvas by whole multiples (sharp) or smaller (smoothed);
// Save picture's file against the canvas; axe-core on the menu and on a
// program page.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { browserSession, canvasPicture, openPage, pictureDifference, reachWait, readPng,
         skipWithoutChromium } from './browser.mjs';

skipWithoutChromium();
const site = process.argv[2];
const session = browserSession(site);
const program = '?program=four_circle_packing&clock=1700000000&picture=5';  // the longest texts and output

// Width x height, and the canvas's width on the screen then.
const sizes = [
  [1366, 768, 800], [1280, 720, 800], [1024, 768, 800], [1920, 1080, 800], [2560, 1440, 1600],
  [800, 600, 'smaller'], [390, 844, 'smaller'],
];
for (const [width, height, canvas] of sizes) {
  test(`at ${width} x ${height} the picture and its controls are in view`, async () => {
    const page = await openPage(session.browser, `${session.server.address}${program}`);
    await page.setViewport({ width, height });
    await reachWait(page, 5);
    const boxes = await page.evaluate(() => ['picture', 'status', 'previous', 'next'].map((id) => {
      const box = document.getElementById(id).getBoundingClientRect();
      return { id, left: box.left, top: box.top, right: box.right, bottom: box.bottom };
    }));
    for (const box of boxes) {
      assert.ok(box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height, JSON.stringify(box));
    }
    const shown = await page.$eval('#picture', (element) => [element.getBoundingClientRect().width,
                                                            getComputedStyle(element).imageRendering]);
    if (canvas === 'smaller') assert.ok(shown[0] < 800 && shown[1] === 'auto', `${shown}`);
    else assert.deepEqual(shown, [canvas, 'pixelated']);
    await page.close();
  });
}

test('Save picture downloads the canvas, pixel for pixel', async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'web-test-save-'));
  try {
    const page = await openPage(session.browser, `${session.server.address}${program}`);
    const devtools = await page.createCDPSession();
    await devtools.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    await reachWait(page, 5);
    await page.click('#save');
    const file = path.join(folder, 'four_circle_packing-1700000000-picture-5.png');
    for (let tries = 0; !fs.existsSync(file) && tries < 100; tries++) await new Promise((resolve) => { setTimeout(resolve, 100); });
    const saved = readPng(file);
    assert.equal(pictureDifference(saved, await canvasPicture(page)), null);
    await page.close();
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

const axe = path.join(path.dirname(fileURLToPath(import.meta.url)), 'node_modules/axe-core/axe.min.js');
for (const [what, query] of [['the menu', ''], ['a program page', program]]) {
  test(`axe-core finds nothing serious on ${what}`, async () => {
    const page = await openPage(session.browser, `${session.server.address}${query}`);
    if (query) await reachWait(page, 5);
    await page.addScriptTag({ path: axe });
    const found = await page.evaluate(async () => (await axe.run()).violations
      .filter((violation) => violation.impact === 'serious' || violation.impact === 'critical')
      .map((violation) => `${violation.id}: ${violation.nodes.map((node) => node.target).join(' ')}`));
    assert.deepEqual(found, []);
    await page.close();
  });
}
