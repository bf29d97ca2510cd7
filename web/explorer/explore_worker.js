// The explorer's engine thread: the scene part compiled to WebAssembly
// (explorer_engine.js), one job at a time, the latest wins.
//
// A "draw" job draws the scene's layers and the first stretch of its walk,
// posts that frame at once (what a drag sees), then (during a drag, after
// a pause in which a newer job would replace it) goes on in short chunks
// to the full step count, posting a progress line and, while the page has
// given a spare buffer back, the picture so far; the last frame is marked
// complete. Between chunks the thread looks at its messages, so a newer job
// ends the walk in progress there. Frames travel in the page's buffers,
// transferred, not copied. "link" reads an address into a scene, "check"
// says whether a scene reads (its error line if not), "file"
// draws a scene afresh as PNG or SVG bytes at any size, in chunks with its
// progress posted: the page gives saves a worker of their own, so a save
// never holds up the pictures of edits. "motion" records a motion between
// two scenes there too, as an animated WebP (motion(), below).
//
// Every job ends in an answer: a failure of the engine itself (it aborts on
// what it cannot handle) is posted as the job's error, and a fresh engine
// takes the next job.
import createEngine from './explorer_engine.js';
import { framed } from './explore_framing.js';

const firstStretch = 100000;  // walk steps in a drag's frame
const chunkMilliseconds = 3;  // a newer job waits at most about this long
const frameInterval = 100;    // ms between progress pictures
const fileChunkMilliseconds = 50;  // a file's chunks: only its progress waits on them
// During a drag the walk goes on only once no newer job has come for this
// long: until then the next move is likely, and the page's thread needs
// the processor more.
const restPause = 40;

let engine = null;
let latest = 0;      // id of the newest draw job
// The engine holds one picture: each job that begins one takes it over, so
// a draw whose picture a framing job took meanwhile draws its own again.
let pictures = 0;
const spares = [];   // the page's buffers, to carry frames back

const pending = [];  // messages that came before the engine was ready
self.onmessage = (event) => {
  if (engine === null) pending.push(event.data);
  else receive(event.data);
};

let starts = 0;  // engines started: the first says "ready" to the page
function start() {
  createEngine().then((module) => {
    engine = module;
    if (starts++ === 0) self.postMessage({ type: 'ready' });
    for (const message of pending.splice(0)) receive(message);
  }, (error) => {
    self.postMessage({ type: 'failed', message: String(error) });
  });
}
start();

// The answer each kind of job gives when it fails.
const answerType = { draw: 'error', link: 'scene', file: 'file', framed: 'scene', check: 'scene', motion: 'file' };

async function receive(message) {
  // Two spares carry every progress picture; more would only hold memory.
  if (message.buffer && spares.length < 2) spares.push(message.buffer);
  if (message.type === 'draw') latest = message.id;
  if (!(message.type in answerType)) return;
  const ran = engine;
  try {
    if (message.type === 'draw') await draw(message);
    else if (message.type === 'link') {
      const answer = callText('explorer_scene_from_link', ['string'], [message.query]);
      self.postMessage({ type: 'scene', id: message.id, ...answer });
    } else if (message.type === 'check') {
      self.postMessage({ type: 'scene', id: message.id, ...callText('explorer_check', ['string'], [message.scene]) });
    } else if (message.type === 'framed') {
      pictures += 1;
      const answer = framed(callText, engine, message);
      self.postMessage({ type: 'scene', id: message.id, ...answer }, answer.buffer ? [answer.buffer] : []);
    } else if (message.type === 'motion') await motion(message);
    else await file(message);
  } catch (error) {
    self.postMessage({ type: answerType[message.type], id: message.id,
                       error: `The engine failed on this scene (${error.message ?? error}).` });
    if (engine === ran) {  // an aborted engine answers nothing more: start another
      engine = null;
      start();
    }
  }
}

