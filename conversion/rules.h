// The file rules every program shares: which files are CAM files, which folders a walk leaves
// out, the names the system keeps for devices, the output's name, a name made safe to write on
// any system, when two output names are one on a case-insensitive file system, and digits in
// groups of three. Each rule takes UTF-8 (as
// glimmer-convert and the page keep names) and wide strings (as the window program does).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A CAM file's name: one that ends in ".cam" in any mix of letter case, ".cam" alone included,
// as the system's "*.cam" pattern matches a long name. (The pattern also matches a short 8.3
// name, which would take in "pic.camera", short name "PIC~1.CAM"; no program does.)
bool IsCamName(std::string_view name);
bool IsCamName(std::wstring_view name);

// The camera's waste basket, "RECYCLED" in any mix of letter case: a walk never enters it.
bool IsRecycleFolder(std::string_view name);
bool IsRecycleFolder(std::wstring_view name);

// True when Windows takes the name for a device, whatever folder it stands in: "CON", "PRN",
// "AUX", "NUL", "COM0" to "COM9", "LPT0" to "LPT9" (also with a superscript 1, 2 or 3),
// "CONIN$" and "CONOUT$", in any letter case, before the name's first dot and any spaces ahead
// of it ("nul.cam", "COM1 .x.jpg"). Such a path opens the device, never a file of that name.
bool IsReservedDeviceName(std::string_view name);
bool IsReservedDeviceName(std::wstring_view name);

// The source's file name (after its last "/", on Windows also after its last "\") with the text
// from the name's last dot replaced by ".jpg", or ".jpg" appended to a name without a dot. Dots
// in folder names never count. The name keeps its letter case; ".jpg" is always lower case:
// "card/PIC01.CAM" gives "PIC01.jpg", "pic.01.cam" gives "pic.01.jpg", "x.d/noext" "noext.jpg".
std::string OutputName(std::string_view sourcePath);
std::wstring OutputName(std::wstring_view sourcePath);

// The name as it may stand in a folder or a ZIP on any system, so that no file saved and no
// entry of a ZIP lands outside the folder it belongs in: what some system reads as a separator
// or a drive ("/", "\", ":"), what Windows allows in no name ("*", "?", "\"", "<", ">", "|")
// and the control characters U+0000 to U+001F and U+007F each become "_", and so does each dot
// of a name made only of dots: "..\..\evil.jpg" gives ".._.._evil.jpg", "C:x.jpg" "C_x.jpg",
// ".." "__". Every other character, dots elsewhere and spaces included, stays as it is.
std::string PortableName(std::string_view name);
std::wstring PortableName(std::wstring_view name);

// The name with each letter in the one form that stands for all its cases, so that two names
// with equal folded forms may be one file on a case-insensitive file system, be it one that
// compares upper cases (Windows) or lower cases: "Ärger.JPG" and "ärger.jpg" fold alike, and
// so do "ſ" and "S". Bytes that are not UTF-8, and lone surrogates, stay as they are.
std::string FoldedName(std::string_view name);
std::wstring FoldedName(std::wstring_view name);

// The count's decimal digits with a "," before every group of three, counted from the right:
// "999", "1,000", "18,446,744,073,709,551,615". No locale is consulted.
template <typename Char = char>
std::basic_string<Char> GroupedDigits(uint64_t count);
