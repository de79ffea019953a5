// Standard input and output of the programs built as WebAssembly, which have no console of their
// own. In a web page the page supplies them: Module.readInput() gives a promise of the next bytes
// typed (null at the end of input), and Module.writeOutput(fd, bytes) shows what the program
// writes on standard output (1) or standard error (2); Module.readRecorded(prompt, value, ending)
// hears of each read as it ends. Under Node they are Node's own standard streams, so that the
// programs run there as console programs, for the tests.
//
// A read that finds nothing typed yet waits without blocking the page: Asyncify unwinds the
// program's stack, and rewinds it once the answer comes.
mergeInto(LibraryManager.library, {
  $consoleIO: {
    unread: null, // bytes received but not yet read by the program
    ended: false, // the end of input was received
    exitWatched: false, // main's return after a wait is awaited, to exit with its status

    // Node's standard input, kept in the chunks it arrives in until the program asks for more.
    nodeChunks: null,
    nodeEnded: false,
    nodeWaiting: null,

    nextFromNode: function () {
      if (!consoleIO.nodeChunks) {
        consoleIO.nodeChunks = [];
        process.stdin.on('data', (chunk) => {
          consoleIO.nodeChunks.push(new Uint8Array(chunk));
          consoleIO.wakeNode();
        });
        process.stdin.on('end', () => {
          consoleIO.nodeEnded = true;
          consoleIO.wakeNode();
        });
        process.stdin.on('error', () => {
          consoleIO.nodeEnded = true;
          consoleIO.wakeNode();
        });
      }
      return new Promise((resolve) => {
        consoleIO.nodeWaiting = resolve;
        consoleIO.wakeNode();
      });
    },

    wakeNode: function () {
      const resolve = consoleIO.nodeWaiting;
      if (!resolve || (consoleIO.nodeChunks.length === 0 && !consoleIO.nodeEnded)) return;
      consoleIO.nodeWaiting = null;
      resolve(consoleIO.nodeChunks.length > 0 ? consoleIO.nodeChunks.shift() : null);
    },

    // The next bytes of standard input, or null at its end.
    next: function () {
      return Module['readInput'] ? Module['readInput']() : consoleIO.nextFromNode();
    },

    // Writes all of `bytes`; returns 0, or the error number of a write that failed.
    write: function (fd, bytes) {
      if (Module['writeOutput']) {
        Module['writeOutput'](fd, bytes.slice());
        return 0;
      }
      const fs = require('fs');
      try {
        for (let at = 0; at < bytes.length; )
          at += fs.writeSync(fd, bytes, at, bytes.length - at);
        return 0;
      } catch (e) {
        const codes = {
          ENOSPC: {{{ cDefine('ENOSPC') }}},
          EPIPE: {{{ cDefine('EPIPE') }}},
          EBADF: {{{ cDefine('EBADF') }}},
          EFBIG: {{{ cDefine('EFBIG') }}},
        };
        return codes[e.code] || {{{ cDefine('EIO') }}};
      }
    },
  },

  // The stock writer's postset flushes its own line buffers at exit; this writer keeps none.
  fd_write__deps: ['$consoleIO'],
  fd_write__postset: '',
  fd_write: function (fd, iov, iovcnt, pnum) {
    let written = 0;
    for (let i = 0; i < iovcnt; i++) {
      const base = HEAPU32[(iov >> 2) + 2 * i];
      const length = HEAPU32[(iov >> 2) + 2 * i + 1];
      const error = consoleIO.write(fd, HEAPU8.subarray(base, base + length));
      if (error !== 0) return error;
      written += length;
    }
    HEAPU32[pnum >> 2] = written;
    return 0;
  },

  // A read has ended (common/read_watch.cpp): the page, where there is one, shows its field.
  console_read: function (prompt, promptLength, value, valueLength, ending) {
    if (Module['readRecorded'])
      Module['readRecorded'](UTF8ToString(prompt, promptLength),
                             UTF8ToString(value, valueLength), ['read', 'failed', 'ended'][ending]);
  },

  // Only standard input is ever read. Whatever is already received is read at once; otherwise the
  // program waits for the next bytes typed.
  fd_read__deps: ['$consoleIO'],
  fd_read: function (fd, iov, iovcnt, pnum) {
    const give = () => {
      let read = 0;
      for (let i = 0; i < iovcnt && consoleIO.unread && consoleIO.unread.length > 0; i++) {
        const base = HEAPU32[(iov >> 2) + 2 * i];
        const length = HEAPU32[(iov >> 2) + 2 * i + 1];
        const part = consoleIO.unread.subarray(0, length);
        HEAPU8.set(part, base);
        consoleIO.unread = consoleIO.unread.subarray(part.length);
        read += part.length;
      }
      HEAPU32[pnum >> 2] = read;
      return 0;
    };
    if (fd !== 0) return {{{ cDefine('EBADF') }}};
    // Bytes already received are given at once, with no unwind, unless the program's stack is
    // being rewound after a wait: this import is then called once more, and only handleSleep ends
    // the rewind.
    const ready = (consoleIO.unread && consoleIO.unread.length > 0) || consoleIO.ended;
    if (ready && Asyncify.state === Asyncify.State.Normal) return give();
    const result = Asyncify.handleSleep((wakeUp) => {
      consoleIO.next().then((bytes) => {
        if (bytes === null) consoleIO.ended = true;
        else consoleIO.unread = bytes;
        wakeUp(give());
      });
    });
    // At the first wait the program's stack unwinds, and main will return to this library rather
    // than to the runtime, which would drop its exit status: exit with it here. Exiting throws to
    // leave the program, as the runtime does when main returns; the throw ends here.
    if (Asyncify.state === Asyncify.State.Unwinding && !consoleIO.exitWatched) {
      consoleIO.exitWatched = true;
      Asyncify.whenDone().then((status) => {
        try {
          exit(status);
        } catch (e) {
          handleException(e);
        }
      });
    }
    return result;
  },
});
