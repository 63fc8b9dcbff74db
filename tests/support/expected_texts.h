// The words the tests expect, from the catalogue of texts by identifier: a text's form in
// English or Japanese with its "%s" (a wide string) and "%d" filled in, as the program fills
// them. Tests compare what a window shows with these instead of copying the texts.
#pragma once

#include <string>

#include "conversion/texts/text_catalogue.h"

std::wstring English(TextId text, ...);
std::wstring Japanese(TextId text, ...);
