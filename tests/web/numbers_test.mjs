// The explorer's Numbers: how two circles lie against values worked out by
// hand, the snap to exact touching; in the browser, circles made to touch
// and read by mouse, touch and keys, a typed centre an edit, element boxes
// at four screens, axe-core.
//   node numbers_test.mjs SITE
import assert from 'node:assert/strict';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test } from 'node:test';
import { browserSession, openPage, skipWithoutChromium, seriousViolations } from './browser.mjs';
import { canvasOrigin, circles, complete, drag, openExplorer, phone, screens } from './explorer_page.mjs';
import { relation, snapCircle, touching } from '../../web/explorer/circle_relations.js';

// A touch exact as far as doubles go: the centres' distance within four
// units in the last place of the largest number of the two circles.
const touches = ([ax, ay, ar], [bx, by, br]) => {
  const d = Math.hypot(ax - bx, ay - by);
  return Math.min(Math.abs(d - (ar + br)), Math.abs(d - Math.abs(ar - br))) <=
    4 * Number.EPSILON * Math.max(...[ax, ay, ar, bx, by, br].map(Math.abs));
};
const circle = ([x, y, r]) => ({ x, y, r });

// [a, b, tolerance, kind, inside, δ, θ in degrees]
const pairs = [
  [[0, 0, 1], [3, 0, 1], 1e-9, 'apart', null, 3.5, null],                 // (9 − 2) / 2
  [[0, 0, 1], [2, 0, 1], 1e-9, 'outside', null, 1, 0],
  [[0, 0, 1], [1, 0, 1], 1e-9, 'crossing', null, -0.5, 120],              // the vesica's corners
  [[0, 0, 3], [5, 0, 4], 1e-9, 'crossing', null, 0, 90],                  // 25 = 9 + 16
  [[1e6, 0, 3], [1e6, 5, 4], 1e-9, 'crossing', null, 0, 90],              // the same, far out
  [[0, 0, 1], [0, Math.sqrt(3), 1], 1e-9, 'crossing', null, 0.5, 60],
  [[0, 0, 2], [1, 0, 1], 1e-9, 'inside', 'b', -1, 180],
  [[0, 0, 1], [0, 0, 2], 1e-9, 'nested', 'a', -1.25, null],               // −5 / 4: radii 1.25 + 0.75 = 2 apart
  [[0, 0, 1], [0, 0, 1], 1e-9, 'same', null, -1, 180],
  [[0, 0, 1], [2.0001, 0, 1], 1e-3, 'outside', null, 1.000200005, 0],     // within the tolerance: touching
  [[0, 0, 1], [2.0001, 0, 1], 1e-5, 'apart', null, 1.000200005, null],
];
test('how two circles lie: a table worked out by hand', () => {
  for (const [a, b, tolerance, kind, inside, delta, angle] of pairs) {
    const found = relation(circle(a), circle(b), tolerance);
    const what = `${a} ${b} ${tolerance}`;
    assert.deepEqual([found.kind, found.inside], [kind, inside], what);
    assert.ok(Math.abs(found.delta - delta) <= 1e-12, `${what}: δ ${found.delta}`);
    assert.ok(angle === null ? found.angle === null : Math.abs(found.angle - angle) <= 1e-6, `${what}: θ ${found.angle}`);
  }
});

// A scene of 100 pixels a unit: [what, circles, kind of edit to circle 0, pixels, touches after, snapped to]
const at100 = (list) => ({ width: 800, height: 600, view: { x: 0, y: 0, scale: 100 }, circles: list.map(circle), layers: [] });
const [a, b] = [[0.1, 0.7, 0.3], [1.234, -0.77, 1.7]];
const out = touching(circle(a), circle(b));
const away = (px) => [0, 1].map((i) => [out.x, out.y][i] + px / 100 * ([out.x, out.y][i] - b[i]) / 2).concat(0.3);  // ra + rb = 2
const snaps = [
  ['moved 3 px short of touching from outside, 6 px snap', [away(3), b], 'move', 6, true, 1],
  ['moved 8 px short: no snap', [away(8), b], 'move', 6, false, -1],
  ['moved 2 px short of touching inside the other', [[0.48, 0, 1], [0, 0, 1.5]], 'move', 6, true, 1],
  ['resized 2 px short of holding the other', [[0, 0, 3.02], [1, 0, 2]], 'resize', 6, true, 1],
  ['resized 3 px short of touching from outside', [[0, 0, 0.97], [2, 0, 1]], 'resize', 6, true, 1],
];
test('a circle near touching snaps to touch exactly, as far as doubles go', () => {
  for (const [what, list, kind, pixels, after, to] of snaps) {
    const snapped = snapCircle(at100(list), 0, kind, pixels);
    const [c, d] = snapped.scene.circles.map(({ x, y, r }) => [x, y, r]);
    assert.deepEqual([touches(c, d), snapped.to], [after, to], what);
  }
});

// --- in the browser ---------------------------------------------------------
skipWithoutChromium();
const session = browserSession(process.argv[2]);
// Two circles 100 px apart at 100 pixels a unit: centres (250, 300) and (550, 300), radii 100 px.
const two = 'size=800x600&view=0,0,100&circle=-1.5,0,1&circle=1.5,0,1&outlines=';
const linked = (page) => page.evaluate(() => new URLSearchParams(location.search).getAll('circle')
  .map((c) => c.split(',').map(Number)));
