// The page's side of the engine thread (explore_worker.js): one draw job in
// flight, the latest wins. A draw asked for while one is in flight waits as
// the pending request, and a newer one replaces it: a drag never queues.
// A job is "in flight" until its first frame is back; after that the worker
// is only completing the walk, which any newer job cancels.
//
//   const renderer = createRenderer({ onFrame, onProgress, onError, onReady });
//   renderer.draw(sceneText, width, height, started, live)
//       started: the input event's time, or null; live: during a drag, when
//       the next request is likely to follow at once
//   renderer.readLink(query) -> Promise<{ text } | { error, failed }>
//       failed: the engine failed, whatever the link
//   renderer.check(sceneText) -> Promise<{ text } | { error }>: whether the
//       engine's reader takes the scene, drawing nothing
//   renderer.file(sceneText, width, height, 'png' | 'svg', onProgress)
//       -> Promise<{ bytes, link } | { error } | { stopped: true }>
//       drawn by a worker of its own, so that edits are drawn meanwhile;
//       onProgress(fraction) as it goes
//   renderer.framed({ query | scene, width, height, picture })
//       -> Promise<{ link, text, buffer? } | { error }>: the scene with its
//       view fitted to its circles (explore_framing.js)
//   renderer.motion(firstText, lastText, frames, onProgress)
//       -> Promise<{ bytes, link, last } | { error } | { stopped: true }>: a
//       motion's animated WebP, in the files' worker, as a file is
//   renderer.stopFile()        ends the file or motion in progress
//   renderer.giveBack(frame)    a frame's buffer, once it is on the canvas
//
// Every request is answered: when a worker fails outright, the draw ends
// in onError and a link or file request in its error.
const startWorker = () => new Worker(new URL('./explore_worker.js', import.meta.url), { type: 'module' });

export function createRenderer(hooks) {
  const worker = startWorker();
  const answers = new Map();  // id -> resolve, for link and file requests
  const buffers = [];         // frames' buffers, used again
  let nextId = 1;
  let inFlight = null;        // { id, started } of the job whose first frame is awaited
  let pending = null;         // the newest draw not yet sent
  let current = 0;            // id of the newest job sent

  const keep = (buffer) => {
    if (buffers.length < 2) buffers.push(buffer);
  };
  const send = (request) => {
    const size = request.width * request.height * 4;
    let buffer = buffers.pop();
    while (buffer !== undefined && buffer.byteLength !== size) buffer = buffers.pop();
    buffer ??= new ArrayBuffer(size);
    const id = nextId++;
    inFlight = { id, started: request.started };
    current = id;
    worker.postMessage({ type: 'draw', id, scene: request.scene, width: request.width,
                         height: request.height, live: request.live, buffer }, [buffer]);
  };
  const settle = (id) => {
    if (inFlight === null || inFlight.id !== id) return;
    inFlight = null;
    if (pending !== null) {
      const request = pending;
      pending = null;
      send(request);
    }
  };

  worker.onmessage = ({ data }) => {
    switch (data.type) {
      case 'ready': hooks.onReady(); break;
      case 'failed': failAll(`The engine could not start: ${data.message}`); break;
      case 'frame': {
        const started = inFlight?.id === data.id ? inFlight.started : null;
        settle(data.id);
        if (data.id === current && pending === null) hooks.onFrame(data, started);
        else keep(data.buffer);  // an older job's picture: not shown
        break;
      }
      case 'progress':
        if (data.id === current) hooks.onProgress(data);
        break;
      case 'error':
        settle(data.id);
        if (data.id === current) hooks.onError(data.error, data.id);
        break;
      default: {  // 'scene' and 'file' answers
        const resolve = answers.get(data.id);
        answers.delete(data.id);
        resolve?.(data);
      }
    }
  };
  // A worker that failed outright answers nothing more.
  const failAll = (message) => {
    inFlight = null;
    pending = null;
    hooks.onError(message, null);
    for (const [id, resolve] of answers) resolve({ id, error: message, failed: true });
    answers.clear();
  };
  worker.onerror = (event) => failAll(`The engine failed: ${event.message}`);

  const ask = (message) => new Promise((resolve) => {
    const id = nextId++;
    answers.set(id, resolve);
    worker.postMessage({ ...message, id });
  });

  // Files: one at a time, in a worker of their own, ended by terminating it.
  let saver = null;  // { worker, resolve } while a file is drawn
  const endFile = (answer) => {
    saver.worker.terminate();
    saver.resolve(answer);
    saver = null;
  };

  // One file at a time: one asked for while another is drawn stops that one.
  const saveInWorker = (message, onProgress) => new Promise((resolve) => {
    if (saver !== null) endFile({ stopped: true });
    saver = { worker: startWorker(), resolve };
    saver.worker.onmessage = ({ data }) => {
      if (data.type === 'saving') onProgress(data.done / data.total);
      else if (data.type === 'file') endFile(data);
      else if (data.type === 'failed') endFile({ error: `The engine could not start: ${data.message}` });
    };
    saver.worker.onerror = (event) => endFile({ error: `The engine failed: ${event.message}` });
    saver.worker.postMessage(message);
  });

  return {
    draw(scene, width, height, started, live) {
      const request = { scene, width, height, started, live };
      if (inFlight === null) send(request);
      else {
        // The replaced request's input is answered by this newer render.
        pending = { ...request, started: pending?.started ?? started };
      }
    },
    readLink: (query) => ask({ type: 'link', query }),
    check: (scene) => ask({ type: 'check', scene }),
    framed: (job) => ask({ type: 'framed', ...job }),
    file: (scene, width, height, format, onProgress) =>
      saveInWorker({ type: 'file', id: 1, scene, width, height, format }, onProgress),
    motion: (first, last, frames, onProgress) =>
      saveInWorker({ type: 'motion', id: 1, first, last, frames }, onProgress),
    stopFile() {
      if (saver !== null) endFile({ stopped: true });
    },
    giveBack(frame) {
      // The next job takes a buffer from here; one more goes to the worker
      // while it completes the newest walk, for its progress pictures. So a
      // drag makes no new buffers.
      if (buffers.length > 0 && !frame.complete && frame.id === current) {
        worker.postMessage({ type: 'spare', buffer: frame.buffer }, [frame.buffer]);
      } else {
        keep(frame.buffer);
      }
    },
  };
}
