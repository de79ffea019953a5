// The page's console: runs vostrel or kandomir, built as WebAssembly, as a terminal would. The
// program's output shows as it comes; an answer typed in the field is sent with its line end and
// stays in the transcript right after its prompt, as a terminal's echo shows it. Text goes in and
// out as UTF-8, as on a Linux console. The program waits for an answer without blocking the page.
//
// Each program is a tab of its own: its run, running or ended, is kept while the other is shown,
// and shows again as it was left. Only "Nise përsëri" discards a run.
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

// One program's run: what it has shown, what has been typed for it and not yet read, and where it
// is. Its transcript and diagnostics are on the page while it is shown, and kept in elements of
// its own while the other program is.
class Run {
  constructor(name) {
    this.name = name;
    this.state = 'loading'; // then 'running', 'waiting' or 'ended'
    this.waits = 0; // how often it has waited for an answer
    this.said = ''; // the status line, once it has ended
    this.draft = ''; // the field's text while the other program is shown
    this.output = document.createElement('pre');
    this.diagnostics = document.createElement('pre');
    this.ahead = []; // typed and not yet read; null stands for the end of input
    this.waiting = null; // the program's read that waits for what is typed
  }

  get over() {
    return this.state === 'ended';
  }

  // Where its output goes: the page's transcript while shown, its own element otherwise.
  get transcript() {
    return shown === this ? transcript : this.output;
  }
  get errors() {
    return shown === this ? errors : this.diagnostics;
  }

  push(bytes) {
    if (this.waiting) {
      const resolve = this.waiting;
      this.waiting = null;
      this.moved('running');
      resolve(bytes);
    } else {
      this.ahead.push(bytes);
    }
  }

  next() {
    if (this.ahead.length > 0) return Promise.resolve(this.ahead.shift());
    this.waits += 1;
    this.moved('waiting');
    return new Promise((resolve) => (this.waiting = resolve));
  }

  moved(state) {
    this.state = state;
    if (shown === this) render();
  }
}

// The runs, one at most for each program, and the one shown (null: the picker).
const runs = {};
let shown = null;

// The answers sent in this page's session, recalled in the field with the up and down arrows as
// a shell's history is; `recalled` is the one shown, history.length for the line being typed.
const history = [];
let recalled = 0;
let draft = '';

// Sets the whole page from the run shown: the one place that does. Focus goes where the next key
// belongs: the field while the run waits for answers, the status line once it has ended (so that
// keys start nothing), and nowhere that is hidden.
function render() {
  const run = shown;
  document.title = run ? `${run.name}: ${title}` : title;
  for (const program of programs) {
    const link = byId(`pick-${program}`);
    if (program === run?.name) link.setAttribute('aria-current', 'page');
    else link.removeAttribute('aria-current');
    byId(`about-${program}`).hidden = Boolean(run);
  }
  document.querySelector('nav').classList.toggle('picker', !run);
  byId('choose').hidden = Boolean(run);
  transcript.hidden = !run || (run.over && transcript.textContent === '');
  errors.hidden = heading.hidden = errors.textContent === '';
  status.textContent = run?.said ?? '';
  status.hidden = status.textContent === '';
  again.hidden = !run?.over;
  save.hidden = !run;
  form.hidden = !run || run.over;
  form.dataset.state = run?.state ?? 'idle';
  form.dataset.testWaits = run?.waits ?? 0;
  const focus = document.activeElement;
  if (run && !run.over && (focus === document.body || focus === status))
    answer.focus();
  else if (run?.over && (form.contains(focus) || focus === document.body)) status.focus();
  else if (focus !== document.body && focus.closest('[hidden]')) focus.blur();
  keepInView();
}

// Shows a program's run, or the picker for null; the run left keeps its transcript, diagnostics
// and the field's text, and goes on as it was.
function show(name) {
  if (shown) {
    shown.output.append(...transcript.childNodes);
    shown.diagnostics.append(...errors.childNodes);
    shown.draft = answer.value;
  }
  shown = name ? runs[name] : null;
  if (shown) {
    transcript.append(...shown.output.childNodes);
    errors.append(...shown.diagnostics.childNodes);
    answer.value = shown.draft;
  }
  render();
  if (shown && !shown.over) answer.focus();
}

