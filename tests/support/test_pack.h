// A small but complete program folder for tests: velmarix.dat, mascon.dat, a vehicle, a route with every kind of
// picture and sound it can name, and the pictures and sounds themselves (no video). Texts are Shift-JIS with
// CRLF lines, as packs made on Windows are.
#pragma once

#include <string>

#include "support/temp_dir.h"

namespace vesk::test {

inline constexpr const char* kPackVehicle = "train_test.dat";
inline constexpr const char* kPackRoute = "line_test.dat";

// The texts, in UTF-8 with LF lines (writePack converts them).
std::string packStringFile();
std::string packVehicleFile();
std::string packRouteFile();

// Writes the whole folder.
void writePack(const TempDir& dir);
// Writes one text file of the pack as Shift-JIS with CRLF lines.
void writeText(const TempDir& dir, const std::string& name, const std::string& utf8);

}  // namespace vesk::test