const text = (page, id) => page.$eval(`#${id}`, (element) => element.textContent);
const openAt = (screen, query) => openExplorer(session, screen, query);
const exactly = async (page) => {
  assert.match(await text(page, 'relation'), /^Touching from outside, exactly/);
  assert.equal(await text(page, 'delta'), '1');
  assert.ok(touches(...await linked(page)), JSON.stringify(await linked(page)));
};

test('mouse: dragged within 3 px of touching, the circles touch exactly, the link keeps it; with Alt held, no snap', async () => {
  const page = await openAt({ width: 1280, height: 720 }, two);
  await drag(page, [250, 300], [347, 300]).then(() => complete(page));
  assert.equal(await page.$eval('#compared', (select) => select.value), '1');  // the circle it touches
  await exactly(page);
  await page.reload().then(() => complete(page));
  await page.select('#numbers-circle', '0').then(() => page.select('#compared', '1'));
  await exactly(page);
  await page.keyboard.down('Alt');
  await drag(page, [350, 300], [355, 300]);  // 5 px into the other
  await page.keyboard.up('Alt').then(() => complete(page));
  assert.match(await text(page, 'relation'), /^Crossing at two points/);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('touch: a finger dragged near touching snaps, and the circle it touches is the one compared', async () => {
  const page = await openAt(phone, two);
  const [left, top, scale] = await canvasOrigin(page);
  const finger = await page.touchscreen.touchStart(left + 250 * scale, top + 300 * scale);
  for (let k = 1; k <= 6; k++) await finger.move(left + (250 + 16 * k) * scale, top + 300 * scale);  // 4 px short
  await finger.end();
  await complete(page);
  await exactly(page);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('keys: choose both circles, make them touch, read δ and its explanation; a typed centre is an edit', async () => {
  const page = await openAt({ width: 1024, height: 768 }, two);
  await page.focus('#scene');
  await page.keyboard.press('Tab');  // circle 1
  await page.focus('#compared');
  await page.keyboard.press('ArrowDown');  // past none and the selected one's (disabled) entry: circle 2
  await page.focus('#make-touch');
  await page.keyboard.press('Enter').then(() => complete(page));
  await exactly(page);
  await page.focus('[data-explain="inversive_distance"]');
  await page.keyboard.press('Enter');
  assert.match(await text(page, 'explained'), /inversive distance.*invert to concentric ones/is);
  const touched = await linked(page);
  const type = (id, typed) => page.click(`#${id}`, { clickCount: 3 })
    .then(() => page.keyboard.type(typed)).then(() => page.keyboard.press('Enter'));
  await type('circle-x', '-2.25');
  await page.waitForFunction(() => new URLSearchParams(location.search).get('circle').startsWith('-2.25,0'));
  for (const [typed, says] of [['abc', /^Not set: The centre’s x must be a finite number/], ['1e999', /finite number/]]) {
    await type('circle-x', typed);
    assert.match(await text(page, 'numbers-refused'), says);
  }
  await type('circle-r', '0');
  await page.waitForFunction(() => /^Not set: circles\[0\]\.r: must be a positive number/.test(
    document.getElementById('numbers-refused').textContent));
  assert.deepEqual((await linked(page))[0], [-2.25, 0, 1], 'nothing refused is set');
  await page.click('#undo').then(() => complete(page));
  assert.deepEqual(await linked(page), touched, 'undone');
  await page.click('#redo').then(() => complete(page));
  assert.equal(await page.$eval('#circle-x', (input) => input.value), '-2.25');
  assert.deepEqual(page.errors, []);
  await page.close();
});

const boxed = (page) => page.evaluate(() => [...document.querySelectorAll('#scene, #numbers, #numbers *, #explained *')]
  .filter((element) => element.tagName !== 'OPTION' && element.checkVisibility())
  .map((element) => [element.id || element.dataset.explain || element.tagName, element.getBoundingClientRect().toJSON()]));
for (const screen of screens) {
  test(`two touching circles: every number, control and explanation in view with the picture, axe-clean, at ${screen.width} x ${screen.height}`, async () => {
    const page = await openAt(screen, `${two.replace('-1.5', '-0.5')}&circle=0.5,1.5,0.25`);
    await page.select('#numbers-circle', '0').then(() => page.select('#compared', '1'));
    // On a phone the panel is under the picture: scrolled to, as a person
    // would, with half the picture still in view.
    if (screen === phone) await page.$eval('#numbers', (element) => element.scrollIntoView({ block: 'end' }));
    for (const name of ['centre', 'relation', 'cusps', 'inversive_distance', 'angle']) {
      await page.click(`[data-explain="${name}"]`);
      for (const [what, box] of await boxed(page)) {
        const shown = what === 'scene' && screen === phone
          ? Math.min(box.bottom, screen.height) - Math.max(box.top, 0) >= box.height / 2
          : box.left >= 0 && box.top >= -1 && box.right <= screen.width && box.bottom <= screen.height + 1;
        assert.ok(box.width > 0 && shown, `${name}: ${what} ${JSON.stringify(box)}`);
      }
    }
    assert.deepEqual(await seriousViolations(page), []);
    await page.close();
  });
}
