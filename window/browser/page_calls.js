// The page side of page_calls.h, and the program's writes to standard
// output and error: each goes to Module.page, which the page sets before it
// loads a program. page_present hands control back to
// the browser (ASYNCIFY) until the next frame has been painted, unless the
// page draws on without painting.
mergeInto(LibraryManager.library, {
  page_clock: function () {
    return Module.page.clock | 0;  // time_t is 32 bits here; the low 32 bits seed alike
  },
  page_press_pending: function () {
    return Module.page.pressPending() ? 1 : 0;
  },
  page_take_press: function () {
    Module.page.takePress();
  },
  page_wait_begins: function () {
    Module.page.waitBegins();
  },
  page_wait_ends: function () {
    Module.page.waitEnds();
  },
  // Standard output and error byte for byte: emscripten's own fd_write holds
  // text back until a newline, and four_circle_packing's counts have none.
  fd_write__sig: 'iiiii',
  fd_write: function (fd, iov, iovcnt, pnum) {
    var written = 0;
    for (var i = 0; i < iovcnt; i++) {
      var start = HEAPU32[(iov >> 2) + 2 * i];
      var length = HEAPU32[(iov >> 2) + 2 * i + 1];
      Module.page.write(fd, HEAPU8.slice(start, start + length));
      written += length;
    }
    HEAPU32[pnum >> 2] = written;
    return 0;
  },
  page_present__deps: ['$Asyncify', '$safeSetTimeout'],
  page_present: function () {
    // Inside handleSleep, which the unwinding of a sleep calls once, not at
    // the rewind; on the way to a later picture it wakes at once, unpainted.
    return Asyncify.handleSleep(function (wakeUp) {
      if (!Module.page.present()) return wakeUp();
      // Frame callbacks run just before the paint; the timeout runs after it.
      // Through safeSetTimeout, as in emscripten_sleep, so that a main that
      // returns after this flip still ends the run.
      requestAnimationFrame(function () { safeSetTimeout(wakeUp, 0); });
    });
  },
});
