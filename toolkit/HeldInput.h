// Operator input that reaches a window while a handler waits on the line is held back, as
// the window system holds its own input then, and goes to its windows in order once no
// handler runs: a click on "停止读取" during a silent tick is carried out after the tick
// instead of being refused and lost.
#pragma once

namespace held_input {

// Processes pending events except operator input; input that reaches a window meanwhile
// is held.
void processEventsExceptInput();
// How many input events are held now.
int heldCount();

}  // namespace held_input
