// The page's console: runs vostrel or kandomir, built as WebAssembly, as a terminal would. The
// program's output shows as it comes; the answer is typed in a field right after the prompt, as at
// a terminal's cursor, and is sent with its line end and stays in the transcript there, as a
// terminal's echo shows it. Text goes in and
// out as UTF-8, as on a Linux console. The program waits for an answer without blocking the page.
//
// Each program is a tab of its own: its run, running or ended, is kept in elements of its own,
// hidden while the other is shown, and shows again as it was left. Only "Nise përsëri" discards a
// run. Beside the dialogue stands the lesson: the exercise's code, with the statement whose read
// waits for the answer marked, and the record's fields as the program's reads left them, which the
// program reports (Module.readRecorded) as each read ends.
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
let runsBox, form, answer, heldNote, controls, statusLine, again, save, viewButton;

// The longest text node the transcript is given: a browser lays out one longer run of text (a
// pasted answer of megabytes) wider than it can measure, and the page would widen with it.
const kPiece = 1 << 16;
function appendText(element, text) {
  for (let at = 0; at < text.length; at += kPiece) element.append(text.slice(at, at + kPiece));
}

// The longest prompt the field is named by.
const kPrompt = 200;

// What the page knows of an exercise from the code it shows (the build writes it into the page):
// its record's type, and each read in the order of the code, with the statement that reads (its
// line of the listing), the field it reads into, whether that is a text (a line read) or a
// number, and the prompt written before it, the last line of the string literal before it.
const lessons = {};
function lessonOf(name) {
  if (lessons[name]) return lessons[name];
  const section = byId(`lesson-${name}`);
  const reads = [];
  let prompt = '';
  for (const line of section.querySelectorAll('.code > li')) {
    const code = line.textContent.replace(/^\s*\/\/.*/, ''); // a comment is no statement
    for (const [, literal] of code.matchAll(/"((?:[^"\\]|\\.)*)"/g))
      prompt = literal.replace(/\\(.)/g, (_, c) => (c === 'n' ? '\n' : c)).split('\n').pop().trimEnd();
    const read = /std::cin\s*>>\s*(\w+)|std::cin\.getline\((\w+)/.exec(code);
    if (read) reads.push({ field: read[1] ?? read[2], text: !read[1], prompt, line });
  }
  const record = /\bstruct\s+(\w+)/.exec(section.textContent)?.[1] ?? name;
  return (lessons[name] = { section, record, reads });
}

