// What the explorer tells a student about an address that holds no scene it
// can draw: one sentence in the link's own terms, from the link and the
// engine's error line (which names the field).
//
//   linkTrouble(query, error, programs) -> sentence
//       programs: the suite's programs, [{ name }, ...]
export function linkTrouble(query, error, programs) {
  const fields = new URLSearchParams(query);
  const first = error.split('; ')[0];
  if (fields.has('program')) {
    const name = fields.get('program');
    if (!programs.some((program) => program.name === name)) return `There is no such program as “${name}”.`;
    return `The explorer cannot open this frame of ${name}: ${first.replace(/^program: /, '')}.`;
  }
  // Every scene's link gives its size; without one it is no scene's link.
  if (!fields.has('size')) return 'This link holds no scene: it names neither a program nor a scene.';
  return `This link's scene is damaged: ${first}.`;
}
