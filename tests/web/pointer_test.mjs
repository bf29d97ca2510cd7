// The inversion of a point in the explorer (node pointer_test.mjs SITE): its
// arithmetic against inverses worked out by hand, then a student's steps from
// the gallery in headless Chromium, its controls and texts in view with the
// picture at four sizes (a finger as P on a phone; axe-core at one).
import assert from 'node:assert/strict';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test } from 'node:test';
import { browserSession, openPage, skipWithoutChromium, seriousViolations } from './browser.mjs';
import { canvasOrigin, circles, complete, drag, phone, screens } from './explorer_page.mjs';
import { clipRay, distances, invertPoint, orbit } from '../../web/explorer/point_images.js';

// --- the arithmetic -------------------------------------------------------
const close = (a, b, what, within = 1e-12) => assert.ok(Math.hypot(a[0] - b[0], a[1] - b[1]) <= within * Math.max(1, Math.hypot(...b)),
                                                      `${what}: ${a} instead of ${b}`);
test('a point\'s image and the readout: [circle, P, P\', |OP|, |OP\'|, r²] as read', () => {
  for (const [circle, point, image, op, opImage, rSquared] of [
    [[0, 0, 2], [1, 0], [4, 0], '1.000', '4.000', '4.000'],
    [[1, 1, 1], [1, 3], [1, 1.5], '2.000', '0.5000', '1.000'],
    [[-2, 3, 3], [1, 7], [-2 + 27 / 25, 3 + 36 / 25], '5.000', '1.800', '9.000'],
    [[1e-9, 0, 1e-9], [3e-9, 0], [1.5e-9, 0], '2.000e-9', '5.000e-10', '1.000e-18'],
    [[0, 0, 1e3], [0, -1e-3], [0, -1e9], '0.001000', '1.000e9', '1.000e6'],
  ]) {
    close(invertPoint(circle, point), image, `${circle} ${point}`);
    close(invertPoint(circle, image), point, `back: ${circle} ${image}`);
    const said = distances(circle, point);
    assert.deepEqual([said.op, said.opImage, said.product, said.rSquared], [op, opImage, rSquared, rSquared]);
  }
  assert.deepEqual([invertPoint([2, 3, 1], [2, 3]), distances([2, 3, 1], [2, 3])], [null, null], 'the centre has no image');
});

test('an orbit: n (n − 1)^(k − 1) images in generation k, and no more than asked', () => {
  const four = [[1, 0, 0.69], [0, 1, 0.69], [-1, 0, 0.69], [0, -1, 0.69]];
  assert.deepEqual(orbit(four, [0.1, 0.2], 5, 16384).generations.map((g) => g.length), [4, 12, 36, 108, 324]);
  const sixteen = Array.from({ length: 16 }, (unused, k) => [Math.cos(k), Math.sin(k), 0.1]);
  const capped = orbit(sixteen, [0.05, 0.02], 8, 16384);
  assert.deepEqual([capped.generations.map((g) => g.length), capped.stopped], [[16, 240, 3600], 54000]);
  // Limiting points, each the other's image in both circles: their orbit is
  // themselves, to roundings that each inversion in turn enlarges.
  const [p, q] = [[-1.1508617734800275, 0], [1.3641951068133609, 0]];
  const { generations } = orbit([[-1.5, 0, 1], [1.5, 0, 0.6]], p, 6, 100);
  generations.forEach((points, k) => points.forEach((point) => close(point, k % 2 === 0 ? q : p, `generation ${k + 1}`, 1e-9)));
});

test('the ray from O through P, clipped to the picture', () => assert.deepEqual(
  [[[10, 10], [20, 20]], [[-10, 25], [0, 25]], [[200, 25], [300, 25]], [[5, 5], [5, 5]]].map(([o, p]) => clipRay(o, p, [0, 0, 100, 50])),
  [[[10, 10], [50, 50]], [[0, 25], [100, 25]], null, null]));

// --- a student's steps ----------------------------------------------------
skipWithoutChromium();
const session = browserSession(process.argv[2]);

