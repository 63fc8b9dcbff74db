// Names as the converter shows them: a file name made safe to print on a terminal. Which files
// are CAM files, which folders are skipped and which names are devices are the shared rules of
// conversion/rules.h.
#pragma once

#include <string>

// The text with every control character (C0, DEL, C1), every direction override and every
// byte that is not UTF-8 written as an escape ("\n", "\t", "\r", "\xHH", "\uHHHH"), so that
// a file name can neither move the cursor nor pass for other text on a terminal.
std::string Printable(const std::string& text);
