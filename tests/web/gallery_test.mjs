// The explorer's gallery, Fit and embedded view, against the geometry of
// each configuration and ./suite render:
//   node gallery_test.mjs SITE
// the classic configurations by their defining properties; every gallery
// entry opened by its link, framed to fit and equal to the native render of
// that link; Fit and its undo; the embedded view in another site's iframe;
// element boxes at 1280 x 720 and a phone; axe-core.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test } from 'node:test';
import { browserSession, canvasPicture, openPage, pictureDifference, programList, reachWait, serve,
         skipWithoutChromium, seriousViolations } from './browser.mjs';
import { circles, complete, nativeRenderer, phone } from './explorer_page.mjs';
import { classicCircles, ringCount } from '../../web/explorer/gallery_scenes.js';

// --- the configurations' geometry, each row its defining property --------
const near = (a, b) => Math.abs(a - b) <= 1e-12 * Math.max(1, Math.abs(a), Math.abs(b));
const gap = ([ax, ay], [bx, by]) => Math.hypot(ax - bx, ay - by);
const touch = (a, b) => near(gap(a, b), a[2] + b[2]) || near(gap(a, b), Math.abs(a[2] - b[2]));
const through = (circle, point) => near(gap(circle, point), circle[2]);
const invert = ([x, y, r], [px, py]) => {
  const k = r * r / ((px - x) ** 2 + (py - y) ** 2);
  return [x + k * (px - x), y + k * (py - y)];
};
const geometryRows = [
  ['gasket: four circles touching pairwise; for each three, one dual through their contacts, crossing them at right angles', () => {
    const { tangent, duals } = classicCircles.apollonian_gasket();
    const pairs = [[0, 1], [0, 2], [0, 3], [1, 2], [1, 3], [2, 3]];
    for (const [i, j] of pairs) assert.ok(touch(tangent[i], tangent[j]) && gap(tangent[i], tangent[j]) > 0, `${i} ${j}`);
    // Touching from outside: the contact divides the centres as the radii.
    const contact = ([ax, ay, ar], [bx, by, br]) => [(br * ax + ar * bx) / (ar + br), (br * ay + ar * by) / (ar + br)];
    for (const three of [[0, 1, 2], [0, 1, 3], [0, 2, 3], [1, 2, 3]]) {
      const found = duals.filter((dual) =>
        pairs.filter(([i, j]) => three.includes(i) && three.includes(j))
          .every(([i, j]) => through(dual, contact(tangent[i], tangent[j]))) &&
        three.every((k) => near(gap(dual, tangent[k]) ** 2, dual[2] ** 2 + tangent[k][2] ** 2)));
      assert.equal(found.length, 1, `the dual of ${three}`);
    }
  }],
  [`ring of ${ringCount.least} to ${ringCount.most}: neighbours touch, and each touches the circle around`, () => {
    for (let n = ringCount.least; n <= ringCount.most; n++) {
      const { circles: all } = classicCircles.ring(n);
      const around = all[n];
      for (let k = 0; k < n; k++) {
        assert.ok(touch(all[k], all[(k + 1) % n]) && touch(all[k], around), `n ${n}, circle ${k}`);
        assert.ok(gap(all[k], all[(k + 1) % n]) > all[k][2], `n ${n}: from outside`);
      }
    }
  }],
  ['Schottky: four circles, no two meeting', () => {
    const { circles: all } = classicCircles.schottky();
    assert.equal(all.length, 4);
    for (const a of all) for (const b of all) if (a !== b) assert.ok(gap(a, b) > a[2] + b[2]);
  }],
  ['Steiner chain: six circles, each touching both others inside and out, and its two neighbours', () => {
    const [outer, inner, ...chain] = classicCircles.steiner_chain().circles;
    assert.equal(chain.length, 6);
    chain.forEach((c, k) => {
      assert.ok(near(gap(c, outer), outer[2] - c[2]) && near(gap(c, inner), inner[2] + c[2]), `circle ${k}`);
      assert.ok(near(gap(c, chain[(k + 1) % 6]), c[2] + chain[(k + 1) % 6][2]), `circles ${k}, ${k + 1}`);
    });
  }],
  ['limiting points: each the image of the other in both circles', () => {
    const { circles: [a, b], points: [p, q] } = classicCircles.limiting_points();
    for (const circle of [a, b]) for (const [from, to] of [[p, q], [q, p]]) {
      const image = invert(circle, from);
      assert.ok(near(image[0], to[0]) && near(image[1], to[1]), `${from} in ${circle}`);
    }
  }],
  ['pencil: every circle through both points', () => {
    const { circles: all, points } = classicCircles.pencil();
    for (const circle of all) for (const point of points) assert.ok(through(circle, point), `${circle} ${point}`);
  }],
];
for (const [what, check] of geometryRows) test(what, check);

