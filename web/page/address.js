// The address of a page: ?program=NAME&clock=N&picture=K, read in one place
// and written in one place. Reading never fails: what cannot be used is
// replaced (the current time for a clock, picture 1) and said in a problem.
import { suitePrograms } from './programs.js';

const largestClock = 4294967295;  // natively, the clock seeds srand as 32 bits

function currentClock() {
  return Math.floor(Date.now() / 1000);
}

// The current time as a clock unlike `clock`, both within 1 to largestClock
// (past largestClock the time starts again from 1).
export function newClock(clock) {
  const now = (currentClock() - 1) % largestClock + 1;
  return now !== clock ? now : clock % largestClock + 1;
}

// The digits of `text` as a number from `least` to `most`, or null.
function wholeNumber(text, least, most) {
  if (text === null || !/^[0-9]+$/.test(text)) return null;
  const number = Number(text);
  return number >= least && number <= most ? number : null;
}

// { program, clock, picture, problems, complete }: program is null on the
// menu; complete is false when the address must be written anew.
export function readAddress(search) {
  const params = new URLSearchParams(search);
  const name = params.get('program');
  const address = { program: null, clock: null, picture: 1, problems: [], complete: true };
  if (name === null) return address;
  address.program = suitePrograms.find((entry) => entry.name === name) ?? null;
  if (address.program === null) {
    address.problems.push(`There is no program called “${name}”: choose one of the ten below.`);
    return address;
  }
  address.clock = wholeNumber(params.get('clock'), 1, largestClock);
  if (address.clock === null) {
    if (params.has('clock')) {
      address.problems.push(`The clock “${params.get('clock')}” is not a whole number of seconds from 1 to ${largestClock}: the current time is used instead.`);
    }
    address.clock = currentClock();
    address.complete = false;
  }
  const pictures = address.program.pictures;
  if (params.has('picture')) {
    address.picture = wholeNumber(params.get('picture'), 1, pictures);
    if (address.picture === null) {
      address.problems.push(`${address.program.title} has no picture “${params.get('picture')}”, only 1 to ${pictures}: picture 1 is shown.`);
      address.picture = 1;
      address.complete = false;
    }
  } else {
    address.complete = false;
  }
  return address;
}

export function addressOf(program, clock, picture) {
  return `?program=${program.name}&clock=${clock}&picture=${picture}`;
}
