// Names as the converter meets them: which files are CAM files, which folders are skipped,
// names that Windows keeps for its devices, and names made safe to print on a terminal.
#pragma once

#include <cstdint>
#include <string>

// "*.cam" in any letter case, with something before the extension.
bool IsCamName(const std::string& name);

// The camera's waste-basket folder, in any letter case.
bool IsRecycled(const std::string& name);

// True for a file name that Windows takes for a device whatever folder it stands in: CON,
// PRN, AUX, NUL, COM0-9 and LPT0-9 (also with the superscript digits 1, 2 and 3), CONIN$ and
// CONOUT$, in any letter case, alone or followed by spaces or by a dot and anything at all.
bool IsReservedDeviceName(const std::string& name);

// The text with every control character (C0, DEL, C1), every direction override and every
// byte that is not UTF-8 written as an escape ("\n", "\t", "\r", "\xHH", "\uHHHH"), so that
// a file name can neither move the cursor nor pass for other text on a terminal.
std::string Printable(const std::string& text);

// The length of the UTF-8 sequence that starts at `at`, with its code point in `code`, or 0
// when the bytes there are none (overlong, a surrogate, beyond U+10FFFF, cut short).
size_t DecodeUtf8(const std::string& text, size_t at, uint32_t& code);
void AppendUtf8(std::string& text, uint32_t code);
