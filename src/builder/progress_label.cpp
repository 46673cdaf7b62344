#include "builder/progress_label.h"

void NoteLabelShown(LabelThrottle* t, const std::string& text) {
  t->shown = text;
  t->pending.clear();
}

bool ThrottleLabel(LabelThrottle* t, const std::string& text, uint64_t now, std::string* show) {
  if (text == t->shown) {
    t->pending.clear();
    return false;
  }
  if (t->timed && now - t->shownAt < kLabelInterval) {
    t->pending = text;
    return false;
  }
  t->shownAt = now;
  t->timed = true;
  NoteLabelShown(t, text);
  *show = text;
  return true;
}

bool FlushLabel(LabelThrottle* t, std::string* show) {
  if (t->pending.empty()) return false;
  *show = t->pending;
  NoteLabelShown(t, t->pending);
  return true;
}
