// Hands the free pages inside the heap back to the system. The curve's
// lines are laid out again into larger buffers as a roast grows, and the
// allocator keeps the smaller blocks they leave behind, resident for the
// rest of the program's life unless something asks for them back.
#pragma once

void ReturnFreeHeapPages();
