// The README's picture of the page, taken by the test browser:
//   node tests/web/screenshot.mjs build/web/site docs/web.png
// four_circle_packing at the gallery's clock, at its third picture, with the
// counts it has printed so far under the canvas.
import { launch, openPage, reachWait, serve, skipWithoutChromium } from './browser.mjs';

skipWithoutChromium();
const [site, file] = process.argv.slice(2);
const [browser, server] = await Promise.all([launch(), serve(site)]);
try {
  const page = await openPage(browser, `${server.address}?program=four_circle_packing&clock=1700000000`);
  await page.setViewport({ width: 1000, height: 1060 });
  for (let wait = 1; wait < 3; wait++) {
    await reachWait(page, wait);
    await page.keyboard.press('Space');
  }
  await reachWait(page, 3);
  await page.screenshot({ path: file });
} finally {
  await browser.close();
  server.stop();
}