// What the overlay draws, in canvas pixels: P, P', the stroke's image, each generation's marks.
const marks = (page) => page.$eval('#point-marks', (svg) => {
  const dot = (name, found = svg.querySelector(`circle.${name}`)) =>
    (found.style.display === 'none' ? null : ['cx', 'cy'].map((key) => Number(found.getAttribute(key))));
  return { point: dot('point'), image: dot('image'), shown: svg.checkVisibility(),
           strokeImage: svg.querySelector('.stroke-image').getAttribute('d') ?? '',
           generations: [...svg.querySelectorAll('.generation')].map((path) => path.getAttribute('d')) };
});
const within = (a, b, reach, what) => assert.ok(a && Math.hypot(a[0] - b[0], a[1] - b[1]) <= reach, `${what}: ${a} instead of ${b}`);
const inverse = ([x, y, r], [px, py], k = r * r / ((px - x) ** 2 + (py - y) ** 2)) => [x + k * (px - x), y + k * (py - y)];
const selected = async (page) => (await circles(page))[Number((await text(page, '#selection')).match(/^Circle (\d+)/)[1]) - 1];
const text = (page, selector) => page.$eval(selector, (element) => element.textContent);
const search = (page) => page.evaluate(() => location.search);
// Moves the mouse to canvas pixel `at`, in whole CSS pixels; resolves to the canvas pixel it is at.
async function pointAt(page, at) {
  const [left, top, scale] = await canvasOrigin(page);
  const css = [Math.round(left + at[0] * scale), Math.round(top + at[1] * scale)];
  return page.mouse.move(...css).then(() => [(css[0] - left) / scale, (css[1] - top) / scale]);
}

// The gallery's first entry, opened by its link: the inversion of a point shown.
async function openFirst(screen) {
  const page = await openPage(session.browser, `${session.server.address}explore.html`);
  await page.setViewport(screen);
  await page.waitForFunction(() => document.getElementById('gallery').dataset.drawn === 'true', { timeout: 120000 });
  await Promise.all([page.waitForNavigation(), page.click('#gallery li a')]);
  await complete(page);
  return page;
}