// Strings in and out through the engine's heap; the engine answers with a
// status and the text (a scene, a link or one error line).
function callText(name, types, args) {
  const ok = engine.ccall(name, 'number', types, args) === 0;
  const text = engine.ccall('explorer_text', 'string', [], []);
  return ok ? { text } : { error: text };
}

// Lets queued messages run: a MessageChannel turn, not a clamped timeout.
const channel = new MessageChannel();
const turns = [];
channel.port1.onmessage = () => turns.shift()();
const nextTurn = () => new Promise((resolve) => {
  turns.push(resolve);
  channel.port2.postMessage(0);
});

function bufferFor(size) {
  while (spares.length > 0) {
    const buffer = spares.pop();
    if (buffer.byteLength === size) return buffer;
  }
  return null;
}

function postFrame(job, buffer, done, total, complete) {
  const bytes = new Uint8Array(buffer);
  const address = engine.ccall('explorer_pixels', 'number', [], []);
  bytes.set(engine.HEAPU8.subarray(address, address + bytes.length));
  self.postMessage({
    type: 'frame', id: job.id, buffer, width: job.width, height: job.height,
    steps: done, total, complete, elapsed: performance.now() - job.started, link: job.link,
  }, [buffer]);
}

async function draw(job) {
  job.started = performance.now();
  const ran = engine;
  const size = job.width * job.height * 4;
  const began = callText('explorer_begin', ['string', 'number', 'number'], [job.scene, job.width, job.height]);
  if (began.error !== undefined) {
    self.postMessage({ type: 'error', id: job.id, error: began.error });
    return;
  }
  job.link = began.text;
  const mine = ++pictures;
  const taken = () => pictures !== mine;
  const total = engine.ccall('explorer_walk_total', 'number', [], []);
  let done = engine.ccall('explorer_walk', 'number', ['number'], [Math.min(firstStretch, total)]);
  // The first frame always goes back: the page gave a buffer for it.
  postFrame(job, bufferFor(size) ?? new ArrayBuffer(size), done, total, done >= total);
  let rate = firstStretch / Math.max(performance.now() - job.started, 1);  // steps per ms
  if (job.live && done < total) {
    await new Promise((resolve) => setTimeout(resolve, restPause));
    if (job.id !== latest) return;
    if (taken()) return draw(job);
  }
  let shown = performance.now();
  while (done < total) {
    await nextTurn();
    if (job.id !== latest) return;  // a newer job took over
    if (engine !== ran) throw new Error('the engine was started again');
    if (taken()) return draw(job);  // its picture was taken: from the start
    const start = performance.now();
    const chunk = Math.max(10000, Math.round(rate * chunkMilliseconds));
    const before = done;
    done = engine.ccall('explorer_walk', 'number', ['number'], [Math.min(chunk, total - done)]);
    if (done === before) break;  // the walk is stuck: no circle takes the point
    rate = (done - before) / Math.max(performance.now() - start, 0.05);
    const buffer = bufferFor(size);
    if (done >= total) {
      postFrame(job, buffer ?? new ArrayBuffer(size), done, total, true);
      return;
    }
    if (buffer !== null && performance.now() - shown >= frameInterval) {
      postFrame(job, buffer, done, total, false);
      shown = performance.now();
    } else {
      if (buffer !== null) spares.push(buffer);
      self.postMessage({ type: 'progress', id: job.id, steps: done, total });
    }
  }
  if (done < total) postFrame(job, bufferFor(size) ?? new ArrayBuffer(size), done, total, true);
}

// A picture in progress drawn to its end in chunks of about
// fileChunkMilliseconds, each followed by progress(done / total).
function drawToEnd(progress) {
  const total = engine.ccall('explorer_walk_total', 'number', [], []);
  let done = 0;
  let chunk = 10000;
  while (done < total) {
    const start = performance.now();
    const before = done;
    done = engine.ccall('explorer_walk', 'number', ['number'], [Math.min(chunk, total - done)]);
    if (done === before) break;  // the walk is stuck: no circle takes the point
    const rate = (done - before) / Math.max(performance.now() - start, 0.05);
    chunk = Math.max(10000, Math.round(rate * fileChunkMilliseconds));
    progress(done / total);
  }
}

