// The README's picture of the page, taken by the test browser:
//   node tests/web/screenshot.mjs build/web/site docs/web.png
// four_circle_packing at the gallery's clock, opened at its third picture by
// its link, on a 1366 x 768 screen, with the counts printed so far.
import { launch, openPage, reachWait, serve, skipWithoutChromium } from './browser.mjs';

skipWithoutChromium();
const [site, file] = process.argv.slice(2);
const [browser, server] = await Promise.all([launch(), serve(site)]);
try {
  const page = await openPage(browser, `${server.address}?program=four_circle_packing&clock=1700000000&picture=3`);
  await page.setViewport({ width: 1366, height: 768 });
  await reachWait(page, 3);
  await page.screenshot({ path: file });
} finally {
  await browser.close();
  server.stop();
}