function report(run, text) {
  if (text === '') return;
  run.errors.append(text);
  if (shown === run) render();
}

// Keeps the field, and the transcript's last line just above it, in view after each output and
// each answer, as a terminal keeps its cursor line; once the run has ended, the status line. On a
// phone the on-screen keyboard covers part of the page: what shows is the visual viewport.
let inView = 0;
function keepInView() {
  inView ||= requestAnimationFrame(() => {
    inView = 0;
    const target = !form.hidden ? form : !status.hidden ? status : null;
    if (!target) return;
    const view = window.visualViewport;
    const top = view ? view.offsetTop : 0;
    const bottom = top + (view ? view.height : innerHeight);
    const box = target.getBoundingClientRect();
    const margin = 8;
    if (box.bottom + margin > bottom) window.scrollBy(0, box.bottom + margin - bottom);
    else if (box.top - margin < top) window.scrollBy(0, box.top - margin - top);
  });
}

// Starts a program's run, in place of any it had.
async function start(name) {
  const run = new Run(name);
  runs[name] = run;
  if (shown?.name === name) {
    // The run started again is discarded, with what it showed.
    transcript.replaceChildren();
    errors.replaceChildren();
    shown = null;
  }
  show(name);

  // A terminal decodes the bytes as they come, so a letter written in two parts shows whole,
  // and a byte that is no UTF-8 shows as the replacement character.
  const out = new TextDecoder();
  const err = new TextDecoder();
  const mine = (then) => (...args) => (runs[name] === run && !run.over ? then(...args) : undefined);
  // The end of the run, however it came: what it says stays until the person starts again.
  const end = mine((said, diagnostic) => {
    run.transcript.append(out.decode());
    report(run, err.decode() + (diagnostic ? `${diagnostic}\n` : ''));
    run.said = said;
    run.moved('ended');
  });
  let factory;
  try {
    factory = await load(name);
  } catch (error) {
    end(`${name} nuk u nis.`, error.message);
    return;
  }
  if (runs[name] !== run) return;
  run.moved('running');
  const aborted = mine((what) => {
    forget(name);
    end(`${name} u ndërpre.`, `${name} u ndërpre: ${what}`);
  });
  Promise.resolve()
    .then(() =>
      factory({
        readInput: () => (runs[name] === run ? run.next() : new Promise(() => {})),
        writeOutput: mine((fd, bytes) => {
          if (fd !== 1) return report(run, err.decode(bytes, { stream: true }));
          run.transcript.append(out.decode(bytes, { stream: true }));
          if (shown === run) keepInView();
        }),
        onExit: (code) => end(`${name} mbaroi me gjendjen ${code}.`),
        onAbort: aborted,
      }),
    )
    .catch(aborted);
}

// Sends text typed to the run shown, echoed first where the terminal shows it, in a style of its
// own.
function send(text) {
  if (!shown || shown.over) return;
  const echo = document.createElement('span');
  echo.className = 'answer';
  echo.textContent = text;
  transcript.append(echo);
  shown.push(new TextEncoder().encode(text));
  keepInView();
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
  else if (shown && !shown.over) shown.push(null);
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
  link.download = `${shown.name}.txt`;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

// The page follows its address: index.html#vostrel and index.html#kandomir show that program's
// run, started when it has none, and an address that names none (as the Back button leaves it)
// shows the picker. Either way every run goes on as it was.
function fromAddress() {
  const name = location.hash.slice(1);
  if (!programs.includes(name)) show(null);
  else if (runs[name]) show(name);
  else start(name);
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
  again.addEventListener('click', () => shown && start(shown.name));
  save.addEventListener('click', saveTranscript);
  window.addEventListener('hashchange', fromAddress);
  window.visualViewport?.addEventListener('resize', keepInView);
  fromAddress();
}

if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', setUp);
else setUp();
