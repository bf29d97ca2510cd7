// The page around the programs, in headless Chromium:
//   node page_test.mjs SITE
// the menu, the address that holds program and clock, the bad inputs (an
// unknown program, a clock that is no whole number of seconds, a browser
// without WebAssembly, a program that fails to load), advancing by key,
// click and tap, the control that draws again with a new clock; the
// picture and its controls in view at each size, Save picture, axe-core.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { canvasPicture, openPage, pageState, pictureDifference, programList, reachEnd,
         reachWait, readPng, skipWithoutChromium, browserSession, seriousViolations } from './browser.mjs';

skipWithoutChromium();
const site = process.argv[2];
const programs = programList(site);
const now = () => Math.floor(Date.now() / 1000);

const session = browserSession(site);

// Loads ?QUERY, noting the clock before and after, and its state at once.
async function load(query, options) {
  const from = now();
  const page = await openPage(session.browser, `${session.server.address}${query}`, options);
  return { page, from, to: now(), state: await pageState(page) };
}

const clockOf = (search) => new URLSearchParams(search).get('clock');

test('the explorer offers the same programs as the menu, each a link to its page', async () => {
  const page = await openPage(session.browser, `${session.server.address}explore.html`);
  await page.waitForFunction(() => document.querySelectorAll('#programs a').length > 0, { timeout: 20000 });
  assert.deepEqual(await page.$$eval('#programs a', (links) => links.map((link) => link.getAttribute('href'))),
                   programs.map((program) => `./?program=${program.name}`));
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('without a program the page is the menu, each entry with its picture and text', async () => {
  const { page, state } = await load('');
  assert.equal(state.running, false);
  const entries = await page.$$eval('#menu li', (items) => items.map((item) => ({
    href: item.querySelector('a').getAttribute('href'), text: item.textContent, picture: item.querySelector('img').naturalWidth })));
  assert.deepEqual(entries.map((entry) => entry.href), programs.map((program) => `?program=${program.name}`));
  for (const [k, entry] of entries.entries()) {
    assert.ok(entry.text.includes(programs[k].about), entry.href);
    assert.ok(entry.picture > 0, `${entry.href}: no picture`);
  }
  await page.close();
});

const refused = [
  { what: 'an unknown program', query: '?program=no_such_program', says: 'no_such_program', runs: false },
  { what: 'no WebAssembly', query: '?program=coaxal_pencil&clock=5', says: 'WebAssembly', runs: false,
    beforeLoad: () => { delete globalThis.WebAssembly; } },
  ...['1700000000.5', '0', '4294967296', '-3', 'noon', ''].map((clock) => (
    { what: `clock "${clock}"`, query: `?program=coaxal_pencil&clock=${clock}`, says: `“${clock}”`, runs: true })),
];
for (const { what, query, says, runs, beforeLoad } of refused) {
  test(`${what}: one line says so and the menu stays`, async () => {
    const { page, from, to, state } = await load(query, { beforeLoad });
    assert.ok(state.notice.includes(says), state.notice);
    assert.equal(state.menu, programs.length);
    assert.equal(state.running, runs);
    if (runs) {  // on the current time, which the address now holds
      const clock = Number(clockOf(state.search));
      assert.ok(clock >= from && clock <= to, state.search);
      await reachWait(page, 1);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

// However a program fails to load, one message in the user's terms ends the
// wait: no status left drawing, no unhandled rejection. A row: the file
// refused (null) or answered with a body.
const failedLoads = [['the page opened from disk', '', '', './suite web'], ['the script refused', '.js', null],
                     ['the script broken', '.js', 'throw new Error("broken");'],
                     ['the WebAssembly refused', '.wasm', null], ['the WebAssembly corrupt', '.wasm', 'not wasm']];
for (const [what, ending, body, says = 'could not be started'] of failedLoads) {
  test(`${what}: the page says what to do`, async () => {
    const onRequest = ending && ((request) => (!request.url().endsWith(`ring_zoom${ending}`) ? request.continue()
      : body === null ? request.abort() : request.respond({ status: 200, contentType: `${ending === '.js' ? 'text/javascript' : 'application/wasm'}`, body })));
    const page = await openPage(session.browser, ending ? `${session.server.address}?program=ring_zoom&clock=5`
                                : `file://${site}/index.html?program=ring_zoom`, { onRequest });
    await page.waitForFunction(() => !document.getElementById('notice').hidden, { timeout: 20000 });
    await new Promise((resolve) => { setTimeout(resolve, 500); });  // time for a late rejection
    const state = await pageState(page);
    assert.ok(state.notice.includes(says), state.notice);
    assert.ok(!state.status.includes('Drawing'), state.status);
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

test('without a clock the current time is used and put in the address', async () => {
  const { page, from, to, state } = await load('?program=coaxal_pencil');
  assert.equal(state.notice, '');
  const clock = Number(clockOf(state.search));
  assert.ok(clock >= from && clock <= to, state.search);
  await reachWait(page, 1);
  await page.close();
});

test('the same address draws the same pictures; another clock, another picture', async () => {
  const first = async (clock) => {
    const { page, state } = await load(`?program=five_circle_limit&clock=${clock}`);
    assert.equal(clockOf(state.search), String(clock));
    await reachWait(page, 1);
    const picture = await canvasPicture(page);
    await page.close();
    return picture;
  };
  const [once, again, other] = [await first(1700000000), await first(1700000000), await first(1700000001)];
  assert.equal(pictureDifference(again, once), null);
  assert.notEqual(pictureDifference(other, once), null);
});

test('a click, a tap and a key each end one wait', async () => {
  const program = programs.find((entry) => entry.name === 'two_circle_iteration');
  const presses = ['click', 'tap', 'key', 'click'];  // the key: Enter
  assert.equal(presses.length, program.pictures);
  const { page } = await load(`?program=${program.name}&clock=5`);
  await page.setViewport({ width: 1000, height: 1000, hasTouch: true });
  for (const [k, press] of presses.entries()) {
    const state = await reachWait(page, k + 1);
    assert.ok(state.status.includes(`Picture ${k + 1} of ${program.pictures}`), state.status);
    if (press === 'click') await page.click('#picture');
    if (press === 'tap') await page.tap('#picture');
    if (press === 'key') await page.keyboard.press('Enter');
  }
  assert.equal((await reachEnd(page)).waits, String(program.pictures));
  await page.close();
});

test('a press made while a picture is drawn is dropped', async () => {
  const { page } = await load('?program=ring_zoom&clock=5');  // its second picture takes long
  await reachWait(page, 1);
  await page.keyboard.press('Space');
  await page.waitForFunction(() => document.getElementById('picture').dataset.waiting === 'false');
  await page.keyboard.press('Space');
  await reachWait(page, 2);
  await new Promise((resolve) => { setTimeout(resolve, 300); });
  const state = await pageState(page);
  assert.deepEqual([state.waits, state.waiting, state.done, state.flips], ['2', 'true', 'false', '19']);
  await page.close();
});

// The current time, the clock after it, and the largest clock, whose next
// must start again at 1; the new clock is always another, within range.
for (const [what, after] of [['now', 0], ['the next second', 1], ['the largest clock', null]]) {
  test(`the control draws again with a new clock, from ${what}`, async () => {
    const clock = after === null ? 4294967295 : now() + after;
    const { page } = await load(`?program=five_circle_limit&clock=${clock}`);  // a random program's new walk
    await reachWait(page, 1);
    await Promise.all([page.waitForNavigation(), page.click('#again')]);
    const state = await reachWait(page, 1);
    const again = Number(clockOf(state.search));
    assert.ok(again !== clock && again >= 1 && again <= 4294967295, state.search);
    assert.equal(state.notice, '');
    await page.close();
  });
}

const program = '?program=four_circle_packing&clock=1700000000&picture=5';  // the longest texts and output

// Screens as CSS pixels, their device pixel ratio, and whether they are
// touch screens without a keyboard: laptops and projectors at 125 % and
// 150 %, a phone, unscaled screens.
const screens = [
  [1536, 864, 1.25], [1280, 720, 1.5], [390, 844, 3, 'touch'], [1920, 1080, 1], [1366, 768, 1], [1280, 720, 1],
  [1024, 768, 1], [2560, 1440, 1], [800, 600, 1],
];
for (const [width, height, ratio, touch] of screens) {
  test(`at ${width} x ${height}, ratio ${ratio}${touch ? ', touch' : ''}: the picture fills the room, in view`, async () => {
    const page = await session.browser.newPage();
    await page.setViewport({ width, height, deviceScaleFactor: ratio, isMobile: !!touch, hasTouch: !!touch });
    await page.goto(`${session.server.address}${program}`);
    await reachWait(page, 5);
    const seen = await page.evaluate(() => {
      const box = (id) => JSON.parse(JSON.stringify(document.getElementById(id).getBoundingClientRect()));
      const picture = document.getElementById('picture');
      return { boxes: ['picture', 'status', 'previous', 'next', 'caption'].map((id) => ({ id, ...box(id) })),
               column: document.getElementById('figure').clientWidth, rendering: getComputedStyle(picture).imageRendering,
               text: document.getElementById('stage').innerText };
    });
    for (const { id, left, top, right, bottom } of seen.boxes) {
      assert.ok(left >= 0 && top >= 0 && right <= width && bottom <= height, `${id}: ${[left, top, right, bottom]}`);
    }
    // No room for a larger picture: it takes the column's width, or the
    // caption ends at the bottom, less what keeping it sharp costs.
    const [picture, , , , caption] = seen.boxes;
    const spare = Math.min(seen.column - picture.width, (height - caption.bottom) * 4 / 3);
    assert.ok(spare <= 0.05 * picture.width + 24, `${picture.width} x ${picture.height}, ${spare} pixels wider would fit`);
    assert.ok(Math.abs(picture.width * 3 - picture.height * 4) < 1, `${picture.width} x ${picture.height}`);
    const scale = picture.width * ratio / 800;  // device pixels a picture pixel
    const whole = Math.abs(scale - Math.round(scale)) < 0.01 && scale > 0.99;
    assert.equal(seen.rendering, whole ? 'pixelated' : 'auto', `${scale} device pixels a pixel`);
    assert.ok(whole || Math.floor(scale) < 0.95 * scale, `${scale} device pixels a pixel, smoothed`);
    assert.equal(/Space/.test(seen.text), !touch, seen.text);
    assert.equal(/\btap\b/.test(seen.text), !!touch, seen.text);
    await page.close();
  });
}

const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'web-test-save-'));
after(() => fs.rmSync(downloads, { recursive: true, force: true }));
test('Save picture downloads the canvas, pixel for pixel', async () => {
  const page = await openPage(session.browser, `${session.server.address}${program}`);
  await (await page.createCDPSession()).send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  await reachWait(page, 5);
  await page.click('#save');
  const file = path.join(downloads, 'four_circle_packing-1700000000-picture-5.png');
  for (let tries = 0; !fs.existsSync(file) && tries < 100; tries++) await new Promise((resolve) => { setTimeout(resolve, 100); });
  assert.equal(pictureDifference(readPng(file), await canvasPicture(page)), null);
  await page.close();
});

for (const [what, query] of [['the menu', ''], ['a program page', program]]) {
  test(`axe-core finds nothing serious on ${what}`, async () => {
    const page = await openPage(session.browser, `${session.server.address}${query}`);
    if (query) await reachWait(page, 5);
    const found = await seriousViolations(page);
    assert.deepEqual(found, []);
    await page.close();
  });
}