// The read of a lesson that a prompt belongs to: the first one not yet done whose prompt ends what
// the program wrote last.
const readOf = (run, written) =>
  run.lesson.reads.find((read, i) => !run.done[i] && written.trimEnd().endsWith(read.prompt));

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
    this.size = 0; // the transcript's characters
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
    // A click in the terminal, not one that selects text, goes on with the answer.
    this.terminal.addEventListener('click', () => {
      if (getSelection().isCollapsed && !form.hidden) answer.focus({ preventScroll: true });
    });
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
    // Its lesson's record: the fields, a row each, above the exercise's code (in place of what
    // an earlier run of the program left there).
    this.lesson = lessonOf(name);
    this.done = []; // for each read, whether it has ended
    this.values = this.lesson.reads.map((read) => {
      const row = document.createElement('tr');
      const cells = ['th', 'td', 'td'].map((cell) => row.appendChild(document.createElement(cell)));
      cells[0].scope = 'row';
      cells[0].textContent = read.field;
      cells[2].textContent = 'pa lexuar';
      return row;
    });
    const table = document.createElement('table');
    table.className = 'record';
    table.createCaption().textContent = `Fushat e ${this.lesson.record}`;
    table.createTHead().insertRow().append(
      ...['Fusha', 'Vlera', 'Leximi'].map((heading) =>
        Object.assign(document.createElement('th'), { scope: 'col', textContent: heading })));
    table.createTBody().append(...this.values);
    this.lesson.section.querySelector('.record')?.remove();
    this.lesson.section.prepend(table);
  }

  // A read has ended (Module.readRecorded): its field shows the value the program stored. A read
  // that failed leaves every read after it to fail at once, without waiting: their fields keep
  // what they held before, 0 or empty.
  recorded(prompt, value, ending) {
    const i = this.lesson.reads.indexOf(readOf(this, prompt));
    if (i < 0) return;
    this.fill(i, value, ending === 'failed' ? 'dështoi' : 'u lexua');
    if (ending !== 'read')
      for (let later = i + 1; later < this.lesson.reads.length; later++)
        this.fill(later, this.lesson.reads[later].text ? '' : '0', 'dështoi menjëherë');
  }

  fill(i, value, how) {
    const [, shown, read] = this.values[i].cells;
    shown.textContent = this.lesson.reads[i].text ? `"${value}"` : value;
    read.textContent = how;
    this.values[i].dataset.read = how === 'u lexua' ? 'read' : 'failed';
    this.done[i] = true;
  }

  get over() {
    return this.state === 'ended';
  }

  // Output and echoes, as a terminal shows them; the last line is kept as the next prompt.
  write(text, echo = false) {
    const into = echo ? document.createElement('kbd') : this.transcript;
    appendText(into, text);
    this.size += text.length;
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

// What a tab says of its program's run, after the program's name.
function stateOf(run) {
  if (!run) return '';
  return run.over ? 'mbaroi' : starting(run) ? 'po ngarkohet' : 'pret';
}

// On a narrow screen the dialogue and the lesson show one at a time ('dialogue' or 'code'); on a
// wide one side by side.
let view = 'dialogue';
const narrow = matchMedia('(max-width: 63.99rem)');
const dialogueShows = () => view === 'dialogue' || !narrow.matches;

// Sets the whole page from the run shown, and from nothing else: the one place that does. Focus
// goes where the next key belongs: the field while the run takes answers, the status line once it
// has ended (so that keys start nothing), and nowhere that is hidden.
function render() {
  const run = shown;
  document.title = run ? `${run.name}: ${title}` : title;
  for (const program of programs) {
    const link = byId(`pick-${program}`);
    if (program === run?.name) link.setAttribute('aria-current', 'page');
    else link.removeAttribute('aria-current');
    const state = stateOf(runs[program]);
    link.querySelector('.tab-state').textContent = state && `: ${state}`;
    byId(`about-${program}`).hidden = Boolean(run);
    byId(`lesson-${program}`).hidden = program !== run?.name;
    if (runs[program]) runs[program].element.hidden = runs[program] !== run;
  }
  document.querySelector('main').dataset.view = view;
  document.querySelector('nav').classList.toggle('picker', !run);
  byId('choose').hidden = Boolean(run);
  if (run) {
    run.heading.hidden = !run.wroteDiagnostics;
    run.diagnostics.hidden = !run.wroteDiagnostics;
    if (form.parentElement !== run.terminal) run.terminal.append(form);
    answer.setAttribute('aria-label', run.lastLine.trim() || 'Përgjigjja');
    mark(run);
  }
  const line = run ? said(run) : '';
  statusLine.textContent = line;
  statusLine.hidden = line === '';
  statusLine.dataset.ended = !run?.over ? '' : run.wroteDiagnostics ? 'diagnostics' : 'clean';
  again.hidden = !run || starting(run);
  save.hidden = !run;
  viewButton.hidden = !run;
  viewButton.textContent = view === 'code' ? 'Shiko dialogun' : 'Shiko kodin';
  form.hidden = controls.hidden = !run || run.over;
  form.dataset.state = run?.state ?? 'idle';
  form.dataset.testWaits = run?.waits ?? 0;
  const focus = document.activeElement;
  const takes = !form.hidden && dialogueShows();
  if (takes && (focus === document.body || focus === statusLine || awaitsField === run)) {
    awaitsField = null;
    answer.focus();
  } else if (run?.over && (form.contains(focus) || focus === document.body)) statusLine.focus();
  else if (focus !== document.body && (focus.closest('[hidden]') || !focus.checkVisibility()))
    focus.blur();
  fitField();
  keepInView();
}

// Marks the statement whose read waits for the answer, found from the prompt the program wrote,
// and keeps it in view within the code; while the program does not wait, none.
function mark(run) {
  const read = run.state === 'waiting' ? readOf(run, run.lastLine) : null;
  for (const { line } of run.lesson.reads) {
    line.classList.toggle('waits', line === read?.line);
    if (line === read?.line) line.setAttribute('aria-current', 'step');
    else line.removeAttribute('aria-current');
  }
  waitsHere.remove();
  if (!read) return;
  read.line.append(waitsHere);
  const box = read.line.closest('.code-box');
  const { offsetTop: top, offsetHeight: height } = read.line;
  if (top < box.scrollTop || top + height > box.scrollTop + box.clientHeight)
    box.scrollTop = top - (box.clientHeight - height) / 2;
}

// What a screen reader says after the statement marked.
const waitsHere = Object.assign(document.createElement('span'), {
  className: 'visually-hidden',
  textContent: ' (programi pret këtu)',
});

// The field takes the free width of its line, from where the transcript ends (the prompt's end) to
// the terminal's edge; where too little is left, or the transcript ends its line, the whole next
// line. It is set only when it changes: a change lays out the transcript again, which for one of
// megabytes takes a browser seconds, so beside such a transcript the field keeps its width.
function fitField() {
  if (form.hidden || !shown || shown.size > kPiece) return;
  let text = shown.transcript.lastChild;
  if (text?.nodeType === Node.ELEMENT_NODE) text = text.lastChild; // an echo
  const style = getComputedStyle(shown.terminal);
  const box = shown.terminal.getBoundingClientRect();
  const edge = box.right - parseFloat(style.paddingRight) - parseFloat(style.borderRightWidth);
  let room = 0;
  if (text && !text.data.endsWith('\n')) {
    const end = document.createRange();
    end.setStart(text, text.length);
    room = Math.floor(edge - end.getBoundingClientRect().right);
  }
  const width = room >= 12 * parseFloat(getComputedStyle(answer).fontSize) ? `${room}px` : '100%';
  if (answer.style.width !== width) answer.style.width = width;
}

// Where the next key goes once a control has done its work: the field while it takes answers,
// else the status line of a run that has ended.
function focusNext() {
  if (!form.hidden && dialogueShows()) answer.focus();
  else if (shown?.over) statusLine.focus();
}

// The run shown by a pick, whose field takes the focus as soon as it shows: at once, or once the
// program has loaded.
let awaitsField = null;

// Shows a program's run, or the picker for null; the run left keeps the field's text, and goes on
// as it was.
function show(name) {
  if (shown) shown.unsent = typedLine();
  shown = name ? runs[name] : null;
  put(shown?.unsent ?? '');
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
    fitField();
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
        readRecorded: mine((prompt, value, ending) => run.recorded(prompt, value, ending)),
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

// A browser lays out a line of a field up to some million characters, and shows none of a longer
// one. A longer line pasted keeps its first kFieldMost characters in the field and the rest here,
// named beside the field, and goes with the field's text as one line.
const kFieldMost = 1 << 20;
let held = '';
function hold(rest) {
  held = rest;
  heldNote.hidden = held === '';
  heldNote.textContent = `+${held.length} shenja të tjera`;
}

// Puts a line in the field, as much of it as the field shows and takes (WebKit's takes 512 Ki
// characters at most), and holds the rest.
function put(line) {
  answer.value = line.slice(0, kFieldMost);
  hold(line.slice(answer.value.length));
}

// The line typed: the field's text and what it holds past it; the field is then empty.
function typedLine() {
  const line = answer.value + held;
  answer.value = '';
  hold('');
  return line;
}

// Ctrl-D, as on a terminal: what is typed on the line goes at once, without a line end; on an
// empty line it is the end of input.
function endOfInput() {
  const line = typedLine();
  if (line !== '') send(line);
  else if (shown && !shown.over) shown.push(null);
  answer.focus();
}

// Up and down walk the history; the line being typed is kept while an older one shows.
function recall(step) {
  const to = recalled + step;
  if (to < 0 || to > sent.length) return;
  if (recalled === sent.length) typing = typedLine();
  recalled = to;
  put(to === sent.length ? typing : sent[to]);
  answer.setSelectionRange(answer.value.length, answer.value.length);
}

// Pasted lines go to the program one after another, as a terminal gives them; a last line without
// its line end stays in the field, unsent.
function paste(event) {
  const text = event.clipboardData?.getData('text/plain') ?? '';
  const { value, selectionStart, selectionEnd } = answer;
  const length = value.length - (selectionEnd - selectionStart) + text.length;
  if (!/[\r\n]/.test(text) && length <= kFieldMost) return;
  event.preventDefault();
  const lines = (value.slice(0, selectionStart) + text).split(/\r\n|\r|\n/);
  const last = lines.pop();
  for (const line of lines) sendLine(line);
  put(last + value.slice(selectionEnd) + held);
  const at = Math.min(last.length, kFieldMost);
  answer.setSelectionRange(at, at);
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
  [runsBox, form, answer, heldNote, controls, statusLine, again, save, viewButton] = [
    'runs', 'console', 'answer', 'held', 'controls', 'status', 'again', 'save', 'view',
  ].map(byId);
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    sendLine(typedLine());
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
  answer.addEventListener('input', () => answer.value === '' && hold(''));
  byId('end').addEventListener('click', endOfInput);
  again.addEventListener('click', () => shown && start(shown.name));
  save.addEventListener('click', () => {
    saveTranscript();
    focusNext();
  });
  viewButton.addEventListener('click', () => {
    view = view === 'code' ? 'dialogue' : 'code';
    render();
    if (view === 'dialogue') focusNext();
  });
  narrow.addEventListener('change', render);
  window.addEventListener('resize', fitField);
  window.addEventListener('hashchange', fromAddress);
  window.visualViewport?.addEventListener('resize', keepInView);
  fromAddress();
}

if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', setUp);
else setUp();
