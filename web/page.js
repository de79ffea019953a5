// The page's console: runs vostrel or kandomir, built as WebAssembly, as a terminal would. The
// program's output shows as it comes; an answer typed in the field is sent with its line end and
// stays in the transcript right after its prompt, as a terminal's echo shows it. Text goes in and
// out as UTF-8, as on a Linux console. The program waits for an answer without blocking the page.
'use strict';

const programs = ['vostrel', 'kandomir'];
const title = 'vostrel dhe kandomir';

// Each program's script, loaded once. It defines a function of the program's name that starts a
// run. A script that failed to load, or whose program aborted, is forgotten, so that trying again
// loads it afresh.
const scripts = {};
function forget(name) {
  delete scripts[name];
  document.getElementById(`script-${name}`)?.remove();
}
function load(name) {
  scripts[name] ??= new Promise((resolve, reject) => {
    const script = document.createElement('script');
    const failed = () => {
      forget(name);
      reject(new Error(`${name}.js nuk u ngarkua.`));
    };
    script.id = `script-${name}`;
    script.src = `${name}.js`;
    script.onload = () => (typeof window[name] === 'function' ? resolve(window[name]) : failed());
    script.onerror = failed;
    document.head.append(script);
  });
  return scripts[name];
}

// The program that the address names starts loading at once, while the page is still read. A
// failure shows when its run starts.
const named = location.hash.slice(1);
if (programs.includes(named)) load(named).catch(() => {});

// The page's elements, once it has been read.
const byId = (id) => document.getElementById(id);
let transcript, form, answer, heading, errors, status, again, save;

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

// The run on the page: its program, what it has been typed, and whether it has ended. A run
// that is no longer current shows nothing more.
let current = null;

// The answers sent in this page's session, recalled in the field with the up and down arrows as
// a shell's history is; `recalled` is the one shown, history.length for the line being typed.
const history = [];
let recalled = 0;
let draft = '';

function show(name) {
  document.title = name ? `${name}: ${title}` : title;
  for (const program of programs) {
    const link = byId(`pick-${program}`);
    if (program === name) link.setAttribute('aria-current', 'page');
    else link.removeAttribute('aria-current');
  }
  byId('choose').hidden = Boolean(name);
  transcript.textContent = '';
  transcript.hidden = !name;
  errors.textContent = '';
  errors.hidden = heading.hidden = true;
  status.textContent = '';
  again.hidden = true;
  save.hidden = !name;
  form.hidden = !name;
  form.dataset.state = name ? 'loading' : 'idle';
  form.dataset.waits = 0;
  answer.value = '';
}

function report(text) {
  if (text === '') return;
  errors.hidden = heading.hidden = false;
  errors.append(text);
}

async function start(name) {
  const run = { name, typed: new Typed(), over: false };
  current = run;
  show(name);
  answer.focus();

  // A terminal decodes the bytes as they come, so a letter written in two parts shows whole,
  // and a byte that is no UTF-8 shows as the replacement character.
  const out = new TextDecoder();
  const err = new TextDecoder();
  const mine = (then) => (...args) => (current === run && !run.over ? then(...args) : undefined);
  // The end of the run, however it came: what it says stays until the person starts again, and
  // keys typed after it start nothing, since focus leaves the field for the status line.
  const end = mine((said, diagnostic) => {
    run.over = true;
    transcript.append(out.decode());
    report(err.decode() + (diagnostic ? `${diagnostic}\n` : ''));
    transcript.hidden = transcript.textContent === '';
    form.dataset.state = 'ended';
    const focus = document.activeElement;
    const focused = form.contains(focus) || focus === document.body;
    form.hidden = true;
    status.textContent = said;
    again.hidden = false;
    if (focused) status.focus();
  });
  let factory;
  try {
    factory = await load(name);
  } catch (error) {
    end(`${name} nuk u nis.`, error.message);
    return;
  }
  if (current !== run) return;
  form.dataset.state = 'running';
  const aborted = mine((what) => {
    forget(name);
    end(`${name} u ndërpre.`, `${name} u ndërpre: ${what}`);
  });
  Promise.resolve()
    .then(() =>
      factory({
        readInput: () => (current === run ? run.typed.next() : new Promise(() => {})),
        writeOutput: mine((fd, bytes) => {
          if (fd === 1) transcript.append(out.decode(bytes, { stream: true }));
          else report(err.decode(bytes, { stream: true }));
        }),
        onExit: (code) => end(`${name} mbaroi me gjendjen ${code}.`),
        onAbort: aborted,
      }),
    )
    .catch(aborted);
}

