// The pause between pictures.
#pragma once

// Blocks until a key press or a quit event. Other events (key releases,
// mouse, window events) are consumed and ignored; events queued while a
// picture was drawn are seen by this wait. A quit event only ends the wait.
// A window uncovered or restored shows the last picture again.
void wait_for_key();
