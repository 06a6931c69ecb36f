// The keys of the driving window other than typed characters, and their names (scripts, settings and help texts
// name keys by them).
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

namespace vesk::sim {

enum class Key {
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  Enter,
  Backspace,
  PageUp,
  PageDown,
  ScrollLock,
  Up,
  Down,
};

inline constexpr std::array<std::pair<Key, std::string_view>, 19> kKeyNames = {{
    {Key::F1, "F1"},
    {Key::F2, "F2"},
    {Key::F3, "F3"},
    {Key::F4, "F4"},
    {Key::F5, "F5"},
    {Key::F6, "F6"},
    {Key::F7, "F7"},
    {Key::F8, "F8"},
    {Key::F9, "F9"},
    {Key::F10, "F10"},
    {Key::F11, "F11"},
    {Key::F12, "F12"},
    {Key::Enter, "Enter"},
    {Key::Backspace, "Backspace"},
    {Key::PageUp, "PageUp"},
    {Key::PageDown, "PageDown"},
    {Key::ScrollLock, "ScrollLock"},
    {Key::Up, "Up"},
    {Key::Down, "Down"},
}};

constexpr std::string_view keyName(Key key) {
  for (const auto& [k, name] : kKeyNames) {
    if (k == key) return name;
  }
  return {};
}

constexpr std::optional<Key> keyFromName(std::string_view name) {
  for (const auto& [k, n] : kKeyNames) {
    if (n == name) return k;
  }
  return std::nullopt;
}

}  // namespace vesk::sim
