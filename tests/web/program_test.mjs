// One program in headless Chromium at each clock, against its native export
// at the same clock (NATIVE/CLOCK/NAME/frame-NNN.png and output.txt):
//   node program_test.mjs SITE NATIVE NAME CLOCK...
// At every wait the canvas equals the native frame of the flip shown last,
// pixel for pixel (RGB), and the output so far begins the native output; a
// key ends each wait; the program then ends having waited as often as the
// program list says and flipped as often as natively; pre#output then
// equals the native standard output byte for byte.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { canvasPicture, launch, openPage, pictureDifference, programList, reachEnd, reachWait,
         readPng, root, serve, skipWithoutChromium } from './browser.mjs';

skipWithoutChromium();
const [site, native, name, ...clocks] = process.argv.slice(2);
const program = programList(site).find((entry) => entry.name === name);

let browser;
let server;
before(async () => {
  assert.ok(program, `${name} is not in the site's program list`);
  [browser, server] = await Promise.all([launch(), serve(site)]);
});
after(async () => {
  await browser?.close();
  server?.stop();
});

for (const clock of clocks) {
  test(`${name} at clock ${clock} shows the native pictures and output`, async () => {
    const folder = path.join(native, clock, name);
    const nativeFlips = fs.readdirSync(folder).filter((file) => /^frame-\d{3}\.png$/.test(file)).length;
    const outputFile = path.join(folder, 'output.txt');
    const nativeOutput = fs.existsSync(outputFile) ? fs.readFileSync(outputFile, 'latin1') : '';
    const page = await openPage(browser, `${server.address}?program=${name}&clock=${clock}`);

    let state;
    for (let wait = 1; wait <= program.pictures; wait++) {
      state = await reachWait(page, wait);
      const flip = Number(state.flips);
      assert.ok(flip >= 1 && flip <= nativeFlips, `wait ${wait} after flip ${flip} of ${nativeFlips}`);
      assert.ok(nativeOutput.startsWith(state.output), `output at wait ${wait}: ${JSON.stringify(state.output)}`);
      const file = path.join(folder, `frame-${String(flip).padStart(3, '0')}.png`);
      assert.equal(pictureDifference(await canvasPicture(page), readPng(file)), null, `wait ${wait}, flip ${flip}`);
      await page.keyboard.press('Space');
    }
    // No program prints after its last picture is up: by then every count
    // must be on the page, not held back for a newline.
    assert.equal(state.output, nativeOutput, 'output at the last wait');

    const end = await reachEnd(page);
    assert.equal(end.waits, String(program.pictures), 'waits');
    assert.equal(end.flips, String(nativeFlips), 'flips');
    assert.equal(end.output, nativeOutput, 'output at the end');
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}
