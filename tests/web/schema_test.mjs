// The scene's JSON Schema (docs/scene.schema.json) against the reader
// (node schema_test.mjs RENDER_SCENE): each bad scene of the table, the
// rows of tests/scene/scene_test.cpp's bad-scene tables that a schema can
// say, is refused by both, each good one taken by both, and every program's
// picture that is a scene (render_scene PROGRAM:K --out x.json) validates.
// What only the reader checks (a circle index within the circle count, the
// generations' image count, 800.0 for 800, keys given twice, nesting) is
// left out: the schema's description lists it.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import Ajv2020 from 'ajv/dist/2020.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const renderScene = process.argv[2] && path.resolve(process.argv[2]);
if (!renderScene || !fs.existsSync(renderScene)) {
  console.log('web.schema: skipped, no render_scene built (give its path)');
  process.exit(77);
}
const schema = JSON.parse(fs.readFileSync(path.join(root, 'docs/scene.schema.json'), 'utf8'));
const validate = new Ajv2020({ allErrors: true }).compile(schema);
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'schema-'));

// The reader's answer: render_scene FILE --out x.json takes it (0) or
// refuses it with one line (2).
function readerTakes(text) {
  fs.writeFileSync(path.join(scratch, 'scene.json'), text);
  const run = spawnSync(renderScene, ['scene.json', '--out', 'x.json'], { cwd: scratch, encoding: 'utf8' });
  assert.ok(run.status === 0 || run.status === 2, `render_scene: status ${run.status}: ${run.stderr}`);
  return run.status === 0;
}
function schemaTakes(text) {
  let value;
  try {
    value = JSON.parse(text);
  } catch {
    return false;  // not JSON: no schema takes it
  }
  return validate(value);
}

// The scene the native bad-scene rows edit, which these rows edit too.
const smallScene = fs.readFileSync(path.join(path.dirname(fileURLToPath(import.meta.url)), '../scene/small_scene.json'), 'utf8');
const withEdit = (from, to) => {
  assert.ok(smallScene.includes(from), `the scene holds no ${from}`);
  return smallScene.replace(from, to);
};
const fourteenCircles = '{"x": 9, "y": 9, "r": 1}, '.repeat(14);
const generations = (colours) =>
  withEdit('"outlines", "circles": "all", "colour": "black"', `"generations", "colours": ${colours}`);

