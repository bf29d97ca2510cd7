// The inversion of a point in the explorer:
//   node pointer_test.mjs SITE
// its arithmetic against inverses worked out by hand and the counts of
// reduced words; then a student's steps from the gallery in headless
// Chromium (P' where inversion puts it, |OP| |OP'| read as r², a straight
// stroke's image on a circle through the centre, an orbit's generations,
// the keys, the switch); its controls and texts in view with the picture at
// four sizes, a finger as P on a phone; axe-core.
import assert from 'node:assert/strict';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test } from 'node:test';
import { browserSession, openPage, skipWithoutChromium } from './browser.mjs';
import { canvasOrigin, circles, complete, drag } from './explorer_page.mjs';
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
  assert.equal(invertPoint([2, 3, 1], [2, 3]), null, 'the centre has no image');
  assert.equal(distances([2, 3, 1], [2, 3]), null);
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

test('the ray from O through P, clipped to the picture', () => {
  const box = [0, 0, 100, 50];
  assert.deepEqual(clipRay([10, 10], [20, 20], box), [[10, 10], [50, 50]]);
  assert.deepEqual(clipRay([-10, 25], [0, 25], box), [[0, 25], [100, 25]]);
  assert.equal(clipRay([200, 25], [300, 25], box), null);
  assert.equal(clipRay([5, 5], [5, 5], box), null);
});

// --- a student's steps ----------------------------------------------------
skipWithoutChromium();
const session = browserSession(process.argv[2]);
const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

