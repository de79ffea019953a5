// The page's console: runs vostrel or kandomir, built as WebAssembly, as a terminal would. The
// program's output shows as it comes; an answer typed in the field is sent with its line end and
// stays in the transcript right after its prompt, as a terminal's echo shows it. Text goes in and
// out as UTF-8, as on a Linux console. The program waits for an answer without blocking the page.
'use strict';

const programs = ['vostrel', 'kandomir'];

// Each program's script, loaded once. It defines a function of the program's name that starts a
// run.
const scripts = {};
function load(name) {
  scripts[name] ??= new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = `${name}.js`;
    script.onload = () => resolve(window[name]);
    script.onerror = () => reject(new Error(`${name}.js nuk u ngarkua`));
    document.head.append(script);
  });
  return scripts[name];
}

// The program that the address names starts loading at once, while the page is still read.
const named = location.hash.slice(1);
if (programs.includes(named)) load(named);

// The page's elements, once it has been read.
const byId = (id) => document.getElementById(id);
let transcript, form, answer, diagnostics, errors, status, again;

// What has been typed and not yet read, and the program's read that waits for it. null stands
// for the end of input.
class Typed {
  #ahead = [];
  #waiting = null;

  push(bytes) {
    if (this.#waiting) {
      const resolve = this.#waiting;
      this.#waiting = null;
      form.dataset.state = 'running';
      resolve(bytes);
    } else {
      this.#ahead.push(bytes);
    }
  }

  next() {
    if (this.#ahead.length > 0) return Promise.resolve(this.#ahead.shift());
    form.dataset.state = 'waiting';
    form.dataset.waits = Number(form.dataset.waits) + 1; // how often this run has waited
    return new Promise((resolve) => (this.#waiting = resolve));
  }
}

let current = null; // the program running: its name and what it has been typed

async function start(name) {
  const run = { name, typed: new Typed() };
  current = run;
  document.title = `${name}: vostrel dhe kandomir`;
  for (const program of programs) {
    const link = byId(`pick-${program}`);
    if (program === name) link.setAttribute('aria-current', 'page');
    else link.removeAttribute('aria-current');
  }
  byId('choose').hidden = true;
  transcript.textContent = '';
  errors.textContent = '';
  diagnostics.hidden = true;
  status.textContent = '';
  again.hidden = true;
  form.hidden = false;
  form.dataset.state = 'loading';
  form.dataset.waits = 0;
  answer.value = '';
  answer.focus();

  // A terminal decodes the bytes as they come, so a letter written in two parts shows whole,
  // and a byte that is no UTF-8 shows as the replacement character.
  const out = new TextDecoder();
  const err = new TextDecoder();
  const mine = (then) => (...args) => (current === run ? then(...args) : undefined);
  const factory = await load(name);
  if (current !== run) return;
  form.dataset.state = 'running';
  factory({
    readInput: () => (current === run ? run.typed.next() : new Promise(() => {})),
    writeOutput: mine((fd, bytes) => {
      if (fd === 1) {
        transcript.append(out.decode(bytes, { stream: true }));
      } else {
        diagnostics.hidden = false;
        errors.append(err.decode(bytes, { stream: true }));
      }
    }),
    onExit: mine((code) => {
      transcript.append(out.decode());
      errors.append(err.decode());
      form.dataset.state = 'ended';
      form.hidden = true;
      status.textContent = `${name} mbaroi me gjendjen ${code}.`;
      again.hidden = false;
      again.focus();
    }),
    onAbort: mine((what) => {
      diagnostics.hidden = false;
      errors.append(`${name} u ndërpre: ${what}\n`);
    }),
  });
}

// Sends text typed, echoed first where the terminal shows it.
function send(text) {
  if (!current || form.dataset.state === 'ended') return;
  transcript.append(text);
  answer.value = '';
  current.typed.push(new TextEncoder().encode(text));
}

// Ctrl-D, as on a terminal: what is typed on the line goes at once, without a line end; on an
// empty line it is the end of input.
function endOfInput() {
  if (answer.value !== '') send(answer.value);
  else if (current && form.dataset.state !== 'ended') current.typed.push(null);
  answer.focus();
}

function setUp() {
  [transcript, form, answer, diagnostics, errors, status, again] = [
    'transcript', 'console', 'answer', 'diagnostics', 'errors', 'status', 'again',
  ].map(byId);
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    send(`${answer.value}\n`);
  });
  answer.addEventListener('keydown', (event) => {
    if (event.ctrlKey && event.key.toLowerCase() === 'd') {
      event.preventDefault();
      endOfInput();
    }
  });
  byId('end').addEventListener('click', endOfInput);
  again.addEventListener('click', () => current && start(current.name));
  window.addEventListener('hashchange', fromAddress);
  for (const program of programs) // picking the program shown starts it anew
    byId(`pick-${program}`).addEventListener('click', () => {
      if (location.hash === `#${program}`) start(program);
    });
  fromAddress();
}

// index.html#vostrel and index.html#kandomir open that program at once.
function fromAddress() {
  const name = location.hash.slice(1);
  if (programs.includes(name)) start(name);
}

if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', setUp);
else setUp();
