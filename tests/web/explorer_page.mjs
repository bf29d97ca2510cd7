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
// A pointer drag on the canvas from one canvas pixel to another, in steps;
// the canvas is shown at its own size, so CSS pixels are canvas pixels.
export async function drag(page, [x0, y0], [x1, y1], { steps = 10, pause = 0 } = {}) {
  const [left, top] = await canvasOrigin(page);
  await page.mouse.move(left + x0, top + y0);
  await page.mouse.down();
  for (let k = 1; k <= steps; k++) {
    await page.mouse.move(left + x0 + (x1 - x0) * k / steps, top + y0 + (y1 - y0) * k / steps);
    if (pause > 0) await new Promise((resolve) => setTimeout(resolve, pause));
  }
  await page.mouse.up();
}

// The page position of canvas pixel (0, 0).
export const canvasOrigin = (page) => page.$eval('#scene', (canvas) => {
  const { left, top } = canvas.getBoundingClientRect();
  return [left + canvas.clientLeft, top + canvas.clientTop];
});

