// web/serve.mjs against hostile request targets sent over a raw socket, so
// that nothing normalises them (node serve_test.mjs), and against a site
// folder holding links out of it, a FIFO and a device: each gets its status,
// never a file outside the site, and the server still answers after it.
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { after, test } from 'node:test';
import { fileURLToPath } from 'node:url';

const serveScript = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../web/serve.mjs');
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'serve-test-'));
fs.mkdirSync(path.join(scratch, 'site'));
fs.writeFileSync(path.join(scratch, 'site', 'index.html'), 'the site');
fs.writeFileSync(path.join(scratch, 'secret.txt'), 'outside the site');
// What a site folder may hold besides files: links in and out, a FIFO, a
// device, a folder.
const site = (name) => path.join(scratch, 'site', name);
fs.writeFileSync(site('explore.html'), 'the explorer');
fs.symlinkSync('/etc/passwd', site('planted-link'));
fs.symlinkSync('/etc', site('etc'));
fs.symlinkSync('../secret.txt', site('secret.html'));
fs.symlinkSync(scratch, site('up'));
fs.symlinkSync('/dev/zero', site('zero.js'));
fs.symlinkSync('index.html', site('inner.html'));
execFileSync('mkfifo', [site('fifo.html')]);
fs.mkdirSync(site('gallery'));
// The longest scene link the explorer can give, near enough: 16 circles and
// 16 walks over all of them, each number with 17 digits and an exponent.
const number = '-1.2345678901234567e-300';
const walk = `&walk=circles:${[...Array(16).keys()].join(':')},pick:cyclic,inside:refuse,point:float,` +
             `steps:100000000000,burn_in:100000000000,x:${number},y:${number},previous:15,seed:4294967295,` +
             `skip:10000000000,colour:abcdef,plot:ring2`;
const longestLink = `/explore.html?size=16384x16384&background=abcdef&view=${number},${number},${number}` +
                    `&numbers=float${`&circle=${number},${number},${number}`.repeat(16)}${walk.repeat(16)}`;

const rows = [
  ['/', 200], ['/index.html', 200], ['/index.html?program=x#y', 200], ['/missing.js', 404],
  ['/%2e%2e%5cindex.html', 400],   // a backslash is no separator here
  ['/%00', 400], ['/index.html%00.js', 400], ['/%0a', 400], ['/\x00', 400], ['/%7f', 400],
  ['/' + 'a'.repeat(5000), 400], ['/' + 'a/'.repeat(3000), 400], ['/' + 'b'.repeat(20000), 400],
  ['/%', 400], ['/%zz', 400], ['/%ff', 400], ['/%c0%af', 400], ['/%e2%82', 400],
  ['/../secret.txt', 400], ['/%2e%2e/secret.txt', 400], ['/.%2e/secret.txt', 400], ['/%2E%2E/secret.txt', 400],
  ['/..%2fsecret.txt', 400], ['/%2e%2e%2fsecret.txt', 400], ['/..\\secret.txt', 400], ['/..%5csecret.txt', 400],
  ['/./index.html', 400], ['/site/../../secret.txt', 400], ['/%252e%252e/secret.txt', 404], ['//secret.txt', 400],
  ['/%2fetc/passwd', 400], [path.join(scratch, 'secret.txt'), 404],
  ['http://127.0.0.1/../secret.txt', 400], ['http://127.0.0.1/index.html', 400], ['*', 400], ['index.html', 400],
  // Only regular files inside the site, and never a wait on one: each of
  // these is asked five times at once.
  ['/planted-link', 404], ['/etc/passwd', 404], ['/secret.html', 404], ['/up/secret.txt', 404],
  ['/fifo.html', 404], ['/zero.js', 404], ['/gallery', 404], ['/inner.html', 200],
  // The query is the explorer's scene: as long as the longest, and far
  // beyond it; the path alone keeps its limit.
  [longestLink, 200], [`/explore.html?${'q'.repeat(16 * 1024)}`, 200], [`/explore.html?${'q'.repeat(16 * 1024 + 1)}`, 400],
  [`/${'p'.repeat(1023)}?q`, 404], [`/${'p'.repeat(1024)}?q`, 400],
];
const firstTogether = rows.findIndex(([target]) => target === '/planted-link');

const server = spawn(process.execPath, [serveScript, path.join(scratch, 'site'), '0'], { stdio: ['ignore', 'pipe', 'pipe'] });
const port = new Promise((resolve) => server.stdout.once('data', (line) => resolve(new URL(String(line)).port)));
after(() => {
  server.kill();
  fs.rmSync(scratch, { recursive: true, force: true });
});

// The status and body of one request whose target is sent byte for byte.
async function request(target) {
  const socket = net.connect(await port, '127.0.0.1');
  socket.write(Buffer.from(`GET ${target} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n`, 'latin1'));
  const chunks = [];
  for await (const chunk of socket.setTimeout(30000, () => socket.destroy())) chunks.push(chunk);
  const text = Buffer.concat(chunks).toString('latin1');
  return { status: Number(/^HTTP\/1\.1 (\d{3})/.exec(text)?.[1]), body: text };
}

test('every request path gets its status and the server keeps answering', async () => {
  for (const [index, [target, status]] of rows.entries()) {
    const shown = JSON.stringify(target.length > 40 ? `${target.slice(0, 40)}...` : target);
    for (const answer of await Promise.all(Array.from({ length: index >= firstTogether ? 5 : 1 },
                                                      () => request(target)))) {
      assert.equal(answer.status, status, shown);
      assert.ok(!/outside the site|root:/.test(answer.body), shown);
    }
    assert.equal((await request('/index.html')).status, 200, `after ${shown}`);
  }
});
