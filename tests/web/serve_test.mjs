// web/serve.mjs against hostile request targets sent over a raw socket, so
// that nothing normalises them (node serve_test.mjs): each gets its status,
// never the file beside the site, and the server still answers after it.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
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

const rows = [
  ['/', 200], ['/index.html', 200], ['/index.html?program=x#y', 200], ['/missing.js', 404],
  ['/%2e%2e%5cindex.html', 400],   // a backslash is no separator here
  ['/%00', 400], ['/index.html%00.js', 400], ['/%0a', 400], ['/\x00', 400], ['/%7f', 400],
  ['/' + 'a'.repeat(5000), 400], ['/' + 'a/'.repeat(3000), 400], ['/' + 'b'.repeat(20000), 431],
  ['/%', 400], ['/%zz', 400], ['/%ff', 400], ['/%c0%af', 400], ['/%e2%82', 400],
  ['/../secret.txt', 400], ['/%2e%2e/secret.txt', 400], ['/.%2e/secret.txt', 400], ['/%2E%2E/secret.txt', 400],
  ['/..%2fsecret.txt', 400], ['/%2e%2e%2fsecret.txt', 400], ['/..\\secret.txt', 400], ['/..%5csecret.txt', 400],
  ['/./index.html', 400], ['/site/../../secret.txt', 400], ['/%252e%252e/secret.txt', 404], ['//secret.txt', 400],
  ['/%2fetc/passwd', 400], [path.join(scratch, 'secret.txt'), 404],
  ['http://127.0.0.1/../secret.txt', 400], ['http://127.0.0.1/index.html', 400], ['*', 400], ['index.html', 400],
];

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
  for await (const chunk of socket.setTimeout(5000, () => socket.destroy())) chunks.push(chunk);
  const text = Buffer.concat(chunks).toString('latin1');
  return { status: Number(/^HTTP\/1\.1 (\d{3})/.exec(text)?.[1]), body: text };
}

test('every request path gets its status and the server keeps answering', async () => {
  for (const [target, status] of rows) {
    const shown = JSON.stringify(target.length > 40 ? `${target.slice(0, 40)}...` : target);
    const answer = await request(target);
    assert.equal(answer.status, status, shown);
    assert.ok(!answer.body.includes('outside the site'), shown);
    assert.equal((await request('/index.html')).status, 200, `after ${shown}`);
  }
});
