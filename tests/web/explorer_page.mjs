// What the explorer's tests share: canvas#scene's contract (the picture
// once complete, data-circles) and a pointer drag in canvas pixels.
import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { PNG } from 'pngjs';
import { openPage, readPng, root } from './browser.mjs';

// ./suite render of a link or PROGRAM:K at a canvas's size, files in
// `scratch`; its tool itself (RENDER_SCENE) where a native tree is built.
export function nativeRenderer(scratch, clock) {
  const render = process.env.RENDER_SCENE ? [process.env.RENDER_SCENE] : [path.join(root, 'suite'), 'render'];
  let renders = 0;
  return (scene, { width, height }) => {
    const file = path.join(scratch, `render-${++renders}.png`);
    execFileSync(render[0], [...render.slice(1), scene, '--clock', String(clock), '--size', `${width}x${height}`,
                             '--out', file], { stdio: 'inherit' });
    return readPng(file);
  };
}

// Resolves, once data-complete is "true", to the canvas's picture.
export async function complete(page) {
  await page.waitForFunction(() => document.getElementById('scene').dataset.complete === 'true',
                             { timeout: 60000 });
  const url = await page.evaluate(() => document.getElementById('scene').toDataURL('image/png'));
  return PNG.sync.read(Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
}


export const circles = (page) => page.$eval('#scene', (canvas) => JSON.parse(canvas.dataset.circles));
// A pointer drag on the canvas from one canvas pixel to another, in steps.
export async function drag(page, from, to, { steps = 10, pause = 0 } = {}) {
  const [left, top, scale] = await canvasOrigin(page);
  const at = (k) => [0, 1].map((i) => [left, top][i] + scale * (from[i] + (to[i] - from[i]) * k / steps));
  await page.mouse.move(...at(0));
  await page.mouse.down();
  for (let k = 1; k <= steps; k++) {
    await page.mouse.move(...at(k));
    if (pause > 0) await new Promise((resolve) => setTimeout(resolve, pause));
  }
  await page.mouse.up();
}


// The page position of canvas pixel (0, 0), and CSS pixels a canvas pixel.
export const canvasOrigin = (page) => page.$eval('#scene', (canvas) => {
  const box = canvas.getBoundingClientRect();
  return [box.left + canvas.clientLeft, box.top + canvas.clientTop, canvas.clientWidth / canvas.width];
});

// A walk layer's value in a link, positional (circles first) or named
// (circles: and colour: left out at their defaults): `key` of it.
export function walkValue(link, key) {
  const values = new URLSearchParams(link).get('walk').split(',');
  if (values[0] === 'all' || /^\d/.test(values[0])) return values[key === 'circles' ? 0 : 11];
  const named = values.find((value) => value.startsWith(`${key}:`));
  return named ? named.slice(key.length + 1) : { circles: 'all', colour: 'black' }[key];
}

// A compact link zoomed `times` into a point of its walk's limit set: the
// limiting point, within the first, of the first two circles outside each
// other (fixed by the inversions in both), or their point of contact.
export function zoomedLink(link, times) {
  const fields = new URLSearchParams(link);
  const number = fields.get('numbers') === 'float' ? (v) => Math.fround(Number(v)) : Number;  // as the engine takes them
  const all = fields.getAll('circle').map((c) => c.split(',').map(number));
  const walk = walkValue(link, 'circles');
  const circles = walk === 'all' ? all : walk.split(':').map((k) => all[k]);
  const [[ax, ay, ar], [bx, by, br]] = circles.flatMap((a, i) => circles.slice(i + 1).map((b) => [a, b]))
    .find(([a, b]) => Math.hypot(b[0] - a[0], b[1] - a[1]) >= (a[2] + b[2]) * (1 - 1e-12));  // touching, to rounding
  const d = Math.hypot(bx - ax, by - ay);
  const along = (d * d + ar * ar - br * br) / (2 * d);  // to the radical axis
  const t = (along - Math.sqrt(Math.max(0, along * along - ar * ar))) / d;
  fields.set('view', `${ax + t * (bx - ax)},${ay + t * (by - ay)},${Number(fields.get('view').split(',')[2]) * times}`);
  return fields.toString();
}

// The screens the explorer is held to, and a phone among them.
export const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
export const screens = [{ width: 1366, height: 768 }, { width: 1280, height: 720 }, { width: 1024, height: 768 }, phone];

// A new page of the session's browser at `screen`, on explore.html?QUERY,
// its picture complete.
export async function openExplorer(session, screen, query) {
  const page = await openPage(session.browser, 'about:blank');
  await page.setViewport(screen);
  await page.goto(`${session.server.address}explore.html?${query}`);
  await complete(page);
  return page;
}
