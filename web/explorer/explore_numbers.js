// The explorer's Numbers (fieldset#numbers): the selected circle's centre
// and radius, to read and to type, and, with a second circle to compare,
// how the two lie (circle_relations.js): apart, touching or crossing, their
// inversive distance and the angle where they cross. Each "?" shows its
// text from numbers_texts.js (programs/numbers.md) over the picture, where
// it is in view whatever the screen.
//
//   const numbers = bindNumbers(controller)
//       controller: { scene(), select(k), compare(k), commit(scene, event),
//                     check(sceneText) -> Promise<{ error? }> }
//   numbers.show(scene, selected, compared)   after every change
//
// A typed number is one edit, made only once the engine's reader takes the
// scene with it (the same reader, so the same limits, as a link's); else
// the field keeps the text and a line says why.
import { numbersTexts } from './numbers_texts.js';
import { exact, relation, touching } from './circle_relations.js';
import { moveCircle, resizeCircle, sceneSize } from './scene_edit.js';

const byId = (id) => document.getElementById(id);
const eyePixels = 0.5;  // a touch within this many canvas pixels is one to the eye
const decimal = /^[+-]?(\d+\.?\d*|\.\d+)(e[+-]?\d+)?$/i;
const fields = ['x', 'y', 'r'];

// δ and θ as read: seven digits, no more than they carry.
const shortly = (v) => String(Number(v.toPrecision(7)));

function relationLine({ kind, inside, gap }, [j, k], touchExact, scale) {
  const [a, b] = [`circle ${j + 1}`, `circle ${k + 1}`];
  const [inner, outer] = inside === 'a' ? [a, b] : [b, a];
  const how = touchExact ? 'exactly, as far as doubles go' : `to the eye (${(Math.abs(gap) * scale).toPrecision(2)} px off)`;
  return {
    same: 'The same circle.',
    apart: 'Apart: they do not meet.',
    nested: `One inside the other: ${inner} lies inside ${outer}.`,
    outside: `Touching from outside, ${how}.`,
    inside: `Touching, ${inner} inside ${outer}, ${how}.`,
    crossing: 'Crossing at two points.',
  }[kind];
}

