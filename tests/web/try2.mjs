import { launch, serve, openPage } from './browser.mjs';
import { circles, complete, drag } from './explorer_page.mjs';
const [browser, server] = await Promise.all([launch(), serve(process.argv[2])]);
try {
  const page = await openPage(browser, `${server.address}explore.html?program=soddy_gasket&picture=2&clock=1700000000`);
  await page.setViewport({ width: 1200, height: 720 });
  await complete(page);
  await page.select('#steps', '1000000');
  await complete(page);
  const [x, y] = (await circles(page))[0];
  page.on('console', (m) => console.log(m.text()));
  await drag(page, [x, y], [x + 90, y - 60], { steps: 30, pause: 16 });
  await complete(page);
} finally { await browser.close(); server.stop(); }
