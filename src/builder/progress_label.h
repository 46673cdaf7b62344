// How often the archiver's progress reaches the progress window's label. Progress comes
// hundreds of times a second, far more often than anyone can read it, and each text shown
// is a message for the GUI thread to handle: a new text is shown at once when the last one is at
// least kLabelInterval old, else kept back until the next report or a flush.
#ifndef ZK_BUILDER_PROGRESS_LABEL_H
#define ZK_BUILDER_PROGRESS_LABEL_H

#include <stdint.h>

#include <string>

constexpr uint64_t kLabelInterval = 50;  // ms

struct LabelThrottle {
  std::string shown;    // the text the label holds
  std::string pending;  // a newer text kept back, or empty
  uint64_t shownAt = 0;
  bool timed = false;  // shownAt holds the time of a throttled text
};

// A text shown outside the throttle (a step's own text).
void NoteLabelShown(LabelThrottle* t, const std::string& text);
// A progress text at time now (ms). True with *show set when it is to be shown now.
bool ThrottleLabel(LabelThrottle* t, const std::string& text, uint64_t now, std::string* show);
// True with *show set when a text was kept back: the newest state, to be shown now.
bool FlushLabel(LabelThrottle* t, std::string* show);

#endif