export function bindNumbers(controller) {
  let shown = { scene: null, selected: -1, compared: -1 };
  const inputs = Object.fromEntries(fields.map((key) => [key, byId(`circle-${key}`)]));

  const refuse = (text) => {
    if (byId('numbers-refused').textContent !== text) byId('numbers-refused').textContent = text;
  };
  const fill = (input, value) => {
    input.value = value;
    input.dataset.typed = 'false';
    input.removeAttribute('aria-invalid');
  };

  async function typed(key, event) {
    const { scene, selected } = shown;
    const input = inputs[key];
    const text = input.value.trim();
    if (scene === null || selected === -1 || input.dataset.typed !== 'true') return;
    const value = decimal.test(text) ? Number(text) : NaN;
    const what = { x: 'The centre’s x', y: 'The centre’s y', r: 'The radius' }[key];
    if (!Number.isFinite(value)) {
      input.setAttribute('aria-invalid', 'true');
      refuse(`Not set: ${what} must be a finite number, such as 1.5 or -2e-3.`);
      return;
    }
    const circle = scene.circles[selected];
    const next = key === 'r' ? resizeCircle(scene, selected, value)
      : moveCircle(scene, selected, key === 'x' ? value : circle.x, key === 'y' ? value : circle.y);
    const answer = await controller.check(JSON.stringify(next));
    if (controller.scene() !== scene) return;  // a newer edit came meanwhile: the fields show it
    if (answer.error !== undefined) {
      input.setAttribute('aria-invalid', 'true');
      refuse(`Not set: ${answer.error}.`);
      return;
    }
    refuse('');
    fill(input, String(value));
    controller.commit(next, event);
  }

  for (const key of fields) {
    const input = inputs[key];
    input.addEventListener('input', () => {
      input.dataset.typed = 'true';
    });
    input.addEventListener('change', (event) => typed(key, event));
    input.addEventListener('keydown', (event) => {
      if (event.key !== 'Escape') return;  // Escape: back to the circle's number
      event.preventDefault();
      refuse('');
      numbers.show(shown.scene, shown.selected, shown.compared, true);
    });
  }
  byId('numbers-circle').addEventListener('change', (event) => controller.select(Number(event.target.value)));
  byId('compared').addEventListener('change', (event) => controller.compare(Number(event.target.value)));
  byId('make-touch').addEventListener('click', (event) => {
    const { scene, selected, compared } = shown;
    const to = touching(scene.circles[selected], scene.circles[compared]);
    controller.commit(moveCircle(scene, selected, to.x, to.y), event);
  });

  // The explanations: one at a time, over the picture; its "?" again, or
  // Close, hides it.
  const box = byId('explained');
  const buttons = [...document.querySelectorAll('[data-explain]')];
  const explain = (name) => {
    box.hidden = name === null;
    for (const button of buttons) button.setAttribute('aria-expanded', String(button.dataset.explain === name));
    if (name === null) return;
    byId('explained-title').textContent = numbersTexts[name].title;
    byId('explained-text').textContent = numbersTexts[name].text;
    box.dataset.shows = name;
  };
  for (const button of buttons) {
    const { title } = numbersTexts[button.dataset.explain];  // a name without its text fails here, at once
    if (button.textContent === '?') button.setAttribute('aria-label', `Explain: ${title}`);  // else its words name it
    button.title = title;
    button.setAttribute('aria-controls', 'explained');
    button.addEventListener('click', () => explain(box.hidden || box.dataset.shows !== button.dataset.explain
      ? button.dataset.explain : null));
  }
  byId('explained-close').addEventListener('click', () => explain(null));
  explain(null);

  // A select's options: none, then each circle by its number.
  const list = (select, count, chosen, left) => {
    if (select.options.length !== count + 1) {
      select.replaceChildren(new Option('none', '-1'),
                             ...Array.from({ length: count }, (_, k) => new Option(String(k + 1), String(k))));
    }
    for (const option of select.options) option.disabled = Number(option.value) === left;
    select.value = String(chosen);
  };

  const numbers = {
    // `reset`: the fields show the circle's numbers even where typed in.
    show(scene, selected, compared, reset = false) {
      if (shown.selected !== selected) refuse('');
      shown = { scene, selected, compared };
      const circle = scene.circles[selected];
      list(byId('numbers-circle'), scene.circles.length, selected, -2);
      list(byId('compared'), scene.circles.length, compared, selected);
      for (const key of fields) {
        const input = inputs[key];
        input.disabled = circle === undefined;
        // A field being typed in keeps its text until Enter, leaving it or Escape.
        if (reset || !(input.dataset.typed === 'true' && document.activeElement === input)) {
          fill(input, circle === undefined ? '' : String(circle[key]));
        }
      }
      const other = scene.circles[compared];
      const both = circle !== undefined && other !== undefined;
      const { scale } = sceneSize(scene);
      const found = both ? relation(circle, other, eyePixels / scale) : null;
      const touches = found !== null && (found.kind === 'outside' || found.kind === 'inside');
      const touchExact = touches && exact(circle, other);
      byId('relation').textContent = found === null
        ? 'Compare the selected circle with a second: Shift+click it, or choose it here.'
        : relationLine(found, [selected, compared], touchExact, scale);
      byId('delta').textContent = found === null ? '–' : shortly(found.delta);
      byId('angle').textContent = found === null ? '–'
        : found.angle === null ? 'none' : `${shortly(found.angle)}°`;
      byId('cusps').hidden = !touches;
      byId('make-touch').disabled = !both || found.kind === 'same' || touchExact;
    },
  };
  return numbers;
}
