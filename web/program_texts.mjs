// The programs as the page and the README's gallery show them: the list of
// programs/programs.list joined with their texts, programs/texts.md.
//   node web/program_texts.mjs page > build/web/site/programs.js
//   node web/program_texts.mjs readme README.md           rewrites its sections
//   node web/program_texts.mjs readme README.md --check   fails unless up to date
// A listed program without its texts, a field left out or a picture
// without its caption is an error naming the file and the program.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const listFile = path.join(root, 'programs/programs.list');
const textsFile = path.join(root, 'programs/texts.md');
const fields = ['Title', 'Heading', 'Random', 'Alt'];
// Output: what labels the program's printed lines; Scenes: its frames (one
// a flip, as the export numbers them) that are scenes, "frames 1-2, 5".
const optional = ['Output', 'Scenes'];

function fail(file, what) {
  console.error(`${path.relative(root, file)}: ${what}`);
  process.exit(1);
}

// The list's lines: name, pictures held for a key, frames drawn, one line.
function readList() {
  return fs.readFileSync(listFile, 'utf8').split('\n')
    .filter((line) => line !== '' && !line.startsWith('#'))
    .map((line) => {
      const [name, pictures, frames, about] = line.split('\t');
      return { name, pictures: Number(pictures), frames: Number(frames), about };
    });
}

// "1-2. text" or "3. text": the caption of each picture it names.
function readCaptions(name, pictures, lines) {
  const captions = new Array(pictures).fill(null);
  for (const line of lines) {
    const match = /^(\d+)(?:-(\d+))?\. (.+)$/.exec(line);
    if (match === null) fail(textsFile, `${name}: "${line}" is no caption ("K. text" or "K-L. text")`);
    const [first, last] = [Number(match[1]), Number(match[2] ?? match[1])];
    for (let k = first; k <= last; k++) {
      if (k < 1 || k > pictures || captions[k - 1] !== null) fail(textsFile, `${name}: picture ${k} captioned twice or out of 1 to ${pictures}`);
      captions[k - 1] = { text: match[3], from: first, to: last };
    }
  }
  const missing = captions.findIndex((caption) => caption === null);
  if (missing >= 0) fail(textsFile, `${name}: picture ${missing + 1} has no caption`);
  return captions;
}

// The introduction and each listed program with its texts, in the list's order.
export function readPrograms() {
  const [head, ...sections] = fs.readFileSync(textsFile, 'utf8').split(/^## /m);
  const introduction = head.replace(/<!--[\s\S]*?-->/g, '').replace(/^# .*$/m, '').trim();
  const texts = new Map(sections.map((section) => {
    const [name, ...rest] = section.trim().split('\n');
    return [name.trim(), rest];
  }));
  const programs = readList().map((entry) => {
    const lines = texts.get(entry.name);
    if (lines === undefined) fail(textsFile, `no "## ${entry.name}" for the listed program`);
    const program = { ...entry };
    for (const field of fields) {
      const line = lines.find((text) => text.startsWith(`${field}: `));
      if (line === undefined) fail(textsFile, `${entry.name}: no "${field}:"`);
      program[field.toLowerCase()] = line.slice(field.length + 2).trim();
    }
    for (const field of optional) {
      const line = lines.find((text) => text.startsWith(`${field}: `));
      if (line !== undefined) program[field.toLowerCase()] = line.slice(field.length + 2).trim();
    }
    program.random = program.random === 'yes';
    const scenes = program.scenes ?? 'frames';
    if (!/^frames(\s|$)/.test(scenes)) fail(textsFile, `${entry.name}: Scenes: wants "frames" before the numbers, not "${scenes}"`);
    program.scenes = scenes.slice('frames'.length).split(',').filter((part) => part.trim() !== '').flatMap((part) => {
      const [first, last = first] = part.trim().split('-').map(Number);
      if (!(first >= 1 && last >= first && last <= entry.frames)) fail(textsFile, `${entry.name}: bad Scenes: frame "${part.trim()}"`);
      return Array.from({ length: last - first + 1 }, (unused, k) => first + k);
    });
    const blocks = lines.filter((text) => ![...fields, ...optional].some((field) => text.startsWith(`${field}: `)))
      .join('\n').trim().split(/\n\s*\n/);
    if (blocks.length !== 2) fail(textsFile, `${entry.name}: want one paragraph, then the captions`);
    program.paragraph = blocks[0].replace(/\s*\n\s*/g, ' ');
    program.captions = readCaptions(entry.name, entry.pictures, blocks[1].split('\n'));
    return program;
  });
  return { introduction, programs };
}

function pageScript({ introduction, programs }) {
  return '// Made by web/program_texts.mjs from programs/programs.list and programs/texts.md; not to be edited.\n' +
    `export const suiteIntroduction = ${JSON.stringify(introduction.replace(/\s*\n\s*/g, ' '))};\n` +
    `export const suitePrograms = ${JSON.stringify(programs.map((program) => ({
      ...program, captions: program.captions.map((caption) => caption.text) })), null, 1)};\n`;
}

function gallery({ programs }) {
  return programs.map((program) => {
    const animated = fs.existsSync(path.join(root, `docs/gallery/${program.name}.webp`));
    const picture = `docs/gallery/${program.name}.${animated ? 'webp' : 'png'}`;
    const count = program.pictures === 1 ? '1 picture' : `${program.pictures} pictures`;
    const captions = program.captions.filter((caption, k) => caption.from === k + 1).map((caption) => {
      const which = caption.from === caption.to ? `${caption.from}` : `${caption.from}–${caption.to}`;
      return `- **${which}.** ${caption.text}`;
    });
    return [`### ${program.title}: ${program.heading} (\`${program.name}\`, ${count})`, '',
            `<img src="${picture}" width="400" alt="${program.alt}${animated ? ', animated' : ''}">`, '',
            program.paragraph.replace(/(.{1,76})(?: |$)/g, '$1\n').trim(), '', ...captions].join('\n');
  }).join('\n\n');
}

// README.md with the text between "<!-- texts: NAME -->" and
// "<!-- texts: end -->" made anew for each NAME.
function readme(text, texts) {
  const sections = { introduction: texts.introduction, gallery: gallery(texts) };
  return text.replace(/(<!-- texts: (\w+) -->\n)[\s\S]*?(<!-- texts: end -->)/g, (whole, open, name, close) => {
    if (!(name in sections)) fail(listFile, `README names an unknown section "${name}"`);
    return `${open}\n${sections[name]}\n\n${close}`;
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [mode, file, check] = process.argv.slice(2);
  const texts = readPrograms();
  if (mode === 'page') {
    process.stdout.write(pageScript(texts));
  } else if (mode === 'readme' && file) {
    const before = fs.readFileSync(file, 'utf8');
    const after = readme(before, texts);
    if (check === '--check') {
      if (after !== before) fail(file, 'its sections differ from programs/texts.md: node web/program_texts.mjs readme README.md');
    } else if (after !== before) {
      fs.writeFileSync(file, after);
    }
  } else {
    console.error('usage: node web/program_texts.mjs page | readme README.md [--check]');
    process.exit(2);
  }
}
