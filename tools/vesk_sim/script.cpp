#include "vesk_sim/script.h"

#include <algorithm>
#include <sstream>

#include "core/line_reader.h"
#include "core/number_parse.h"
#include "sim/keys.h"

namespace vesk::tools {
namespace {

std::vector<std::string> words(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> out;
  std::string word;
  while (in >> word) out.push_back(word);
  return out;
}

}  // namespace

std::vector<ScriptEvent> parseScript(std::string_view text) {
  std::vector<ScriptEvent> events;
  core::LineReader lines(text);
  std::string_view raw;
  while (lines.next(raw)) {
    const int n = lines.lineNumber();
    const std::string_view line = raw.substr(0, raw.find('#'));
    const std::vector<std::string> w = words(line);
    if (w.empty()) continue;
    if (w.size() < 3) throw ScriptError(n, "expected: TIME EVENT ARGUMENT...");
    const auto time = core::parseInt(w[0]);
    if (!time || *time < 0) throw ScriptError(n, "the time must be milliseconds from the start, not " + w[0]);
    ScriptEvent e;
    e.timeMs = *time;
    e.line = n;
    e.subject = w[2];
    const std::string& kind = w[1];
    if (kind == "char") {
      e.kind = ScriptEvent::Kind::Char;
      if (e.subject == "space") e.subject = " ";
      if (e.subject.size() != 1 || w.size() != 3) throw ScriptError(n, "char takes one character (or space)");
    } else if (kind == "key" || kind == "keyup") {
      e.kind = kind == "key" ? ScriptEvent::Kind::Key : ScriptEvent::Kind::KeyUp;
      if (!sim::keyFromName(e.subject)) throw ScriptError(n, "unknown key " + e.subject);
      e.shift = w.size() == 4 && w[3] == "shift" && kind == "key";
      if (w.size() > 3 && !e.shift) throw ScriptError(n, "a key takes only the word shift after its name");
    } else if (kind == "hold") {
      e.kind = ScriptEvent::Kind::Hold;
      if (w.size() != 4 || (e.subject != "3" && e.subject != "4") || (w[3] != "on" && w[3] != "off")) {
        throw ScriptError(n, "hold takes 3 or 4, then on or off");
      }
      e.value = w[3];
    } else if (kind == "set") {
      e.kind = ScriptEvent::Kind::Set;
      if (w.size() != 4) throw ScriptError(n, "set takes a field and a value");
      e.value = w[3];
    } else {
      throw ScriptError(n, "unknown event " + kind);
    }
    events.push_back(e);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.timeMs < b.timeMs; });
  return events;
}

}  // namespace vesk::tools