test('a student\'s steps with the gasket from the gallery: P and P\', a stroke, an orbit, the keys', async () => {
  const page = await openFirst({ width: 1366, height: 768 });
  assert.match(await search(page), /&point=1$/);
  assert.equal(await page.$eval('#point-mode', (box) => box.checked), true);
  const [picture, opened] = [await page.$eval('#scene', (canvas) => canvas.toDataURL()), await search(page)];
  let p = null;
  const steps = [
    ['the pointer at a known place: P\' at its inverse, and |OP| · |OP\'| read as r²', async () => {
      p = await pointAt(page, [560, 180]);
      const [{ point, image }, circle] = [await marks(page), await selected(page)];
      within(point, p, 0.01, 'P');
      within(image, inverse(circle, p), 1, 'P\'');
      const read = (await text(page, '#point-said')).match(/\|OP\| · \|OP′\| = (\S+) × (\S+) = (\S+), r² = (\S+)² = (\S+)\.$/);
      assert.equal(read[3], read[5], 'the product reads as r²');
      const [op, opImage, product, r, rSquared] = read.slice(1).map(Number);
      const scale = Number((await search(page)).match(/view=[^,]*,[^,]*,([^&]*)/)[1]);  // pixels a unit
      const [o, away] = [circle, inverse(circle, p)];
      for (const [value, truth] of [[op, Math.hypot(p[0] - o[0], p[1] - o[1]) / scale], [product, op * opImage],
                                    [opImage, Math.hypot(away[0] - o[0], away[1] - o[1]) / scale],
                                    [r, o[2] / scale], [rSquared, (o[2] / scale) ** 2]]) {
        assert.ok(Math.abs(value - truth) <= 2e-3 * truth, `${value} read, ${truth} worked out`);
      }
    }],
    ['a straight stroke on empty space: its image on one circle through the centre', async () => {
      await drag(page, [120, 520], [330, 470], { steps: 30 });
      const points = (await marks(page)).strokeImage.match(/[ML][-\d.]+ [-\d.]+/g).map((step) => step.slice(1).split(' ').map(Number));
      assert.ok(points.length >= 20, `${points.length} points`);
      // The circle through the first, middle and last: |Q - C|² = R² is linear in C and R² - |C|².
      const [a, b, c] = [points[0], points[points.length >> 1], points.at(-1)].map(([x, y]) => [x, y, x * x + y * y]);
      const det = (u, v) => u[0] * v[1] - u[1] * v[0];
      const [ab, ac] = [[b[0] - a[0], b[1] - a[1], b[2] - a[2]], [c[0] - a[0], c[1] - a[1], c[2] - a[2]]];
      const centre = [det([ab[2], ab[1]], [ac[2], ac[1]]) / (2 * det(ab, ac)), det([ab[0], ab[2]], [ac[0], ac[2]]) / (2 * det(ab, ac))];
      const on = ([x, y]) => Math.abs(Math.hypot(x - centre[0], y - centre[1]) - Math.hypot(a[0] - centre[0], a[1] - centre[1])) < 0.5;
      assert.deepEqual([...points, await selected(page)].filter((point) => !on(point)), [], 'off the circle through O');
    }],
    ['a click on empty space at depth 3: 4, 12 and 36 images, a colour each', async () => {
      await page.click('#point-depth', { clickCount: 3 }).then(() => page.keyboard.type('3'));
      await pointAt(page, [700, 330]).then(() => page.mouse.down()).then(() => page.mouse.up());
      const { generations } = await marks(page);
      assert.deepEqual(generations.map((d) => d.match(/M/g).length), [4, 12, 36]);
      assert.match(await text(page, '#point-orbit-said'), /: 4, 12, 36 points\.$/);
    }],
    ['the arrows move P (Shift: a pixel), P\' follows; Escape clears the stroke and orbit, not the circle; ' +
     'none of it edits the scene', async () => {
      p = (await marks(page)).point;
      await page.focus('#scene');
      for (const key of ['ArrowLeft', 'ArrowLeft', 'ArrowDown']) await page.keyboard.press(key);
      await page.keyboard.down('Shift').then(() => page.keyboard.press('ArrowUp')).then(() => page.keyboard.up('Shift'));
      const { point, image } = await marks(page);
      within(point, [p[0] - 20, p[1] + 9], 0.01, 'P moved');
      within(image, inverse(await selected(page), point), 1, 'P\' moved');
      const before = await text(page, '#selection');
      await page.keyboard.press('Escape');
      assert.deepEqual([(await marks(page)).strokeImage, (await marks(page)).generations, await text(page, '#selection'),
                        await page.$eval('#scene', (canvas) => canvas.toDataURL()) === picture, await search(page)],
                       ['', [], before, true, opened]);
    }],
    ['switched off: the address drops point=1, the marks go, and the arrows move the circle again', async () => {
      await page.click('#point-mode');
      const before = await selected(page);
      await page.focus('#scene');
      await page.keyboard.press('ArrowRight');
      assert.deepEqual([(await search(page)).includes('point='), (await marks(page)).shown], [false, false]);
      assert.ok(Math.abs((await selected(page))[0] - before[0] - 10) < 0.01, 'the circle moved');
    }],
  ];
  for (const [what, step] of steps) await step().catch((error) => assert.fail(`${what}: ${error.message}`));
  assert.deepEqual(page.errors, []);
  await page.close();
});

// The switch, the readout and the how-to text in view with the picture;
// axe-core on it, with an orbit drawn.
for (const screen of screens) {
  test(`the inversion of a point in view with the picture at ${screen.width} x ${screen.height}${screen.width === 1280 ? ', axe-core' : ''}`, async () => {
    const page = await openFirst(screen);
    if (screen === phone) {  // a finger is P while it touches
      const [left, top, scale] = await canvasOrigin(page);
      const [css, to] = [[100, 500], [150, 520]].map(([x, y]) => [Math.round(left + x * scale), Math.round(top + y * scale)]);
      const finger = await page.touchscreen.touchStart(...css).then(async (touch) => touch.move(...to).then(() => touch));
      within((await marks(page)).point, [(to[0] - left) / scale, (to[1] - top) / scale], 0.01, 'P');
      await finger.end();
    }
    for (const selector of ['#scene', '#point-mode', '#point-depth', '#point-readout', '#point-how', '#status']) {
      const box = await page.$eval(selector, (element) => element.getBoundingClientRect().toJSON());
      assert.ok(box.width > 0 && box.left >= 0 && box.top >= 0 && box.right <= screen.width && box.bottom <= screen.height,
                `${selector}: ${JSON.stringify(box)}`);
    }
    assert.equal(await page.$eval('#how', (how) => how.checkVisibility()), false, 'the pan\'s how-to gives way');
    if (screen.width === 1280) {
      await page.focus('#scene').then(() => page.keyboard.press('Enter'));
      assert.ok((await marks(page)).generations.length > 0, 'an orbit');
      assert.deepEqual(await seriousViolations(page), []);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}
