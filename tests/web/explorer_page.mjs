// What the explorer's tests share: canvas#scene's contract (the picture
// once complete, data-circles) and a pointer drag in canvas pixels.
import { PNG } from 'pngjs';

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

// A point of a scene's limit set: a limiting point of the first two circles
// outside each other (the fixed point, within the first circle, of the
// inversions in both), or their point of contact when they touch.
export function limitPoint(circles) {
  for (const [i, a] of circles.entries()) {
    for (const b of circles.slice(i + 1)) {
      const d = Math.hypot(b.x - a.x, b.y - a.y);
      if (d < (a.r + b.r) * (1 - 1e-12)) continue;  // touching, to rounding: their point of contact
      const along = (d * d + a.r * a.r - b.r * b.r) / (2 * d);  // to the radical axis
      const t = (along - Math.sqrt(Math.max(0, along * along - a.r * a.r))) / d;
      return [a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)];
    }
  }
  throw new Error('no two circles outside each other');
}
