// What the browser tests share: the built site served on a free port,
// headless Chromium through puppeteer-core, the page's state as its
// contract gives it, and pictures as RGB pixels.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before } from 'node:test';
import { fileURLToPath } from 'node:url';
import vm from 'node:vm';
import { PNG } from 'pngjs';
import puppeteer from 'puppeteer-core';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const chromium = '/usr/bin/chromium';

// Exit status that CTest counts as a skip.
export function skipWithoutChromium() {
  if (fs.existsSync(chromium)) return;
  console.log(`skipped: no Chromium at ${chromium} (Debian: chromium)`);
  process.exit(77);
}

// The programs as the page lists them: the site's own programs.js, a
// module whose exports are read here as plain declarations.
export function programList(site) {
  const source = fs.readFileSync(path.join(site, 'programs.js'), 'utf8').replace(/^export /gm, '');
  const list = vm.runInNewContext(`${source}; suitePrograms`);
  return JSON.parse(JSON.stringify(list));  // plain objects of this context
}

// web/serve.mjs on a free port; resolves to { address, stop }.
export function serve(site) {
  const server = spawn(process.execPath, [path.join(root, 'web/serve.mjs'), site, '0'], {
    stdio: ['ignore', 'pipe', 'inherit'],
  });
  return new Promise((resolve, reject) => {
    server.on('error', reject);
    server.stdout.once('data', (line) => {
      resolve({ address: String(line).trim(), stop: () => server.kill() });
    });
  });
}

export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'web-test-profile-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A page whose script errors fail the test that reads them; onRequest, when
// given, answers each of its requests (puppeteer's interception).
export async function openPage(browser, url, { beforeLoad, onRequest } = {}) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.setViewport({ width: 1000, height: 1000 });
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  if (onRequest) {
    await page.setRequestInterception(true);
    page.on('request', onRequest);
  }
  await page.goto(url);
  return page;
}

// canvas#picture's data attributes, the status line, the output and the notice.
export function pageState(page) {
  return page.evaluate(() => {
    const picture = document.getElementById('picture');
    const notice = document.getElementById('notice');
    return {
      ...picture.dataset,
      running: !document.getElementById('stage').hidden,
      status: document.getElementById('status').textContent,
      output: document.getElementById('output').textContent,
      notice: notice.hidden ? '' : notice.textContent,
      search: location.search,
      menu: document.querySelectorAll('#menu a').length,
    };
  });
}

// Resolves once wait `k` has begun, with the page's state then.
export async function reachWait(page, k) {
  await page.waitForFunction((wanted) => {
    const { waiting, waits } = document.getElementById('picture').dataset;
    return waiting === 'true' && Number(waits) === wanted;
  }, { timeout: 120000 }, k);
  return pageState(page);
}

export async function reachEnd(page) {
  await page.waitForFunction(() => document.getElementById('picture').dataset.done === 'true',
                             { timeout: 120000 });
  return pageState(page);
}

// A decoded PNG: { width, height, data } with 4 bytes per pixel.
export function readPng(file) {
  return PNG.sync.read(fs.readFileSync(file));
}

// What canvas#picture's 800 x 600 backing store holds now.
export async function canvasPicture(page) {
  const url = await page.evaluate(() => document.getElementById('picture').toDataURL('image/png'));
  return PNG.sync.read(Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
}

// null when both pictures have the same size and RGB everywhere; otherwise
// what differs.
export function pictureDifference(shown, expected) {
  if (shown.width !== expected.width || shown.height !== expected.height) {
    return `${shown.width} x ${shown.height} instead of ${expected.width} x ${expected.height}`;
  }
  let count = 0;
  let first = '';
  for (let i = 0; i < shown.width * shown.height; i++) {
    const a = shown.data.subarray(4 * i, 4 * i + 3);
    const b = expected.data.subarray(4 * i, 4 * i + 3);
    if (a[0] === b[0] && a[1] === b[1] && a[2] === b[2]) continue;
    if (count++ === 0) first = `first at (${i % shown.width}, ${Math.floor(i / shown.width)}): ${[...a]} instead of ${[...b]}`;
  }
  return count === 0 ? null : `${count} pixels differ, ${first}`;
}

// Chromium and the served site for the tests of one file, opened before
// them and closed after them: session.browser, session.server.
export function browserSession(site) {
  const session = {};
  before(async () => {
    [session.browser, session.server] = await Promise.all([launch(), serve(site)]);
  });
  after(async () => {
    await session.browser?.close();
    session.server?.stop();
  });
  return session;
}

// axe-core's serious and critical findings on the page as it stands, one
// line each ("rule: the elements"); none is clean.
export async function seriousViolations(page) {
  await page.addScriptTag({ path: path.join(path.dirname(fileURLToPath(import.meta.url)), 'node_modules/axe-core/axe.min.js') });
  return page.evaluate(async () => (await axe.run()).violations
    .filter((violation) => violation.impact === 'serious' || violation.impact === 'critical')
    .map((violation) => `${violation.id}: ${violation.nodes.map((node) => node.target).join(' ')}`));
}