// --- the gallery in the browser ------------------------------------------
skipWithoutChromium();
const site = process.argv[2];
const session = browserSession(site);
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'gallery-test-'));
process.on('exit', () => fs.rmSync(scratch, { recursive: true, force: true }));
const nativeRender = nativeRenderer(scratch, 1700000000);
const desktop = { width: 1280, height: 720 };

async function openAt(screen, address) {
  const page = await openPage(session.browser, 'about:blank');
  await page.setViewport(screen);
  await page.goto(address);
  return page;
}
const drawn = (page) => page.waitForFunction(() => document.getElementById('gallery').dataset.drawn === 'true',
                                             { timeout: 120000 });
const entries = (page) => page.$$eval('#gallery li a', (links) => links.map((link) => ({
  title: link.textContent, href: link.getAttribute('href') })));
const inView = (box, screen) => box.width > 0 && box.left >= 0 && box.top >= 0 &&
                                box.right <= screen.width && box.bottom <= screen.height;
// A gallery link's scene: its query without the page's own point=1, which ./suite render does not read.
const sceneOf = (href) => href.slice(href.indexOf('?') + 1).replace(/&point=1$/, '');
const boxOf = (frame, selector) => frame.$eval(selector, (element) => element.getBoundingClientRect().toJSON());

// Framed to fit: the circles' box within the canvas, filling nine tenths of its width or height.
function framed(shown, picture) {
  const [left, right] = [Math.min(...shown.map(([x, , r]) => x - r)), Math.max(...shown.map(([x, , r]) => x + r))];
  const [top, bottom] = [Math.min(...shown.map(([, y, r]) => y - r)), Math.max(...shown.map(([, y, r]) => y + r))];
  assert.ok(left >= -1 && top >= -1 && right <= picture.width + 1 && bottom <= picture.height + 1, 'inside');
  assert.ok(right - left >= 0.89 * picture.width || bottom - top >= 0.89 * picture.height, 'filled');
}