const bytesOf = () => {
  const address = engine.ccall('explorer_bytes', 'number', [], []);
  return engine.HEAPU8.slice(address, address + engine.ccall('explorer_byte_count', 'number', [], []));
};

// A motion's frames, each drawn as a file's picture; the engine's writer
// takes each frame's changed area as a lossless WebP still, which the
// browser's encoder makes (at quality 1 Chromium's is lossless; the writer
// refuses a lossy one), and puts the animated WebP together.
async function motion(job) {
  const began = callText('explorer_motion_begin', ['string', 'string', 'number'], [job.first, job.last, job.frames]);
  if (began.error !== undefined) {
    self.postMessage({ type: 'file', id: job.id, error: began.error });
    return;
  }
  const { first, last } = JSON.parse(began.text);
  for (let frame = 0; frame < job.frames; frame++) {
    engine.ccall('explorer_motion_frame', null, ['number'], [frame]);
    drawToEnd((fraction) => self.postMessage({ type: 'saving', id: job.id, done: frame + fraction, total: job.frames }));
    engine.ccall('explorer_motion_area', null, [], []);
    const area = JSON.parse(engine.ccall('explorer_text', 'string', [], []));
    const canvas = new OffscreenCanvas(area.width, area.height);
    canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(bytesOf().buffer), area.width, area.height), 0, 0);
    const still = new Uint8Array(await (await canvas.convertToBlob({ type: 'image/webp', quality: 1 })).arrayBuffer());
    engine.HEAPU8.set(still, engine.ccall('explorer_room', 'number', ['number'], [still.length]));
    const added = callText('explorer_motion_add', [], []);
    if (added.error !== undefined) {
      self.postMessage({ type: 'file', id: job.id, error: `This browser cannot write the motion: ${added.error}.` });
      return;
    }
    self.postMessage({ type: 'saving', id: job.id, done: frame + 1, total: job.frames });
  }
  engine.ccall('explorer_motion_end', null, [], []);
  const bytes = bytesOf().buffer;
  self.postMessage({ type: 'file', id: job.id, bytes, link: first, last }, [bytes]);
}

// The file's pixels are drawn as a picture in progress at its size, in
// chunks of about fileChunkMilliseconds, each followed by its progress; the
// SVG's writer is one call. The browser's own encoder, lossless, turns the
// pixels into the PNG.
async function file(job) {
  const began = callText('explorer_begin', ['string', 'number', 'number'], [job.scene, job.width, job.height]);
  if (began.error !== undefined) {
    self.postMessage({ type: 'file', id: job.id, error: began.error });
    return;
  }
  const link = began.text;
  if (job.format === 'svg') {
    const answer = callText('explorer_svg', ['string', 'number', 'number'], [job.scene, job.width, job.height]);
    if (answer.error !== undefined) {
      self.postMessage({ type: 'file', id: job.id, error: answer.error });
      return;
    }
    const bytes = bytesOf().buffer;
    self.postMessage({ type: 'file', id: job.id, bytes, link }, [bytes]);
    return;
  }
  drawToEnd((fraction) => self.postMessage({ type: 'saving', id: job.id, done: fraction, total: 1 }));
  const address = engine.ccall('explorer_pixels', 'number', [], []);
  const pixels = new Uint8ClampedArray(engine.HEAPU8.slice(address, address + job.width * job.height * 4).buffer);
  const canvas = new OffscreenCanvas(job.width, job.height);
  canvas.getContext('2d').putImageData(new ImageData(pixels, job.width, job.height), 0, 0);
  const bytes = await (await canvas.convertToBlob({ type: 'image/png' })).arrayBuffer();
  self.postMessage({ type: 'file', id: job.id, bytes, link }, [bytes]);
}
