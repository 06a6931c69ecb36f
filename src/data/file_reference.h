// FileReference: a picture, sound or video that a data file names, with where it is named and the message the
// program shows when it cannot be used (empty where the program goes on silently). Loaders note them for the
// data validator; LoadOptions lets a loader note its pictures without loading them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vesk::data {

struct FileReference {
  enum class Kind { Picture, Sound, Video };
  Kind kind = Kind::Picture;
  std::string name;            // as written in the data file (UTF-8)
  std::filesystem::path base;  // the folder the name is relative to
  std::string dataFile;        // the data file that names it
  int line = 0;                // where
  std::string failureMessage;  // what the program shows when it is missing or unreadable
};

struct LoadOptions {
  std::vector<FileReference>* references = nullptr;  // where to note every file named; none: not noted
  bool loadPictures = true;                          // false: pictures are noted, not loaded (no sprites)
};

}  // namespace vesk::data
