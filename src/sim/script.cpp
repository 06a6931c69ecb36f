#include "sim/script.h"

#include <algorithm>
#include <array>
#include <optional>
#include <sstream>
#include <vector>

#include "core/line_reader.h"
#include "core/number_parse.h"
#include "sim/drive.h"
#include "sim/keys.h"
#include "sim/state_fields.h"

namespace vesk::sim {
namespace {

std::vector<std::string> words(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> out;
  std::string word;
  while (in >> word) out.push_back(word);
  return out;
}

// Sets the field of a given name from a text, when the text fits the field's type.
class FieldSetter {
 public:
  FieldSetter(const std::string& name, const std::string& text) : name_(name), text_(text) {}
  template <class T> void operator()(std::string_view name, T& field) {
    if (name != name_) return;
    found_ = true;
    ok_ = assign(field);
  }
  bool found() const { return found_; }
  bool ok() const { return ok_; }

 private:
  bool assign(std::int32_t& f) { return store(core::parseInt(text_), f); }
  bool assign(std::uint8_t& f) {
    const auto v = core::parseInt(text_);
    if (!v || *v < 0 || *v > 255) return false;
    f = static_cast<std::uint8_t>(*v);
    return true;
  }
  bool assign(double& f) { return store(core::parseReal(text_), f); }
  bool assign(core::Fixed& f) { return store(core::parseDec(text_), f); }
  bool assign(std::string& f) {
    f = text_;
    return true;
  }
  template <std::size_t N> bool assign(std::array<std::int32_t, N>&) { return false; }
  bool assign(std::vector<double>&) { return false; }
  template <class V, class F> static bool store(const std::optional<V>& v, F& f) {
    if (!v) return false;
    f = *v;
    return true;
  }
  const std::string& name_;
  const std::string& text_;
  bool found_ = false;
  bool ok_ = false;
};

// Sets the named field of the train or the handles; false with the setter's verdict when it cannot.
FieldSetter setField(TrainState& state, ControlState& control, const std::string& name, const std::string& value) {
  FieldSetter setter(name, value);
  visitTrainStateFields(state, setter);
  visitControlStateFields(control, setter);
  return setter;
}

Key keyByName(const std::string& name) {
  // The script reader has checked the name.
  return keyFromName(name).value_or(Key::Enter);
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
      if (!keyFromName(e.subject)) throw ScriptError(n, "unknown key " + e.subject);
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

InputEvent scriptInput(const ScriptEvent& e) {
  switch (e.kind) {
  case ScriptEvent::Kind::Set: {
    // Tried on a scratch state first: a script that names no field fails before the drive starts.
    TrainState scratchState;
    ControlState scratchControl;
    const FieldSetter trial = setField(scratchState, scratchControl, e.subject, e.value);
    if (!trial.found()) throw ScriptError(e.line, "no field " + e.subject);
    if (!trial.ok()) throw ScriptError(e.line, e.value + " does not fit " + e.subject);
    return InputEvent::call(
        [name = e.subject, value = e.value](Drive& drive) { setField(drive.state, drive.control, name, value); });
  }
  case ScriptEvent::Kind::Hold:
    return InputEvent::hold(e.subject[0], e.value == "on");
  case ScriptEvent::Kind::Char:
    return InputEvent::typed(e.subject[0]);
  case ScriptEvent::Kind::Key:
    return InputEvent::keyDown(keyByName(e.subject), e.shift);
  case ScriptEvent::Kind::KeyUp:
    return InputEvent::keyUp(keyByName(e.subject));
  }
  return {};
}

}  // namespace vesk::sim
