// The explorer gallery's texts: programs/gallery.md, one section for each
// classic configuration of web/explorer/gallery_scenes.js, as the site's
// gallery.js.
//   node web/gallery_texts.mjs > build/web/site/gallery.js
// A configuration without its texts, a section for none, or a missing title
// is an error naming the file and the configuration.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { classicCircles } from './explorer/gallery_scenes.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const textsFile = path.join(root, 'programs/gallery.md');

function fail(what) {
  console.error(`${path.relative(root, textsFile)}: ${what}`);
  process.exit(1);
}

export function readGallery() {
  const [, ...sections] = fs.readFileSync(textsFile, 'utf8').split(/^## /m);
  const texts = new Map(sections.map((section) => {
    const [name, ...lines] = section.trim().split('\n');
    const title = lines.find((line) => line.startsWith('Title: '));
    if (title === undefined) fail(`${name}: no "Title:"`);
    const text = lines.filter((line) => line !== title).join('\n').trim().replace(/\s*\n\s*/g, ' ');
    if (text === '') fail(`${name}: no paragraph`);
    return [name.trim(), { name: name.trim(), title: title.slice(7).trim(), text }];
  }));
  for (const name of texts.keys()) if (!(name in classicCircles)) fail(`${name}: no such configuration`);
  return Object.keys(classicCircles).map((name) => texts.get(name) ?? fail(`no "## ${name}" for the configuration`));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  process.stdout.write('// Made by web/gallery_texts.mjs from programs/gallery.md; not to be edited.\n' +
                       `export const galleryClassics = ${JSON.stringify(readGallery(), null, 1)};\n`);
}