// What the overlay draws, in canvas pixels: P, P', the stroke's image, each generation's marks.
const marks = (page) => page.$eval('#point-marks', (svg) => {
  const dot = (name) => {
    const found = svg.querySelector(`circle.${name}`);
    return found.style.display === 'none' ? null : ['cx', 'cy'].map((key) => Number(found.getAttribute(key)));
  };
  return { point: dot('point'), image: dot('image'), shown: svg.checkVisibility(),
           strokeImage: svg.querySelector('.stroke-image').getAttribute('d') ?? '',
           generations: [...svg.querySelectorAll('.generation')].map((path) => path.getAttribute('d')) };
});
const within = (a, b, reach, what) => assert.ok(a && Math.hypot(a[0] - b[0], a[1] - b[1]) <= reach, `${what}: ${a} instead of ${b}`);
const inverse = ([x, y, r], [px, py]) => {
  const k = r * r / ((px - x) ** 2 + (py - y) ** 2);
  return [x + k * (px - x), y + k * (py - y)];
};
const selected = async (page) => (await circles(page))[Number((await text(page, '#selection')).match(/^Circle (\d+)/)[1]) - 1];
const text = (page, selector) => page.$eval(selector, (element) => element.textContent);
const search = (page) => page.evaluate(() => location.search);
// Moves the mouse to canvas pixel `at`, in whole CSS pixels; resolves to the canvas pixel it is at.
async function pointAt(page, at) {
  const [left, top, scale] = await canvasOrigin(page);
  const css = [Math.round(left + at[0] * scale), Math.round(top + at[1] * scale)];
  await page.mouse.move(...css);
  return [(css[0] - left) / scale, (css[1] - top) / scale];
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
  const picture = await page.$eval('#scene', (canvas) => canvas.toDataURL());
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
      const [[ax, ay], [bx, by], [cx, cy]] = [points[0], points[points.length >> 1], points.at(-1)];
      const d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
      const centre = [((ax * ax + ay * ay) * (by - cy) + (bx * bx + by * by) * (cy - ay) + (cx * cx + cy * cy) * (ay - by)) / d,
                      ((ax * ax + ay * ay) * (cx - bx) + (bx * bx + by * by) * (ax - cx) + (cx * cx + cy * cy) * (bx - ax)) / d];
      const radius = Math.hypot(ax - centre[0], ay - centre[1]);
      for (const point of [...points, await selected(page)]) {
        assert.ok(Math.abs(Math.hypot(point[0] - centre[0], point[1] - centre[1]) - radius) < 0.5, `${point} off the circle`);
      }
    }],
    ['a click on empty space at depth 3: 4, 12 and 36 images, a colour each', async () => {
      await page.$eval('#point-depth', (input) => {
        input.value = '3';
        input.dispatchEvent(new Event('input'));
      });
      await pointAt(page, [700, 330]).then(() => page.mouse.down()).then(() => page.mouse.up());
      const { generations } = await marks(page);
      assert.deepEqual(generations.map((d) => d.match(/M/g).length), [4, 12, 36]);
      assert.match(await text(page, '#point-orbit-said'), /: 4, 12, 36 points\.$/);
    }],
    ['the arrows move P (Shift: a pixel), P\' follows; Escape clears the stroke and orbit, not the circle', async () => {
      p = (await marks(page)).point;
      await page.focus('#scene');
      for (const key of ['ArrowLeft', 'ArrowLeft', 'ArrowDown']) await page.keyboard.press(key);
      await page.keyboard.down('Shift').then(() => page.keyboard.press('ArrowUp')).then(() => page.keyboard.up('Shift'));
      const { point, image } = await marks(page);
      within(point, [p[0] - 20, p[1] + 9], 0.01, 'P moved');
      within(image, inverse(await selected(page), point), 1, 'P\' moved');
      const before = await text(page, '#selection');
      await page.keyboard.press('Escape');
      assert.deepEqual([(await marks(page)).strokeImage, (await marks(page)).generations, await text(page, '#selection')],
                       ['', [], before]);
    }],
    ['none of this edits the scene: the picture and the address are as opened', async () => {
      assert.equal(await page.$eval('#scene', (canvas) => canvas.toDataURL()), picture);
      assert.match(await search(page), /^\?view=.*&point=1$/);
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

// The switch, the readout and the how-to text in view with the picture.
for (const screen of [{ width: 1366, height: 768 }, { width: 1280, height: 720 }, { width: 1024, height: 768 }, phone]) {
  test(`the inversion of a point, in view with the picture at ${screen.width} x ${screen.height}`, async () => {
    const page = await openFirst(screen);
    if (screen === phone) {  // a finger is P while it touches
      const [left, top, scale] = await canvasOrigin(page);
      const finger = await page.touchscreen.touchStart(Math.round(left + 100 * scale), Math.round(top + 500 * scale));
      await finger.move(Math.round(left + 150 * scale), Math.round(top + 520 * scale));
      const { point } = await marks(page);
      await finger.end();
      within(point, [Math.round(left + 150 * scale) - left, Math.round(top + 520 * scale) - top].map((v) => v / scale), 0.01, 'P');
    }
    for (const selector of ['#scene', '#point-mode', '#point-depth', '#point-readout', '#point-how', '#status']) {
      const box = await page.$eval(selector, (element) => element.getBoundingClientRect().toJSON());
      assert.ok(box.width > 0 && box.left >= 0 && box.top >= 0 && box.right <= screen.width && box.bottom <= screen.height,
                `${selector}: ${JSON.stringify(box)}`);
    }
    assert.equal(await page.$eval('#how', (how) => how.checkVisibility()), false, 'the pan\'s how-to gives way');
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

const axe = path.join(path.dirname(fileURLToPath(import.meta.url)), 'node_modules/axe-core/axe.min.js');
test('axe-core finds nothing serious with a point inverted and its orbit drawn', async () => {
  const page = await openFirst({ width: 1280, height: 720 });
  await page.focus('#scene');
  await page.keyboard.press('Enter');
  assert.ok((await marks(page)).generations.length > 0, 'an orbit');
  await page.addScriptTag({ path: axe });
  const found = await page.evaluate(async () => (await axe.run()).violations
    .filter((violation) => violation.impact === 'serious' || violation.impact === 'critical')
    .map((violation) => `${violation.id}: ${violation.nodes.map((node) => node.target).join(' ')}`));
  assert.deepEqual(found, []);
  await page.close();
});