test('every gallery entry opens by its link, framed to fit, as ./suite render draws that link', async (t) => {
  const page = await openAt(desktop, `${session.server.address}explore.html`);
  await drawn(page);
  const found = await entries(page);
  const scenes = programList(site).reduce((sum, program) => sum + program.scenes.length, 0);
  assert.equal(found.length, Object.keys(classicCircles).length + scenes);
  assert.equal(new Set(found.map(({ href }) => href)).size, found.length, 'every entry its own link');
  await Promise.all([page.waitForNavigation(), page.click('#gallery li a')]);  // a click goes where the link says
  assert.equal(await page.evaluate(() => location.href), new URL(found[0].href, page.url()).href);
  for (const { title, href } of found) {
    await t.test(title, async () => {
      await page.goto(`${session.server.address}${href}`);
      const picture = await complete(page);
      assert.equal(await page.evaluate(() => `explore.html${location.search}`), href, 'the address is the link');
      framed(await circles(page), picture);
      assert.equal(pictureDifference(picture, nativeRender(sceneOf(href), picture)), null);
    });
  }
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('the ring\'s count chooses its circles, and its link follows', async () => {
  const page = await openAt(desktop, `${session.server.address}explore.html`);
  for (const n of [ringCount.least, ringCount.most]) {
    await page.$eval('#ring-count', (input, value) => {
      input.value = value;
      input.dispatchEvent(new Event('change'));
    }, String(n));
    await drawn(page);
    const href = await page.$eval('#ring-count', (input) => input.closest('li').querySelector('a').getAttribute('href'));
    assert.equal(href.split('&circle=').length - 1, n + 1, `n ${n}`);
  }
  assert.deepEqual(page.errors, []);
  await page.close();
});

// Fit: a gallery scene panned and zoomed away, framed again by F or the button.
for (const [screen, how] of [[desktop, 'F'], [phone, 'the Fit button']]) {
  test(`Fit by ${how} frames the circles as the gallery does, in view, and undoes (${screen.width} x ${screen.height})`, async () => {
    const page = await openAt(screen, `${session.server.address}explore.html`);
    await drawn(page);
    const { href } = (await entries(page))[0];
    const away = href.replace(/view=[^&]*/, 'view=3.5,-2,20');
    await page.goto(`${session.server.address}${away}`);
    const before = await complete(page);
    if (screen === desktop) assert.ok(inView(await boxOf(page, '#fit'), screen), 'Fit in view beside the picture');
    if (how === 'F') {
      await page.focus('#scene');
      await page.keyboard.press('f');
    } else {
      await page.$eval('#fit', (button) => button.scrollIntoView());
      assert.ok(inView(await boxOf(page, '#fit'), screen), 'Fit in view');
      await page.tap('#fit');
    }
    await page.waitForFunction((wanted) => `explore.html${location.search}` === wanted, { timeout: 60000 }, href);
    const picture = await complete(page);
    framed(await circles(page), picture);
    assert.equal(pictureDifference(picture, nativeRender(sceneOf(href), picture)), null);
    await page.click('#undo');
    await page.waitForFunction((fitted) => `explore.html${location.search}` !== fitted, { timeout: 60000 }, href);
    assert.equal(pictureDifference(await complete(page), before), null, 'undone');
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

// The embedded view in a page of another site, which has no script.
for (const screen of [desktop, phone]) {
  test(`embedded in another site's page: the picture alone, its link, its keys kept (${screen.width} x ${screen.height})`, async () => {
    const gallery = await openAt(desktop, `${session.server.address}explore.html`);
    await drawn(gallery);
    const { href } = (await entries(gallery))[0];
    await gallery.close();
    const query = sceneOf(href);
    const host = await framing(`${session.server.address}explore.html?${query}&embed=1`);
    const page = await openAt(screen, host.address);
    const frame = await (await page.waitForSelector('iframe')).contentFrame();
    const picture = await complete(frame);
    assert.equal(pictureDifference(picture, nativeRender(query, picture)), null);
    const frameBox = await boxOf(page, 'iframe');
    for (const selector of ['#scene', '#open-explorer']) {
      const box = await boxOf(frame, selector);
      assert.ok(inView({ left: box.left + frameBox.left, top: box.top + frameBox.top, right: box.right + frameBox.left,
                         bottom: box.bottom + frameBox.top, width: box.width }, screen), `${selector} in view`);
    }
    assert.ok((await boxOf(frame, '#scene')).width >= frameBox.width - 1 ||
              (await boxOf(frame, '#scene')).height >= frameBox.height - 1, 'the picture fills its frame');
    const visible = await frame.$$eval('header, #controls, nav, #how, #status', (all) => all.filter((e) => e.checkVisibility()).length);
    assert.equal(visible, 0, 'nothing else shown');
    assert.equal(await frame.$eval('#open-explorer', (link) => link.getAttribute('href')), `explore.html?${query}`);
    const before = await page.evaluate(() => history.length);
    await frame.focus('#scene');
    for (const key of ['ArrowDown', 'PageDown', 'Space', 'End']) await page.keyboard.press(key);
    await frame.waitForFunction((opened) => location.search !== opened, {}, `?${query}&embed=1`);
    const moved = await complete(frame);
    assert.equal(await page.evaluate(() => window.scrollY), 0, 'the host page did not scroll');
    assert.equal(await page.evaluate(() => history.length), before, 'no entries in the host page\'s history');
    const now = await frame.evaluate(() => location.search);
    assert.match(now, /&embed=1$/);
    assert.equal(pictureDifference(moved, nativeRender(now.slice(1, -'&embed=1'.length), moved)), null);
    assert.deepEqual([...page.errors], []);
    await page.close();
    host.stop();
  });
}

// A host page of another site, framing `address`, with room to scroll.
async function framing(address) {
  const hostFolder = fs.mkdtempSync(path.join(scratch, 'host-'));
  fs.writeFileSync(path.join(hostFolder, 'index.html'), '<!doctype html><meta charset="utf-8">' +
    '<meta name="viewport" content="width=device-width, initial-scale=1"><title>A course</title>' +
    `<h1>A course</h1><iframe src="${address.replaceAll('&', '&amp;')}" ` +
    'style="width: 90vw; height: 60vh; border: 0" title="A picture"></iframe><div style="height: 3000px"></div>');
  return serve(hostFolder);
}

for (const screen of [desktop, phone]) {
  test(`the program page embedded: its picture alone, its link, its keys kept (${screen.width} x ${screen.height})`, async () => {
    const host = await framing(`${session.server.address}?program=soddy_gasket&clock=1700000000&picture=1&embed=1`);
    const page = await openAt(screen, host.address);
    const frame = await (await page.waitForSelector('iframe')).contentFrame();
    await reachWait(frame, 1);
    const before = await page.evaluate(() => history.length);
    await frame.click('#picture');  // the next picture, and the keys to the frame
    await reachWait(frame, 2);
    assert.equal(await frame.$eval('#open-explorer', (link) => new URL(link.href).search),
                 '?program=soddy_gasket&frame=2&clock=1700000000');
    await page.keyboard.press('Space');  // the end: the link goes to the whole page
    assert.equal(pictureDifference(await canvasPicture(frame), nativeRender('soddy_gasket:2', { width: 800, height: 600 })), null);
    assert.deepEqual([await page.evaluate(() => [window.scrollY, history.length]), await frame.evaluate(() => location.search)],
                     [[0, before], '?program=soddy_gasket&clock=1700000000&picture=2&embed=1']);
    const frameBox = await boxOf(page, 'iframe');
    for (const selector of ['#picture', '#open-explorer']) {
      const box = await boxOf(frame, selector);
      assert.ok(box.width > 0 && box.left >= 0 && box.top >= 0 && box.right <= frameBox.width + 1 &&
                box.bottom <= frameBox.height + 1, `${selector} inside its frame`);
    }
    assert.equal(await frame.$$eval('header, #side, #strip, nav', (all) => all.filter((e) => e.checkVisibility()).length), 0);
    await frame.waitForFunction(() => document.getElementById('open-explorer').textContent === 'Open the whole page');
    await page.close();
    host.stop();
  });
}

test('Copy embed HTML gives an iframe of the scene shown, embedded', async () => {
  const page = await openAt(desktop, `${session.server.address}explore.html?program=soddy_gasket&picture=2&clock=1700000000`);
  await complete(page);
  await page.evaluate(() => {
    navigator.clipboard.writeText = () => Promise.reject(new Error('no clipboard here'));
  });
  await page.click('#copy-embed');
  const said = await page.$eval('#status', (status) => status.textContent);
  const src = /<iframe src="([^"]*)"/.exec(said)[1].replaceAll('&amp;', '&');
  assert.equal(src, `${page.url()}&embed=1`);
  await page.close();
});

for (const [what, query] of [['the gallery', ''], ['the embedded view', '?program=soddy_gasket&picture=2&clock=1700000000&embed=1']]) {
  test(`axe-core finds nothing serious on ${what}`, async () => {
    const page = await openAt(desktop, `${session.server.address}explore.html${query}`);
    await (query === '' ? drawn(page) : complete(page));
    const found = await seriousViolations(page);
    assert.deepEqual(found, []);
    await page.close();
  });
}
