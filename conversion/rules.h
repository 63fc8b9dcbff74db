// The one rule that names an output file after its CAM file, shared by every program.
#pragma once

#include <string>
#include <string_view>

// The source's file name (after its last "/", on Windows also after its last "\") with the text
// from the name's last dot replaced by ".jpg", or ".jpg" appended to a name without a dot. Dots
// in folder names never count. The name keeps its letter case; ".jpg" is always lower case:
// "card/PIC01.CAM" gives "PIC01.jpg", "pic.01.cam" gives "pic.01.jpg", "x.d/noext" "noext.jpg".
std::string OutputName(std::string_view sourcePath);
std::wstring OutputName(std::wstring_view sourcePath);