// Sends text typed, echoed first where the terminal shows it, in a style of its own.
function send(text) {
  if (!current || current.over) return;
  const echo = document.createElement('span');
  echo.className = 'answer';
  echo.textContent = text;
  transcript.append(echo);
  current.typed.push(new TextEncoder().encode(text));
}

// Sends one line as an answer, and keeps it for the history.
function sendLine(line) {
  send(`${line}\n`);
  if (line !== '' && line !== history[history.length - 1]) history.push(line);
  recalled = history.length;
}

// Ctrl-D, as on a terminal: what is typed on the line goes at once, without a line end; on an
// empty line it is the end of input.
function endOfInput() {
  if (answer.value !== '') send(answer.value);
  else if (current && !current.over) current.typed.push(null);
  answer.value = '';
  answer.focus();
}

// Up and down walk the history; the line being typed is kept while an older one shows.
function recall(step) {
  const to = recalled + step;
  if (to < 0 || to > history.length) return;
  if (recalled === history.length) draft = answer.value;
  recalled = to;
  answer.value = to === history.length ? draft : history[to];
  answer.setSelectionRange(answer.value.length, answer.value.length);
}

// Pasted lines go to the program one after another, as a terminal gives them; a last line without
// its line end stays in the field, unsent.
function paste(event) {
  const text = event.clipboardData?.getData('text/plain') ?? '';
  if (!/[\r\n]/.test(text)) return;
  event.preventDefault();
  const { value, selectionStart, selectionEnd } = answer;
  const lines = (value.slice(0, selectionStart) + text).split(/\r\n|\r|\n/);
  const last = lines.pop();
  for (const line of lines) sendLine(line);
  answer.value = last + value.slice(selectionEnd);
  answer.setSelectionRange(last.length, last.length);
}

// The transcript as a file named after the program, with the diagnostics and the status after
// it: what a learner hands in.
function saveTranscript() {
  const line = (text) => (text === '' || text.endsWith('\n') ? text : `${text}\n`);
  const text = [transcript, errors, status].map((part) => line(part.textContent)).join('');
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text], { type: 'text/plain;charset=utf-8' }));
  link.download = `${current.name}.txt`;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

// The page follows its address: index.html#vostrel and index.html#kandomir open that program,
// and an address that names none (as the Back button leaves it) shows the picker, with nothing
// running.
function fromAddress() {
  const name = location.hash.slice(1);
  if (programs.includes(name)) {
    start(name);
  } else if (current) {
    current = null;
    if (form.contains(document.activeElement)) document.activeElement.blur();
    show(null);
  }
}

function setUp() {
  [transcript, form, answer, heading, errors, status, again, save] = [
    'transcript', 'console', 'answer', 'diagnostics', 'errors', 'status', 'again', 'save',
  ].map(byId);
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    sendLine(answer.value);
    answer.value = '';
    answer.focus();
  });
  answer.addEventListener('keydown', (event) => {
    if (event.ctrlKey && event.key.toLowerCase() === 'd') {
      event.preventDefault();
      endOfInput();
    } else if (event.key === 'ArrowUp' || event.key === 'ArrowDown') {
      event.preventDefault();
      recall(event.key === 'ArrowUp' ? -1 : 1);
    }
  });
  answer.addEventListener('paste', paste);
  byId('end').addEventListener('click', endOfInput);
  again.addEventListener('click', () => current && start(current.name));
  save.addEventListener('click', saveTranscript);
  window.addEventListener('hashchange', fromAddress);
  for (const program of programs) // picking the program shown starts it anew
    byId(`pick-${program}`).addEventListener('click', () => {
      if (location.hash === `#${program}`) start(program);
    });
  fromAddress();
}

if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', setUp);
else setUp();
