// Bringing the toolkit up and down. The program calls InitToolkit and then StartToolkit on
// its GUI thread before it makes any window; it ends the process instead of calling
// ShutdownToolkit, which undoes both. Each answers 0.
#ifndef ZK_TOVREL_FOUNDATION_START_UP_H
#define ZK_TOVREL_FOUNDATION_START_UP_H

// Fills the colour tables, makes the shared pictures, cursors and font, reads the system's
// facts and opens the system libraries the toolkit draws with. Call once.
int InitToolkit();

// Starts the graphics library and the animation thread. Later calls do nothing.
int StartToolkit();

// Stops the animation thread, frees every control record, hides and destroys the
// process's windows and closes the system libraries. The lists and locks stay usable.
int ShutdownToolkit();

#endif
