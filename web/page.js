// The page's console: runs vostrel or kandomir, built as WebAssembly, as a terminal would. The
// program's output shows as it comes; the answer is typed in a field right after the prompt, as at
// a terminal's cursor, and is sent with its line end and stays in the transcript there, as a
// terminal's echo shows it. Text goes in and
// out as UTF-8, as on a Linux console. The program waits for an answer without blocking the page.
//
// Each program is a tab of its own: its run, running or ended, is kept in elements of its own,
// hidden while the other is shown, and shows again as it was left. Only "Nise përsëri" discards a
// run.
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
let runsBox, form, answer, controls, statusLine, again, save;

// The longest text node the transcript is given: a browser lays out one longer run of text (a
// pasted answer of megabytes) wider than it can measure, and the page would widen with it.
const kPiece = 1 << 16;
function appendText(element, text) {
  for (let at = 0; at < text.length; at += kPiece) element.append(text.slice(at, at + kPiece));
}

// The longest prompt the field is named by.
const kPrompt = 200;

// One program's run, with elements of its own, shown or hidden as the run is: its terminal (the
// transcript, a live log, after which the answer field stands while the run is shown) and its
// diagnostics. Its state is kept here, and the page is set from it (render).
class Run {
  constructor(name) {
    this.name = name;
    this.state = 'loading'; // then 'running', 'waiting' or 'ended'
    this.waits = 0; // how often it has waited for an answer
    this.said = ''; // the status line, once it has ended
    this.unsent = ''; // the field's text, kept while the other program is shown
    this.lastLine = ''; // the transcript's last line, at most kPrompt characters: the prompt
    this.wroteDiagnostics = false;
    this.ahead = []; // typed and not yet read; null stands for the end of input
    this.waiting = null; // the program's read that waits for what is typed
    this.element = document.createElement('section');
    this.element.className = 'run';
    this.element.hidden = true;
    this.terminal = document.createElement('div');
    this.terminal.className = 'terminal';
    this.transcript = document.createElement('pre');
    this.transcript.className = 'transcript';
    this.transcript.setAttribute('role', 'log');
    this.transcript.setAttribute('aria-label', `Dialogu i ${name}`);
    this.terminal.append(this.transcript);
    const report = document.createElement('div');
    report.setAttribute('aria-live', 'polite');
    this.heading = document.createElement('h2');
    this.heading.textContent = 'Diagnostikat e programit';
    this.heading.hidden = true;
    this.diagnostics = document.createElement('pre');
    this.diagnostics.className = 'errors';
    report.append(this.heading, this.diagnostics);
    this.element.append(this.terminal, report);
    runsBox.append(this.element);
  }

  get over() {
    return this.state === 'ended';
  }

  // Output and echoes, as a terminal shows them; the last line is kept as the next prompt.
  write(text, echo = false) {
    const into = echo ? document.createElement('kbd') : this.transcript;
    appendText(into, text);
    if (echo) this.transcript.append(into);
    const end = text.lastIndexOf('\n');
    const tail = end < 0 ? this.lastLine + text.slice(-kPrompt) : text.slice(end + 1);
    this.lastLine = tail.slice(-kPrompt);
    if (shown === this) keepInView();
  }

