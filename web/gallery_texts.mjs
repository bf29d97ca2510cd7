// The explorer's texts: programs/gallery.md, one section for each classic
// configuration of web/explorer/gallery_scenes.js, as the site's
// gallery.js; and programs/numbers.md, what the numbers of a configuration
// mean (explore_numbers.js), as numbers_texts.js.
//   node web/gallery_texts.mjs > build/web/site/gallery.js
//   node web/gallery_texts.mjs numbers > build/web/site/numbers_texts.js
// A configuration without its texts, a section for none, or a missing title
// is an error naming the file and the section.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { classicCircles } from './explorer/gallery_scenes.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const textsFile = path.join(root, 'programs/gallery.md');
const numbersFile = path.join(root, 'programs/numbers.md');

function fail(file, what) {
  console.error(`${path.relative(root, file)}: ${what}`);
  process.exit(1);
}

// Each "## name" section: its "Title:" line and one paragraph.
function readSections(file) {
  const [, ...sections] = fs.readFileSync(file, 'utf8').split(/^## /m);
  return new Map(sections.map((section) => {
    const [name, ...lines] = section.trim().split('\n');
    const title = lines.find((line) => line.startsWith('Title: '));
    if (title === undefined) fail(file, `${name}: no "Title:"`);
    const text = lines.filter((line) => line !== title).join('\n').trim().replace(/\s*\n\s*/g, ' ');
    if (text === '') fail(file, `${name}: no paragraph`);
    return [name.trim(), { name: name.trim(), title: title.slice(7).trim(), text }];
  }));
}

export function readGallery() {
  const texts = readSections(textsFile);
  for (const name of texts.keys()) if (!(name in classicCircles)) fail(textsFile, `${name}: no such configuration`);
  return Object.keys(classicCircles).map((name) => texts.get(name) ?? fail(textsFile, `no "## ${name}" for the configuration`));
}

if (process.argv[1] === fileURLToPath(import.meta.url) && process.argv[2] === 'numbers') {
  process.stdout.write('// Made by web/gallery_texts.mjs from programs/numbers.md; not to be edited.\n' +
                       `export const numbersTexts = ${JSON.stringify(Object.fromEntries(readSections(numbersFile)), null, 1)};\n`);
} else if (process.argv[1] === fileURLToPath(import.meta.url)) {
  process.stdout.write('// Made by web/gallery_texts.mjs from programs/gallery.md; not to be edited.\n' +
                       `export const galleryClassics = ${JSON.stringify(readGallery(), null, 1)};\n`);
}
