// The toolkit's diagnostic lines. The tool keeps them to itself: with no sink set a
// line goes nowhere. Tests set a sink to collect what the toolkit reports.
#ifndef ZK_TOVREL_FOUNDATION_DEBUG_LOG_H
#define ZK_TOVREL_FOUNDATION_DEBUG_LOG_H

#include <string>

namespace tovrel {

// Receives each line. Called from whichever thread writes the line, one call at a time;
// it must not write a line itself.
using DebugLogSink = void (*)(const std::string& line);

// Sets the sink (nullptr: none). Safe to call while other threads write lines: once it
// returns, the previous sink is no longer called.
void SetDebugLogSink(DebugLogSink sink);

void WriteDebugLog(const std::string& line);

}  // namespace tovrel

#endif