// [what, text, taken]
const rows = [
  ['the small scene', smallScene, true],
  ['a minimal scene', '{"circles": [{"x": 0, "y": 0, "r": 2}, {"x": 4, "y": 0, "r": 2}], "layers": [{"draw": "walk", "steps": 100000, "seed": 7}]}', true],
  ['version 1', withEdit('"width": 800,', '"version": 1, "width": 800,'), true],
  ['version 2', withEdit('"width": 800,', '"version": 2, "width": 800,'), false],
  ['not JSON', '{"width": ', false],
  ['no seed', withEdit('"seed": 1,', ''), false],
  ['no steps', withEdit('"steps": 1000,', ''), false],
  ['no circles', '{"layers": []}', false],
  ['an unknown field', withEdit('"width": 800,', '"width": 800, "depth": 3,'), false],
  ['an unknown field of a walk', withEdit('"seed": 1,', '"seed": 1, "speed": 3,'), false],
  ['a number beyond the doubles', withEdit('"x": -1.7', '"x": 1e999'), false],
  ['a negative radius', withEdit('"y": -1, "r": 1.5', '"y": -1, "r": -1.5'), false],
  ['a radius of 0', withEdit('"r": 0.25', '"r": 0'), false],
  ['a height of 0', withEdit('"height": 600', '"height": 0'), false],
  ['a width of 16385', withEdit('"width": 800', '"width": 16385'), false],
  ['a width of 16384', withEdit('"width": 800', '"width": 16384'), true],
  ['17 circles', withEdit('"circles": [', `"circles": [${fourteenCircles}`), false],
  ['16 circles', withEdit('"circles": [', `"circles": [${fourteenCircles.slice(0, -26)}`), true],
  ['10^11 + 1 steps', withEdit('"steps": 1000', '"steps": 100000000001'), false],
  ['10^11 steps', withEdit('"steps": 1000', '"steps": 100000000000'), true],
  ['a skip of 10^10 + 1', withEdit('"skip": 0', '"skip": 10000000001'), false],
  ['a seed of 2^32', withEdit('"seed": 1', '"seed": 4294967296'), false],
  ['a seed of 2^32 - 1', withEdit('"seed": 1', '"seed": 4294967295'), true],
  ['a colour purple', withEdit('"colour": "black"', '"colour": "purple"'), false],
  ['a colour #fff', withEdit('"background": "white"', '"background": "#fff"'), false],
  ['a colour #fffff', withEdit('"background": "white"', '"background": "#fffff"'), false],
  ['a colour #fffffff', withEdit('"background": "white"', '"background": "#fffffff"'), false],
  ['a colour #ffffff', withEdit('"background": "white"', '"background": "#ffffff"'), true],
  ['a colour ffffff', withEdit('"background": "white"', '"background": "ffffff"'), true],
  ['a pick shuffle', withEdit('"pick": "random"', '"pick": "shuffle"'), false],
  ['an inside none', withEdit('"inside": "invert"', '"inside": "none"'), false],
  ['a plot ring3', withEdit('"plot": "pixel"', '"plot": "ring3"'), false],
  ['a circle chosen twice', withEdit('"circles": [0, 1, 2]', '"circles": [0, 1, 0]'), false],
  ['an empty choice', withEdit('"circles": [0, 1, 2]', '"circles": []'), false],
  ['a layer drawing lines', withEdit('"draw": "outlines"', '"draw": "lines"'), false],
  ['a scale of 0', withEdit('"scale": 200', '"scale": 0'), false],
  ['a subnormal scale', withEdit('"scale": 200', '"scale": 1e-310'), false],
  ['a start without y', withEdit('"start": {"x": 3, "y": 3}', '"start": {"x": 3}'), false],
  ['nine generations', generations('["red", "red", "red", "red", "red", "red", "red", "red", "red"]'), false],
  ['generations of none', generations('["none", "red"]'), true],
  ['no generations', generations('[]'), false],
  ['17 layers', withEdit('"layers": [', `"layers": [${'{"draw": "discs"}, '.repeat(15)}`), false],
  ['16 layers', withEdit('"layers": [', `"layers": [${'{"draw": "discs"}, '.repeat(14)}`), true],
];

let failures = 0;
for (const [what, text, taken] of rows) {
  const answers = { reader: readerTakes(text), schema: schemaTakes(text) };
  if (answers.reader !== taken || answers.schema !== taken) {
    failures += 1;
    console.log(`not ok: ${what}: wanted ${taken ? 'taken' : 'refused'}, reader ${answers.reader}, schema ${answers.schema}` +
                (answers.schema ? '' : `\n  ${JSON.stringify(validate.errors?.slice(0, 3))}`));
  }
}

// Every program's frame that is a scene, as --out writes it.
let scenes = 0;
for (const line of fs.readFileSync(path.join(root, 'programs/programs.list'), 'utf8').split('\n')) {
  if (line.startsWith('#') || !line.trim()) continue;
  const [name, , drawn] = line.split('\t');
  for (let k = 1; k <= Number(drawn); ++k) {
    const out = path.join(scratch, `${name}-${k}.json`);
    const run = spawnSync(renderScene, [`${name}@${k}`, '--clock', '1700000000', '--out', out], { encoding: 'utf8' });
    if (run.status === 2 && /not one scene|not a program with frames as scenes/.test(run.stderr)) continue;
    assert.equal(run.status, 0, `${name}@${k}: ${run.stderr}`);
    scenes += 1;
    if (!validate(JSON.parse(fs.readFileSync(out, 'utf8')))) {
      failures += 1;
      console.log(`not ok: ${name}@${k} does not validate: ${JSON.stringify(validate.errors.slice(0, 3))}`);
    }
  }
}
fs.rmSync(scratch, { recursive: true, force: true });
console.log(`${rows.length} scenes read alike by the schema and the reader; ${scenes} programs' scenes validate; ${failures} failures`);
assert.ok(scenes >= 40, `only ${scenes} programs' scenes`);
process.exit(failures === 0 ? 0 : 1);
