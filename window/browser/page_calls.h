// What the browser platform asks of the page. page_calls.js implements each
// call through a hook the page sets on Module before the program starts.
#pragma once

extern "C" {
int page_clock();           // the clock the page pinned, whole seconds (wraps past 2^31 - 1)
int page_press_pending();   // 1 while a key press, click or tap waits to be taken
void page_take_press();     // takes one of them
void page_wait_begins();    // a wait for a key began
void page_wait_ends();      // ...and ended
void page_present();        // shows the drawn surface; returns once the browser painted it,
                            // or at once when the page skips painting on its way to a later picture
}