  report(text) {
    if (text === '') return;
    this.diagnostics.append(text);
    this.wroteDiagnostics = true;
    if (shown === this) render();
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
// a shell's history is; `recalled` is the one shown, sent.length for the line being typed, which
// `typing` keeps while an older one shows.
const sent = [];
let recalled = 0;
let typing = '';

// A run is starting until it first waits for an answer: loading its program, then running it up
// to its first prompt. It takes no answer yet, and the status line says so.
const starting = (run) => !run.over && run.waits === 0;

// What the status line says of a run.
function said(run) {
  return starting(run) ? `${run.name} po ngarkohet…` : run.said;
}

// Sets the whole page from the run shown, and from nothing else: the one place that does. Focus
// goes where the next key belongs: the field while the run waits for answers, the status line once
// it has ended (so that keys start nothing), and nowhere that is hidden.
function render() {
  const run = shown;
  document.title = run ? `${run.name}: ${title}` : title;
  for (const program of programs) {
    const link = byId(`pick-${program}`);
    if (program === run?.name) link.setAttribute('aria-current', 'page');
    else link.removeAttribute('aria-current');
    byId(`about-${program}`).hidden = Boolean(run);
    if (runs[program]) runs[program].element.hidden = runs[program] !== run;
  }
  document.querySelector('nav').classList.toggle('picker', !run);
  byId('choose').hidden = Boolean(run);
  if (run) {
    run.heading.hidden = !run.wroteDiagnostics;
    run.diagnostics.hidden = !run.wroteDiagnostics;
    if (form.parentElement !== run.terminal) run.terminal.append(form);
    answer.setAttribute('aria-label', run.lastLine.trim() || 'Përgjigjja');
  }
  const line = run ? said(run) : '';
  statusLine.textContent = line;
  statusLine.hidden = line === '';
  statusLine.dataset.ended = !run?.over ? '' : run.wroteDiagnostics ? 'diagnostics' : 'clean';
  again.hidden = !run?.over;
  save.hidden = !run;
  form.hidden = controls.hidden = !run || run.over || starting(run);
  form.dataset.state = run?.state ?? 'idle';
  form.dataset.testWaits = run?.waits ?? 0;
  const focus = document.activeElement;
  if (!form.hidden && (focus === document.body || focus === statusLine || awaitsField === run)) {
    awaitsField = null;
    answer.focus();
  }
  else if (run?.over && (form.contains(focus) || focus === document.body)) statusLine.focus();
  else if (focus !== document.body && focus.closest('[hidden]')) focus.blur();
  keepInView();
}

// The run shown by a pick, whose field takes the focus as soon as it shows: at once, or once the
// program has loaded.
let awaitsField = null;

// Shows a program's run, or the picker for null; the run left keeps the field's text, and goes on
// as it was.
function show(name) {
  if (shown) shown.unsent = answer.value;
  shown = name ? runs[name] : null;
  answer.value = shown?.unsent ?? '';
  awaitsField = shown && !shown.over ? shown : null;
  render();
}

// Keeps the field, and the transcript's last line beside it, in view after each output and each
// answer, as a terminal keeps its cursor line; while the run loads or once it has ended, the
// status line. On a phone the on-screen keyboard covers part of the page: what shows is the
// visual viewport.
let inView = 0;
function keepInView() {
  inView ||= requestAnimationFrame(() => {
    inView = 0;
    const target = !form.hidden ? answer : !statusLine.hidden ? statusLine : null;
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

// Starts a program's run, in place of any it had, which goes with what it showed.
async function start(name) {
  runs[name]?.element.remove();
  if (shown?.name === name) shown = null;
  const run = new Run(name);
  runs[name] = run;
  show(name);

  // A terminal decodes the bytes as they come, so a letter written in two parts shows whole,
  // and a byte that is no UTF-8 shows as the replacement character.
  const out = new TextDecoder();
  const err = new TextDecoder();
  const mine = (then) => (...args) => (runs[name] === run && !run.over ? then(...args) : undefined);
  // The end of the run, however it came: what it says stays until the person starts again.
  const end = mine((status, diagnostic) => {
    run.write(out.decode());
    run.report(err.decode() + (diagnostic ? `${diagnostic}\n` : ''));
    run.said = run.wroteDiagnostics ? `${status}; shkroi diagnostika.` : `${status}.`;
    run.moved('ended');
  });
  let factory;
  try {
    factory = await load(name);
  } catch (error) {
    end(`${name} nuk u nis`, error.message);
    return;
  }
  if (runs[name] !== run) return;
  run.moved('running');
  const aborted = mine((what) => {
    forget(name);
    end(`${name} u ndërpre`, `${name} u ndërpre: ${what}`);
  });
  Promise.resolve()
    .then(() =>
      factory({
        readInput: () => (runs[name] === run ? run.next() : new Promise(() => {})),
        writeOutput: mine((fd, bytes) => {
          if (fd !== 1) run.report(err.decode(bytes, { stream: true }));
          else run.write(out.decode(bytes, { stream: true }));
        }),
        onExit: (code) => end(`${name} mbaroi me gjendjen ${code}`),
        onAbort: aborted,
      }),
    )
    .catch(aborted);
}

// Sends text typed to the run shown, echoed first where the terminal shows it, as typed input.
function send(text) {
  if (!shown || shown.over) return;
  shown.write(text, true);
  shown.push(new TextEncoder().encode(text));
}

// Sends one line as an answer, and keeps it for the history.
function sendLine(line) {
  send(`${line}\n`);
  if (line !== '' && line !== sent[sent.length - 1]) sent.push(line);
  recalled = sent.length;
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
  if (to < 0 || to > sent.length) return;
  if (recalled === sent.length) typing = answer.value;
  recalled = to;
  answer.value = to === sent.length ? typing : sent[to];
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
  const parts = [shown.transcript, shown.diagnostics, statusLine];
  const text = parts.map((part) => line(part.textContent)).join('');
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
  [runsBox, form, answer, controls, statusLine, again, save] = [
    'runs', 'console', 'answer', 'controls', 'status', 'again', 'save',
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
