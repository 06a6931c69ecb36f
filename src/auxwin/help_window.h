// HelpWindow (`TForm4`): the operating instructions from "operation.dat" in the program folder: its first line is
// the window's title, the rest a read-only text.
#pragma once

#include <QDialog>

#include <filesystem>

class QPlainTextEdit;

namespace vesk::auxwin {

class KeyForwarder;

class HelpWindow : public QDialog {
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Reads "operation.dat" (Shift-JIS, found case-insensitively). A missing or unreadable file says so in the text.
  void load(const std::filesystem::path& programDir);
  void setKeyTarget(QWidget* target);
  QString text() const;

 private:
  QPlainTextEdit* memo_ = nullptr;
  KeyForwarder* keys_ = nullptr;
};

}  // namespace vesk::auxwin
