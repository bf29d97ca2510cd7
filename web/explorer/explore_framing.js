// The worker's framing job: a scene (its JSON, or a link to read) with its
// view left out, so that the engine fits the view to its circles by the
// rule of any scene that leaves it out; answered with the fitted scene's
// link and JSON and, when asked, its picture at a small size (a gallery's
// thumbnail), drawn whole.
//
//   framed(call, engine, { query | scene, width, height, picture })
//       -> { link, text, buffer? } | { error }
//   call(name, types, args) -> { text } | { error }: the worker's text calls
export function framed(call, engine, { query, scene, width, height, picture }) {
  let text = scene;
  if (query !== undefined) {
    const read = call('explorer_scene_from_link', ['string'], [query]);
    if (read.error !== undefined) return read;
    text = read.text;
  }
  const loose = JSON.parse(text);
  delete loose.view;
  const began = call('explorer_begin', ['string', 'number', 'number'],
                     [JSON.stringify(loose), picture ? width : 1, picture ? height : 1]);
  if (began.error !== undefined) return began;
  const link = began.text;
  const read = call('explorer_scene_from_link', ['string'], [link]);
  if (read.error !== undefined) return read;
  if (!picture) return { link, text: read.text };
  const total = engine.ccall('explorer_walk_total', 'number', [], []);
  let done = 0;
  while (done < total) {
    const before = done;
    done = engine.ccall('explorer_walk', 'number', ['number'], [total - done]);
    if (done === before) break;  // the walk is stuck: no circle takes the point
  }
  const address = engine.ccall('explorer_pixels', 'number', [], []);
  const buffer = engine.HEAPU8.slice(address, address + width * height * 4).buffer;
  return { link, text: read.text, buffer };
}
